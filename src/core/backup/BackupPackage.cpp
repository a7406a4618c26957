// The backup package: list, package folder, copying and the read-me.
#include "BackupPackage.h"

#include "core/common/UserFiles.h"
#include "core/common/SafeFile.h"

#include "core/history/HistoryBackup.h"

#include "core/common/Encoding.h"
#include "core/common/Numbers.h"
#include "core/common/ProgramFolder.h"
#include "core/common/TextFile.h"
#include "core/workbench/Databases.h"

#include <charconv>
#include <chrono>
#include <ctime>

namespace fs = std::filesystem;

namespace fendrel {

void BackupList::addSelected(const std::vector<std::string>& shown,
                             const std::vector<bool>& selected) {
    for (size_t i = 0; i < shown.size() && i < selected.size(); ++i)
        if (selected[i])
            m_names.push_back(shown[i]);
}

void BackupList::removeSelected(const std::vector<bool>& selected) {
    std::vector<std::string> kept;
    kept.reserve(m_names.size());
    for (size_t i = 0; i < m_names.size(); ++i)
        if (i >= selected.size() || !selected[i])
            kept.push_back(std::move(m_names[i]));
    m_names = std::move(kept);
}

double secondsSinceMidnight() {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t whole = system_clock::to_time_t(now);
    const std::tm* local = std::localtime(&whole);
    if (!local)
        return 0;
    const double fraction = duration<double>(now - system_clock::from_time_t(whole)).count();
    return local->tm_hour * 3600.0 + local->tm_min * 60.0 + local->tm_sec +
           (fraction >= 0 && fraction < 1 ? fraction : 0);
}

std::string defaultPackageFolder(const fs::path& home, double seconds) {
    // A single-precision value prints with seven significant digits (86399.99 at most).
    char buffer[32];
    const float single = static_cast<float>(seconds);
    const auto printed =
        std::to_chars(buffer, buffer + sizeof buffer, single, std::chars_format::general, 7);
    double value = 0;
    std::from_chars(buffer, printed.ptr, value);
    return (home / ("FendrelFiles" + printedNumber(value))).string();
}

fs::path packageFolderPath(const std::string& typed, const fs::path& home) {
    if (typed.empty())
        return {};
    if (typed == "~")
        return home;
    if (typed.rfind("~/", 0) == 0)
        return home / typed.substr(2);
    const fs::path path(typed);
    if (path.is_relative())
        return home / path;
    return path;
}

BackupResult makePackage(const BackupOrder& order, const CopyProgress& progress) {
    BackupResult result;
    const fs::path& package = order.packageFolder;
    std::error_code ec;
    if (!fs::is_directory(package, ec)) {
        if (fs::exists(package, ec)) {
            result.failure = BackupResult::Failure::Folder;
            result.path = package.string();
            result.reason = "A file of that name is in the way";
            return result;
        }
        fs::create_directory(package, ec);
        if (ec) {
            result.failure = BackupResult::Failure::Folder;
            result.path = package.string();
            result.reason = ec.message();
            return result;
        }
    }

    struct Step {
        fs::path source;
        std::string name;
        bool history = false;
    };
    std::vector<Step> steps;
    if (order.databases) {
        // The range card's settings and the load history, when the user has them, go first: a
        // database that cannot be copied ends the backup, and they must not be lost with it.
        const fs::path settings = resolveName(order.programFolder, kRangeCardSettingsName);
        if (fs::is_regular_file(settings, ec))
            steps.push_back({settings, kRangeCardSettingsName});
        const fs::path history = resolveName(order.programFolder, kHistoryName);
        if (fs::is_regular_file(history, ec))
            steps.push_back({history, kHistoryName, true});
        steps.push_back({resolveName(order.programFolder, kFirearms.fileName), "firearms.dtb"});
        steps.push_back({resolveName(order.programFolder, kRounds.fileName), "rounds.dtb"});
    }
    const fs::path dataFolder = userDataFolder(order.programFolder);
    for (const std::string& name : order.files)
        steps.push_back({entryIn(dataFolder, name), name});

    for (const Step& step : steps) {
        std::string reason;
        if (step.history) {
            const auto copied = backupHistory(order.programFolder, entryIn(package, step.name));
            reason = copied.refusal;
        } else {
            reason = copyReplacing(step.source, entryIn(package, step.name));
        }
        if (!reason.empty()) {
            result.failure = BackupResult::Failure::Copy;
            result.path = step.source.string();
            result.reason = reason;
            return result;
        }
        ++result.copied;
        if (progress)
            progress(result.copied, steps.size());
    }
    return result;
}

std::string readmeBlock(const std::string& packageFolder) {
    std::string block = plainLine("The location of your RESTORE BACKUP PACKAGE is: ");
    // The folder in the read-me's code page when it can spell it; otherwise as the system names
    // it, so that the line can be copied back into the restore window.
    const std::string spelled = utf8ToCp1252(packageFolder);
    block += plainLine(cp1252ToUtf8(spelled) == packageFolder ? spelled : packageFolder);
    for (const char* line :
         {"[Copy and paste the above line into Fendrel when prompted, see step 3, below].",
          "1. Uninstall your current version of Fendrel.",
          "2. Install your upgraded version of Fendrel.", "3. Use FILE---RESTORE BACKUP PACKAGE",
          "4. You may then delete this filem and the RESTORE PACKAGE folder at this point."})
        block += plainLine(line);
    return block;
}

std::string appendReadme(const fs::path& folder, const std::string& packageFolder,
                         fs::path* written) {
    const fs::path readme = entryIn(folder, kReadmeName);
    if (written)
        *written = readme;
    return appendByReplacing(readme, readmeBlock(packageFolder)).refusal;
}

} // namespace fendrel
