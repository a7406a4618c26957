// The file handling shared by the backup and the restore: listing a folder by a name pattern,
// finding a file whatever the case of its name, and copying a file so that its destination is
// never left half written.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace fendrel {

// Beside the two databases, the backup carries the range card's settings and the load history
// (history.sqlite, copied with SQLite's own backup so that it is consistent even when open).
inline constexpr const char* kRangeCardSettingsName = "rangecard.ini";
inline constexpr const char* kHistoryName = "history.sqlite";

// The four kinds of user data file, in the order the backup window shows them.
inline constexpr const char* kDataFilePatterns[4] = {"*.csv", "*.htm*", "*.grp", "*.txt"};

// True when a file name fits a pattern of "*" (any run of characters) and "?" (one character),
// letters compared without regard to case.
bool matchesPattern(std::string_view name, std::string_view pattern);

// The plain names of the files of `folder` that fit the pattern, sorted without regard to case.
// Hidden files (a name opening with a full stop) and folders are left out. A missing or
// unreadable folder lists nothing; `error` (when given) then receives the reason.
std::vector<std::string> listFiles(const std::filesystem::path& folder, std::string_view pattern,
                                   std::string* error = nullptr);

// The entry of `folder` called `name`, compared without regard to case; the path to create when
// there is none.
std::filesystem::path entryIn(const std::filesystem::path& folder, const std::string& name);

// Copies `source` to `target`, replacing it through the safe writer: the target is at every
// instant either the old file or the whole new one, synced to disk before it takes the old
// one's place. Returns an empty string on success, otherwise the reason.
std::string copyReplacing(const std::filesystem::path& source, const std::filesystem::path& target);

// Progress of a long copy: called after each file with the number of files done and the number
// in all. The windows let pending events run here.
using CopyProgress = std::function<void(size_t done, size_t total)>;

} // namespace fendrel
