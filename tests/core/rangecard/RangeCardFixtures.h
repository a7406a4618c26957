// Reading the range card's reference fixtures: "key=value" inputs named like the options of
// fendrel-calc card, then rows of numbers, written by tools/reference_trajectory.py and
// tools/reference_truing.py.
#pragma once

#include "TestFolder.h"
#include "core/common/Numbers.h"
#include "core/rangecard/RangeCardInput.h"

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace fendrel::test {

struct Fixture {
    std::map<std::string, std::string> keys;
    std::vector<std::vector<double>> rows; // after the line of column names
};

inline Fixture readFixture(const std::string& name) {
    std::ifstream file(fixture("rangecard/" + name + ".txt"));
    Fixture f;
    std::string line;
    while (std::getline(file, line) && line.find('=') != std::string::npos)
        f.keys[line.substr(0, line.find('='))] = line.substr(line.find('=') + 1);
    while (std::getline(file, line)) {
        std::vector<double> row;
        std::stringstream fields(line);
        for (std::string field; std::getline(fields, field, ',');)
            row.push_back(leadingNumber(field));
        f.rows.push_back(row);
    }
    return f;
}

inline RangeCardInput cardInput(const std::map<std::string, std::string>& keys) {
    RangeCardInput in;
    std::map<std::string, double*> plain = {
        {"bc", &in.ballisticCoefficient}, {"velocity", &in.velocity},
        {"sight-height", &in.sightHeight}, {"zero", &in.zeroRange},
        {"humidity", &in.humidity},       {"altitude", &in.altitude},
        {"wind-speed", &in.windSpeed},    {"wind-from", &in.windFrom},
        {"look-angle", &in.lookAngle},    {"temperature-sensitivity", &in.temperatureSensitivity},
        {"step", &in.step},               {"max", &in.maximum}};
    std::map<std::string, std::optional<double>*> optional = {
        {"weight", &in.weight},           {"diameter", &in.diameter},
        {"length", &in.length},           {"twist", &in.twist},
        {"pressure", &in.pressure},       {"temperature", &in.temperature},
        {"latitude", &in.latitude},       {"azimuth", &in.azimuth},
        {"powder-temperature", &in.powderTemperature}};
    for (const auto& [key, value] : keys) {
        if (plain.count(key))
            *plain[key] = leadingNumber(value);
        else if (optional.count(key))
            *optional[key] = leadingNumber(value);
        else if (key == "drag")
            in.dragModel = value == "G7" ? DragModel::G7 : DragModel::G1;
    }
    // "B@V,B@V,...": a BC by velocity bands.
    for (std::stringstream bands(keys.count("bc") ? keys.at("bc") : ""); bands.good();) {
        std::string band;
        std::getline(bands, band, ',');
        if (band.find('@') != std::string::npos)
            in.bcBands.push_back(
                {leadingNumber(band), leadingNumber(band.substr(band.find('@') + 1))});
    }
    return in;
}

// A file of one case a line, "key=value" fields separated by blanks.
inline std::vector<std::map<std::string, std::string>> readCases(const std::string& name) {
    std::ifstream file(fixture("rangecard/" + name + ".txt"));
    std::vector<std::map<std::string, std::string>> cases;
    for (std::string line; std::getline(file, line);) {
        std::stringstream fields(line);
        cases.emplace_back();
        for (std::string field; fields >> field;)
            cases.back()[field.substr(0, field.find('='))] = field.substr(field.find('=') + 1);
    }
    return cases;
}

} // namespace fendrel::test
