// Reading and rewriting the round and firearm databases.
#include "Databases.h"

#include "app/ProgramFolder.h"
#include "app/TextFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace fendrel {

std::string encodeDatabaseRecord(const Record& fields) {
    std::string out;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i)
            out.push_back(',');
        out.push_back('"');
        for (char c : fields[i]) {
            if (c == '"')
                out.push_back('"');
            out.push_back(c);
        }
        out.push_back('"');
    }
    out += "\r\n";
    return out;
}

DatabaseReader::DatabaseReader(const fs::path& file, size_t fieldCount)
    : m_fieldCount(fieldCount) {
    if (auto reader = FieldReader::open(file)) {
        m_reader = std::move(*reader);
        m_exists = true;
    }
    m_reader.setDoubledQuotes(true);
}

std::vector<Record> readAllRecords(const fs::path& file, size_t fieldCount) {
    std::vector<Record> records;
    DatabaseReader reader(file, fieldCount);
    Record r;
    while (reader.next(r))
        records.push_back(r);
    return records;
}

std::optional<Record> recordAt(const fs::path& file, size_t fieldCount, size_t index) {
    DatabaseReader reader(file, fieldCount);
    Record r;
    for (size_t i = 0; reader.next(r); ++i)
        if (i == index)
            return r;
    return std::nullopt;
}

bool containsKey(const fs::path& file, const DatabaseKind& kind, const std::string& key) {
    DatabaseReader reader(file, kind.fieldCount);
    Record r;
    while (reader.next(r))
        if (r[kind.keyField] == key)
            return true;
    return false;
}

namespace {

std::string reason(int err) { return std::strerror(err); }

bool writeAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t w = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (w < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += static_cast<size_t>(w);
    }
    return true;
}

} // namespace

SaveResult saveRecord(const fs::path& folder, const DatabaseKind& kind, const Record& record,
                      bool replaceKey, RewriteFaults* faults) {
    SaveResult result;
    const fs::path db = resolveName(folder, kind.fileName);
    const fs::path tmp = resolveName(folder, kind.tempName);
    auto fail = [&](const std::string& why) {
        ::unlink(tmp.c_str());
        result.ok = false;
        result.error = why;
        return result;
    };
    auto injected = [&](RewriteStep step) { return faults && faults->failAt(step); };

    // The new contents: the whole old records (all of them, or those with another key) in
    // their order, then the new record. A record cut short at the end of the file is not
    // carried over: it could not be loaded, and left in place it would swallow the new one.
    std::string contents;
    if (fs::exists(db)) {
        DatabaseReader reader(db, kind.fieldCount);
        if (!reader.exists())
            return fail("the database could not be read");
        Record r;
        while (reader.next(r))
            if (!replaceKey || r[kind.keyField] != record[kind.keyField])
                contents += encodeDatabaseRecord(r);
    }
    contents += encodeDatabaseRecord(record);

    if (injected(RewriteStep::CreateTemporary))
        return fail("the temporary file could not be created");
    int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return fail(reason(errno));
    if (injected(RewriteStep::WriteTemporary) || !writeAll(fd, contents)) {
        int err = errno;
        ::close(fd);
        return fail(injected(RewriteStep::WriteTemporary) ? "the disk is full" : reason(err));
    }
    if (injected(RewriteStep::FlushTemporary) || ::fdatasync(fd) != 0) {
        ::close(fd);
        return fail("the temporary file could not be flushed to disk");
    }
    if (::close(fd) != 0)
        return fail(reason(errno));
    if (injected(RewriteStep::Replace) || std::rename(tmp.c_str(), db.c_str()) != 0)
        return fail("the database could not be replaced");
    return result;
}

std::string selectionLine(const Record& record) {
    std::string line;
    for (const auto& f : record) {
        line.push_back(' ');
        line += f;
    }
    return line;
}

std::vector<std::string> selectionLines(const fs::path& file, size_t fieldCount) {
    std::vector<std::string> lines;
    DatabaseReader reader(file, fieldCount);
    Record r;
    while (reader.next(r))
        lines.push_back(selectionLine(r));
    return lines;
}

} // namespace fendrel
