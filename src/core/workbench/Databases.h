// The round and firearm databases, rounds.dtb and Firearms.dtb: every field in double quotes,
// commas between fields, CR LF after each record. Reading is by field count, not by line, with
// the one field reader every program part shares. A record is found by its position; its key
// (the description of a round, the serial number of a firearm) is compared as exact text.
//
// A save changes nothing but what it must: the new record is added at the end, and a replace
// drops the records that carry its key. Every other byte of the file is copied through, even a
// record the reader cannot make sense of, and the file is replaced in one safe step under the
// data lock, so that two copies of the program saving at once both keep their records.
#pragma once

#include "core/common/SafeFile.h"
#include "core/common/TextFile.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fendrel {

using Record = std::vector<std::string>;

inline constexpr size_t kRoundFields = 18;
inline constexpr size_t kFirearmFields = 6;
inline constexpr size_t kRoundKey = 0;   // the description
inline constexpr size_t kFirearmKey = 3; // the serial number

struct DatabaseKind {
    const char* fileName;
    size_t fieldCount;
    size_t keyField;
};
inline constexpr DatabaseKind kRounds{"rounds.dtb", kRoundFields, kRoundKey};
inline constexpr DatabaseKind kFirearms{"Firearms.dtb", kFirearmFields, kFirearmKey};

// A double quote typed into a field would end the field on reading. It is stored as the DEL
// byte instead, a character the field rules give no meaning to, so files read exactly as before
// and the quote comes back when the record is loaded.
inline constexpr char kStoredQuote = '\x7F';

// One record as a line of the database: the typed quotes stored as kStoredQuote.
std::string encodeDatabaseRecord(const Record& fields);

// A whole record of a database and the bytes it was read from.
struct RecordSpan {
    size_t begin = 0;
    size_t end = 0; // just past the record's last separator
    Record fields;  // as typed: stored quotes turned back into double quotes
};

// A database read by field count: the whole records in file order, then whatever follows the
// last of them (a record cut short, or blank lines) from `tail` on.
struct ParsedDatabase {
    std::vector<RecordSpan> records;
    size_t tail = 0;
};
ParsedDatabase parseDatabase(std::string_view bytes, size_t fieldCount);

// Reads the records of a database in file order. A missing file has no records; a file that
// exists but cannot be read (a pipe, a device, too big) has none either and says why.
class DatabaseReader {
public:
    DatabaseReader(const std::filesystem::path& file, size_t fieldCount);
    bool exists() const { return m_exists; }
    const Status& error() const { return m_error; }
    // The next whole record; false at the end.
    bool next(Record& record);

private:
    ParsedDatabase m_parsed;
    size_t m_next = 0;
    bool m_exists = false;
    Status m_error;
};

std::vector<Record> readAllRecords(const std::filesystem::path& file, size_t fieldCount);

// The record at a 0-based position, or nullopt when there is none.
std::optional<Record> recordAt(const std::filesystem::path& file, size_t fieldCount,
                               size_t index);

// True when some record carries exactly this key.
bool containsKey(const std::filesystem::path& file, const DatabaseKind& kind,
                 const std::string& key);

// Why a database cannot be opened for a scan: empty when it is missing (no records) or can be
// read; otherwise the reason (a pipe or device in its place, a file too big, no permission).
std::string databaseUnreadable(const std::filesystem::path& file);

// The file's new contents after a save: every record of `old` except, with replaceKey, those
// carrying the new record's key, byte for byte; a record cut short at the end completed with
// empty fields, so that it is kept and cannot swallow what follows; then the new record. nullopt
// (with the reason) when the file ends in a way no record can safely follow.
std::optional<std::string> contentsAfterSave(std::string_view old, const DatabaseKind& kind,
                                             const Record& record, bool replaceKey,
                                             std::string* why = nullptr);

// Save and Save this info: adds a record at the end, after dropping every record with an equal
// key when replaceKey is set. Runs under the data lock of the folder and re-reads the file
// there, so that a save of another copy of the program in between is kept. The database is
// created when absent.
Status saveRecord(const std::filesystem::path& folder, const DatabaseKind& kind,
                  const Record& record, bool replaceKey, WriteFaults* faults = nullptr,
                  std::chrono::milliseconds lockWait = kDataLockWait);

// Why a database brought from elsewhere (a restore package) cannot be trusted as a database of
// `fieldCount` fields: it holds a NUL byte, or does not read as whole records each ending a
// line. Empty when it reads cleanly (an empty file does).
std::string databaseDefect(std::string_view bytes, size_t fieldCount);

// Records written by the program's earlier versions, which stored a typed quote doubled ("").
// Under the field rules such a record loses text or shifts its fields; its line still shows
// what was typed. The count of such lines, and the file with each of them written anew in
// today's form (every other byte unchanged).
size_t doubledQuoteRecords(std::string_view bytes, const DatabaseKind& kind);
std::string repairDoubledQuotes(std::string_view bytes, const DatabaseKind& kind);
// Repairs the database in `folder` under the data lock.
Status repairDatabase(const std::filesystem::path& folder, const DatabaseKind& kind);

// The line the selection list shows for a record: each field after a single blank.
std::string selectionLine(const Record& record);

// The selection list's lines of a file of records with `fieldCount` fields (1 for a list of
// names), in UTF-8 as the list shows them.
std::vector<std::string> selectionLines(const std::filesystem::path& file, size_t fieldCount);

} // namespace fendrel
