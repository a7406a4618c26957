// The round and firearm databases, rounds.dtb and Firearms.dtb: one record per line, every
// field in double quotes, commas between fields, CR LF at the end. A record is found by its
// position; its key (the description of a round, the serial number of a firearm) is compared as
// exact text. Every change replaces the whole file through a temporary file and a rename, so
// that at every instant either the old or the new database is complete on disk.
#pragma once

#include "app/TextFile.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace fendrel {

using Record = std::vector<std::string>;

inline constexpr size_t kRoundFields = 18;
inline constexpr size_t kFirearmFields = 6;
inline constexpr size_t kRoundKey = 0;   // the description
inline constexpr size_t kFirearmKey = 3; // the serial number

struct DatabaseKind {
    const char* fileName;
    const char* tempName;
    size_t fieldCount;
    size_t keyField;
};
inline constexpr DatabaseKind kRounds{"rounds.dtb", "rounds.tmp", kRoundFields, kRoundKey};
inline constexpr DatabaseKind kFirearms{"Firearms.dtb", "firearms.tmp", kFirearmFields,
                                        kFirearmKey};

// A double quote typed into a field is stored doubled (""), the usual escape of quoted fields,
// so that it survives saving and loading. Files without quotes inside fields read as always.
std::string encodeDatabaseRecord(const Record& fields);

// Reads the records of a database in file order. A record cut short by the end of the file is
// not a record. A missing file has no records.
class DatabaseReader {
public:
    DatabaseReader(const std::filesystem::path& file, size_t fieldCount);
    bool exists() const { return m_exists; }
    // The next whole record; false at the end.
    bool next(Record& record) { return m_reader.readRecord(m_fieldCount, record); }

private:
    FieldReader m_reader;
    size_t m_fieldCount;
    bool m_exists = false;
};

std::vector<Record> readAllRecords(const std::filesystem::path& file, size_t fieldCount);

// The record at a 0-based position, or nullopt when there is none.
std::optional<Record> recordAt(const std::filesystem::path& file, size_t fieldCount,
                               size_t index);

// True when some record carries exactly this key.
bool containsKey(const std::filesystem::path& file, const DatabaseKind& kind,
                 const std::string& key);

// Steps of a database rewrite, for tests that interrupt it.
enum class RewriteStep { CreateTemporary, WriteTemporary, FlushTemporary, Replace };

// Stops a rewrite at a chosen step, as a full disk or a crash would.
struct RewriteFaults {
    virtual ~RewriteFaults() = default;
    virtual bool failAt(RewriteStep step) = 0;
};

struct SaveResult {
    bool ok = true;
    std::string error; // the reason, when not ok
};

// Adds a record at the end. With replaceKey, every record with an equal key is dropped first
// (order of the rest kept), so the new record stands last. The database is created when absent.
SaveResult saveRecord(const std::filesystem::path& folder, const DatabaseKind& kind,
                      const Record& record, bool replaceKey, RewriteFaults* faults = nullptr);

// The line the selection list shows for a record: each field after a single blank.
std::string selectionLine(const Record& record);

// The selection list's lines of a file of records with `fieldCount` fields (1 for a list of
// names). A record with a double quote escape is shown as it reads.
std::vector<std::string> selectionLines(const std::filesystem::path& file, size_t fieldCount);

} // namespace fendrel
