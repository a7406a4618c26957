// Files of paired numbers, one shot a line: "charge,velocity" for a ladder,
// "temperature_f,velocity" for the temperature sensitivity. Numbers only, a comma between them;
// a first line that is not numbers is a header and is passed over; blank lines too. UTF-8 or
// ASCII, with or without a byte order mark, CR LF or LF line ends.
#pragma once

#include "Regression.h"

#include "core/common/Result.h"

#include <filesystem>
#include <string_view>
#include <vector>

namespace fendrel {

enum class PointColumns {
    ChargeVelocity,     // charge above 0 up to 1000 gr
    TemperatureVelocity // temperature from -100 to 200 F
};

// The points, or a refusal naming the line at fault. Velocities lie above 0 up to 20000 ft/s.
Result<std::vector<DataPoint>> readPoints(std::string_view bytes, PointColumns columns);

// The same from a file (a regular file of at most 1 MB).
Result<std::vector<DataPoint>> readPointFile(const std::filesystem::path& file,
                                             PointColumns columns);

} // namespace fendrel
