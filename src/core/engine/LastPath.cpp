// Lastpath.dat and the choice of the output file.
#include "LastPath.h"

#include "core/common/UserFiles.h"
#include "core/common/SafeFile.h"

#include "core/common/Encoding.h"
#include "core/common/ProgramFolder.h"
#include "core/common/TextFile.h"

namespace fs = std::filesystem;

namespace fendrel {

std::string ensureLastPath(const fs::path& programFolder) {
    const fs::path file = resolveName(programFolder, "Lastpath.dat");
    std::error_code ec;
    if (fs::exists(file, ec))
        return {};
    const fs::path data = userDataFolder(programFolder);
    fs::create_directories(data, ec);
    if (ec)
        return "the folder " + data.string() + " cannot be made: " + ec.message();
    std::string folder = pathToFileText(folderWithSeparator(data));
    // The file is read back as one field: quote a folder that a comma or outer blanks would cut.
    if (folder.find_first_of(",\t") != std::string::npos || folder.front() == ' ' ||
        folder.back() == ' ')
        folder = "\"" + folder + "\"";
    std::string reason = replaceFile(file, plainLine(folder)).refusal;
    return reason.empty() ? std::string() : "Lastpath.dat cannot be written: " + reason;
}

std::optional<std::string> readLastFolder(const fs::path& programFolder) {
    auto reader = FieldReader::open(resolveName(programFolder, "Lastpath.dat"));
    if (!reader || reader->atEnd())
        return std::nullopt;
    const std::string field = reader->readField();
    const std::string folder = pathFromFileText(field);
    // Earlier versions wrote the folder in the system's own bytes without the mark: when only
    // that reading names an existing folder, it is the one meant.
    std::error_code ec;
    if (folder != field && !fs::is_directory(rememberedFolder(programFolder, folder), ec) &&
        fs::is_directory(rememberedFolder(programFolder, field), ec))
        return field;
    return folder;
}

bool writeLastFolder(const fs::path& programFolder, const std::string& folder) {
    return replaceFile(resolveName(programFolder, "Lastpath.dat"),
                           plainLine(pathToFileText(folder))).refusal
        .empty();
}

std::string folderOfPath(const std::string& path) {
    const std::string name = fs::path(path).filename().string();
    return path.substr(0, path.size() - name.size());
}

fs::path rememberedFolder(const fs::path& programFolder, const std::string& folder) {
    fs::path p(folder);
    return p.is_absolute() ? p : programFolder / p;
}

std::optional<std::string>
chooseOutputFile(const fs::path& programFolder,
                 const std::function<std::optional<std::string>(const fs::path&)>& saveDialog,
                 std::string* lastFolder) {
    auto folder = readLastFolder(programFolder);
    if (!folder)
        return std::nullopt;
    if (lastFolder)
        *lastFolder = *folder;
    const fs::path start = rememberedFolder(programFolder, *folder);
    std::error_code ec;
    if (folder->empty() || !fs::is_directory(start, ec))
        return std::nullopt;
    auto chosen = saveDialog(start);
    if (!chosen || chosen->empty())
        return std::nullopt;
    const std::string chosenFolder = folderOfPath(*chosen);
    if (lastFolder)
        *lastFolder = chosenFolder;
    if (!writeLastFolder(programFolder, chosenFolder))
        return std::nullopt;
    return chosen;
}

} // namespace fendrel
