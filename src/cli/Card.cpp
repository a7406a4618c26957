// fendrel-calc card: the range card of a load in the air of the day, as a readable card, CSV
// rows or one JSON object.
#include "Commands.h"
#include "RangeCardOptions.h"

#include "core/common/Numbers.h"
#include "core/rangecard/RangeCard.h"
#include "core/rangecard/RangeCardColumns.h"

#include <optional>
#include <string>

namespace fendrel::cli {

namespace {

constexpr const char* kName = "card";

std::string json(const RangeCardResult& card) {
    const bool m = card.metric;
    std::string out = "{\"" + std::string(m ? "muzzle_velocity_mps" : "muzzle_velocity_fps") +
                      "\": " + jsonNumber(card.muzzleVelocity) +
                      ", \"zero_angle_moa\": " + jsonNumber(card.zeroAngleMoa) +
                      ", \"stability_sg\": " + jsonNumber(card.stability) +
                      ", \"density_ratio\": " + jsonNumber(card.densityRatio) + ", \"" +
                      (m ? "speed_of_sound_mps" : "speed_of_sound_fps") +
                      "\": " + jsonNumber(card.speedOfSound) + ", \"rows\": [";
    for (std::size_t i = 0; i < card.rows.size(); ++i) {
        out += i ? ",\n  {" : "\n  {";
        bool first = true;
        for (const RangeCardColumn& c : rangeCardColumns()) {
            out +=
                (first ? "\"" : ", \"") + c.keyFor(m) + "\": " + jsonNumber(c.value(card.rows[i]));
            first = false;
        }
        if (!card.windBrackets.empty()) {
            out += ", \"bracket_windage\": [";
            for (const BracketWindage& w : card.rows[i].brackets)
                out += std::string(&w == card.rows[i].brackets.data() ? "" : ", ") + "{\"" +
                       (m ? "mps" : "mph") + "\": " + jsonNumber(w.speed) +
                       ", \"moa\": " + jsonNumber(w.moa) + ", \"mil\": " + jsonNumber(w.mil) +
                       ", \"clicks\": " + jsonNumber(w.clicks) + "}";
            out += "]";
        }
        out += "}";
    }
    return out + "\n]}\n";
}

int run(const std::vector<std::string>& arguments) {
    std::vector<std::string> args = arguments;
    const bool metric = takeMetricFlag(args);
    std::vector<std::string> names = rangeCardOptionNames();
    names.push_back("wind-brackets");
    Options o;
    if (!parseOptions(kName, args, names, o))
        return 2;
    if (!o.positional.empty())
        return usageError(kName, "unexpected argument '" + o.positional.front() + "'");
    const std::string format = o.get("format", "text");
    if (format != "text" && format != "csv" && format != "json")
        return usageError(kName, "--format must be text, csv or json");
    RangeCardInput input;
    if (int code = readRangeCardOptions(kName, o, metric, input))
        return code;
    if (int code = readWindBrackets(kName, o, input))
        return code;
    RangeCardResult card;
    if (std::string refusal = computeRangeCard(input, card); !refusal.empty())
        return refused(kName, refusal);
    writeOut(format == "json"  ? json(card)
             : format == "csv" ? rangeCardCsv(card)
                               : rangeCardText(card, input));
    return 0;
}

Registrar registrar(kName,
                    "card --bc B|B@FPS,B@FPS,... --drag G1|G7|FILE --velocity FPS [--weight GR --diameter IN "
                    "--length IN --twist IN] [--sight-height IN] [--zero YD] [--pressure INHG "
                    "--temperature F --humidity PCT --altitude FT] [--wind-speed MPH "
                    "--wind-from DEG] [--look-angle DEG] [--latitude DEG --azimuth DEG] "
                    "[--powder-temperature F --velocity-temperature F "
                    "--temperature-sensitivity FPS_PER_F] [--step YD --max YD] "
                    "[--click-moa C | --click-mil C] [--drop-scale MACH:FACTOR[,...]] [--metric] "
                    "[--wind-brackets MPH[,MPH...]] [--format text|csv|json] "
                    "[--program-folder DIR]",
                    run);

} // namespace

} // namespace fendrel::cli
