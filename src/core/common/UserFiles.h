// The user's own files: the data folder they live in, and the one way a file the user names is
// written — never over one of the program's own files, always through the safe writer.
#pragma once

#include "Result.h"

#include <filesystem>
#include <string_view>

namespace fendrel {

// The program folder's YourData, found whatever the case of its name ("yourdata", "YourData").
std::filesystem::path userDataFolder(const std::filesystem::path& programFolder);

// The refusal of a file the user chose to write that is one of the program's own files
// ("it is rounds.dtb, one of the program's own files; choose another name"), or done.
Status ownFileRefusal(const std::filesystem::path& programFolder,
                      const std::filesystem::path& chosen);

// Writes `bytes` to a file the user chose: refused when it is one of the program's own files,
// otherwise replaced whole through the safe writer. The refusal says why, without the path.
Status saveUserFile(const std::filesystem::path& programFolder,
                    const std::filesystem::path& chosen, std::string_view bytes);

// Writes a file whose name the program or the user's dialog has already settled (a print to a
// PDF file, checked where it was chosen), whole through the safe writer.
Status writeChosenFile(const std::filesystem::path& chosen, std::string_view bytes);

// The chosen name with `.suffix` added when it has no extension of its own.
std::filesystem::path withSuffix(const std::filesystem::path& chosen, std::string_view suffix);

} // namespace fendrel
