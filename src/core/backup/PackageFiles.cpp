// Listing, finding and safely copying the files of a restore package.
#include "PackageFiles.h"

#include "core/common/ProgramFolder.h"
#include "core/common/SafeFile.h"
#include "core/common/Strings.h"

#include <algorithm>

namespace fs = std::filesystem;

namespace fendrel {

namespace {

} // namespace

bool matchesPattern(std::string_view name, std::string_view pattern) {
    // Greedy match with one remembered star: on a mismatch the last star swallows one more
    // character and matching resumes after it.
    size_t n = 0, p = 0;
    size_t starAt = std::string_view::npos, resumeName = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starAt = p++;
            resumeName = n;
        } else if (p < pattern.size() &&
                   (pattern[p] == '?' || lowerAscii(pattern[p]) == lowerAscii(name[n]))) {
            ++p;
            ++n;
        } else if (starAt != std::string_view::npos) {
            p = starAt + 1;
            n = ++resumeName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

std::vector<std::string> listFiles(const fs::path& folder, std::string_view pattern,
                                   std::string* error) {
    std::vector<std::string> names;
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    for (const fs::directory_iterator end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.empty() || name[0] == '.' || !matchesPattern(name, pattern))
            continue;
        std::error_code typeError;
        if (!it->is_regular_file(typeError))
            continue;
        names.push_back(name);
    }
    if (ec && error)
        *error = ec.message();
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const std::string la = lowered(a), lb = lowered(b);
        return la != lb ? la < lb : a < b;
    });
    return names;
}

fs::path entryIn(const fs::path& folder, const std::string& name) {
    // resolveName reads separators as folder steps; a file name on this system may carry a
    // backslash, and such a name is taken as it stands.
    if (name.find_first_of("\\/") != std::string::npos)
        return folder / name;
    return resolveName(folder, name);
}

std::string copyReplacing(const fs::path& source, const fs::path& target) {
    std::error_code ec;
    if (!fs::exists(source, ec))
        return "The file does not exist";
    if (fs::is_directory(source, ec))
        return "It is a folder, not a file";
    Status error;
    const auto bytes = readInputFile(source, kDefaultInputLimit, &error);
    if (!bytes)
        return "It cannot be read: " + error.refusal;
    return replaceFile(target, *bytes).refusal;
}

} // namespace fendrel
