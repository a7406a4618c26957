// Reading a file the user chose to import: only a regular file of bounded size, so that a FIFO,
// a device or a huge file cannot hang or exhaust the program.
#pragma once

#include "core/common/Result.h"

#include <cstddef>
#include <filesystem>
#include <string>

namespace fendrel {

inline constexpr std::size_t kMaximumImportBytes = 1024 * 1024;

// The bytes of the file, or a refusal naming the file and the reason.
Result<std::string> readImportFile(const std::filesystem::path& file,
                                          std::size_t limit = kMaximumImportBytes);

} // namespace fendrel
