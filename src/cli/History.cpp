// fendrel-calc history: the loads of the load history with the statistics of their strings
// and groups, and the truings of the range card made with them. Reads only; a folder without a
// history lists no loads and is left as it is.
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

std::string jsonOptional(const std::optional<double>& value) {
    return value ? jsonNumber(*value) : "null";
}

std::string jsonMeasured(const std::optional<MeasuredVelocity>& v) {
    return v ? "{\"velocity\": " + jsonNumber(v->velocity) +
                   ", \"distance\": " + jsonNumber(v->distance) +
                   ", \"error\": " + jsonOptional(v->error) + "}"
             : "null";
}

// Every value of a truing; ranges, distances and velocities in the card's units.
std::string jsonTruing(const TruingSession& t) {
    std::string out = "{\"date\": " + jsonText(t.date) + ", \"kind\": \"" + truingKindName(t.kind) +
                      "\", \"metric\": " + jsonBool(t.metric) + ", \"unit\": \"" +
                      (t.unit == ClickUnit::Moa ? "moa" : "mil") +
                      "\", \"card\": " + jsonText(t.card) + ", \"observations\": [";
    for (size_t i = 0; i < t.observations.size(); ++i) {
        const ObservedCorrection& o = t.observations[i];
        out += (i ? ", " : "") + std::string("{\"range\": ") + jsonNumber(o.range) +
               ", \"correction\": " + jsonNumber(o.correction) +
               ", \"error\": " + jsonOptional(o.error) + "}";
    }
    out += "], \"near\": " + jsonMeasured(t.nearVelocity) +
           ", \"far\": " + jsonMeasured(t.farVelocity) + ", \"velocity\": ";
    if (const auto& v = t.velocity)
        out += "{\"velocity\": " + jsonNumber(v->velocity) +
               ", \"standard_error\": " + jsonNumber(v->standardError) +
               ", \"input_velocity\": " + jsonNumber(v->inputVelocity) + "}";
    else
        out += "null";
    out += ", \"bc\": ";
    if (const auto& b = t.ballisticCoefficient)
        out += "{\"bc\": " + jsonNumber(b->ballisticCoefficient) +
               ", \"standard_error\": " + jsonNumber(b->standardError) + "}";
    else
        out += "null";
    out += ", \"knots\": [";
    for (size_t i = 0; i < t.knots.size(); ++i)
        out += (i ? ", " : "") + std::string("{\"mach\": ") + jsonNumber(t.knots[i].mach) +
               ", \"factor\": " + jsonNumber(t.knots[i].factor) +
               ", \"factor_error\": " + jsonNumber(t.factorErrors[i]) + "}";
    const RoundSnapshot& r = t.round;
    return out + "], \"note\": " + jsonText(t.note) +
           ", \"round\": {\"caliber\": " + jsonText(r.caliber) +
           ", \"bullet_weight_gr\": " + jsonNumber(r.bulletWeightGr) +
           ", \"bc\": " + jsonNumber(r.ballisticCoefficient) +
           ", \"charge_gr\": " + jsonNumber(r.powderChargeGr) + "}}";
}

std::string textTruing(const TruingSession& t) {
    const std::string speed = t.metric ? " m/s" : " ft/s", distance = t.metric ? " m" : " yd";
    const std::string from = " trued from " + std::to_string(t.observations.size()) +
                             (t.observations.size() == 1 ? " correction" : " corrections") +
                             (t.unit == ClickUnit::Moa ? " (MOA): " : " (mil): ");
    std::string out = "  " + t.date + "  ";
    if (const auto& v = t.velocity)
        out += "muzzle velocity" + from + formatPattern(v->velocity, "0.0") + speed + ", SE " +
               formatPattern(v->standardError, "0.0") + speed + "; the card's velocity " +
               formatPattern(v->inputVelocity, "0.0") + speed;
    if (const auto& b = t.ballisticCoefficient; b && t.nearVelocity && t.farVelocity)
        out += "BC trued from " + formatPattern(t.nearVelocity->velocity, "0.0") + speed + " at " +
               generalNumber(t.nearVelocity->distance) + distance + " and " +
               formatPattern(t.farVelocity->velocity, "0.0") + speed + " at " +
               generalNumber(t.farVelocity->distance) + distance + ": " +
               formatPattern(b->ballisticCoefficient, "0.0000") + ", SE " +
               formatPattern(b->standardError, "0.0000");
    if (t.kind == TruingKind::DropScale) {
        out += "drop scale" + from;
        for (size_t i = 0; i < t.knots.size(); ++i)
            out += (i ? ", Mach " : "Mach ") + formatPattern(t.knots[i].mach, "0.000") + " x " +
                   formatPattern(t.knots[i].factor, "0.000") + " (SE " +
                   formatPattern(t.factorErrors[i], "0.000") + ")";
    }
    return out + "\n";
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
    out += "], \"truings\": [";
    for (size_t i = 0; i < load.truings.size(); ++i)
        out += (i ? ", " : "") + jsonTruing(load.truings[i]);
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
    for (const TruingSession& t : load.truings)
        out += textTruing(t);
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
