// Field and line reading, record writing and safe file replacement.
#include "TextFile.h"

#include "Numbers.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace fendrel {

namespace {

bool isLineEnd(char c) { return c == '\r' || c == '\n'; }

std::string systemReason(int err) { return std::strerror(err); }

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
    while (m_pos < n && (m_bytes[m_pos] == ' ' || m_bytes[m_pos] == '\t'))
        ++m_pos;
    std::string field;
    if (m_pos < n && m_bytes[m_pos] == '"') {
        size_t from = m_pos + 1;
        size_t close = m_bytes.find('"', from);
        while (m_doubledQuotes && close != std::string::npos && close + 1 < n &&
               m_bytes[close + 1] == '"') {
            field.append(m_bytes, from, close + 1 - from);
            from = close + 2;
            close = m_bytes.find('"', from);
        }
        if (close == std::string::npos) {
            field += m_bytes.substr(from);
            m_pos = n;
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
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return std::nullopt;
    std::string bytes;
    char buf[65536];
    size_t got;
    while ((got = std::fread(buf, 1, sizeof buf, f)) > 0)
        bytes.append(buf, got);
    bool bad = std::ferror(f) != 0;
    std::fclose(f);
    if (bad)
        return std::nullopt;
    return bytes;
}

std::string writeFileAtomic(const std::filesystem::path& path, std::string_view bytes) {
    std::filesystem::path tmp = path;
    tmp += ".part";
    int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return systemReason(errno);
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t w = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (w < 0) {
            if (errno == EINTR)
                continue;
            int err = errno;
            ::close(fd);
            ::unlink(tmp.c_str());
            return systemReason(err);
        }
        done += static_cast<size_t>(w);
    }
    if (::fsync(fd) != 0 || ::close(fd) != 0) {
        int err = errno;
        ::unlink(tmp.c_str());
        return systemReason(err);
    }
    if (std::rename(tmp.c_str(), path.c_str()) != 0) {
        int err = errno;
        ::unlink(tmp.c_str());
        return systemReason(err);
    }
    return {};
}

std::string appendToFile(const std::filesystem::path& path, std::string_view bytes) {
    std::FILE* f = std::fopen(path.c_str(), "ab");
    if (!f)
        return systemReason(errno);
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = (std::fflush(f) == 0) && ok;
    ok = (std::fclose(f) == 0) && ok;
    return ok ? std::string() : std::string("the file could not be written");
}

} // namespace fendrel
