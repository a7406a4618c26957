// fendrel-calc velocity: the statistics of a chronograph string read from a CSV export.
#include "Commands.h"
#include "core/common/Numbers.h"
#include "core/history/ChronographCsv.h"
#include "core/history/VelocityStatistics.h"

#include <cstdio>

namespace fendrel::cli {
namespace {

int runVelocity(const std::vector<std::string>& args) {
    Options options;
    if (!parseOptions("velocity", args, {"format"}, options))
        return 2;
    const std::string format = options.get("format", "text");
    if (format != "text" && format != "json") {
        std::fprintf(stderr, "fendrel-calc velocity: --format must be text or json\n");
        return 2;
    }
    if (options.positional.size() != 1) {
        std::fprintf(stderr, "fendrel-calc velocity: give exactly one CSV file\n");
        return 2;
    }
    const auto shots = readChronographFile(options.positional.front());
    if (!shots) {
        std::fprintf(stderr, "fendrel-calc velocity: %s\n", shots.refusal.c_str());
        return 1;
    }
    const VelocityStatistics s = velocityStatistics(shots.value);
    if (format == "json") {
        writeOut("{\"count\": " + std::to_string(s.count) + ", \"mean_fps\": " +
                 roundTripNumber(s.meanFps) + ", \"sd_fps\": " + roundTripNumber(s.sdFps) +
                 ", \"es_fps\": " + roundTripNumber(s.esFps) + ", \"min_fps\": " +
                 roundTripNumber(s.minFps) + ", \"max_fps\": " + roundTripNumber(s.maxFps) + "}\n");
        return 0;
    }
    auto fps = [](double v) { return formatPattern(v, "0.0") + " ft/s\n"; };
    writeOut("Shots:          " + std::to_string(s.count) + "\n" +
             "Mean:           " + fps(s.meanFps) + "SD:             " + fps(s.sdFps) +
             "Extreme spread: " + fps(s.esFps) + "Slowest:        " + fps(s.minFps) +
             "Fastest:        " + fps(s.maxFps));
    return 0;
}

Registrar r("velocity", "velocity FILE [--format text|json]", runVelocity);

} // namespace
} // namespace fendrel::cli
