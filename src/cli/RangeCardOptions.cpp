#include "RangeCardOptions.h"

#include "core/common/Numbers.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace fendrel::cli {

std::vector<std::string> rangeCardOptionNames() {
    return {"bc", "drag", "velocity", "weight", "diameter", "length", "twist", "sight-height",
            "zero", "pressure", "temperature", "humidity", "altitude", "wind-speed", "wind-from",
            "look-angle", "latitude", "azimuth", "powder-temperature", "velocity-temperature",
            "temperature-sensitivity", "step", "max", "click-moa", "click-mil", "drop-scale",
            "format", "program-folder"};
}

bool takeMetricFlag(std::vector<std::string>& args) {
    bool found = false;
    for (auto it = args.begin(); it != args.end();) {
        if (*it == "--metric") {
            found = true;
            it = args.erase(it);
        } else {
            ++it;
        }
    }
    return found;
}

int usageError(const std::string& command, const std::string& text) {
    std::fprintf(stderr, "fendrel-calc %s: %s\n", command.c_str(), text.c_str());
    return 2;
}

int refused(const std::string& command, const std::string& text) {
    std::fprintf(stderr, "fendrel-calc %s: %s\n", command.c_str(), text.c_str());
    return 1;
}

bool numberGroups(const std::string& text, std::size_t least, std::size_t most,
                  std::vector<std::vector<double>>& out) {
    out.clear();
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        std::vector<double> group;
        for (std::size_t at = start; at <= comma;) {
            const std::size_t colon = std::min(text.find(':', at), comma);
            const std::string number = text.substr(at, colon - at);
            if (!isDecimalNumber(number))
                return false;
            group.push_back(leadingNumber(number));
            at = colon + 1;
        }
        if (group.size() < least || group.size() > most)
            return false;
        out.push_back(std::move(group));
        start = comma + 1;
    }
    return true;
}

int numberOption(const std::string& command, const Options& options, const std::string& name,
                 double& value) {
    const std::string text = options.get(name);
    if (!isDecimalNumber(text))
        return usageError(command, "--" + name + " needs a number, not '" + text + "'");
    value = leadingNumber(text);
    return 0;
}

int readBallisticCoefficient(const std::string& command, const std::string& text,
                             RangeCardInput& in) {
    if (text.find('@') == std::string::npos) {
        if (!isDecimalNumber(text))
            return usageError(command, "--bc needs a number, not '" + text + "'");
        in.ballisticCoefficient = leadingNumber(text);
        return 0;
    }
    // Velocity bands: B@V pairs separated by commas.
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        const std::string band = text.substr(start, comma - start);
        const std::size_t at = band.find('@');
        if (at == std::string::npos || !isDecimalNumber(band.substr(0, at)) ||
            !isDecimalNumber(band.substr(at + 1)))
            return usageError(command, "--bc needs a BC or BC@VELOCITY bands separated by "
                                       "commas, not '" + text + "'");
        in.bcBands.push_back(
            BcBand{leadingNumber(band.substr(0, at)), leadingNumber(band.substr(at + 1))});
        start = comma + 1;
    }
    in.ballisticCoefficient = in.bcBands.front().ballisticCoefficient;
    return 0;
}

int readWindBrackets(const std::string& command, const Options& o, RangeCardInput& in) {
    if (!o.has("wind-brackets"))
        return 0;
    std::vector<std::vector<double>> speeds;
    if (!numberGroups(o.get("wind-brackets"), 1, 1, speeds))
        return usageError(command, "--wind-brackets needs speeds separated by commas, not '" +
                                       o.get("wind-brackets") + "'");
    for (const std::vector<double>& speed : speeds)
        in.windBrackets.push_back(speed[0]);
    return 0;
}

int readRangeCardOptions(const std::string& command, const Options& o, bool metric,
                         RangeCardInput& in) {
    in = metric ? RangeCardInput::metricDefaults() : RangeCardInput();
    for (std::size_t i = 0; i < o.named.size(); ++i)
        for (std::size_t j = 0; j < i; ++j)
            if (o.named[i].first == o.named[j].first)
                return usageError(command, "--" + o.named[i].first + " is given twice");
    for (const char* needed : {"bc", "drag", "velocity"})
        if (!o.has(needed))
            return usageError(command, std::string("--") + needed + " is required");
    if (o.has("click-moa") && o.has("click-mil"))
        return usageError(command, "give --click-moa or --click-mil, not both");

    struct Plain {
        const char* name;
        double* value;
    };
    if (int code = readBallisticCoefficient(command, o.get("bc"), in))
        return code;
    const Plain plain[] = {{"velocity", &in.velocity},
                           {"sight-height", &in.sightHeight},
                           {"zero", &in.zeroRange},
                           {"humidity", &in.humidity},
                           {"altitude", &in.altitude},
                           {"wind-speed", &in.windSpeed},
                           {"wind-from", &in.windFrom},
                           {"look-angle", &in.lookAngle},
                           {"velocity-temperature", &in.velocityTemperature},
                           {"temperature-sensitivity", &in.temperatureSensitivity},
                           {"step", &in.step},
                           {"max", &in.maximum},
                           {"click-moa", &in.click},
                           {"click-mil", &in.click}};
    for (const Plain& p : plain)
        if (o.has(p.name))
            if (int code = numberOption(command, o, p.name, *p.value))
                return code;
    struct Optional {
        const char* name;
        std::optional<double>* value;
    };
    const Optional optional[] = {{"weight", &in.weight},
                                 {"diameter", &in.diameter},
                                 {"length", &in.length},
                                 {"twist", &in.twist},
                                 {"pressure", &in.pressure},
                                 {"temperature", &in.temperature},
                                 {"latitude", &in.latitude},
                                 {"azimuth", &in.azimuth},
                                 {"powder-temperature", &in.powderTemperature}};
    for (const Optional& p : optional) {
        if (!o.has(p.name))
            continue;
        double value = 0;
        if (int code = numberOption(command, o, p.name, value))
            return code;
        *p.value = value;
    }
    if (o.has("click-mil"))
        in.clickUnit = ClickUnit::Mil;
    if (o.has("drop-scale")) {
        std::vector<std::vector<double>> knots;
        if (!numberGroups(o.get("drop-scale"), 2, 2, knots))
            return usageError(command, "--drop-scale needs MACH:FACTOR pairs separated by "
                                       "commas, not '" + o.get("drop-scale") + "'");
        for (const std::vector<double>& k : knots)
            in.dropScale.push_back({k[0], k[1]});
    }

    const std::string drag = o.get("drag");
    if (drag == "G1" || drag == "g1") {
        in.dragModel = DragModel::G1;
    } else if (drag == "G7" || drag == "g7") {
        in.dragModel = DragModel::G7;
    } else if (drag.empty()) {
        return usageError(command, "--drag needs G1, G7 or a file of \"mach,cd\" lines");
    } else {
        // A file named without a folder that is not in the current folder may sit in the
        // program folder.
        in.dragModel = DragModel::File;
        in.dragFile = drag;
        in.programFolder = programFolder(o);
        std::error_code ec;
        if (in.dragFile.is_relative() && !std::filesystem::exists(in.dragFile, ec)) {
            const std::filesystem::path beside = std::filesystem::path(programFolder(o)) / drag;
            if (std::filesystem::exists(beside, ec))
                in.dragFile = beside;
        }
    }
    return 0;
}

} // namespace fendrel::cli
