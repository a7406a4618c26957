// fendrel-calc true: the card trued to where the bullets really went. The muzzle velocity and
// the drop scale past Mach 1.2 from the corrections that centred the groups, the BC from a
// near and a far velocity; each with its standard error, as text or one JSON object.
#include "Commands.h"
#include "RangeCardOptions.h"

#include "core/common/Numbers.h"
#include "core/rangecard/RangeCardColumns.h"
#include "core/rangecard/Truing.h"

#include <cmath>
#include <optional>
#include <string>

namespace fendrel::cli {

namespace {

constexpr const char* kName = "true";

struct TruingOutput {
    bool json = false;
    bool metric = false;
    ClickUnit unit = ClickUnit::Moa;
    std::string speed() const { return metric ? " m/s" : " ft/s"; }
    std::string key(const char* name) const {
        return std::string(name) + (metric ? "_mps" : "_fps");
    }
};

std::string signedText(double value, const char* pattern) {
    const std::string t = roundedText(value, pattern);
    return t[0] == '-' ? t : "+" + t;
}

std::string residualsJson(const std::vector<TruingResidual>& residuals) {
    std::string out = "\"residuals\": [";
    for (std::size_t i = 0; i < residuals.size(); ++i) {
        const TruingResidual& r = residuals[i];
        out += std::string(i ? ",\n  " : "\n  ") + "{\"range\": " + jsonNumber(r.range) +
               ", \"observed\": " + jsonNumber(r.observed) +
               ", \"predicted\": " + jsonNumber(r.predicted) +
               ", \"residual\": " + jsonNumber(r.residual) + "}";
    }
    return out + "\n]";
}

std::string residualsText(const TruingOutput& o, const std::vector<TruingResidual>& residuals) {
    const char* pattern = o.unit == ClickUnit::Moa ? "0.00" : "0.000";
    const std::string unit = o.unit == ClickUnit::Moa ? "MOA" : "mil";
    auto cell = [](const std::string& text, std::size_t width) {
        return std::string(text.size() < width ? width - text.size() : 0, ' ') + text;
    };
    std::string out = "\n   Range  Observed  Predicted  Residual\n" +
                      cell(o.metric ? "m" : "yd", 8) + cell(unit, 10) + cell(unit, 11) +
                      cell(unit, 10) + "\n";
    for (const TruingResidual& r : residuals)
        out += cell(roundedText(r.range, "0"), 8) + cell(roundedText(r.observed, pattern), 10) +
               cell(roundedText(r.predicted, pattern), 11) +
               cell(roundedText(r.residual, pattern), 10) + "\n";
    return out;
}

// "RANGE:CORRECTION[:SE],..." in the input's units and the unit of --unit.
int readObserved(const std::string& command, const Options& o,
                 std::vector<ObservedCorrection>& out) {
    if (!o.has("observed"))
        return usageError(command, "--observed RANGE:CORRECTION[:SE][,...] is required");
    std::vector<std::vector<double>> groups;
    if (!numberGroups(o.get("observed"), 2, 3, groups))
        return usageError(command, "--observed needs RANGE:CORRECTION or RANGE:CORRECTION:SE "
                                   "separated by commas, not '" +
                                       o.get("observed") + "'");
    for (const std::vector<double>& g : groups)
        out.push_back({g[0], g[1], g.size() > 2 ? std::optional(g[2]) : std::nullopt});
    return 0;
}

// "VELOCITY@DISTANCE[:SE]".
int readMeasured(const std::string& command, const Options& o, const char* name,
                 MeasuredVelocity& out) {
    const std::string text = o.get(name);
    const std::size_t at = text.find('@');
    std::vector<std::vector<double>> rest;
    if (!o.has(name))
        return usageError(command,
                          std::string("--") + name + " VELOCITY@DISTANCE[:SE] is required");
    if (at == std::string::npos || !isDecimalNumber(text.substr(0, at)) ||
        !numberGroups(text.substr(at + 1), 1, 2, rest) || rest.size() != 1)
        return usageError(command, std::string("--") + name +
                                       " needs VELOCITY@DISTANCE or VELOCITY@DISTANCE:SE, not '" +
                                       text + "'");
    out.velocity = leadingNumber(text.substr(0, at));
    out.distance = rest[0][0];
    if (rest[0].size() > 1)
        out.error = rest[0][1];
    return 0;
}

std::string velocityOutput(const TruingOutput& o, const RangeCardInput& in,
                           const VelocityTruing& t) {
    if (o.json)
        return "{\"" + o.key("velocity") + "\": " + jsonNumber(t.velocity) + ", \"" +
               o.key("velocity_se") + "\": " + jsonNumber(t.standardError) + ", \"" +
               o.key("velocity_change") + "\": " + jsonNumber(t.change) + ", " +
               residualsJson(t.residuals) + "}\n";
    std::string out = "Muzzle velocity " + roundedText(t.velocity, "0.0") + " +/- " +
                      roundedText(t.standardError, "0.0") + o.speed() + " (" +
                      signedText(t.change, "0.0") + o.speed() + " from the card's " +
                      roundedText(t.velocity - t.change, "0.0") + o.speed() + ")\n";
    out += "For the card: --velocity " + roundedText(t.inputVelocity, "0.0");
    if (std::abs(t.inputVelocity - t.velocity) >= 0.05)
        out += " (at the temperature of the measured velocity, " +
               generalNumber(in.velocityTemperature) + (o.metric ? " C)" : " F)");
    out += "\n";
    return out + residualsText(o, t.residuals);
}

std::string dropScaleOutput(const TruingOutput& o, const DropScaleTruing& t) {
    if (o.json) {
        std::string out = "{\"knots\": [";
        for (std::size_t i = 0; i < t.knots.size(); ++i)
            out += std::string(i ? ", " : "") + "{\"mach\": " + jsonNumber(t.knots[i].mach) +
                   ", \"factor\": " + jsonNumber(t.knots[i].factor) +
                   ", \"factor_se\": " + jsonNumber(t.factorErrors[i]) + "}";
        return out + "], " + residualsJson(t.residuals) + "}\n";
    }
    std::string out = "Drop scale past Mach 1.2 (a factor on the drag coefficient):\n";
    std::string option;
    for (std::size_t i = 0; i < t.knots.size(); ++i) {
        const std::string mach = roundedText(t.knots[i].mach, "0.0000");
        const std::string factor = roundedText(t.knots[i].factor, "0.0000");
        out += "  Mach " + mach + "  factor " + factor + " +/- " +
               roundedText(t.factorErrors[i], "0.0000") + "\n";
        option += (i ? "," : "") + mach + ":" + factor;
    }
    return out + "For the card: --drop-scale " + option + "\n" + residualsText(o, t.residuals);
}

std::string bcOutput(const TruingOutput& o, const Options& options, const RangeCardInput& in,
                     const BallisticCoefficientTruing& t) {
    if (o.json)
        return "{\"bc\": " + jsonNumber(t.ballisticCoefficient) +
               ", \"bc_se\": " + jsonNumber(t.standardError) +
               ", \"bc_change_percent\": " + jsonNumber(t.changePercent) + "}\n";
    return "BC " + roundedText(t.ballisticCoefficient, "0.0000") + " +/- " +
           roundedText(t.standardError, "0.0000") + " (" + options.get("drag") + "), " +
           signedText(t.changePercent, "0.00") + " % from the card's " +
           generalNumber(in.ballisticCoefficient) + "\n";
}

int run(const std::vector<std::string>& arguments) {
    std::vector<std::string> args = arguments;
    const bool metric = takeMetricFlag(args);
    if (args.empty() || args[0].rfind("--", 0) == 0)
        return usageError(kName, "say what to fit: velocity, drop-scale or bc");
    const std::string what = args[0];
    if (what != "velocity" && what != "drop-scale" && what != "bc")
        return usageError(kName, "unknown fit '" + what + "': velocity, drop-scale or bc");
    args.erase(args.begin());
    const std::string command = std::string(kName) + " " + what;
    std::vector<std::string> names = rangeCardOptionNames();
    for (const char* n : what == "bc" ? std::vector<const char*>{"near", "far"}
                                      : std::vector<const char*>{"observed", "unit"})
        names.push_back(n);
    Options o;
    if (!parseOptions(command, args, names, o))
        return 2;
    if (!o.positional.empty())
        return usageError(command, "unexpected argument '" + o.positional.front() + "'");
    TruingOutput out;
    out.metric = metric;
    const std::string format = o.get("format", "text");
    if (format != "text" && format != "json")
        return usageError(command, "--format must be text or json");
    out.json = format == "json";
    const std::string unit = o.get("unit", "moa");
    if (unit != "moa" && unit != "mil")
        return usageError(command, "--unit must be moa or mil");
    out.unit = unit == "mil" ? ClickUnit::Mil : ClickUnit::Moa;
    RangeCardInput in;
    if (int code = readRangeCardOptions(command, o, metric, in))
        return code;

    if (what == "bc") {
        MeasuredVelocity near, far;
        if (int code = readMeasured(command, o, "near", near))
            return code;
        if (int code = readMeasured(command, o, "far", far))
            return code;
        const Result<BallisticCoefficientTruing> t = trueBallisticCoefficient(in, near, far);
        if (!t)
            return refused(command, t.refusal);
        writeOut(bcOutput(out, o, in, t.value));
        return 0;
    }
    std::vector<ObservedCorrection> observed;
    if (int code = readObserved(command, o, observed))
        return code;
    if (what == "velocity") {
        const Result<VelocityTruing> t = trueVelocity(in, out.unit, observed);
        if (!t)
            return refused(command, t.refusal);
        writeOut(velocityOutput(out, in, t.value));
    } else {
        const Result<DropScaleTruing> t = trueDropScale(in, out.unit, observed);
        if (!t)
            return refused(command, t.refusal);
        writeOut(dropScaleOutput(out, t.value));
    }
    return 0;
}

Registrar registrar(kName,
                    "true velocity|drop-scale OPTIONS-OF-CARD --observed "
                    "RANGE:CORRECTION[:SE][,...] [--unit moa|mil] [--format text|json]\n"
                    "  true bc OPTIONS-OF-CARD --near FPS@YD[:SE] --far FPS@YD[:SE] "
                    "[--format text|json]",
                    run);

} // namespace

} // namespace fendrel::cli
