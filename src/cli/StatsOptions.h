// What the statistics commands share: the confidence level, the power and the format options,
// and the text of a fitted line.
#pragma once

#include "Commands.h"
#include "core/stats/Regression.h"

#include <string>

namespace fendrel::cli {

// Each returns 0 with the value set (the default when the option is absent), or the exit code
// after a message on stderr: 2 for a value that is not a number or not a choice, 1 for a
// number out of its range.
int confidenceOption(const std::string& command, const Options& options, double& confidence);
int powerOption(const std::string& command, const Options& options, double& power);
int jsonFormatOption(const std::string& command, const Options& options, bool& json);

// A flag without a value (--groups): taken out of the arguments; true when it was there.
bool takeFlag(std::vector<std::string>& args, const std::string& flag);

// "Line: velocity = 1234.5 + 33.21 x charge (ft/s, gr)" with a line end.
std::string lineText(const LineFit& line, const std::string& variable, const std::string& units);

} // namespace fendrel::cli
