// The program folder: where it is, and finding its files whatever the case of their names.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace fendrel {

// The entry of `folder` named `name`, compared without regard to case. `name` may hold
// several components separated by "\" or "/" ("HelpDocs\HELP-Fendrel.chm"); each is resolved
// in turn. A component that does not exist is kept as written, so the result is also the path
// at which to create a missing file.
std::filesystem::path resolveName(const std::filesystem::path& folder, const std::string& name);

// A path as text with a separator between the folder and the name (for files that store paths).
std::string pathText(const std::filesystem::path& path);

// The folder name with a trailing separator, as Lastpath.dat stores it.
std::string folderWithSeparator(const std::filesystem::path& folder);

// When `target` is one of the program's own files in `programFolder` (or a link to one), that
// file's name; otherwise empty. Own files: the databases, the .ini and .dat settings and lists,
// editlist.txt, the drag tables, the load history and the lock. Names are compared without regard
// to case. Commands that write a file the user names refuse these.
std::string ownProgramFile(const std::filesystem::path& programFolder,
                           const std::filesystem::path& target);

// Where the program's files live. FENDREL_HOME first; otherwise the executable's folder when
// it can be written; otherwise a per-user copy in <data home>/fendrel, made from the
// executable's folder on first use. In an existing copy the files the program owns (help,
// pages, pictures, drag tables) are refreshed from the executable's folder, so that an upgrade
// reaches them; the user's own files (databases, settings, lists, history, YourData) never are.
// `error` receives a reason when the copy fails.
struct ProgramFolderChoice {
    std::filesystem::path folder;
    bool copiedNow = false;
    int refreshed = 0; // program files of an existing copy brought up to date
    std::string error;
};

// True for the files of a program folder that hold the user's own records or settings.
bool userKeepsFile(const std::string& relativeName);
// `writable` decides whether a folder can be written (by default: may this process write it).
ProgramFolderChoice chooseProgramFolder(
    const std::optional<std::string>& fendrelHome, const std::filesystem::path& executableFolder,
    const std::filesystem::path& userDataHome,
    const std::function<bool(const std::filesystem::path&)>& writable = {});

} // namespace fendrel
