// Reading a compiled help file (.chm): its pages, pictures and lists by their path inside it.
#pragma once

#include "HelpContents.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct chmFile;

namespace fendrel {

class ChmArchive {
public:
    ChmArchive();
    ~ChmArchive();
    ChmArchive(const ChmArchive&) = delete;
    ChmArchive& operator=(const ChmArchive&) = delete;

    // Opens a help file, closing any open one. False when the file is missing or is not a
    // compiled help file.
    bool open(const std::filesystem::path& file);
    void close();
    bool isOpen() const { return m_file != nullptr; }

    // The bytes of an object ("/guide.htm", "/#SYSTEM"); the name is matched without regard to
    // case. nullopt when there is no such object or it cannot be read whole.
    std::optional<std::string> read(std::string_view path) const;
    bool contains(std::string_view path) const;

    // The paths of the ordinary files stored, in the order the file lists them.
    std::vector<std::string> files() const;

    // Every ordinary file and the #SYSTEM record, read whole. Objects that cannot be read are
    // left out.
    HelpFiles readAll() const;

    // Objects larger than this are refused rather than read into memory.
    static constexpr unsigned long long kMaxObjectSize = 64ull * 1024 * 1024;

private:
    chmFile* m_file = nullptr;
};

} // namespace fendrel
