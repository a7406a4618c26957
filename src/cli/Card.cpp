// fendrel-calc card: the range card of a load in the air of the day, as a readable card, CSV
// rows or one JSON object.
#include "Commands.h"
#include "RangeCardOptions.h"

#include "core/common/Numbers.h"
#include "core/rangecard/RangeCard.h"

#include <optional>
#include <string>

namespace fendrel::cli {

namespace {

constexpr const char* kName = "card";

struct Column {
    const char* key;       // imperial JSON and CSV key
    const char* metricKey; // nullptr: the same in metric
    std::optional<double> (*value)(const RangeCardRow&);
    const char* pattern; // for the readable card
    const char* heading;
    const char* unit;
    const char* metricUnit;
};

const Column kColumns[] = {
    {"range", nullptr, [](const RangeCardRow& r) { return std::optional(r.range); }, "0", "Range",
     "yd", "m"},
    {"height_in", "height_cm", [](const RangeCardRow& r) { return std::optional(r.height); },
     "0.00", "Height", "in", "cm"},
    {"windage_in", "windage_cm", [](const RangeCardRow& r) { return std::optional(r.windage); },
     "0.00", "Windage", "in", "cm"},
    {"spin_drift_in", "spin_drift_cm",
     [](const RangeCardRow& r) { return std::optional(r.spinDrift); }, "0.00", "Spin", "in", "cm"},
    {"elevation_moa", nullptr, [](const RangeCardRow& r) { return r.elevationMoa; }, "0.00", "Elev",
     "MOA", "MOA"},
    {"elevation_mil", nullptr, [](const RangeCardRow& r) { return r.elevationMil; }, "0.00", "Elev",
     "mil", "mil"},
    {"windage_moa", nullptr, [](const RangeCardRow& r) { return r.windageMoa; }, "0.00", "Wind",
     "MOA", "MOA"},
    {"windage_mil", nullptr, [](const RangeCardRow& r) { return r.windageMil; }, "0.00", "Wind",
     "mil", "mil"},
    {"elevation_clicks", nullptr, [](const RangeCardRow& r) { return r.elevationClicks; }, "0",
     "Elev", "clicks", "clicks"},
    {"windage_clicks", nullptr, [](const RangeCardRow& r) { return r.windageClicks; }, "0", "Wind",
     "clicks", "clicks"},
    {"velocity_fps", "velocity_mps",
     [](const RangeCardRow& r) { return std::optional(r.velocity); }, "0", "Velocity", "ft/s",
     "m/s"},
    {"mach", nullptr, [](const RangeCardRow& r) { return std::optional(r.mach); }, "0.000", "Mach",
     "", ""},
    {"energy_ftlb", "energy_j", [](const RangeCardRow& r) { return r.energy; }, "0", "Energy",
     "ft-lb", "J"},
    {"time_s", nullptr, [](const RangeCardRow& r) { return std::optional(r.time); }, "0.000",
     "Time", "s", "s"},
};

std::string key(const Column& c, bool metric) {
    return metric && c.metricKey ? c.metricKey : c.key;
}

std::string padLeft(const std::string& text, std::size_t width) {
    return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

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
        for (const Column& c : kColumns) {
            out += (first ? "\"" : ", \"") + key(c, m) + "\": " + jsonNumber(c.value(card.rows[i]));
            first = false;
        }
        out += "}";
    }
    return out + "\n]}\n";
}

std::string csv(const RangeCardResult& card) {
    std::string out;
    for (const Column& c : kColumns)
        out += (&c == kColumns ? "" : ",") + key(c, card.metric);
    out += "\n";
    for (const RangeCardRow& r : card.rows) {
        for (const Column& c : kColumns) {
            if (&c != kColumns)
                out += ",";
            if (const std::optional<double> v = c.value(r))
                out += jsonNumber(v);
        }
        out += "\n";
    }
    return out;
}

std::string text(const RangeCardResult& card, const RangeCardInput& in) {
    const bool m = card.metric;
    std::string out = "Range card\n";
    out += "Muzzle velocity " + formatPattern(card.muzzleVelocity, "0") + (m ? " m/s" : " ft/s") +
           ", zero " + generalNumber(in.zeroRange) + (m ? " m" : " yd") + " at " +
           formatPattern(card.zeroAngleMoa, "0.00") + " MOA above the line of sight\n";
    out += "Air density ratio " + formatPattern(card.densityRatio, "0.0000") + ", speed of sound " +
           formatPattern(card.speedOfSound, "0") + (m ? " m/s" : " ft/s");
    if (card.stability)
        out += ", stability Sg " + formatPattern(*card.stability, "0.00");
    out += "\nClicks of " + generalNumber(in.click) +
           (in.clickUnit == ClickUnit::Moa ? " MOA" : " mil") + "\n\n";
    const std::size_t width = 9;
    for (const Column& c : kColumns)
        out += padLeft(c.heading, width);
    out += "\n";
    for (const Column& c : kColumns)
        out += padLeft(m ? c.metricUnit : c.unit, width);
    out += "\n";
    for (const RangeCardRow& r : card.rows) {
        for (const Column& c : kColumns) {
            const std::optional<double> v = c.value(r);
            out += padLeft(v ? roundedText(*v, c.pattern) : "-", width);
        }
        out += "\n";
    }
    return out;
}

int run(const std::vector<std::string>& arguments) {
    std::vector<std::string> args = arguments;
    const bool metric = takeMetricFlag(args);
    Options o;
    if (!parseOptions(kName, args, rangeCardOptionNames(), o))
        return 2;
    if (!o.positional.empty())
        return usageError(kName, "unexpected argument '" + o.positional.front() + "'");
    const std::string format = o.get("format", "text");
    if (format != "text" && format != "csv" && format != "json")
        return usageError(kName, "--format must be text, csv or json");
    RangeCardInput input;
    if (int code = readRangeCardOptions(kName, o, metric, input))
        return code;
    RangeCardResult card;
    if (std::string refusal = computeRangeCard(input, card); !refusal.empty())
        return refused(kName, refusal);
    writeOut(format == "json" ? json(card) : format == "csv" ? csv(card) : text(card, input));
    return 0;
}

Registrar registrar(kName,
                    "card --bc B --drag G1|G7|FILE --velocity FPS [--weight GR --diameter IN "
                    "--length IN --twist IN] [--sight-height IN] [--zero YD] [--pressure INHG "
                    "--temperature F --humidity PCT --altitude FT] [--wind-speed MPH "
                    "--wind-from DEG] [--look-angle DEG] [--latitude DEG --azimuth DEG] "
                    "[--powder-temperature F --velocity-temperature F "
                    "--temperature-sensitivity FPS_PER_F] [--step YD --max YD] "
                    "[--click-moa C | --click-mil C] [--metric] [--format text|csv|json] "
                    "[--program-folder DIR]",
                    run);

} // namespace

} // namespace fendrel::cli
