// The load history in backups: a consistent copy of history.sqlite, and putting a copy back
// only after it passed the checks.
#pragma once

#include "core/common/Result.h"

#include <filesystem>

namespace fendrel {

// Copies history.sqlite of the program folder to `destination` with SQLite's online backup,
// also while the workbench has it open. The value is false when there is no history to copy.
Result<bool> backupHistory(const std::filesystem::path& programFolder,
                                  const std::filesystem::path& destination);

// Why a copy cannot be restored (not a load history, damaged, of a newer version), or ok.
Status checkHistoryBackup(const std::filesystem::path& file);

// Replaces the history of the program folder with the copy `source`. A copy that fails the
// checks is refused and the current history stays as it was.
Status restoreHistory(const std::filesystem::path& source,
                             const std::filesystem::path& programFolder);

} // namespace fendrel
