// The trajectory lines of the output file.
#include "TrajectoryOutput.h"

#include "core/common/Numbers.h"
#include "core/common/TextFile.h"

#include <charconv>
#include <cmath>

namespace fendrel {

std::string plainNumber(double value) {
    const std::string s = shortNumber(value);
    const size_t e = s.find('E');
    if (e == std::string::npos)
        return s;
    // d.dddE+XX or d.dddE-XX: write the digits out in full.
    const bool negative = s[0] == '-';
    std::string digits;
    for (size_t i = negative ? 1 : 0; i < e; ++i)
        if (s[i] != '.')
            digits.push_back(s[i]);
    int exponent = 0;
    const char* from = s.data() + e + 1 + (s[e + 1] == '+' ? 1 : 0);
    std::from_chars(from, s.data() + s.size(), exponent);
    std::string out = negative ? "-" : "";
    if (exponent < 0) {
        out += "." + std::string(static_cast<size_t>(-exponent - 1), '0') + digits;
    } else {
        const size_t whole = static_cast<size_t>(exponent) + 1;
        if (digits.size() <= whole)
            out += digits + std::string(whole - digits.size(), '0');
        else
            out += digits.substr(0, whole) + "." + digits.substr(whole);
    }
    return out;
}

std::string trajectoryRow(const TrajectoryPoint& p) {
    std::string row = printedNumber(toInt16(p.range));
    row += ',';
    row += formatPattern(p.height, "###0.0");
    row += ',';
    row += formatPattern(p.deflection, "###0.0");
    row += ',';
    row += formatPattern(toInt16(p.velocity), "###0");
    row += ',';
    row += formatPattern(p.time, "###0.000");
    row += "\r\n";
    return row;
}

std::string trajectoryLines(const TrajectoryConditions& c, const TrajectoryResult& result) {
    const double angle = std::floor(1000 * result.angle + 0.5) / 1000;
    std::string out;
    out += plainLine(c.atmosphereName);
    out += plainLine("DRAG FUNCTION: " + c.dragFunction);
    out += plainLine(
        "Muzzle Velocity, BC, Height of sights, Angle of departure, Atmosphere Rel. Density");
    out += plainLine(plainNumber(c.muzzleVelocity) + "," + plainNumber(c.ballisticCoefficient) +
                     "," + plainNumber(c.sightHeight) + "," + plainNumber(angle) + "," +
                     plainNumber(c.airDensity));
    out += plainLine("Temp(\xB0"
                     "F),Downrange Wind Vel. (mph),Crosswind (mph),Range of Zero,Height at 'Zero'");
    out += plainLine(plainNumber(c.temperature) + "," + plainNumber(c.downrangeWind) + "," +
                     plainNumber(c.crossWind) + "," + plainNumber(c.zeroRange) + "," +
                     plainNumber(c.zeroHeight));
    out += plainLine("Range(" + c.unitsCode +
                     "),Height,Deflection(in.),Velocity(fps),Time of travel(sec.)");
    for (const TrajectoryPoint& p : result.rows)
        out += trajectoryRow(p);
    return out;
}

} // namespace fendrel
