// The options of fendrel-calc card, shared with fendrel-calc hit, read into a range card
// input.
#pragma once

#include "Commands.h"
#include "core/rangecard/RangeCardColumns.h"
#include "core/rangecard/RangeCardInput.h"

#include <optional>
#include <string>
#include <vector>

namespace fendrel::cli {

// The option names of fendrel-calc card (without --metric, which takes no value).
std::vector<std::string> rangeCardOptionNames();

// Takes the --metric flag out of the arguments; true when it was there.
bool takeMetricFlag(std::vector<std::string>& args);

// Fills `input` from the options. Returns 0, or the exit code (2, a usage error: a missing or
// repeated option, a value that is not a number) after a message on stderr.
int readRangeCardOptions(const std::string& command, const Options& options, bool metric,
                         RangeCardInput& input);

// A decimal number option: 0 with `value` set, or 2 after a message on stderr.
int numberOption(const std::string& command, const Options& options, const std::string& name,
                 double& value);

int usageError(const std::string& command, const std::string& text);
int refused(const std::string& command, const std::string& text);

} // namespace fendrel::cli
