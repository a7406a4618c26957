// fendrel-calc history: the loads of the load history with the statistics of their strings
// and groups. Reads only; a folder without a history lists no loads and is left as it is.
#include "Commands.h"
#include "Json.h"
#include "core/common/Numbers.h"
#include "core/history/HistoryDatabase.h"
#include "core/history/VelocityStatistics.h"

#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace fendrel::cli {
namespace {

std::string jsonNumber(double value) {
    if (!std::isfinite(value))
        throw std::runtime_error("the load history holds a value that is not a number");
    return roundTripNumber(value);
}

std::string jsonLoad(const LoadHistory& load) {
    std::string out = "{\"description\": " + jsonText(load.description) + ", \"strings\": [";
    for (size_t i = 0; i < load.strings.size(); ++i) {
        const VelocityStatistics s = velocityStatistics(load.strings[i].shotsFps);
        out += (i ? ", " : "") + std::string("{\"date\": ") + jsonText(load.strings[i].date) +
               ", \"count\": " + std::to_string(s.count) +
               ", \"mean_fps\": " + jsonNumber(s.meanFps) + ", \"sd_fps\": " + jsonNumber(s.sdFps) +
               ", \"es_fps\": " + jsonNumber(s.esFps) + "}";
    }
    out += "], \"groups\": [";
    for (size_t i = 0; i < load.groups.size(); ++i) {
        const HistoryGroup& g = load.groups[i];
        out += (i ? ", " : "") + std::string("{\"date\": ") + jsonText(g.date) +
               ", \"distance_yd\": " + jsonNumber(g.distanceYd) +
               ", \"mean_radius_in\": " + jsonNumber(g.meanRadiusIn) +
               ", \"extreme_spread_in\": " + jsonNumber(g.extremeSpreadIn) + "}";
    }
    return out + "]}";
}

std::string textLoad(const LoadHistory& load) {
    std::string out = load.description + "\n";
    for (const VelocityString& v : load.strings) {
        const VelocityStatistics s = velocityStatistics(v.shotsFps);
        out += "  " + v.date + "  string of " + std::to_string(s.count) + ": mean " +
               formatPattern(s.meanFps, "0.0") + " ft/s, SD " + formatPattern(s.sdFps, "0.0") +
               " ft/s, ES " + formatPattern(s.esFps, "0.0") + " ft/s\n";
    }
    for (const HistoryGroup& g : load.groups)
        out += "  " + g.date + "  group at " + generalNumber(g.distanceYd) + " yd: mean radius " +
               formatPattern(g.meanRadiusIn, "0.000") + " in, extreme spread " +
               formatPattern(g.extremeSpreadIn, "0.000") + " in\n";
    return out;
}

int runHistory(const std::vector<std::string>& args) {
    Options options;
    if (!parseOptions("history", args, {"program-folder", "format"}, options))
        return 2;
    const std::string format = options.get("format", "text");
    if (format != "text" && format != "json") {
        std::fprintf(stderr, "fendrel-calc history: --format must be text or json\n");
        return 2;
    }
    if (!options.positional.empty()) {
        std::fprintf(stderr, "fendrel-calc history: unexpected argument '%s'\n",
                     options.positional.front().c_str());
        return 2;
    }
    auto opened = HistoryDatabase::openReadOnly(programFolder(options));
    if (!opened.absent && !opened.database) {
        std::fprintf(stderr, "fendrel-calc history: %s\n", opened.refusal.c_str());
        return 1;
    }
    std::vector<LoadHistory> loads;
    if (opened.database) {
        const auto list = opened.database->loads();
        if (!list) {
            std::fprintf(stderr, "fendrel-calc history: %s\n", list.refusal.c_str());
            return 1;
        }
        for (const LoadSummary& summary : list.value) {
            auto load = opened.database->load(summary.id);
            if (!load) {
                std::fprintf(stderr, "fendrel-calc history: %s\n", load.refusal.c_str());
                return 1;
            }
            loads.push_back(std::move(load.value));
        }
    }
    std::string out;
    if (format == "json") {
        out = "{\"loads\": [";
        for (size_t i = 0; i < loads.size(); ++i)
            out += (i ? ", " : "") + jsonLoad(loads[i]);
        out += "]}\n";
    } else if (loads.empty()) {
        out = "The load history holds no loads.\n";
    } else {
        for (const LoadHistory& load : loads)
            out += textLoad(load);
    }
    writeOut(out);
    return 0;
}

Registrar r("history", "history [--program-folder DIR] [--format text|json]", runHistory);

} // namespace
} // namespace fendrel::cli
