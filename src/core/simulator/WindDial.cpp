// The wind dial's arithmetic.
#include "WindDial.h"

#include <cmath>

namespace fendrel {

double clickBearing(double x, double y) {
    const double a = std::fabs(y - WindDial::kCentreY);
    const double b = std::fabs(x - WindDial::kCentreX);
    // The angle above or below the horizontal is kept in single precision, which also settles
    // the last digits of the dial's pi: a click 45 degrees up reads as 45, not 44.9999987.
    float angle = 90;
    if (b != 0)
        angle = static_cast<float>(std::atan(a / b) * 180 / static_cast<double>(WindDial::kPi));
    const bool left = x < WindDial::kCentreX;
    const bool upper = y < WindDial::kCentreY;
    if (!left)
        return upper ? 90 - static_cast<double>(angle) : 90 + static_cast<double>(angle);
    return upper ? 270 + static_cast<double>(angle) : 270 - static_cast<double>(angle);
}

DialPoint windLineEnd(double bearing) {
    const double pi = WindDial::kPi;
    float theta = static_cast<float>((bearing - 90) * pi / 180);
    if (theta < 0)
        theta = theta + 2 * WindDial::kPi;
    return {WindDial::kCentreX + WindDial::kLineLength * std::cos(static_cast<double>(theta)),
            WindDial::kCentreY + WindDial::kLineLength * std::sin(static_cast<double>(theta))};
}

EffectiveWind effectiveWind(double bearing, double speed) {
    constexpr double slope = 0.0111;
    double fSlope, fOffset, gSlope, gOffset;
    if (bearing < 90) {
        fSlope = slope, fOffset = 0, gSlope = -slope, gOffset = 1;
    } else if (bearing < 180) {
        fSlope = -slope, fOffset = 2, gSlope = slope, gOffset = -1;
    } else if (bearing < 270) {
        fSlope = slope, fOffset = -2, gSlope = -slope, gOffset = 3;
    } else {
        fSlope = -slope, fOffset = 4, gSlope = slope, gOffset = -3;
    }
    EffectiveWind w;
    w.cross = (bearing * fSlope + fOffset) * speed;
    if (bearing >= 180)
        w.cross = -w.cross;
    w.downrange = (bearing * gSlope + gOffset) * speed;
    if (bearing > 90 && bearing < 270)
        w.downrange = -w.downrange;
    return w;
}

} // namespace fendrel
