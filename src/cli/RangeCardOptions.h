// The options of fendrel-calc card, shared with fendrel-calc hit and true, read into a range
// card input.
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

// --bc: one BC, or velocity bands "B@V,B@V,..." (fastest first; the core checks the order).
// 0, or 2 after a message on stderr.
int readBallisticCoefficient(const std::string& command, const std::string& text,
                             RangeCardInput& input);

// --wind-brackets S[,S...] into the input's wind brackets when given: 0, or 2 after a message.
int readWindBrackets(const std::string& command, const Options& options, RangeCardInput& input);

// A decimal number option: 0 with `value` set, or 2 after a message on stderr.
int numberOption(const std::string& command, const Options& options, const std::string& name,
                 double& value);

// The numbers of a list such as "A:B,C:D:E": groups split by commas, numbers within a group by
// colons. False when a number is not one or a group has fewer than `least` or more than `most`.
bool numberGroups(const std::string& text, std::size_t least, std::size_t most,
                  std::vector<std::vector<double>>& out);

int usageError(const std::string& command, const std::string& text);
int refused(const std::string& command, const std::string& text);

} // namespace fendrel::cli
