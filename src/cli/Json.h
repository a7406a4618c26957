// Pieces of the JSON that the commands print: texts, and the intervals of the statistics.
#pragma once

#include "core/stats/Estimates.h"

#include <optional>
#include <string>

namespace fendrel::cli {

// A JSON string: quotes and backslashes escaped, control characters as \u00XX.
std::string jsonText(const std::string& text);

// [low, high] in unrounded numbers; null when missing.
std::string jsonRange(const std::optional<ConfidenceInterval>& interval);

std::string jsonBool(bool value);

} // namespace fendrel::cli
