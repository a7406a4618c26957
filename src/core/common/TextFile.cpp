// Field and line reading, record writing and safe file replacement.
#include "TextFile.h"

#include "Numbers.h"
#include "SafeFile.h"
#include "Strings.h"

namespace fendrel {

namespace {

} // namespace

std::optional<FieldReader> FieldReader::open(const std::filesystem::path& path) {
    auto bytes = readFileBytes(path);
    if (!bytes)
        return std::nullopt;
    return FieldReader(std::move(*bytes));
}

void FieldReader::skipSeparator() {
    if (m_pos >= m_bytes.size())
        return;
    char c = m_bytes[m_pos];
    if (c == ',') {
        ++m_pos;
    } else if (c == '\r') {
        ++m_pos;
        if (m_pos < m_bytes.size() && m_bytes[m_pos] == '\n')
            ++m_pos;
    } else if (c == '\n') {
        ++m_pos;
    }
}

std::string FieldReader::readField() {
    const size_t n = m_bytes.size();
    m_unclosed = false;
    while (m_pos < n && (m_bytes[m_pos] == ' ' || m_bytes[m_pos] == '\t'))
        ++m_pos;
    std::string field;
    if (m_pos < n && m_bytes[m_pos] == '"') {
        const size_t from = m_pos + 1;
        const size_t close = m_bytes.find('"', from);
        if (close == std::string::npos) {
            field += m_bytes.substr(from);
            m_pos = n;
            m_unclosed = true;
            return field;
        }
        field.append(m_bytes, from, close - from);
        m_pos = close + 1;
        while (m_pos < n && m_bytes[m_pos] != ',' && !isLineEnd(m_bytes[m_pos]))
            ++m_pos;
        skipSeparator();
        return field;
    }
    size_t start = m_pos;
    while (m_pos < n && m_bytes[m_pos] != ',' && !isLineEnd(m_bytes[m_pos]))
        ++m_pos;
    size_t end = m_pos;
    while (end > start && (m_bytes[end - 1] == ' ' || m_bytes[end - 1] == '\t'))
        --end;
    field = m_bytes.substr(start, end - start);
    skipSeparator();
    return field;
}

bool FieldReader::readRecord(size_t count, std::vector<std::string>& fields) {
    fields.clear();
    for (size_t i = 0; i < count; ++i) {
        // A record cut short by the end of the file is not a record.
        if (atEnd()) {
            fields.clear();
            return false;
        }
        fields.push_back(readField());
    }
    return true;
}

std::string FieldReader::readLine() {
    const size_t n = m_bytes.size();
    size_t start = m_pos;
    while (m_pos < n && !isLineEnd(m_bytes[m_pos]))
        ++m_pos;
    std::string line = m_bytes.substr(start, m_pos - start);
    if (m_pos < n && m_bytes[m_pos] == '\r')
        ++m_pos;
    if (m_pos < n && m_bytes[m_pos] == '\n')
        ++m_pos;
    return line;
}

std::string quotedRecord(const std::vector<RecordValue>& values) {
    std::string out;
    bool first = true;
    for (const auto& v : values) {
        if (!first)
            out.push_back(',');
        first = false;
        if (const auto* text = std::get_if<std::string>(&v)) {
            out.push_back('"');
            out += *text;
            out.push_back('"');
        } else {
            out += shortNumber(std::get<double>(v));
        }
    }
    out += "\r\n";
    return out;
}

std::string quotedRecord(const std::vector<std::string>& texts) {
    std::vector<RecordValue> values(texts.begin(), texts.end());
    return quotedRecord(values);
}

std::string plainLine(std::string_view text) {
    std::string out(text);
    out += "\r\n";
    return out;
}

std::optional<std::string> readFileBytes(const std::filesystem::path& path) {
    return readInputFile(path);
}

} // namespace fendrel
