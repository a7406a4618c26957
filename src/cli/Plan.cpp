// fendrel-calc plan: how many shots a load would show a difference of SD, of group size or of
// mean velocity, before they are fired.
#include "Commands.h"
#include "Json.h"
#include "RangeCardOptions.h"
#include "StatsOptions.h"
#include "core/common/Numbers.h"
#include "core/rangecard/RangeCardColumns.h"
#include "core/stats/Comparisons.h"

namespace fendrel::cli {
namespace {

constexpr const char* kName = "plan";

int runPlan(const std::vector<std::string>& arguments) {
    std::vector<std::string> args = arguments;
    const bool groups = takeFlag(args, "--groups");
    if (takeFlag(args, "--groups"))
        return usageError(kName, "option '--groups' is given twice");
    Options o;
    if (!parseOptions(kName, args,
                      {"sd-ratio", "mean-difference", "sd", "confidence", "power", "format"}, o))
        return 2;
    if (!o.positional.empty())
        return usageError(kName, "unexpected argument '" + o.positional.front() + "'");
    const bool ratio = o.has("sd-ratio");
    if (ratio == o.has("mean-difference") || ratio == o.has("sd") || (groups && !ratio))
        return usageError(kName,
                          "give --sd-ratio R [--groups], or --mean-difference D with --sd S");
    bool json = false;
    double confidence = kDefaultConfidence, power = kDefaultPower, first = 0, sd = 0;
    if (int code = jsonFormatOption(kName, o, json))
        return code;
    if (int code = numberOption(kName, o, ratio ? "sd-ratio" : "mean-difference", first))
        return code;
    if (!ratio)
        if (int code = numberOption(kName, o, "sd", sd))
            return code;
    if (int code = confidenceOption(kName, o, confidence))
        return code;
    if (int code = powerOption(kName, o, power))
        return code;

    const auto need =
        ratio ? shotsForSdRatio(first, groups ? SpreadKind::Group : SpreadKind::Velocity,
                                confidence, power)
              : shotsForMeanDifference(first, sd, confidence, power);
    if (!need)
        return refused(kName, need.refusal);
    const ShotsNeeded& n = need.value;
    if (json) {
        writeOut("{\"shots_per_load\": " + std::to_string(n.shots) + ", \"power\": " +
                 jsonNumber(n.power) + ", \"capped\": " + jsonBool(n.capped) + "}\n");
        return 0;
    }
    const std::string what =
        ratio ? std::string(groups ? "a ratio of group sigmas of " : "an SD ratio of ") +
                    generalNumber(first)
              : "a difference of " + generalNumber(std::abs(first)) +
                    " ft/s in the mean at an SD of " + generalNumber(sd) + " ft/s";
    const std::string test = " at " + percentText(confidence) + " confidence";
    writeOut(n.capped ? "Even " + std::to_string(n.shots) + " shots a load would show " + what +
                            " less than " + percentText(power) + " of the time" + test +
                            " (power " + roundedText(n.power, "0.000") + ").\n"
                      : std::to_string(n.shots) + " shots a load would show " + what + " " +
                            percentText(power) + " of the time" + test + " (power " +
                            roundedText(n.power, "0.000") + " at " + std::to_string(n.shots) +
                            " shots).\n");
    return 0;
}

Registrar r(kName,
            "plan (--sd-ratio R [--groups] | --mean-difference D --sd S) [--confidence C] "
            "[--power P] [--format text|json]",
            runPlan);

} // namespace
} // namespace fendrel::cli
