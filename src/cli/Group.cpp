// fendrel-calc group: measures the group of a group file as the shot group window's Do It does,
// leaves the two distance dumps in the program folder and prints the results text; or, as
// JSON, the group's dispersion with its interval.
#include "Commands.h"
#include "Json.h"
#include "RangeCardOptions.h"
#include "StatsOptions.h"
#include "core/common/Numbers.h"
#include "core/common/SafeFile.h"
#include "core/common/TextFile.h"
#include "core/groups/GroupFile.h"
#include "core/groups/GroupStatistics.h"
#include "core/rangecard/RangeCardColumns.h"
#include "core/stats/Estimates.h"

#include <cstdio>
#include <filesystem>

namespace fendrel::cli {
namespace {

constexpr const char* kName = "group";

// A group file of 181 rounds is a few kilobytes; anything far larger is not one.
constexpr std::size_t kGroupFileLimit = 1 << 20;

std::string groupJson(const GroupMeasurement& m, const GroupEstimate& g) {
    return "{\"count\": " + std::to_string(g.count) +
           ", \"mean_radius_in\": " + jsonNumber(m.meanRadius) +
           ", \"sigma_in\": " + jsonNumber(g.sigmaIn) +
           ", \"sigma_ci_in\": " + jsonRange(g.sigmaIntervalIn) +
           ", \"expected_mean_radius_in\": " + jsonNumber(g.expectedMeanRadiusIn) +
           ", \"sigma_moa\": " + jsonNumber(g.sigmaMoa) +
           ", \"sigma_ci_moa\": " + jsonRange(g.sigmaIntervalMoa) +
           ", \"confidence\": " + jsonNumber(g.confidence) + "}\n";
}

int runGroup(const std::vector<std::string>& args) {
    Options options;
    if (!parseOptions(kName, args, {"program-folder", "distance", "confidence", "format"}, options))
        return 2;
    bool json = false;
    double distance = 100, confidence = kDefaultConfidence;
    if (int code = jsonFormatOption(kName, options, json))
        return code;
    if (options.positional.size() != 1)
        return usageError(kName, "give exactly one group file");
    if (options.has("distance"))
        if (int code = numberOption(kName, options, "distance", distance))
            return code;
    if (int code = confidenceOption(kName, options, confidence))
        return code;
    if (!(distance > 0 && distance <= kMaximumGroupDistanceYd))
        return refused(kName, "The distance must lie above 0 and up to 10000 yd.");
    const std::string& file = options.positional.front();
    Status error;
    const auto bytes = readInputFile(file, kGroupFileLimit, &error);
    if (!bytes)
        return refused(kName, "cannot read '" + file + "': " + error.refusal);
    const GroupFileRead read = readGroupFile(*bytes);
    if (!read.complete)
        return refused(kName, "'" + file +
                                  "' is not a group file of 2 to 181 rounds with an X and Y for "
                                  "each");
    // Opening a file puts the number of rounds into its field as a whole number; the results
    // heading shows that text.
    GroupEntry entry{read.caliber, std::to_string(read.rounds), read.cells};
    const GroupEvaluation e = evaluateGroup(entry);
    if (!e.refusal.empty())
        return refused(kName, e.refusal);
    std::vector<Shot> shots;
    for (const auto& [x, y] : read.cells)
        shots.push_back({*numberText(x), *numberText(y)});
    const auto estimate = estimateGroup(shots, distance, confidence);
    if (!estimate)
        return refused(kName, estimate.refusal);
    const std::filesystem::path folder = programFolder(options);
    if (const std::string reason = writeDistanceFiles(folder, e.measurement); !reason.empty())
        return refused(kName, "cannot write " + reason);
    writeOut(json ? groupJson(e.measurement, estimate.value) : e.results);
    return 0;
}

Registrar r(kName,
            "group FILE [--distance YD] [--confidence C] [--format text|json] "
            "[--program-folder DIR]",
            runGroup);

} // namespace
} // namespace fendrel::cli
