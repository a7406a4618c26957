// Checking a restore package and restoring it into the program folder.
#include "RestorePackage.h"

#include "core/common/UserFiles.h"

#include "core/common/ProgramFolder.h"
#include "core/common/SafeFile.h"
#include "core/common/Strings.h"
#include "core/history/HistoryBackup.h"
#include "core/workbench/Databases.h"

#include <algorithm>
#include <map>

namespace fs = std::filesystem;

namespace fendrel {

namespace {

RestoreResult failed(const fs::path& path, std::string reason, size_t copied = 0) {
    RestoreResult r;
    r.ok = false;
    r.path = path.string();
    r.reason = std::move(reason);
    r.copied = copied;
    return r;
}

// Why the package's database should not simply replace the current one; empty when it may.
std::string doubtAbout(const fs::path& source, const fs::path& current, const DatabaseKind& kind,
                       std::string* unreadable) {
    Status error;
    const auto bytes = readInputFile(source, kDefaultInputLimit, &error);
    if (!bytes) {
        *unreadable = error.refusal;
        return {};
    }
    if (std::string defect = databaseDefect(*bytes, kind.fieldCount); !defect.empty())
        return defect;
    if (parseDatabase(*bytes, kind.fieldCount).records.empty()) {
        const size_t now = readAllRecords(current, kind.fieldCount).size();
        if (now > 0)
            return "it holds no records, while your current " + std::string(kind.fileName) +
                   " holds " + std::to_string(now) + (now == 1 ? " record" : " records");
    }
    return {};
}

// True for the names a restore copies: the two databases and the user data files.
bool restored(const std::string& name) {
    const std::string lower = lowered(name);
    if (lower == "rounds.dtb" || lower == "firearms.dtb" || lower == kRangeCardSettingsName ||
        lower == kHistoryName)
        return true;
    if (name.empty() || name[0] == '.')
        return false;
    return std::any_of(std::begin(kRestorePatterns), std::end(kRestorePatterns),
                       [&](const char* p) { return matchesPattern(name, p); });
}

} // namespace

std::vector<std::string> packageDataFiles(const fs::path& packageFolder, std::string* error) {
    std::vector<std::string> all;
    for (const char* pattern : kRestorePatterns) {
        std::string reason;
        const std::vector<std::string> names = listFiles(packageFolder, pattern, &reason);
        if (!reason.empty()) {
            if (error)
                *error = reason;
            return {};
        }
        all.insert(all.end(), names.begin(), names.end());
    }
    return all;
}

RestorePlan planRestore(const fs::path& packageFolder, const fs::path& programFolder) {
    RestorePlan plan;
    if (packageFolder.empty()) {
        plan.failure = failed(packageFolder, "No package folder was given");
        return plan;
    }
    std::error_code ec;
    if (!fs::is_directory(packageFolder, ec)) {
        plan.failure = failed(packageFolder, fs::exists(packageFolder, ec)
                                                 ? "It is not a folder"
                                                 : "The folder does not exist");
        return plan;
    }

    // Two names that differ only in case would land on one file: which one wins is not the
    // user's choice, so such a package is refused as a whole.
    std::map<std::string, std::string> seen;
    for (const auto& entry : fs::directory_iterator(packageFolder, ec)) {
        const std::string name = entry.path().filename().string();
        if (!restored(name))
            continue;
        auto [at, fresh] = seen.emplace(lowered(name), name);
        if (!fresh && at->second != name) {
            plan.clashes.push_back(at->second);
            plan.clashes.push_back(name);
        }
    }
    if (ec) {
        plan.failure = failed(packageFolder, ec.message());
        return plan;
    }
    if (!plan.clashes.empty())
        return plan;

    // A package made without the databases simply has none: they stay as they are.
    for (const DatabaseKind* kind : {&kFirearms, &kRounds}) {
        const fs::path source = entryIn(packageFolder, kind->fileName);
        if (!fs::is_regular_file(source, ec))
            continue;
        std::string unreadable;
        const std::string doubt =
            doubtAbout(source, resolveName(programFolder, kind->fileName), *kind, &unreadable);
        if (!unreadable.empty()) {
            plan.failure = failed(source, "It cannot be read: " + unreadable);
            return plan;
        }
        if (!doubt.empty())
            plan.doubts.push_back({source.filename().string(), doubt});
        plan.steps.push_back({source, programFolder, kind->fileName, true});
    }

    const fs::path settings = entryIn(packageFolder, kRangeCardSettingsName);
    if (fs::is_regular_file(settings, ec))
        plan.steps.push_back({settings, programFolder, kRangeCardSettingsName, false});
    const fs::path history = entryIn(packageFolder, kHistoryName);
    if (fs::is_regular_file(history, ec)) {
        const Status usable = checkHistoryBackup(history);
        if (usable.ok())
            plan.steps.push_back({history, programFolder, kHistoryName, false, true});
        else
            plan.historyRefusal = usable.refusal;
    } else if (fs::exists(fs::symlink_status(history, ec))) {
        plan.historyRefusal = "The package's " + history.filename().string() +
                              " is not a file (a folder or a link to nothing), so it holds no "
                              "load history.";
    }

    std::string error;
    const std::vector<std::string> names = packageDataFiles(packageFolder, &error);
    if (!error.empty()) {
        plan.failure = failed(packageFolder, error);
        return plan;
    }
    const fs::path dataFolder = userDataFolder(programFolder);
    for (const std::string& name : names)
        plan.steps.push_back({packageFolder / name, dataFolder, name, false});
    return plan;
}

RestoreResult carryOutRestore(const RestorePlan& plan, const fs::path& programFolder,
                              const std::vector<std::string>& skipped,
                              const CopyProgress& progress) {
    if (!plan.failure.ok)
        return plan.failure;
    std::vector<const RestoreStep*> steps;
    for (const RestoreStep& step : plan.steps)
        if (!step.database ||
            std::none_of(skipped.begin(), skipped.end(),
                         [&](const std::string& s) { return lowered(s) == lowered(step.name); }))
            steps.push_back(&step);

    RestoreResult result;
    std::error_code ec;
    const fs::path dataFolder = userDataFolder(programFolder);
    for (const RestoreStep* step : steps) {
        if (!step->database && !fs::is_directory(dataFolder, ec)) {
            fs::create_directory(dataFolder, ec);
            if (ec)
                return failed(dataFolder, ec.message(), result.copied);
        }
        const std::string reason =
            step->history ? restoreHistory(step->source, programFolder).refusal
                          : copyReplacing(step->source, entryIn(step->folder, step->name));
        if (!reason.empty())
            return failed(step->source, reason, result.copied);
        ++result.copied;
        if (progress)
            progress(result.copied, steps.size());
    }
    return result;
}

RestoreResult restorePackage(const fs::path& packageFolder, const fs::path& programFolder,
                             const CopyProgress& progress) {
    const RestorePlan plan = planRestore(packageFolder, programFolder);
    if (!plan.clashes.empty())
        return failed(packageFolder, "Names that differ only in letter case: " +
                                         plan.clashes[0] + ", " + plan.clashes[1]);
    std::vector<std::string> skipped;
    for (const DatabaseDoubt& d : plan.doubts)
        skipped.push_back(d.name);
    return carryOutRestore(plan, programFolder, skipped, progress);
}

std::string folderOfChosenFile(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return {};
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

} // namespace fendrel
