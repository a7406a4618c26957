// Greenhill's rule and the calculator's results text.
#include "Stability.h"

#include "core/common/Numbers.h"
#include "core/common/TextFile.h"

#include <cmath>

namespace fendrel {

namespace {

const char* const kVelocityMessage =
    "The muzzle velocity you entered is invalid. Please enter a new value between 1-10000fps";
const char* const kCaliberMessage =
    "The caliber you entered is invalid. Please enter a new value between 0.100 and 1.000";
const char* const kTwistMessage =
    "The rate of twist you entered is invalid. Please enter the inches per turn as a number "
    "greater than 0";
const char* const kTooLargeMessage =
    "The values you entered give a bullet length too large to compute. Please check the muzzle "
    "velocity and the rate of twist";

const char* const kLengthLabel = "Maximum stabilized bullet length:     ";
const char* const kBetweenColumns = " in.                 ";

std::string headerLines() {
    std::string h;
    h += plainLine(std::string(66, ' ') + "Standard" + std::string(13, ' ') + "Modified");
    h += plainLine(std::string(64, ' ') + "Greenhills" + std::string(12, ' ') + "Greenhills");
    h += plainLine(std::string(66, ' ') + "Formula" + std::string(15, ' ') + "Formula");
    h += plainLine(std::string(136, '-'));
    return h;
}

// Greenhill's length d^2 * C / T, in that order of operations.
double greenhill(double caliber, double constant, double twist) {
    return caliber * caliber * constant / twist;
}

// The velocity-dependent constant, a whole number rounded halves to even. It is not limited
// to a byte: past about 6066 ft/s it keeps growing with the velocity.
double velocityConstant(double velocity) {
    return std::nearbyint(0.0231 * velocity + 115.38);
}

StabilityResult refused(const char* message) {
    StabilityResult r;
    r.message = message;
    return r;
}

} // namespace

std::string stabilityLength(double inches) {
    if (!std::isfinite(inches))
        return generalNumber(inches);
    return formatPattern(inches, "0.##");
}

StabilityResult computeStability(const StabilityInput& input) {
    const double velocity = leadingNumber(input.muzzleVelocity);
    if (velocity <= 0)
        return refused(kVelocityMessage);
    const double caliber = leadingNumber(input.caliber);
    if (caliber <= 0 || caliber > 1)
        return refused(kCaliberMessage);
    // A twist of 0 (or no number at all) would divide by zero; a negative one gives negative
    // lengths. Neither describes a barrel.
    const double twist = leadingNumber(input.twist);
    if (!(twist > 0) || !std::isfinite(twist))
        return refused(kTwistMessage);

    StabilityResult r;
    const double constant = velocityConstant(velocity);
    double standard = greenhill(caliber, kStandardGreenhillConstant, twist);
    double modified = greenhill(caliber, constant, twist);
    // Absurd velocities or vanishing twists overflow; the lead-core lengths are the larger.
    if (!std::isfinite(standard) || !std::isfinite(modified))
        return refused(kTooLargeMessage);

    r.text = headerLines();
    r.text += plainLine(kLengthLabel + stabilityLength(standard) + kBetweenColumns +
                        stabilityLength(modified) + " in. for standard lead core bullets.");
    standard /= kCopperAlloyDivisor;
    modified /= kCopperAlloyDivisor;
    r.text += plainLine(kLengthLabel + stabilityLength(standard) + kBetweenColumns +
                        stabilityLength(modified) + " in. for copper alloy (X-type) bullets.");
    r.text += plainLine("");
    r.text += plainLine("* Based on a muzzle velocity of " + input.muzzleVelocity + " fps.");

    // Past seven calibers a bullet is too long to be practical whatever the twist.
    const double limit = 7 * caliber;
    r.beyondPracticalLimit = limit < modified;
    if (r.beyondPracticalLimit) {
        r.text += plainLine("** A bullet of the maximum length given above will NOT stabilize "
                            "properly as it exceeds practical limitations.");
        r.text += plainLine("   The absolute maximum bullet length for this caliber is " +
                            generalNumber(limit) + " in.");
    }

    r.computed = true;
    r.standardLength = standard;
    r.modifiedLength = modified;
    r.modifiedConstant = constant;
    return r;
}

} // namespace fendrel
