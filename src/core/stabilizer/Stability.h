// The bullet stabilization calculator: Greenhill's rule in its standard form (constant 150) and
// with a constant that grows with muzzle velocity, for lead-core and copper-alloy bullets, and
// the results text the calculator shows.
#pragma once

#include <string>

namespace fendrel {

// The three fields as the user typed them (UTF-8). They are read by their
// leading-number value; the muzzle velocity is also repeated in the results exactly as typed.
struct StabilityInput {
    std::string caliber;        // inches
    std::string muzzleVelocity; // ft/s
    std::string twist;          // inches per turn
};

struct StabilityResult {
    bool computed = false;
    // When not computed: the message that tells the user which field to correct.
    std::string message;

    // The results text, every line ended by CR LF.
    std::string text;
    // Copper-alloy lengths in inches (the lead-core ones are these times the divisor).
    double standardLength = 0;
    double modifiedLength = 0;
    // The velocity-dependent Greenhill constant used for the modified lengths.
    double modifiedConstant = 0;
    // The copper-alloy modified length exceeds seven calibers.
    bool beyondPracticalLimit = false;
};

inline constexpr int kStandardGreenhillConstant = 150;
// Copper alloy is lighter than lead core: its bullets may be this much shorter.
inline constexpr double kCopperAlloyDivisor = 1.1;
inline constexpr const char* kStabilityRefusalTitle = "User error!";

StabilityResult computeStability(const StabilityInput& input);

// A length as the calculator writes it: pattern "0.##" (2 is written "2.").
std::string stabilityLength(double inches);

} // namespace fendrel
