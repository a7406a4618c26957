// fendrel-calc ladder: velocity against powder charge from a file of "charge,velocity" lines,
// one shot a line: the line through every shot, each charge with its intervals, the charges
// off the line and the flat spots the shots show.
#include "Commands.h"
#include "Json.h"
#include "RangeCardOptions.h"
#include "StatsOptions.h"
#include "core/common/Numbers.h"
#include "core/rangecard/RangeCardColumns.h"
#include "core/stats/PointFile.h"

namespace fendrel::cli {
namespace {

constexpr const char* kName = "ladder";

std::string ladderJson(const Ladder& l) {
    std::string out = "{\"slope_fps_per_gr\": " + jsonNumber(l.line.slope) +
                      ", \"slope_ci\": " + jsonRange(l.line.slopeInterval) +
                      ", \"intercept_fps\": " + jsonNumber(l.line.intercept) + ", \"charges\": [";
    for (std::size_t i = 0; i < l.charges.size(); ++i) {
        const ChargeEstimate& c = l.charges[i];
        out += std::string(i ? "," : "") + "\n  {\"charge\": " + jsonNumber(c.chargeGr) +
               ", \"count\": " + std::to_string(c.string.statistics.count) +
               ", \"mean_fps\": " + jsonNumber(c.string.statistics.meanFps) +
               ", \"mean_ci_fps\": " + jsonRange(c.string.meanIntervalFps) +
               ", \"sd_fps\": " + jsonNumber(c.string.sdFps) +
               ", \"sd_ci_fps\": " + jsonRange(c.string.sdIntervalFps) +
               ", \"off_line\": " + jsonBool(c.offLine) + "}";
    }
    out += "],\n \"flat_spots\": [";
    for (std::size_t i = 0; i < l.flatSpots.size(); ++i)
        out += std::string(i ? ", " : "") + "[" + jsonNumber(l.flatSpots[i].fromGr) + ", " +
               jsonNumber(l.flatSpots[i].toGr) + "]";
    return out + "]}\n";
}

std::string padded(const std::string& text, std::size_t width) {
    return std::string(text.size() < width ? width - text.size() : 0, ' ') + text;
}

// 42.0, 42.25: a charge as it is weighed.
std::string chargeText(double charge) {
    return roundedText(charge, "0.0##");
}

std::string ladderText(const Ladder& l, double confidence) {
    const std::string level = percentText(confidence);
    std::string out = "  Charge  Shots  Mean ft/s" + padded(level + " interval", 22) + "  SD ft/s" +
                      padded(level + " interval", 18) + "\n";
    std::string off, flat;
    for (const ChargeEstimate& c : l.charges) {
        const StringEstimate& s = c.string;
        auto range = [](const std::optional<ConfidenceInterval>& i) {
            return i ? roundedText(i->low, "0.0") + " to " + roundedText(i->high, "0.0")
                     : std::string("-");
        };
        out += padded(chargeText(c.chargeGr), 8) + padded(std::to_string(s.statistics.count), 7) +
               padded(roundedText(s.statistics.meanFps, "0.0"), 11) +
               padded(range(s.meanIntervalFps), 22) +
               padded(s.sdFps ? roundedText(*s.sdFps, "0.0") : "-", 9) +
               padded(range(s.sdIntervalFps), 18) + (c.offLine ? "  off the line" : "") + "\n";
        if (c.offLine)
            off += (off.empty() ? "" : ", ") + chargeText(c.chargeGr) + " gr";
    }
    for (const FlatSpot& f : l.flatSpots)
        flat +=
            (flat.empty() ? "" : ", ") + chargeText(f.fromGr) + " to " + chargeText(f.toGr) + " gr";
    return out + lineText(l.line, "charge", "ft/s, gr") +
           "Slope: " + roundedText(l.line.slope, "0.0") + " ft/s per grain, " + level +
           " interval " + roundedText(l.line.slopeInterval.low, "0.0") + " to " +
           roundedText(l.line.slopeInterval.high, "0.0") + "\n" +
           (off.empty() ? "No charge is off the line.\n" : "Off the line: " + off + ".\n") +
           (flat.empty() ? "No flat spot shown by these shots.\n"
                         : "Flat spot shown: " + flat + ".\n");
}

int runLadder(const std::vector<std::string>& args) {
    Options o;
    if (!parseOptions(kName, args, {"confidence", "format"}, o))
        return 2;
    bool json = false;
    double confidence = kDefaultConfidence;
    if (int code = jsonFormatOption(kName, o, json))
        return code;
    if (o.positional.size() != 1)
        return usageError(kName, "give exactly one file of charge,velocity lines");
    if (int code = confidenceOption(kName, o, confidence))
        return code;
    const auto points = readPointFile(o.positional.front(), PointColumns::ChargeVelocity);
    if (!points)
        return refused(kName, points.refusal);
    const auto ladder = fitLadder(points.value, confidence);
    if (!ladder)
        return refused(kName, ladder.refusal);
    writeOut(json ? ladderJson(ladder.value) : ladderText(ladder.value, confidence));
    return 0;
}

Registrar r(kName, "ladder FILE [--confidence C] [--format text|json]", runLadder);

} // namespace
} // namespace fendrel::cli
