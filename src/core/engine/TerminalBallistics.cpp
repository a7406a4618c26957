// Terminal ballistics figures and lines.
#include "TerminalBallistics.h"

#include "core/common/Numbers.h"
#include "core/common/ProgramFolder.h"
#include "core/common/TextFile.h"

#include <algorithm>
#include <cmath>

namespace fendrel {

namespace {

// A statement whose result is out of range (a division by zero included) is skipped: the
// variable keeps its value.
void assignFinite(double& variable, double value) {
    if (std::isfinite(value))
        variable = value;
}

void assignQuotient(double& variable, double numerator, double divisor) {
    if (divisor != 0)
        assignFinite(variable, numerator / divisor);
}

} // namespace

std::optional<double> readExpansionConstant(const std::filesystem::path& programFolder) {
    auto reader = FieldReader::open(resolveName(programFolder, "expansion_constant.ini"));
    if (!reader || reader->atEnd())
        return std::nullopt;
    const double value = leadingNumber(reader->readField());
    if (!std::isfinite(value))
        return std::nullopt;
    return value;
}

std::string terminalLines(const TerminalInputs& in, const TrajectoryRows& rows) {
    const double d = in.caliber;
    const double w = in.bulletWeight;
    const double v0 = in.wholeVelocity;

    double ec = 0, ek = 0, ogw = 0, sdc = 0, mass = 0, fm = 0;
    if (in.expansionConstant)
        ec = *in.expansionConstant;
    assignFinite(ek, ec * d);
    assignFinite(ogw, std::pow(v0, 3) * std::pow(w, 2) * 1.5 * 1e-12);
    assignQuotient(sdc, w / 7000, std::pow(d, 2));
    assignFinite(mass, (w / 7000) / 32.16);
    assignFinite(fm, mass * v0);
    double sd = in.reportedSectionalDensity;
    if (!std::isfinite(sd))
        sd = 0;

    std::string out;
    out += plainLine("Optimum Game Weight (OGW): " + formatPattern(ogw, "######0") + " lbs.");
    out += plainLine("Reported sectional density: " + formatPattern(sd, "##0.000"));
    out +=
        plainLine("Calculated effective sectional density: " + formatPattern(sdc, "######0.000"));
    out += plainLine("Forward Momentum rating (FM) : " + formatPattern(fm, "######0.00"));
    out += plainLine("W1 Penetration Index Table");
    out += plainLine("RANGE (" + in.unitsCode + "),VELOCITY,W1,FP");

    const std::size_t n = toUInt8(static_cast<double>(in.maximumRange) / in.rangeInterval);
    const std::size_t last = std::min(n + 1, rows.count);
    double w1 = 0, fp = 0, e = 0, sum = 0;
    for (std::size_t i = 1; i <= last; ++i) {
        const double r = rows.range[i];
        const double h = rows.height[i];
        const double v = rows.velocity[i];
        assignQuotient(w1, mass * v, ek);
        assignFinite(fp, std::pow(v, 2.0014) * 2.2e-6 * w);
        assignFinite(e, v - std::fabs(h / 100) * v);
        assignFinite(sum, sum + e);
        out += plainLine(printedNumber(r) + "," + printedNumber(v) + "," +
                         formatPattern(w1, "######0.000") + "," + formatPattern(fp, "####0.000"));
    }
    double bei = 0;
    assignFinite(bei, sum / 1000);
    const double lastRange = last >= 1 ? rows.range[last] : 0;
    out += plainLine("Ballistic Efficiency Index of this round out to " + printedNumber(lastRange) +
                     in.unitsCode + " = " + formatPattern(bei, "####.00"));
    return out;
}

} // namespace fendrel
