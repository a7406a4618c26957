// The restore after an upgrade: the databases and the user data files of a restore package are
// checked, then copied back into the program folder and its user data folder.
#pragma once

#include "PackageFiles.h"

#include <filesystem>
#include <string>
#include <vector>

namespace fendrel {

// The kinds of user data file a restore copies, in the order it copies them.
inline constexpr const char* kRestorePatterns[4] = {"*.csv", "*.htm*", "*.txt", "*.grp"};

struct RestoreResult {
    bool ok = true;
    std::string path; // the folder or file that failed
    std::string reason;
    size_t copied = 0; // files copied before the failure (or all of them)
};

// One file a restore copies: from the package to a folder, under a name matched there without
// regard to case.
struct RestoreStep {
    std::filesystem::path source;
    std::filesystem::path folder;
    std::string name;
    bool database = false;
    bool history = false; // put back through SQLite after its checks
};

// A database of the package that should only replace the current one when the user says so:
// it does not read as a database, or it is empty while the current one holds records.
struct DatabaseDoubt {
    std::string name;   // its name in the package ("rounds.dtb")
    std::string reason; // why it is doubted, in words
};

// What a restore will do, worked out before anything is copied.
struct RestorePlan {
    RestoreResult failure;             // !ok: the package cannot be restored at all
    std::vector<std::string> clashes;  // names in the package that differ only in case
    std::vector<DatabaseDoubt> doubts; // databases to confirm
    std::string historyRefusal;        // why the package's load history is not restored
    std::vector<RestoreStep> steps;    // in the order they are copied
};

// The user data files of a package, by kind in the restore order and by name within a kind. A
// name that fits two kinds stands twice. `error` receives the reason when the folder cannot
// be read.
std::vector<std::string> packageDataFiles(const std::filesystem::path& packageFolder,
                                          std::string* error = nullptr);

// Looks at the package in `packageFolder`: the firearms database and rounds.dtb when it holds
// them, the range card's settings and the load history (which must pass its checks, or the
// current one is kept), then every "*.csv", "*.htm*", "*.txt" and "*.grp" file for the user data folder. Names
// are matched without regard to case at the destination. An empty or missing package folder, or
// one that cannot be listed, is a failure.
RestorePlan planRestore(const std::filesystem::path& packageFolder,
                        const std::filesystem::path& programFolder);

// Copies the plan's files, leaving out the databases named in `skipped` (in any case), making the user data
// folder when it is missing. Each copy is synced before it replaces the file at its destination.
// Stops at the first failure; files copied before it stay.
RestoreResult carryOutRestore(const RestorePlan& plan, const std::filesystem::path& programFolder,
                              const std::vector<std::string>& skipped = {},
                              const CopyProgress& progress = {});

// Plan and copy in one step, with no clash and no doubted database restored.
RestoreResult restorePackage(const std::filesystem::path& packageFolder,
                             const std::filesystem::path& programFolder,
                             const CopyProgress& progress = {});

// The folder of a file chosen in the package, without a trailing separator ("/a/b/c.csv" gives
// "/a/b"; a file in the root gives "/").
std::string folderOfChosenFile(const std::string& path);

} // namespace fendrel
