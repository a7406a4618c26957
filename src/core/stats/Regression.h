// Velocity against a quantity that changes it: a powder charge ladder, and the temperature
// sensitivity of a load. Every shot is one point; the least-squares line and the interval of
// its slope (Student's t with N - 2 degrees of freedom).
#pragma once

#include "Estimates.h"

#include <span>
#include <vector>

namespace fendrel {

struct DataPoint {
    double x = 0; // charge (gr) or temperature (F)
    double y = 0; // velocity (ft/s)
};

// y = intercept + slope * x.
struct LineFit {
    int points = 0;
    double slope = 0;
    ConfidenceInterval slopeInterval;
    double intercept = 0;
    double meanY = 0; // of all points
};

// Refused for fewer than three points, fewer than two distinct x, values that are not finite
// or a level out of range.
Result<LineFit> fitLine(std::span<const DataPoint> points, double confidence);

// One charge of a ladder: its shots as a string with their intervals. A charge whose mean's
// interval leaves out the line is off the line; a charge of one shot has no SD and no
// intervals, is never off the line, and still counts in the line.
struct ChargeEstimate {
    double chargeGr = 0;
    StringEstimate string;
    bool offLine = false;
};

// Neighbouring charges between which the velocity rises less than the line says: the slope
// (m2 - m1) / (c2 - c1), with the pooled two-sample t interval (n1 + n2 - 2 degrees of
// freedom), has its upper end below the line's slope.
struct FlatSpot {
    double fromGr = 0, toGr = 0;
    double slope = 0;
    ConfidenceInterval slopeInterval;
};

struct Ladder {
    LineFit line;                        // through every shot, velocity on charge
    std::vector<ChargeEstimate> charges; // by rising charge
    std::vector<FlatSpot> flatSpots;     // by rising charge; none when none is shown
};

// Points are (charge, velocity). Refused with fewer than two charges or three shots.
Result<Ladder> fitLadder(std::span<const DataPoint> shots, double confidence);

// The change of muzzle velocity with temperature: the slope in ft/s per degree F with its
// interval, and as a percentage of the mean velocity of all shots per 15 F
// (100 * 15 * slope / mean).
struct TemperatureSensitivity {
    LineFit line;
    double percentPer15F = 0;
    ConfidenceInterval percentIntervalPer15F;
};

// Points are (temperature in F, velocity). Refused with fewer than two distinct temperatures
// or three shots.
Result<TemperatureSensitivity> temperatureSensitivity(std::span<const DataPoint> shots,
                                                      double confidence);

} // namespace fendrel
