// Reading, saving, checking and repairing the round and firearm databases.
#include "Databases.h"

#include "core/common/Encoding.h"

#include "core/common/ProgramFolder.h"
#include "core/common/Strings.h"

#include <algorithm>

namespace fs = std::filesystem;

namespace fendrel {

namespace {

bool isBlank(std::string_view bytes) {
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return c == ' ' || c == '\t' || isLineEnd(c); });
}

std::string typedText(std::string field) {
    std::replace(field.begin(), field.end(), kStoredQuote, '"');
    return field;
}

} // namespace

std::string encodeDatabaseRecord(const Record& fields) {
    std::string out;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i)
            out.push_back(',');
        out.push_back('"');
        for (char c : fields[i])
            out.push_back(c == '"' ? kStoredQuote : c);
        out.push_back('"');
    }
    out += "\r\n";
    return out;
}

ParsedDatabase parseDatabase(std::string_view bytes, size_t fieldCount) {
    ParsedDatabase parsed;
    FieldReader reader{std::string(bytes)};
    Record fields;
    for (;;) {
        const size_t begin = reader.position();
        if (!reader.readRecord(fieldCount, fields))
            break;
        for (auto& f : fields)
            f = typedText(std::move(f));
        parsed.records.push_back({begin, reader.position(), fields});
        parsed.tail = reader.position();
    }
    return parsed;
}

DatabaseReader::DatabaseReader(const fs::path& file, size_t fieldCount) {
    std::error_code ec;
    m_exists = fs::exists(fs::symlink_status(file, ec));
    if (!m_exists)
        return;
    if (auto bytes = readInputFile(file, kDefaultInputLimit, &m_error))
        m_parsed = parseDatabase(*bytes, fieldCount);
}

