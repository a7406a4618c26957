#include "StatsOptions.h"

#include "RangeCardOptions.h"

#include "core/rangecard/RangeCardColumns.h"
#include "core/stats/Comparisons.h"

#include <algorithm>
#include <cmath>

namespace fendrel::cli {

int confidenceOption(const std::string& command, const Options& options, double& confidence) {
    confidence = kDefaultConfidence;
    if (!options.has("confidence"))
        return 0;
    if (int code = numberOption(command, options, "confidence", confidence))
        return code;
    if (Status level = checkConfidence(confidence); !level)
        return refused(command, level.refusal);
    return 0;
}

int powerOption(const std::string& command, const Options& options, double& power) {
    power = kDefaultPower;
    if (!options.has("power"))
        return 0;
    if (int code = numberOption(command, options, "power", power))
        return code;
    if (Status enough = checkPower(power); !enough)
        return refused(command, enough.refusal);
    return 0;
}

int jsonFormatOption(const std::string& command, const Options& options, bool& json) {
    const std::string format = options.get("format", "text");
    if (format != "text" && format != "json")
        return usageError(command, "--format must be text or json");
    json = format == "json";
    return 0;
}

bool takeFlag(std::vector<std::string>& args, const std::string& flag) {
    const auto at = std::find(args.begin(), args.end(), flag);
    if (at == args.end())
        return false;
    args.erase(at);
    return true;
}

std::string lineText(const LineFit& line, const std::string& variable, const std::string& units) {
    return "Line: velocity = " + roundedText(line.intercept, "0.0") +
           (line.slope < 0 ? " - " : " + ") + roundedText(std::abs(line.slope), "0.00") + " x " +
           variable + " (" + units + ")\n";
}

} // namespace fendrel::cli
