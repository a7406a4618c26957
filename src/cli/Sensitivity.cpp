// fendrel-calc sensitivity: how a load's muzzle velocity changes with temperature, from a file
// of "temperature_f,velocity" lines, one shot a line.
#include "Commands.h"
#include "Json.h"
#include "RangeCardOptions.h"
#include "StatsOptions.h"
#include "core/common/Numbers.h"
#include "core/rangecard/RangeCardColumns.h"
#include "core/stats/PointFile.h"

#include <set>

namespace fendrel::cli {
namespace {

constexpr const char* kName = "sensitivity";

int runSensitivity(const std::vector<std::string>& args) {
    Options o;
    if (!parseOptions(kName, args, {"confidence", "format"}, o))
        return 2;
    bool json = false;
    double confidence = kDefaultConfidence;
    if (int code = jsonFormatOption(kName, o, json))
        return code;
    if (o.positional.size() != 1)
        return usageError(kName, "give exactly one file of temperature_f,velocity lines");
    if (int code = confidenceOption(kName, o, confidence))
        return code;
    const auto points = readPointFile(o.positional.front(), PointColumns::TemperatureVelocity);
    if (!points)
        return refused(kName, points.refusal);
    const auto r = temperatureSensitivity(points.value, confidence);
    if (!r)
        return refused(kName, r.refusal);
    const TemperatureSensitivity& t = r.value;
    if (json) {
        writeOut("{\"slope_fps_per_f\": " + jsonNumber(t.line.slope) +
                 ", \"slope_ci\": " + jsonRange(t.line.slopeInterval) +
                 ", \"percent_per_15f\": " + jsonNumber(t.percentPer15F) +
                 ", \"intercept_fps\": " + jsonNumber(t.line.intercept) + "}\n");
        return 0;
    }
    std::set<double> temperatures;
    for (const DataPoint& p : points.value)
        temperatures.insert(p.x);
    const std::string level = percentText(confidence) + " interval ";
    writeOut("Shots: " + std::to_string(t.line.points) + " at " +
             std::to_string(temperatures.size()) + " temperatures, mean " +
             roundedText(t.line.meanY, "0.0") + " ft/s\n" +
             "Sensitivity: " + roundedText(t.line.slope, "0.00") + " ft/s per F, " + level +
             roundedText(t.line.slopeInterval.low, "0.00") + " to " +
             roundedText(t.line.slopeInterval.high, "0.00") + "\n" +
             "In percent: " + roundedText(t.percentPer15F, "0.00") + " % per 15 F, " + level +
             roundedText(t.percentIntervalPer15F.low, "0.00") + " to " +
             roundedText(t.percentIntervalPer15F.high, "0.00") + "\n" +
             lineText(t.line, "temperature", "ft/s, F"));
    return 0;
}

Registrar r(kName, "sensitivity FILE [--confidence C] [--format text|json]", runSensitivity);

} // namespace
} // namespace fendrel::cli
