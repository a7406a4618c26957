// Validation of the round record and the suggested description.
#include "RoundRecord.h"

#include "core/common/Numbers.h"

namespace fendrel {

namespace {
bool allPositive(const std::string& a, const std::string& b, const std::string& c) {
    return leadingNumber(a) > 0 && leadingNumber(b) > 0 && leadingNumber(c) > 0;
}
} // namespace

ValidationResult validateRecord(const RecordNumbers& n) {
    ValidationResult r;
    if (n.caliber.empty()) {
        r.changesStatus = true;
        return r;
    }
    if (!allPositive(n.bulletWeight, n.ballisticCoefficient, n.sectionalDensity)) {
        r.changesStatus = true;
        r.status = "Enter valid values for bullet weight, ballistic coefficient, and sectional "
                   "density.";
        return r;
    }
    if (!allPositive(n.powderCharge, n.muzzleVelocity, n.firearmWeight)) {
        r.changesStatus = true;
        r.status = "Enter valid values for powder charge, muzzle velocity, and weight of firearm";
        return r;
    }
    r.valid = true;
    return r;
}

std::string suggestedDescription(const std::string& caliber, const std::string& weight,
                                 const std::string& bulletMake) {
    return caliber + ": " + weight + "gr. " + bulletMake;
}

} // namespace fendrel
