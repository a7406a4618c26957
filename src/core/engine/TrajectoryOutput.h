// The trajectory section of the output file: the condition lines and the table rows.
#pragma once

#include "Atmosphere.h"
#include "Trajectory.h"

#include <cstdint>
#include <string>

namespace fendrel {

// A number in plain decimal form, never in exponent form: up to 15 significant digits, no
// trailing zeros, no zero before the point (.076474, -1.5, 2700).
std::string plainNumber(double value);

// What the condition lines show.
struct TrajectoryConditions {
    std::string atmosphereName;
    std::string dragFunction;  // field 5 of parameters.ini, as written there
    double muzzleVelocity = 0; // ft/s
    double ballisticCoefficient = 0;
    double sightHeight = 0;         // inches
    double airDensity = 0;          // lb/ft^3 as used
    std::int16_t temperature = 0;   // whole degrees F
    std::int16_t downrangeWind = 0; // mph, as entered
    std::int16_t crossWind = 0;     // mph, as entered
    std::int16_t zeroRange = 0;
    double zeroHeight = 0; // inches
    std::string unitsCode;
};

// The condition lines, the heading and the rows, each ended by CR LF. Throws OverflowError
// when a range or velocity does not fit a 16-bit whole number.
std::string trajectoryLines(const TrajectoryConditions& c, const TrajectoryResult& result);

// One row: range, height, deflection, velocity and time.
std::string trajectoryRow(const TrajectoryPoint& p);

} // namespace fendrel