bool DatabaseReader::next(Record& record) {
    if (m_next >= m_parsed.records.size())
        return false;
    record = m_parsed.records[m_next++].fields;
    return true;
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

std::string databaseUnreadable(const fs::path& file) {
    return DatabaseReader(file, 1).error().refusal;
}

namespace {

// The bytes that make the fields cut short at the end of a file one whole record that ends its
// line: the open quote closed, empty fields up to the record's count, a line end.
std::string completion(std::string_view tail, size_t fieldCount) {
    FieldReader reader{std::string(tail)};
    size_t count = 0;
    bool unclosed = false;
    while (!reader.atEnd()) {
        reader.readField();
        ++count;
        unclosed = reader.lastFieldUnclosed();
    }
    std::string out;
    if (unclosed)
        out.push_back('"');
    const bool fresh = !unclosed && !tail.empty() && (tail.back() == ',' || isLineEnd(tail.back()));
    for (size_t i = count; i < fieldCount; ++i)
        out += (fresh && i == count) ? "\"\"" : ",\"\"";
    out += "\r\n";
    return out;
}

// Appends the bytes of a kept record (or the tail) after those kept before it. Where records
// between them were dropped, a record ending in a bare CR may meet one starting with LF: joined,
// the two would read as one line end and the LF's empty field would be lost, so a line end of
// its own keeps them apart.
void appendKept(std::string& kept, std::string_view piece) {
    if (!kept.empty() && kept.back() == '\r' && !piece.empty() && piece.front() == '\n')
        kept += '\n';
    kept.append(piece);
}

// True when `contents` reads as the kept records, then the new record, and nothing after it.
bool readsAsSaved(std::string_view contents, const std::vector<const RecordSpan*>& kept,
                  bool completedTail, const Record& record, size_t fieldCount) {
    const ParsedDatabase parsed = parseDatabase(contents, fieldCount);
    const size_t expected = kept.size() + (completedTail ? 1 : 0) + 1;
    if (parsed.records.size() != expected || !isBlank(contents.substr(parsed.tail)))
        return false;
    for (size_t i = 0; i < kept.size(); ++i)
        if (parsed.records[i].fields != kept[i]->fields)
            return false;
    Record typed;
    for (const auto& f : record)
        typed.push_back(typedText(f));
    return parsed.records.back().fields == typed;
}

} // namespace

std::optional<std::string> contentsAfterSave(std::string_view old, const DatabaseKind& kind,
                                             const Record& record, bool replaceKey,
                                             std::string* why) {
    const ParsedDatabase parsed = parseDatabase(old, kind.fieldCount);
    std::string kept;
    std::vector<const RecordSpan*> keptSpans;
    for (const RecordSpan& span : parsed.records) {
        if (replaceKey && span.fields[kind.keyField] == record[kind.keyField])
            continue;
        appendKept(kept, old.substr(span.begin, span.end - span.begin));
        keptSpans.push_back(&span);
    }
    // What follows the last whole record: blank lines are dropped (they hold nothing, and left
    // in place they would read as a field of the new record); a record cut short is completed.
    const std::string_view tail = old.substr(parsed.tail);
    const bool completedTail = !isBlank(tail);
    if (completedTail) {
        appendKept(kept, tail);
        kept += completion(tail, kind.fieldCount);
    }
    // The new record follows on a line of its own; a last record that ends inside an open quote
    // (at the end of the file) has its quote closed first.
    const std::string encoded = encodeDatabaseRecord(record);
    for (const char* joint : {"\r\n", "", "\"\r\n"}) {
        if (*joint == '\r' && (kept.empty() || isLineEnd(kept.back())))
            continue;
        std::string candidate = kept + joint + encoded;
        if (readsAsSaved(candidate, keptSpans, completedTail, record, kind.fieldCount))
            return candidate;
    }
    if (why)
        *why = "the file ends in a way that no record can follow without changing the records "
               "before it";
    return std::nullopt;
}

Status saveRecord(const fs::path& folder, const DatabaseKind& kind, const Record& record,
                      bool replaceKey, WriteFaults* faults, std::chrono::milliseconds lockWait) {
    Status error;
    auto lock = DataLock::acquire(folder, lockWait, &error);
    if (!lock)
        return Status::refused("the database is busy: " + error.refusal);
    // Read under the lock: another copy of the program may have saved since the caller looked.
    const fs::path db = resolveName(folder, kind.fileName);
    std::string old;
    std::error_code ec;
    if (fs::exists(fs::symlink_status(db, ec))) {
        auto bytes = readInputFile(db, kDefaultInputLimit, &error);
        if (!bytes)
            return Status::refused("the database cannot be read: " + error.refusal);
        old = std::move(*bytes);
    }
    std::string why;
    const auto contents = contentsAfterSave(old, kind, record, replaceKey, &why);
    if (!contents)
        return Status::refused(why);
    return replaceFile(db, *contents, faults);
}

std::string databaseDefect(std::string_view bytes, size_t fieldCount) {
    if (bytes.find('\0') != std::string_view::npos)
        return "it holds a NUL byte, so it is not a text database";
    const ParsedDatabase parsed = parseDatabase(bytes, fieldCount);
    for (size_t i = 0; i < parsed.records.size(); ++i) {
        const RecordSpan& r = parsed.records[i];
        const bool endsLine = isLineEnd(bytes[r.end - 1]) || r.end == bytes.size();
        if (!endsLine)
            return "record " + std::to_string(i + 1) + " does not end its line (a line holds more "
                   "or fewer than " + std::to_string(fieldCount) + " fields)";
    }
    if (!isBlank(bytes.substr(parsed.tail)))
        return "its last record is cut short (fewer than " + std::to_string(fieldCount) +
               " fields)";
    return {};
}

namespace {

// The fields of a line written with doubled quotes, when it is one: every field quoted, exactly
// the record's count of them, and at least one "" inside a field.
std::optional<Record> doubledQuoteLine(std::string_view line, size_t fieldCount) {
    Record fields;
    bool doubled = false;
    size_t i = 0;
    for (;;) {
        if (i >= line.size() || line[i] != '"')
            return std::nullopt;
        ++i;
        std::string field;
        for (;;) {
            if (i >= line.size())
                return std::nullopt;
            if (line[i] == '"') {
                if (i + 1 < line.size() && line[i + 1] == '"') {
                    field.push_back('"');
                    doubled = true;
                    i += 2;
                    continue;
                }
                ++i;
                break;
            }
            field.push_back(line[i++]);
        }
        fields.push_back(std::move(field));
        if (i == line.size())
            break;
        if (line[i] != ',')
            return std::nullopt;
        ++i;
    }
    if (!doubled || fields.size() != fieldCount)
        return std::nullopt;
    return fields;
}

// Calls `visit(content, lineEnd)` for each line of the bytes, line ends kept apart.
template <typename Visit> void eachLine(std::string_view bytes, Visit visit) {
    size_t pos = 0;
    while (pos < bytes.size()) {
        size_t end = pos;
        while (end < bytes.size() && !isLineEnd(bytes[end]))
            ++end;
        size_t after = end;
        if (after < bytes.size() && bytes[after] == '\r')
            ++after;
        if (after < bytes.size() && bytes[after] == '\n' && (after == end || bytes[end] == '\r'))
            ++after;
        visit(bytes.substr(pos, end - pos), bytes.substr(end, after - end));
        pos = after;
    }
}

} // namespace

size_t doubledQuoteRecords(std::string_view bytes, const DatabaseKind& kind) {
    size_t count = 0;
    eachLine(bytes, [&](std::string_view line, std::string_view) {
        if (doubledQuoteLine(line, kind.fieldCount))
            ++count;
    });
    return count;
}

std::string repairDoubledQuotes(std::string_view bytes, const DatabaseKind& kind) {
    std::string out;
    eachLine(bytes, [&](std::string_view line, std::string_view lineEnd) {
        if (auto fields = doubledQuoteLine(line, kind.fieldCount)) {
            std::string encoded = encodeDatabaseRecord(*fields);
            encoded.resize(encoded.size() - 2); // the line keeps its own line end
            out += encoded;
        } else {
            out.append(line);
        }
        out.append(lineEnd);
    });
    return out;
}

Status repairDatabase(const fs::path& folder, const DatabaseKind& kind) {
    Status error;
    auto lock = DataLock::acquire(folder, kDataLockWait, &error);
    if (!lock)
        return Status::refused("the database is busy: " + error.refusal);
    const fs::path db = resolveName(folder, kind.fileName);
    auto bytes = readInputFile(db, kDefaultInputLimit, &error);
    if (!bytes)
        return Status::refused("the database cannot be read: " + error.refusal);
    if (doubledQuoteRecords(*bytes, kind) == 0)
        return {};
    return replaceFile(db, repairDoubledQuotes(*bytes, kind));
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
        lines.push_back(cp1252ToUtf8(selectionLine(r)));
    return lines;
}

} // namespace fendrel
