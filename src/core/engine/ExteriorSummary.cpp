// The exterior ballistics summary figures and lines.
#include "ExteriorSummary.h"

#include "core/common/Numbers.h"
#include "core/common/TextFile.h"

#include <cmath>

namespace fendrel {

StyleClass classifyStyle(std::string_view style) {
    struct Key {
        std::string_view text;
        StyleClass style;
    };
    static constexpr Key keys[] = {
        {"round nose", StyleClass::RoundNose}, {"RN", StyleClass::RoundNose},
        {"flat", StyleClass::SemiPointed},     {"PSP", StyleClass::SemiPointed},
        {"spitzer", StyleClass::Pointed},      {"ballistic tip", StyleClass::Pointed},
    };
    for (const Key& k : keys)
        if (style.find(k.text) != std::string_view::npos)
            return k.style;
    return StyleClass::None;
}

StyleClass styleFromAnswer(std::string_view answer) {
    if (answer == "1")
        return StyleClass::RoundNose;
    if (answer == "2")
        return StyleClass::SemiPointed;
    if (answer == "3")
        return StyleClass::Pointed;
    return StyleClass::None;
}

double formFactorFor(StyleClass style, std::int16_t v) {
    switch (style) {
    case StyleClass::RoundNose:
        return 1.125;
    case StyleClass::SemiPointed:
        return v >= 2000 ? 0.7 : 0.75;
    case StyleClass::Pointed:
        return v >= 2000 ? 0.515 : 0.6;
    case StyleClass::None:
        break;
    }
    return 0;
}

double caliberValue(std::string_view caliberText) {
    return leadingNumber(caliberText.substr(0, 4));
}

namespace {

// A statement whose result is out of range (a division by zero included) is skipped: the
// variable keeps its value.
void assignFinite(double& variable, double value) {
    if (std::isfinite(value))
        variable = value;
}

} // namespace

ExteriorSummary exteriorSummary(double muzzleVelocity, std::int16_t wholeVelocity, double caliber,
                                double bulletWeight, double formFactor, bool meters) {
    ExteriorSummary s;
    assignFinite(s.vacuumRange, std::pow(muzzleVelocity / 10, 2) * 0.2);
    if (meters)
        assignFinite(s.vacuumRange, s.vacuumRange * 0.914);
    const double retardation = 0.504666667 * wholeVelocity - 515.8;
    double scaled = 0;
    if (caliber != 0 && std::isfinite(10 / caliber))
        assignFinite(scaled, retardation / (10 / caliber));
    if (bulletWeight != 0 && std::isfinite(7000 / bulletWeight))
        assignFinite(s.retardation, (7000 / bulletWeight) * scaled);
    assignFinite(s.meplatPressure, s.retardation / 32.16);
    const double area = std::pow(caliber, 2) * formFactor;
    if (area != 0)
        assignFinite(s.effectiveBC, (bulletWeight / 7000) / area);
    return s;
}

std::string exteriorLines(const ExteriorSummary& s, const std::string& unitsCode) {
    return plainLine("Maximum range of projectile in a vaccuum (space) : " +
                     formatPattern(s.vacuumRange, "######0.00") + " " + unitsCode) +
           plainLine("Retardation of projectile in air : " +
                     formatPattern(s.retardation, "######0.0000") + " fs/sec") +
           plainLine("Pressure (or resistance) on the meplat : " +
                     formatPattern(s.meplatPressure, "######0.0000") + " lbs.") +
           plainLine("Calculated Effective Ballistic coefficient : " +
                     formatPattern(s.effectiveBC, "#0.000"));
}

} // namespace fendrel
