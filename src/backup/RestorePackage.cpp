// Restoring a package into the program folder.
#include "RestorePackage.h"

#include "app/ProgramFolder.h"
#include "workbench/Databases.h"

namespace fs = std::filesystem;

namespace fendrel {

namespace {

struct Step {
    fs::path source;
    fs::path folder;  // the destination folder
    std::string name; // the destination name, matched there without regard to case
};

RestoreResult failed(const fs::path& path, std::string reason, size_t copied = 0) {
    RestoreResult r;
    r.ok = false;
    r.path = path.string();
    r.reason = std::move(reason);
    r.copied = copied;
    return r;
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

RestoreResult restorePackage(const fs::path& packageFolder, const fs::path& programFolder,
                             const CopyProgress& progress) {
    if (packageFolder.empty())
        return failed(packageFolder, "No package folder was given");
    std::error_code ec;
    if (!fs::is_directory(packageFolder, ec))
        return failed(packageFolder, fs::exists(packageFolder, ec) ? "It is not a folder"
                                                                   : "The folder does not exist");

    std::vector<Step> steps;
    // A package made without the databases simply has none: they stay as they are.
    for (const DatabaseKind* kind : {&kFirearms, &kRounds}) {
        const fs::path source = entryIn(packageFolder, kind->fileName);
        if (fs::is_regular_file(source, ec))
            steps.push_back({source, programFolder, kind->fileName});
    }

    std::string error;
    const std::vector<std::string> names = packageDataFiles(packageFolder, &error);
    if (!error.empty())
        return failed(packageFolder, error);
    if (!names.empty()) {
        fs::path dataFolder = resolveName(programFolder, "YourData");
        if (!fs::is_directory(dataFolder, ec)) {
            fs::create_directory(dataFolder, ec);
            if (ec)
                return failed(dataFolder, ec.message());
        }
        for (const std::string& name : names)
            steps.push_back({packageFolder / name, dataFolder, name});
    }

    RestoreResult result;
    for (const Step& step : steps) {
        const std::string reason = copyReplacing(step.source, entryIn(step.folder, step.name));
        if (!reason.empty())
            return failed(step.source, reason, result.copied);
        ++result.copied;
        if (progress)
            progress(result.copied, steps.size());
    }
    return result;
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
