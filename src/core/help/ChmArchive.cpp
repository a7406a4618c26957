// A thin owner of a chmlib handle.
#include "ChmArchive.h"

#include <chm_lib.h>

namespace fendrel {

ChmArchive::ChmArchive() = default;

ChmArchive::~ChmArchive() {
    close();
}

bool ChmArchive::open(const std::filesystem::path& file) {
    close();
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec))
        return false;
    m_file = chm_open(file.c_str());
    return m_file != nullptr;
}

void ChmArchive::close() {
    if (m_file)
        chm_close(m_file);
    m_file = nullptr;
}

bool ChmArchive::contains(std::string_view path) const {
    if (!m_file || path.empty() || path.size() > CHM_MAX_PATHLEN)
        return false;
    chmUnitInfo info{};
    const std::string name(path);
    return chm_resolve_object(m_file, name.c_str(), &info) == CHM_RESOLVE_SUCCESS;
}

std::optional<std::string> ChmArchive::read(std::string_view path) const {
    if (!m_file || path.empty() || path.size() > CHM_MAX_PATHLEN)
        return std::nullopt;
    chmUnitInfo info{};
    const std::string name(path);
    if (chm_resolve_object(m_file, name.c_str(), &info) != CHM_RESOLVE_SUCCESS)
        return std::nullopt;
    if (info.length > kMaxObjectSize)
        return std::nullopt;
    std::string bytes(static_cast<std::size_t>(info.length), '\0');
    if (info.length == 0)
        return bytes;
    const LONGINT64 got =
        chm_retrieve_object(m_file, &info, reinterpret_cast<unsigned char*>(bytes.data()), 0,
                            static_cast<LONGINT64>(info.length));
    if (got != static_cast<LONGINT64>(info.length))
        return std::nullopt;
    return bytes;
}

std::vector<std::string> ChmArchive::files() const {
    std::vector<std::string> list;
    if (!m_file)
        return list;
    chm_enumerate(
        m_file, CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES,
        [](chmFile*, chmUnitInfo* info, void* context) -> int {
            static_cast<std::vector<std::string>*>(context)->emplace_back(info->path);
            return CHM_ENUMERATOR_CONTINUE;
        },
        &list);
    return list;
}

HelpFiles ChmArchive::readAll() const {
    HelpFiles all;
    for (const auto& path : files())
        if (auto bytes = read(path))
            all.add(path, std::move(*bytes));
    if (auto system = read("/#SYSTEM"))
        all.add("/#SYSTEM", std::move(*system));
    return all;
}

} // namespace fendrel
