// How far a load can be held dead on: the maximum point-blank range for a vital zone, and the
// danger space around a range for a target of a height. Both are shot level in calm air with
// the card's bullet, air and muzzle velocity; the card's zero, wind, look angle and Coriolis do
// not enter. Ranges and sizes are in the input's units: yd and in, or m and cm when metric.
#pragma once

#include "RangeCardInput.h"
#include "core/common/Result.h"

namespace fendrel {

struct PointBlankRange {
    bool metric = false;
    double vital = 0;        // in (cm): the vital zone's diameter D
    double zeroAngleMoa = 0; // the bore above the line of sight that peaks at +D/2
    double nearRange = 0;    // where the rising path reaches -D/2; 0 when it starts within
    double peakRange = 0;
    double peakHeight = 0;   // in (cm): D/2
    double zeroRange = 0;    // where the falling path crosses the line of sight
    double maximum = 0;      // the farthest range at which the path is no lower than -D/2
};

// Refused when the card's input is, for a vital zone not above 0 or above 100 in (254 cm), and
// when the bullet cannot be followed that far.
Result<PointBlankRange> pointBlankRange(const RangeCardInput& card, double vital);

struct DangerSpace {
    bool metric = false;
    double range = 0;        // yd (m): the sight is dialled for it (the lower angle)
    double targetHeight = 0; // in (cm)
    double zeroAngleMoa = 0;
    double from = 0; // the span around the range where the path stays within +/- height / 2;
    double to = 0;   // from is 0 when the path is within it from the muzzle on
    double length = 0;
};

// Refused when the card's input is, for a range not above 0 or beyond what the bullet can
// reach, and for a target height not above 0 or above 200 in (508 cm).
Result<DangerSpace> dangerSpace(const RangeCardInput& card, double range, double targetHeight);

} // namespace fendrel
