// The choice of the output file of a calculation run and Lastpath.dat, which remembers the
// folder of the last one.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace fendrel {

inline constexpr const char* kOutputFileFilter =
    "On-Line Test (.txt)|*.txt|Comma-delimited file (.csv)|*.csv|";
inline constexpr int kOutputFileFilterIndex = 2;

// Writes Lastpath.dat naming the program folder's YourData folder (made when missing) when the
// program folder has no Lastpath.dat, so that the first run on a fresh install can start.
// Returns an empty string on success or when the file exists, otherwise the reason.
std::string ensureLastPath(const std::filesystem::path& programFolder);

// The folder remembered in Lastpath.dat (its first field), as the system spells it; nullopt
// when the file is missing or unreadable.
std::optional<std::string> readLastFolder(const std::filesystem::path& programFolder);

// Replaces Lastpath.dat with one line holding `folder` (the system's bytes), in the file's code
// page when it can spell the folder. False when it cannot be written.
bool writeLastFolder(const std::filesystem::path& programFolder, const std::string& folder);

// A chosen path without its file name, separator kept ("/data/load.csv" gives "/data/").
std::string folderOfPath(const std::string& path);

// The folder a remembered folder names; a relative one is taken from the program folder.
std::filesystem::path rememberedFolder(const std::filesystem::path& programFolder,
                                       const std::string& folder);

// OpenFile: reads the remembered folder, asks `saveDialog` for the output file starting there,
// and remembers the chosen file's folder. nullopt on any failure or on Cancel.
std::optional<std::string> chooseOutputFile(
    const std::filesystem::path& programFolder,
    const std::function<std::optional<std::string>(const std::filesystem::path&)>& saveDialog,
    std::string* lastFolder = nullptr);

} // namespace fendrel
