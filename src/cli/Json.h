// Pieces of the JSON that the commands print: texts, and the intervals of the statistics.
#pragma once

#include "Commands.h" // jsonText
#include "core/stats/Estimates.h"

#include <optional>
#include <string>

namespace fendrel::cli {

// [low, high] in unrounded numbers; null when missing.
std::string jsonRange(const std::optional<ConfidenceInterval>& interval);

std::string jsonBool(bool value);

} // namespace fendrel::cli
