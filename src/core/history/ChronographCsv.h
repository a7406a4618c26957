// Speeds read from a chronograph's CSV export, from a plain column of numbers, or as typed by
// the user.
//
// Export layout: an optional title line, a header line whose first column with FPS or M/S in
// its name (any case) holds the speeds, one shot a row, and summary rows after a row that
// begins with "-" and the separator. Fields are separated by commas, or by semicolons, in which
// case a decimal comma is read as a point. M/S speeds become ft/s. UTF-8 with or without a byte
// order mark, CR LF or LF line ends; blank lines are passed over. The devices' own layouts, and
// this one among them, are read by readChronographExport (ChronographExport.h).
#pragma once

#include "core/common/Result.h"

#include <filesystem>
#include <string_view>
#include <vector>

namespace fendrel {

// The speeds in ft/s, or a refusal that names the line at fault.
Result<std::vector<double>> readChronographCsv(std::string_view bytes);

// The same from a file (a regular file of at most 1 MB).
Result<std::vector<double>> readChronographFile(const std::filesystem::path& file);

// Speeds typed by hand: numbers with a decimal point, separated by blanks, line ends, commas or
// semicolons. The refusal names the shot at fault.
Result<std::vector<double>> readTypedShots(std::string_view text);

} // namespace fendrel
