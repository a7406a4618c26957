// Program folder location and case-insensitive name resolution.
#include "ProgramFolder.h"

#include "SafeFile.h"
#include "TextFile.h"

#include <algorithm>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace fendrel {

namespace {

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    });
    return s;
}

fs::path resolveComponent(const fs::path& folder, const std::string& component) {
    fs::path exact = folder / component;
    std::error_code ec;
    if (fs::exists(exact, ec))
        return exact;
    const std::string want = lower(component);
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::string name = it->path().filename().string();
        if (lower(name) == want)
            return it->path();
    }
    return exact;
}

bool writableFolder(const fs::path& folder) { return ::access(folder.c_str(), W_OK) == 0; }

bool endsWith(const std::string& s, const std::string& end) {
    return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

bool sameFolder(const fs::path& a, const fs::path& b) {
    struct stat sa {}, sb {};
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

// True for the names of the files the program keeps for itself in its folder.
bool ownName(const std::string& name, const std::string& dragTable) {
    const std::string n = lower(name);
    for (const char* end : {".dtb", ".ini", ".dat", ".sqlite", ".sqlite-wal", ".sqlite-shm",
                            ".sqlite-journal", ".lock"})
        if (endsWith(n, end))
            return true;
    if (n == "editlist.txt" || n == lower(dragTable))
        return true;
    return n.rfind("drag", 0) == 0 && endsWith(n, ".txt");
}

// The drag table parameters.ini names (its fifth field), or empty.
std::string namedDragTable(const fs::path& folder) {
    auto bytes = readFileBytes(resolveName(folder, "parameters.ini"));
    if (!bytes)
        return {};
    FieldReader reader(std::move(*bytes));
    std::vector<std::string> fields;
    return reader.readRecord(5, fields) ? fields[4] : std::string();
}

} // namespace

std::string ownProgramFile(const fs::path& programFolder, const fs::path& target) {
    const std::string dragTable = namedDragTable(programFolder);
    // The path as given, and the file it finally names when it is a link.
    std::vector<fs::path> named{target, writeTarget(target)};
    for (const fs::path& p : named) {
        if (p.empty() || !ownName(p.filename().string(), dragTable))
            continue;
        const fs::path parent = p.has_parent_path() ? p.parent_path() : fs::path(".");
        if (sameFolder(parent, programFolder))
            return p.filename().string();
    }
    return {};
}

fs::path resolveName(const fs::path& folder, const std::string& name) {
    fs::path current = folder;
    std::string part;
    for (size_t i = 0; i <= name.size(); ++i) {
        if (i == name.size() || name[i] == '\\' || name[i] == '/') {
            if (!part.empty())
                current = resolveComponent(current, part);
            part.clear();
        } else {
            part.push_back(name[i]);
        }
    }
    return current;
}

std::string pathText(const fs::path& path) { return path.string(); }

std::string folderWithSeparator(const fs::path& folder) {
    std::string s = folder.string();
    if (s.empty() || s.back() != fs::path::preferred_separator)
        s.push_back(fs::path::preferred_separator);
    return s;
}

bool userKeepsFile(const std::string& relativeName) {
    const std::string n = lower(relativeName);
    if (n == "yourdata" || n.rfind("yourdata/", 0) == 0 || n == "editlist.txt")
        return true;
    for (const char* end : {".dtb", ".ini", ".dat", ".sqlite", ".sqlite-wal", ".sqlite-shm",
                            ".sqlite-journal", ".lock", ".bak"})
        if (endsWith(n, end))
            return true;
    return false;
}

namespace {

// Brings the program's own files of `copy` up to date with `installed`, folder by folder.
int refreshProgramFiles(const fs::path& installed, const fs::path& copy, const std::string& under,
                        std::string& error) {
    int refreshed = 0;
    std::error_code ec;
    for (fs::directory_iterator it(installed, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = under + it->path().filename().string();
        if (userKeepsFile(name))
            continue;
        if (it->is_directory()) {
            fs::create_directories(copy / it->path().filename(), ec);
            refreshed += refreshProgramFiles(it->path(), copy / it->path().filename(), name + "/",
                                             error);
            continue;
        }
        // The executables stay where they are installed.
        if (!it->is_regular_file() || ::access(it->path().c_str(), X_OK) == 0)
            continue;
        const auto fresh = readInputFile(it->path());
        if (!fresh)
            continue;
        const fs::path target = copy / it->path().filename();
        if (readInputFile(target) == fresh)
            continue;
        if (const Status e = replaceFile(target, *fresh); !e.ok())
            error = target.string() + ": " + e.refusal;
        else
            ++refreshed;
    }
    return refreshed;
}

} // namespace

ProgramFolderChoice chooseProgramFolder(const std::optional<std::string>& fendrelHome,
                                        const fs::path& executableFolder,
                                        const fs::path& userDataHome,
                                        const std::function<bool(const fs::path&)>& writable) {
    ProgramFolderChoice choice;
    if (fendrelHome && !fendrelHome->empty()) {
        choice.folder = fs::path(*fendrelHome);
        return choice;
    }
    if (writable ? writable(executableFolder) : writableFolder(executableFolder)) {
        choice.folder = executableFolder;
        return choice;
    }
    fs::path user = userDataHome / "fendrel";
    choice.folder = user;
    std::error_code ec;
    if (fs::exists(user, ec)) {
        choice.refreshed = refreshProgramFiles(executableFolder, user, "", choice.error);
        return choice;
    }
    fs::create_directories(user, ec);
    if (!ec) {
        for (fs::directory_iterator it(executableFolder, ec), end; !ec && it != end;
             it.increment(ec)) {
            // Only the data that lies beside the program: not the executables themselves.
            if (it->is_regular_file() && ::access(it->path().c_str(), X_OK) == 0)
                continue;
            fs::copy(it->path(), user / it->path().filename(),
                     fs::copy_options::recursive | fs::copy_options::skip_existing, ec);
            if (ec)
                break;
        }
    }
    if (ec)
        choice.error = ec.message();
    else
        choice.copiedNow = true;
    return choice;
}

} // namespace fendrel
