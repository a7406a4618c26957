// The load history: history.sqlite in the program folder, holding for each load (a round
// description) its velocity strings, its groups and the truings of the range card made with it.
//
// A load is its round description, compared as exact text (case and blanks significant), the
// key of the round database. Two rounds that share a description therefore share one history:
// their entries stand in one list, and the round values stored with every entry (caliber,
// bullet weight, BC, powder charge) tell them apart. Renaming a round starts a new history
// under the new description; the old one stays under the old text.
//
// Every change runs in one transaction. The file is kept in WAL mode with full syncing, so a
// crash or a power cut loses at most the change in progress.
#pragma once

#include "HistoryEntry.h"
#include "SeriesImport.h"
#include "core/common/Result.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;

namespace fendrel {

// One line of the list of loads.
struct LoadSummary {
    std::int64_t id = 0;
    std::string description;
    int strings = 0;
    int groups = 0;
    int truings = 0;
    std::string lastDate; // the date of the latest entry, truings included
    RoundSnapshot latest; // the round values of the latest entry
};

// A load with all its entries, each list ordered by date, then as entered.
struct LoadHistory {
    std::int64_t id = 0;
    std::string description;
    std::vector<VelocityString> strings;
    std::vector<HistoryGroup> groups;
    std::vector<TruingSession> truings;
};

class HistoryDatabase {
public:
    static constexpr const char* kFileName = "history.sqlite";

    enum class WhenAbsent { Create, Report };
    struct Opening {
        std::unique_ptr<HistoryDatabase> database; // set when opened
        bool absent = false;                       // no history yet (WhenAbsent::Report)
        std::string refusal;
    };

    // Opens history.sqlite of the program folder, bringing an older schema up to date. A file
    // of a newer schema, another program's database, a file that is not a database, a file
    // that lacks a table, column, index or trigger of its version, and a special file are
    // refused, and left as they are.
    static Opening open(const std::filesystem::path& programFolder,
                        WhenAbsent whenAbsent = WhenAbsent::Create);
    static Opening openFile(const std::filesystem::path& file,
                            WhenAbsent whenAbsent = WhenAbsent::Create);

    // Opens history.sqlite of the program folder for reading only: no file is created or
    // changed, and a write in progress in another program does not hold it up. A folder that
    // does not exist is refused; a missing or empty file is `absent` (no loads). An older
    // schema is read through a copy in memory brought up to date there. Every change through
    // the database it gives is refused.
    static Opening openReadOnly(const std::filesystem::path& programFolder);

    // Whether a file could be opened as a load history of this or an older version, without a
    // change to it: an SQLite database marked as a load history, not newer than this program,
    // passing PRAGMA integrity_check and foreign_key_check.
    static Status checkFile(const std::filesystem::path& file);

    ~HistoryDatabase();
    HistoryDatabase(const HistoryDatabase&) = delete;
    HistoryDatabase& operator=(const HistoryDatabase&) = delete;

    const std::filesystem::path& file() const { return m_file; }

    // The loads in order of description (byte order).
    Result<std::vector<LoadSummary>> loads() const;
    Result<LoadHistory> load(std::int64_t loadId) const;
    // The id of the load with exactly this description, 0 when there is none.
    Result<std::int64_t> findLoad(std::string_view description) const;

    // Adds an entry to the load of the description, creating the load when it is new. The id
    // of the entry.
    Result<std::int64_t> addString(std::string_view description, const VelocityString& s);
    Result<std::int64_t> addGroup(std::string_view description, const HistoryGroup& g);

    // A truing with its observations and knots, all or nothing, in the load of the description
    // (created when new). The id of the truing.
    Result<std::int64_t> addTruing(std::string_view description, const TruingSession& t);
    // The truings of a load, ordered by date, then as entered: what load() gives in `truings`.
    Result<std::vector<TruingSession>> truings(std::int64_t loadId) const;

    // Series read from a chronograph or e-target file (ChronographExport.h), entering the
    // history. A series is already in the history when a string of any load has its date and
    // exactly its shots.
    Result<ImportedString> findImported(std::string_view date,
                                        const std::vector<double>& shotsFps) const;
    // The import's list: each series' name, date, statistics, whether it also becomes a group,
    // and the string it duplicates.
    Result<std::vector<SeriesPreview>> previewSeries(std::span<const ChronographSeries> series,
                                                     const SeriesImportOptions& options) const;
    // Stores the chosen series in the load of the description (created when new), all in one
    // transaction: each series as a velocity string with the times, marks and notes of its
    // shots, and an e-target string also as a group of its positions at its distance, the
    // string linked to its group (groupId). A series already in the history is not stored
    // again (its ids are 0, and a notice says so); a load left without entries is not kept.
    Result<SeriesImportOutcome> importSeries(std::string_view description,
                                             std::span<const ChronographSeries> series,
                                             const SeriesImportOptions& options);

    // Replaces everything of the entry with this id but its load (and a string's groupId).
    Status updateString(const VelocityString& s);
    Status updateGroup(const HistoryGroup& g);

    // Removes an entry; a load left without entries leaves the list.
    Status deleteString(std::int64_t id);
    Status deleteGroup(std::int64_t id);
    Status deleteTruing(std::int64_t id);
    Status deleteLoad(std::int64_t loadId);

    // PRAGMA integrity_check and foreign_key_check of the open file.
    Status checkIntegrity() const;

    // Writes a consistent copy to `destination` with SQLite's online backup, through a
    // temporary file beside it that is renamed into place when complete and checked.
    Status backupTo(const std::filesystem::path& destination) const;
    // The hidden file a backup to `destination` is made in before it is renamed into place.
    static std::filesystem::path backupPartOf(const std::filesystem::path& destination);

    // Replaces the whole history with that of `source`, after checkFile accepted it; an older
    // schema is brought up to date. On refusal the current history stays as it was.
    Status restoreFrom(const std::filesystem::path& source);

private:
    HistoryDatabase(sqlite3* db, std::filesystem::path file);
    Status failure(int rc) const;
    template <typename Body> Status inTransaction(Body&& body);
    // Adds an entry to the load of the description (made when new): refused with `why` when
    // the entry is bad, else `insert(loadId, id)` in one transaction.
    template <typename Insert>
    Result<std::int64_t> addEntry(std::string_view description, const std::string& why,
                                  Insert&& insert);
    int removeIfEmpty(std::int64_t loadId);
    // Deletes a string, a group or a truing (`table`), and its load when that was its last
    // entry.
    Status deleteEntry(const std::string& table, std::int64_t id);

    sqlite3* m_db;
    std::filesystem::path m_file;
};

} // namespace fendrel
