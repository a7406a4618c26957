// fendrel-calc compare: whether two velocity strings (chronograph exports) or two groups (group
// files) can be told apart, with the shots a load that would show the difference.
#include "Commands.h"
#include "Json.h"
#include "RangeCardOptions.h"
#include "StatsOptions.h"
#include "core/common/Numbers.h"
#include "core/history/ChronographCsv.h"
#include "core/history/GroupImport.h"
#include "core/rangecard/RangeCardColumns.h"
#include "core/stats/Comparisons.h"

namespace fendrel::cli {
namespace {

constexpr const char* kName = "compare";

std::string range(const ConfidenceInterval& i, const char* pattern) {
    return roundedText(i.low, pattern) + " to " + roundedText(i.high, pattern);
}

std::string neededText(const ShotsNeeded& need) {
    return need.capped ? "more than " + std::to_string(need.shots) : std::to_string(need.shots);
}

std::string spreadJson(const SpreadTest& t, const ShotsNeeded& need) {
    return "\"sd_ratio\": " + jsonNumber(t.ratio) +
           ", \"sd_ratio_ci\": " + jsonRange(t.ratioInterval) + ", \"f\": " + jsonNumber(t.f) +
           ", \"f_df\": [" + jsonNumber(t.d1) + ", " + jsonNumber(t.d2) +
           "], \"sd_p\": " + jsonNumber(t.p) +
           ", \"shots_needed_sd\": " + std::to_string(need.shots) +
           ", \"shots_needed_sd_capped\": " + jsonBool(need.capped);
}

std::string spreadText(const char* what, const SpreadTest& t, double confidence) {
    return "Ratio of the " + std::string(what) + " (B / A): " + roundedText(t.ratio, "0.00") +
           ", " + percentText(confidence) + " interval " + range(t.ratioInterval, "0.00") + "; F " +
           roundedText(t.f, "0.00") + " with " + generalNumber(t.d1) + " and " +
           generalNumber(t.d2) + " df, p = " + roundedText(t.p, "0.000") + "\n";
}

std::string stringLine(const char* name, const StringEstimate& e) {
    const VelocityStatistics& s = e.statistics;
    return std::string(name) + ": " + std::to_string(s.count) + " shots, mean " +
           roundedText(s.meanFps, "0.0") + " ft/s (" + range(*e.meanIntervalFps, "0.0") + "), SD " +
           roundedText(s.sdFps, "0.0") + " ft/s (" + range(*e.sdIntervalFps, "0.0") + ")\n";
}

std::string groupLine(const char* name, const GroupEstimate& g) {
    return std::string(name) + ": " + std::to_string(g.count) + " shots, sigma " +
           roundedText(g.sigmaIn, "0.000") + " in (" + range(g.sigmaIntervalIn, "0.000") + "), " +
           roundedText(g.sigmaMoa, "0.00") + " MOA (" + range(g.sigmaIntervalMoa, "0.00") +
           ") at " + generalNumber(g.distanceYd) + " yd\n";
}

std::string compareVelocity(const std::vector<double>& a, const std::vector<double>& b,
                            double confidence, double power, bool json, std::string& out) {
    const auto r = compareStrings(a, b, confidence, power);
    if (!r)
        return r.refusal;
    const StringComparison& c = r.value;
    if (json) {
        out = "{\"mean_difference_fps\": " + jsonNumber(c.mean.differenceFps) +
              ", \"mean_difference_ci_fps\": " + jsonRange(c.mean.differenceIntervalFps) +
              ", \"welch_t\": " + jsonNumber(c.mean.t) +
              ", \"welch_df\": " + jsonNumber(c.mean.df) + ", \"mean_p\": " + jsonNumber(c.mean.p) +
              ", " + spreadJson(c.sd, c.shotsForSd) +
              ", \"shots_needed_mean\": " + std::to_string(c.shotsForMean.shots) +
              ", \"shots_needed_mean_capped\": " + jsonBool(c.shotsForMean.capped) +
              ", \"verdict\": " + jsonText(c.verdict) + "}\n";
        return {};
    }
    out = "Intervals at " + percentText(confidence) + " confidence.\n" + stringLine("A", c.a) +
          stringLine("B", c.b) +
          "Difference of the means (B - A): " + roundedText(c.mean.differenceFps, "0.0") +
          " ft/s, " + percentText(confidence) + " interval " +
          range(c.mean.differenceIntervalFps, "0.0") + "; Welch's t " +
          roundedText(c.mean.t, "0.00") + " with " + roundedText(c.mean.df, "0.0") +
          " df, p = " + roundedText(c.mean.p, "0.000") + "\n" +
          spreadText("SDs", c.sd, confidence) + "Shots a load to show these differences " +
          percentText(power) + " of the time: " + neededText(c.shotsForMean) + " for the mean, " +
          neededText(c.shotsForSd) + " for the SD\n" + c.verdict + "\n";
    return {};
}

std::string compareGroupFiles(const HistoryGroup& a, const HistoryGroup& b, double distance,
                              double confidence, double power, bool json, std::string& out) {
    const auto r = compareGroups(a.shots, b.shots, distance, confidence, power);
    if (!r)
        return r.refusal;
    const GroupComparison& c = r.value;
    if (json) {
        out = "{" + spreadJson(c.sigma, c.shotsForSigma) + ", \"verdict\": " + jsonText(c.verdict) +
              "}\n";
        return {};
    }
    out = "Intervals at " + percentText(confidence) + " confidence.\n" + groupLine("A", c.a) +
          groupLine("B", c.b) + spreadText("sigmas", c.sigma, confidence) +
          "Shots a load to show this difference " + percentText(power) +
          " of the time: " + neededText(c.shotsForSigma) + "\n" + c.verdict + "\n";
    return {};
}

int runCompare(const std::vector<std::string>& args) {
    Options o;
    if (!parseOptions(kName, args, {"distance", "confidence", "power", "format"}, o))
        return 2;
    const std::vector<std::string>& p = o.positional;
    if (p.empty() || (p[0] != "velocity" && p[0] != "group"))
        return usageError(kName, "say what to compare: compare velocity A B, or compare group A B");
    if (p.size() != 3)
        return usageError(kName, "give two files to compare, A and B");
    const bool groups = p[0] == "group";
    if (!groups && o.has("distance"))
        return usageError(kName, "--distance is for compare group");
    bool json = false;
    double distance = 100, confidence = kDefaultConfidence, power = kDefaultPower;
    if (int code = jsonFormatOption(kName, o, json))
        return code;
    if (o.has("distance"))
        if (int code = numberOption(kName, o, "distance", distance))
            return code;
    if (int code = confidenceOption(kName, o, confidence))
        return code;
    if (int code = powerOption(kName, o, power))
        return code;
    if (!(distance > 0 && distance <= kMaximumGroupDistanceYd))
        return refused(kName, "The distance must lie above 0 and up to 10000 yd.");

    std::string out, refusal;
    if (groups) {
        HistoryGroup read[2];
        for (int i = 0; i < 2; ++i) {
            auto g = groupFromFile(p[i + 1], distance);
            if (!g)
                return refused(kName, (i ? "B: " : "A: ") + g.refusal);
            read[i] = std::move(g.value);
        }
        refusal = compareGroupFiles(read[0], read[1], distance, confidence, power, json, out);
    } else {
        std::vector<double> read[2];
        for (int i = 0; i < 2; ++i) {
            auto shots = readChronographFile(p[i + 1]);
            if (!shots)
                return refused(kName, (i ? "B: " : "A: ") + shots.refusal);
            read[i] = std::move(shots.value);
        }
        refusal = compareVelocity(read[0], read[1], confidence, power, json, out);
    }
    if (!refusal.empty())
        return refused(kName, refusal);
    writeOut(out);
    return 0;
}

Registrar r(kName,
            "compare velocity A B | compare group A B [--distance YD] [--confidence C] "
            "[--power P] [--format text|json]",
            runCompare);

} // namespace
} // namespace fendrel::cli
