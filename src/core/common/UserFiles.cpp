#include "UserFiles.h"

#include "ProgramFolder.h"
#include "SafeFile.h"

namespace fs = std::filesystem;

namespace fendrel {

fs::path userDataFolder(const fs::path& programFolder) {
    return resolveName(programFolder, "YourData");
}

Status ownFileRefusal(const fs::path& programFolder, const fs::path& chosen) {
    if (const std::string own = ownProgramFile(programFolder, chosen); !own.empty())
        return Status::refused("it is " + own + ", one of the program's own files; choose "
                               "another name");
    return {};
}

Status saveUserFile(const fs::path& programFolder, const fs::path& chosen,
                    std::string_view bytes) {
    if (Status own = ownFileRefusal(programFolder, chosen); !own)
        return own;
    return replaceFile(chosen, bytes);
}

Status writeChosenFile(const fs::path& chosen, std::string_view bytes) {
    return replaceFile(chosen, bytes);
}

fs::path withSuffix(const fs::path& chosen, std::string_view suffix) {
    if (chosen.has_extension())
        return chosen;
    fs::path out = chosen;
    out += "." + std::string(suffix);
    return out;
}

} // namespace fendrel
