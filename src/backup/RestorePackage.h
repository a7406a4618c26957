// The restore after an upgrade: the databases and the user data files of a restore package are
// copied back into the program folder and its user data folder.
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

// The user data files of a package, by kind in the restore order and by name within a kind. A
// name that fits two kinds stands twice. `error` receives the reason when the folder cannot
// be read.
std::vector<std::string> packageDataFiles(const std::filesystem::path& packageFolder,
                                          std::string* error = nullptr);

// Restores the package in `packageFolder`: the firearms database and rounds.dtb when the
// package holds them, then every "*.csv", "*.htm*", "*.txt" and "*.grp" file into the user data
// folder (made when missing). Names are matched without regard to case in the package and at
// the destination, so a restored file replaces the one already there whatever the case of its
// name. Each file is copied to a temporary name beside its destination and renamed into place.
// Stops at the first failure; files copied before it stay. An empty or missing package folder
// is a failure before anything is copied.
RestoreResult restorePackage(const std::filesystem::path& packageFolder,
                             const std::filesystem::path& programFolder,
                             const CopyProgress& progress = {});

// The folder of a file chosen in the package, without a trailing separator ("/a/b/c.csv" gives
// "/a/b"; a file in the root gives "/").
std::string folderOfChosenFile(const std::string& path);

} // namespace fendrel
