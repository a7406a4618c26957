// Reading and writing the program's text files: fields, lines, quoted records, and whole files
// written safely through a temporary file and a rename.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace fendrel {

// Reads fields and lines from the bytes of a file, the way every list, database and output
// file of the program is read.
//
// Field: leading blanks and tabs are skipped. A field that opens with a double quote runs to
// the next double quote (or the end of the file); the rest up to the next separator is skipped.
// Any other field runs to the next comma or line end, with trailing blanks dropped. A line end
// (CR LF, CR or LF) is a separator like a comma and is consumed with the field.
class FieldReader {
public:
    FieldReader() = default;
    explicit FieldReader(std::string bytes) : m_bytes(std::move(bytes)) {}

    // Reads a whole file; nullopt when it is missing or cannot be read.
    static std::optional<FieldReader> open(const std::filesystem::path& path);

    // The end-of-file test made before each record.
    bool atEnd() const { return m_pos >= m_bytes.size(); }

    std::string readField();
    // True when the last field read opened with a double quote that the file never closed.
    bool lastFieldUnclosed() const { return m_unclosed; }
    // Reads `count` fields; false (and nothing returned) when the file ends first.
    bool readRecord(size_t count, std::vector<std::string>& fields);
    // The rest of the current line, without its line end.
    std::string readLine();

    size_t position() const { return m_pos; }

private:
    void skipSeparator();

    std::string m_bytes;
    size_t m_pos = 0;
    bool m_unclosed = false;
};

// One value of a written record: a text (written in double quotes) or a number (written bare in
// its shortest form).
using RecordValue = std::variant<std::string, double>;

// The fields of one record on one line: texts quoted, numbers bare, commas without blanks,
// CR LF at the end.
std::string quotedRecord(const std::vector<RecordValue>& values);
std::string quotedRecord(const std::vector<std::string>& texts);

// A text written unchanged, followed by CR LF.
std::string plainLine(std::string_view text);

// The whole contents of a file; nullopt when it is missing or cannot be read, is not a plain
// file, or is too big (see readInputFile).
std::optional<std::string> readFileBytes(const std::filesystem::path& path);

} // namespace fendrel
