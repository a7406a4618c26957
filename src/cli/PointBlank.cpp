// fendrel-calc mpbr and danger-space: how far the card's load can be held dead on, for a vital
// zone, and the span around a range over which a target of a height is hit, as text or JSON.
#include "Commands.h"
#include "RangeCardOptions.h"

#include "core/common/Numbers.h"
#include "core/rangecard/PointBlank.h"
#include "core/rangecard/RangeCardColumns.h"

#include <string>

namespace fendrel::cli {

namespace {

// The card's options with the command's own, read into `input`; `format` text or json.
int readPointBlankOptions(const char* command, const std::vector<std::string>& arguments,
                          std::vector<std::string> extra, Options& o, RangeCardInput& input,
                          bool& json) {
    std::vector<std::string> args = arguments;
    const bool metric = takeMetricFlag(args);
    std::vector<std::string> names = rangeCardOptionNames();
    names.insert(names.end(), extra.begin(), extra.end());
    if (!parseOptions(command, args, names, o))
        return 2;
    if (!o.positional.empty())
        return usageError(command, "unexpected argument '" + o.positional.front() + "'");
    const std::string format = o.get("format", "text");
    if (format != "text" && format != "json")
        return usageError(command, "--format must be text or json");
    json = format == "json";
    for (const std::string& name : extra)
        if (!o.has(name) && name != "vital")
            return usageError(command, "--" + name + " is required");
    return readRangeCardOptions(command, o, metric, input);
}

int runMpbr(const std::vector<std::string>& arguments) {
    constexpr const char* kName = "mpbr";
    Options o;
    RangeCardInput input;
    bool json = false;
    if (int code = readPointBlankOptions(kName, arguments, {"vital"}, o, input, json))
        return code;
    double vital = input.metric ? 15.24 : 6;
    if (o.has("vital"))
        if (int code = numberOption(kName, o, "vital", vital))
            return code;
    const Result<PointBlankRange> answer = pointBlankRange(input, vital);
    if (!answer)
        return refused(kName, answer.refusal);
    const PointBlankRange& r = answer.value;
    const bool m = r.metric;
    const std::string size = m ? "cm" : "in", distance = m ? " m" : " yd";
    if (json) {
        writeOut("{\"vital_" + size + "\": " + jsonNumber(r.vital) +
                 ", \"zero_range\": " + jsonNumber(r.zeroRange) +
                 ", \"zero_angle_moa\": " + jsonNumber(r.zeroAngleMoa) +
                 ", \"near_range\": " + jsonNumber(r.nearRange) +
                 ", \"peak_range\": " + jsonNumber(r.peakRange) + ", \"peak_height_" + size +
                 "\": " + jsonNumber(r.peakHeight) + ", \"mpbr\": " + jsonNumber(r.maximum) +
                 "}\n");
        return 0;
    }
    writeOut("Maximum point-blank range for a vital zone " + generalNumber(r.vital) + " " + size +
             " across: " + roundedText(r.maximum, "0") + distance + "\n" +
             "Zero " + roundedText(r.zeroRange, "0") + distance + " at " +
             roundedText(r.zeroAngleMoa, "0.00") + " MOA above the line of sight\n" +
             "In the zone from " + roundedText(r.nearRange, "0") + distance + ", highest " +
             roundedText(r.peakHeight, "0.00") + " " + size + " at " +
             roundedText(r.peakRange, "0") + distance + ", back on the line of sight at " +
             roundedText(r.zeroRange, "0") + distance + ", " + roundedText(r.vital / 2, "0.00") +
             " " + size + " low at " + roundedText(r.maximum, "0") + distance + "\n");
    return 0;
}

int runDangerSpace(const std::vector<std::string>& arguments) {
    constexpr const char* kName = "danger-space";
    Options o;
    RangeCardInput input;
    bool json = false;
    if (int code =
            readPointBlankOptions(kName, arguments, {"range", "target-height"}, o, input, json))
        return code;
    double range = 0, height = 0;
    if (int code = numberOption(kName, o, "range", range))
        return code;
    if (int code = numberOption(kName, o, "target-height", height))
        return code;
    const Result<DangerSpace> answer = dangerSpace(input, range, height);
    if (!answer)
        return refused(kName, answer.refusal);
    const DangerSpace& d = answer.value;
    const bool m = d.metric;
    const std::string size = m ? "cm" : "in", distance = m ? " m" : " yd";
    if (json) {
        writeOut("{\"range\": " + jsonNumber(d.range) + ", \"target_height_" + size +
                 "\": " + jsonNumber(d.targetHeight) +
                 ", \"zero_angle_moa\": " + jsonNumber(d.zeroAngleMoa) +
                 ", \"from\": " + jsonNumber(d.from) + ", \"to\": " + jsonNumber(d.to) +
                 ", \"length\": " + jsonNumber(d.length) + "}\n");
        return 0;
    }
    writeOut("Danger space at " + generalNumber(d.range) + distance + " for a target " +
             generalNumber(d.targetHeight) + " " + size + " high: " + roundedText(d.from, "0") +
             " to " + roundedText(d.to, "0") + distance + ", " + roundedText(d.length, "0") +
             distance + " long\n" + "Sight dialled for " + generalNumber(d.range) + distance +
             ": " + roundedText(d.zeroAngleMoa, "0.00") + " MOA above the line of sight\n");
    return 0;
}

const std::string kCardOptions = "--bc B|B@FPS,... --drag G1|G7|FILE --velocity FPS [card options]";

Registrar mpbr("mpbr", "mpbr " + kCardOptions + " [--vital IN] [--format text|json]", runMpbr);
Registrar danger("danger-space",
                 "danger-space " + kCardOptions +
                     " --range YD --target-height IN [--format text|json]",
                 runDangerSpace);

} // namespace

} // namespace fendrel::cli
