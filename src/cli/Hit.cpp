// fendrel-calc hit: the chance that a load hits a target at each range, given the spread of
// its velocity, the wind call, the range estimate and the rifle's dispersion.
#include "Commands.h"
#include "RangeCardOptions.h"
#include "StatsOptions.h"

#include "core/common/Numbers.h"
#include "core/rangecard/HitProbability.h"

#include <string>

namespace fendrel::cli {

namespace {

constexpr const char* kName = "hit";

// A whole number of up to 19 digits.
bool wholeNumber(const std::string& text, std::uint64_t& value) {
    if (text.empty() || text.size() > 19 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    value = 0;
    for (char c : text)
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    return true;
}

int run(const std::vector<std::string>& arguments) {
    std::vector<std::string> args = arguments;
    const bool metric = takeMetricFlag(args);
    std::vector<std::string> names = rangeCardOptionNames();
    for (const char* n :
         {"ranges", "target-width", "target-height", "target-diameter", "dispersion-moa",
          "velocity-sd", "wind-sd", "range-sd", "samples", "seed", "velocity-sd-shots",
          "dispersion-shots", "confidence"})
        names.push_back(n);
    Options o;
    if (!parseOptions(kName, args, names, o))
        return 2;
    if (!o.positional.empty())
        return usageError(kName, "unexpected argument '" + o.positional.front() + "'");
    const std::string format = o.get("format", "text");
    if (format != "text" && format != "json")
        return usageError(kName, "--format must be text or json");

    HitInput in;
    if (int code = readRangeCardOptions(kName, o, metric, in.card))
        return code;
    if (!o.has("ranges"))
        return usageError(kName, "--ranges R[,R...] is required");
    const std::string ranges = o.get("ranges");
    for (std::size_t start = 0; start <= ranges.size();) {
        const std::size_t comma = std::min(ranges.find(',', start), ranges.size());
        const std::string one = ranges.substr(start, comma - start);
        if (!isDecimalNumber(one))
            return usageError(kName,
                              "--ranges needs numbers separated by commas, not '" + one + "'");
        in.ranges.push_back(leadingNumber(one));
        start = comma + 1;
    }
    const bool rectangle = o.has("target-width") || o.has("target-height");
    if (rectangle == o.has("target-diameter") ||
        (rectangle && !(o.has("target-width") && o.has("target-height"))))
        return usageError(kName, "give the target as --target-width and --target-height, or as "
                                 "--target-diameter");
    in.shape = rectangle ? TargetShape::Rectangle : TargetShape::Circle;
    struct Number {
        const char* name;
        double* value;
    };
    for (const Number& n : {Number{"target-width", &in.width},
                            {"target-height", &in.height},
                            {"target-diameter", &in.diameter},
                            {"dispersion-moa", &in.dispersionMoa},
                            {"velocity-sd", &in.velocitySd},
                            {"wind-sd", &in.windSd},
                            {"range-sd", &in.rangeSd}})
        if (o.has(n.name))
            if (int code = numberOption(kName, o, n.name, *n.value))
                return code;
    std::uint64_t whole = 0;
    if (o.has("samples")) {
        if (!wholeNumber(o.get("samples"), whole))
            return usageError(kName, "--samples needs a whole number");
        in.samples = whole > 1000000000 ? 1000000000 : static_cast<int>(whole);
    }
    if (o.has("seed")) {
        if (!wholeNumber(o.get("seed"), in.seed))
            return usageError(kName, "--seed needs a whole number");
    }
    // The band: the shots behind the velocity SD and behind the dispersion, together.
    const bool band = o.has("velocity-sd-shots") || o.has("dispersion-shots");
    if (band && !(o.has("velocity-sd-shots") && o.has("dispersion-shots")))
        return usageError(kName, "give --velocity-sd-shots and --dispersion-shots together");
    if (!band && o.has("confidence"))
        return usageError(kName,
                          "--confidence needs --velocity-sd-shots and --dispersion-shots");
    for (auto [name, count] : {std::pair{"velocity-sd-shots", &in.velocitySdShots},
                               std::pair{"dispersion-shots", &in.dispersionShots}})
        if (o.has(name)) {
            if (!wholeNumber(o.get(name), whole))
                return usageError(kName, std::string("--") + name + " needs a whole number");
            *count = whole > 1000000 ? 1000000 : static_cast<int>(whole);
        }
    if (band)
        if (int code = confidenceOption(kName, o, in.confidence))
            return code;

    std::vector<HitRow> rows;
    if (std::string refusal = computeHitProbability(in, rows); !refusal.empty())
        return refused(kName, refusal);

    const std::string unit = metric ? "_cm" : "_in";
    std::string out;
    if (format == "json") {
        out = "{\"rows\": [";
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const HitRow& r = rows[i];
            out += std::string(i ? ",\n  " : "\n  ") + "{\"range\": " + jsonNumber(r.range) +
                   ", \"probability\": " + jsonNumber(r.probability) +
                   (band ? ", \"probability_low\": " + jsonNumber(r.probabilityLow) +
                               ", \"probability_high\": " + jsonNumber(r.probabilityHigh)
                         : std::string()) +
                   ", \"sigma_vertical" + unit +
                   "\": " + jsonNumber(r.sigmaVertical) + ", \"sigma_horizontal" + unit +
                   "\": " + jsonNumber(r.sigmaHorizontal) + ", \"mean_vertical" + unit +
                   "\": " + jsonNumber(r.meanVertical) + ", \"mean_horizontal" + unit +
                   "\": " + jsonNumber(r.meanHorizontal) + "}";
        }
        out += "\n]}\n";
    } else {
        const std::string d = metric ? "m" : "yd", l = metric ? "cm" : "in";
        out = std::string("   Range      Hit") + (band ? "      Low     High" : "") +
              "   SD up  SD right   Mean up  Mean right\n"
              "      " +
              d + (metric ? " " : "") + "        %" + (band ? "        %        %" : "") +
              "      " + l + "        " + l + "        " + l + "          " + l + "\n";
        auto cell = [](double v, const char* pattern, std::size_t width) {
            const std::string t = pattern ? roundedText(v, pattern) : generalNumber(v);
            return std::string(t.size() < width ? width - t.size() : 0, ' ') + t;
        };
        for (const HitRow& r : rows)
            out += cell(r.range, nullptr, 8) + cell(r.probability * 100, "0.0", 9) +
                   (band ? cell(*r.probabilityLow * 100, "0.0", 9) +
                               cell(*r.probabilityHigh * 100, "0.0", 9)
                         : std::string()) +
                   cell(r.sigmaVertical, "0.00", 8) + cell(r.sigmaHorizontal, "0.00", 10) +
                   cell(r.meanVertical, "0.00", 10) + cell(r.meanHorizontal, "0.00", 12) + "\n";
    }
    writeOut(out);
    return 0;
}

Registrar registrar(kName,
                    "hit OPTIONS-OF-CARD --ranges YD[,YD...] (--target-width IN --target-height IN "
                    "| --target-diameter IN) [--dispersion-moa S] [--velocity-sd FPS] "
                    "[--wind-sd MPH] [--range-sd YD] [--samples N] [--seed S] "
                    "[--velocity-sd-shots N --dispersion-shots M [--confidence C]] "
                    "[--format text|json]",
                    run);

} // namespace

} // namespace fendrel::cli
