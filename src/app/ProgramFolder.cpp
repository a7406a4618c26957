// Program folder location and case-insensitive name resolution.
#include "ProgramFolder.h"

#include <algorithm>
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

} // namespace

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
    if (fs::exists(user, ec))
        return choice;
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
