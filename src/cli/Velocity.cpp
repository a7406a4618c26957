// fendrel-calc velocity: the statistics of each series of a chronograph or e-target export (or
// of a LabRadar card's LBR folder).
#include "Commands.h"
#include "Json.h"
#include "StatsOptions.h"
#include "core/common/Numbers.h"
#include "core/history/ChronographExport.h"
#include "core/history/VelocityStatistics.h"
#include "core/stats/Estimates.h"

#include <cmath>
#include <cstdio>

namespace fendrel::cli {
namespace {

// One figure of a series, as JSON names it and as the text block shows it. A new figure is a
// new line of `figures`.
struct Figure {
    const char* key;   // JSON
    const char* label; // text, padded to the column of the values
    double value;
    bool shots = false; // a count, not a speed
};

std::vector<Figure> figures(const VelocityStatistics& s) {
    return {{"count", "Shots:          ", static_cast<double>(s.count), true},
            {"mean_fps", "Mean:           ", s.meanFps},
            {"sd_fps", "SD:             ", s.sdFps},
            {"es_fps", "Extreme spread: ", s.esFps},
            {"min_fps", "Slowest:        ", s.minFps},
            {"max_fps", "Fastest:        ", s.maxFps}};
}

std::string numberList(const std::vector<double>& values) {
    std::string out = "[";
    for (size_t i = 0; i < values.size(); ++i)
        out += (i ? ", " : "") + roundTripNumber(values[i]);
    return out + "]";
}

// The intervals of the mean and the SD; none for a one-shot string.
StringEstimate estimate(const ChronographSeries& series, double confidence) {
    const auto e = estimateString(series.speedsFps(), confidence);
    StringEstimate out = e.value;
    out.confidence = confidence;
    return out;
}

std::string seriesJson(const ChronographSeries& series, double confidence) {
    const std::vector<double> speeds = series.speedsFps();
    std::string out = "{\"name\": " + jsonText(series.name);
    for (const Figure& f : figures(velocityStatistics(speeds)))
        out += std::string(", \"") + f.key + "\": " + roundTripNumber(f.value);
    const StringEstimate e = estimate(series, confidence);
    out += ", \"confidence\": " + roundTripNumber(confidence) +
           ", \"mean_ci_fps\": " + jsonRange(e.meanIntervalFps) +
           ", \"sd_ci_fps\": " + jsonRange(e.sdIntervalFps);
    out += ", \"shots_fps\": " + numberList(speeds);
    if (series.hasPositions() && series.distanceYd) {
        std::vector<double> x, y;
        for (const ChronographShot& s : series.shots) {
            x.push_back(s.position->xIn);
            y.push_back(s.position->yIn);
        }
        out += ", \"x_in\": " + numberList(x) + ", \"y_in\": " + numberList(y) +
               ", \"distance_yd\": " + roundTripNumber(*series.distanceYd);
    }
    return out + "}";
}

std::string seriesText(const ChronographSeries& series, double confidence) {
    std::string out = series.name.empty() ? "" : series.name + "\n";
    if (!series.date.empty())
        out += "Date:           " + series.date + "\n";
    if (series.hasPositions() && series.distanceYd)
        out += "Distance:       " + formatPattern(*series.distanceYd, "0.0") + " yd\n";
    const StringEstimate e = estimate(series, confidence);
    const auto interval = [&](const char* label, const std::optional<ConfidenceInterval>& i) {
        return i ? std::string(label) + formatPattern(i->low, "0.0") + " to " +
                       formatPattern(i->high, "0.0") + " ft/s (" + percentText(confidence) +
                       " interval)\n"
                 : std::string();
    };
    for (const Figure& f : figures(velocityStatistics(series.speedsFps()))) {
        out += f.label + (f.shots ? std::to_string(static_cast<int>(f.value))
                                  : formatPattern(f.value, "0.0") + " ft/s") +
               "\n";
        if (std::string(f.key) == "mean_fps")
            out += interval("  true mean:    ", e.meanIntervalFps);
        else if (std::string(f.key) == "sd_fps")
            out += interval("  true SD:      ", e.sdIntervalFps);
        else if (std::string(f.key) == "es_fps" && f.value > 0)
            out += "  (no interval: the spread grows with the number of shots)\n";
    }
    return out;
}

bool allFinite(const ChronographExport& e) {
    for (const ChronographSeries& s : e.series) {
        const VelocityStatistics v = velocityStatistics(s.speedsFps());
        for (const Figure& f : figures(v))
            if (!std::isfinite(f.value))
                return false;
        for (const ChronographShot& shot : s.shots)
            if (!std::isfinite(shot.fps) ||
                (shot.position && !(std::isfinite(shot.position->xIn) &&
                                    std::isfinite(shot.position->yIn))))
                return false;
    }
    return true;
}

int runVelocity(const std::vector<std::string>& args) {
    Options options;
    if (!parseOptions("velocity", args, {"format", "confidence"}, options))
        return 2;
    double confidence = kDefaultConfidence;
    if (const int code = confidenceOption("velocity", options, confidence))
        return code;
    const std::string format = options.get("format", "text");
    if (format != "text" && format != "json") {
        std::fprintf(stderr, "fendrel-calc velocity: --format must be text or json\n");
        return 2;
    }
    if (options.positional.size() != 1) {
        std::fprintf(stderr, "fendrel-calc velocity: give exactly one export file or LBR "
                             "folder\n");
        return 2;
    }
    const auto read = readChronographSource(options.positional.front());
    if (!read) {
        std::fprintf(stderr, "fendrel-calc velocity: %s\n", read.refusal.c_str());
        return 1;
    }
    if (!allFinite(read.value)) {
        std::fprintf(stderr, "fendrel-calc velocity: the file gives a value that is not a "
                             "number\n");
        return 1;
    }
    const auto& series = read.value.series;
    std::string out;
    if (format == "json" && series.size() == 1) {
        out = seriesJson(series.front(), confidence) + "\n";
    } else if (format == "json") {
        out = "{\"series\": [";
        for (size_t i = 0; i < series.size(); ++i)
            out += (i ? ", " : "") + seriesJson(series[i], confidence);
        out += "]}\n";
    } else {
        for (size_t i = 0; i < series.size(); ++i)
            out += (i ? "\n" : "") + seriesText(series[i], confidence);
    }
    writeOut(out);
    for (const std::string& notice : read.value.notices)
        std::fprintf(stderr, "fendrel-calc velocity: %s\n", notice.c_str());
    return 0;
}

Registrar r("velocity", "velocity FILE|LBR-FOLDER [--confidence C] [--format text|json]",
            runVelocity);

} // namespace
} // namespace fendrel::cli
