// Backup and restore of the load history.
#include "HistoryBackup.h"

#include "HistoryDatabase.h"

namespace fendrel {

Result<bool> backupHistory(const std::filesystem::path& programFolder,
                                  const std::filesystem::path& destination) {
    using R = Result<bool>;
    auto opened = HistoryDatabase::open(programFolder, HistoryDatabase::WhenAbsent::Report);
    if (opened.absent)
        return R::done(false);
    if (!opened.database)
        return R::refused(opened.refusal);
    const Status copied = opened.database->backupTo(destination);
    return copied ? R::done(true) : R::refused(copied.refusal);
}

Status checkHistoryBackup(const std::filesystem::path& file) {
    return HistoryDatabase::checkFile(file);
}

Status restoreHistory(const std::filesystem::path& source,
                             const std::filesystem::path& programFolder) {
    if (Status checked = HistoryDatabase::checkFile(source); !checked)
        return checked;
    auto opened = HistoryDatabase::open(programFolder);
    if (!opened.database)
        return {opened.refusal};
    return opened.database->restoreFrom(source);
}

} // namespace fendrel
