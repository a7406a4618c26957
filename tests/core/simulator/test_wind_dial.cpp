#include "core/simulator/WindDial.h"
#include "core/common/Numbers.h"

#include <gtest/gtest.h>
#include <cmath>

using namespace fendrel;

namespace {
constexpr double kPi = 3.14159265358979323846;

// The point of the blue circle at a bearing, in twips.
DialPoint onCircle(double bearing) {
    const double a = (bearing - 90) * kPi / 180;
    return {WindDial::kCentreX + WindDial::kCircleRadius * std::cos(a),
            WindDial::kCentreY + WindDial::kCircleRadius * std::sin(a)};
}

double bearingAt(double bearing) { return clickBearing(onCircle(bearing).x, onCircle(bearing).y); }
} // namespace

TEST(WindDial, ClicksTheWindLineAndTheEffectiveWinds) {
    // Right and left ends of the horizontal, 45 degrees up on the left, 30 degrees up on the
    // right; the vertical (no angle to take) above and below the centre.
    for (double b : {90.0, 270.0, 315.0, 60.0, 0.0, 180.0})
        EXPECT_EQ(bearingAt(b), b);
    EXPECT_NEAR(bearingAt(120), 120, 1e-4); // lower right
    EXPECT_NEAR(bearingAt(210), 210, 1e-4); // lower left

    // The mouse reports whole pixels, 15 twips each, under one degree of the circle: a click
    // on the pixel under the circle's point at a bearing reads within a pixel's worth of it.
    for (int bearing = 5; bearing < 360; bearing += 10) {
        const DialPoint p = onCircle(bearing);
        const double x = std::floor(p.x / WindDial::kTwipsPerPixel) * 15;
        const double y = std::floor(p.y / WindDial::kTwipsPerPixel) * 15;
        EXPECT_NEAR(clickBearing(x, y), bearing, 1.3) << bearing;
    }
    // The wind line runs from the bearing's point on the circle.
    const DialPoint top = windLineEnd(0);
    EXPECT_NEAR(top.x, WindDial::kCentreX, 1e-3);
    EXPECT_NEAR(top.y, WindDial::kCentreY - 1050, 1e-3);
    const DialPoint right = windLineEnd(90);
    EXPECT_NEAR(right.x, WindDial::kCentreX + 1050, 1e-9);
    EXPECT_NEAR(right.y, WindDial::kCentreY, 1e-9);

    // Bearing 60 from a click: the line's end lies on the ray from the centre through it.
    const DialPoint click = onCircle(60);
    const DialPoint end = windLineEnd(clickBearing(click.x, click.y));
    const double dx = click.x - WindDial::kCentreX, dy = click.y - WindDial::kCentreY;
    const double ex = end.x - WindDial::kCentreX, ey = end.y - WindDial::kCentreY;
    EXPECT_NEAR((dx * ey - dy * ex) / (1050 * WindDial::kCircleRadius), 0, 1e-6);
    EXPECT_GT(dx * ex + dy * ey, 0);
    // The effective winds: speed 10 at the five example bearings.
    const std::pair<double, const char*> cases[] = {{0, "0 10"}, {45, "4.995 5.005"},
        {90, "10.01 -0.01"}, {135, "5.015 -4.985"}, {180, "0.02 -10.02"}};
    for (const auto& [bearing, crossAndDown] : cases) {
        const EffectiveWind w = effectiveWind(bearing, 10);
        EXPECT_EQ(generalNumber(w.cross) + " " + generalNumber(w.downrange), crossAndDown);
    }
    // Signs included: the right half of the dial gives a positive cross wind, the upper half a
    // positive downrange wind. A triangle wave stays within 0.22 of the sine of the same peak.
    for (double b = 0; b < 360; b += 0.5) {
        const EffectiveWind w = effectiveWind(b, 20);
        EXPECT_NEAR(w.cross, 20 * std::sin(b * kPi / 180), 20 * 0.22) << b;
        EXPECT_NEAR(w.downrange, 20 * std::cos(b * kPi / 180), 20 * 0.22) << b;
    }
    EXPECT_NEAR(effectiveWind(270, 10).cross, -10.03, 1e-12);
    EXPECT_EQ(effectiveWind(123, 0).cross, 0);
}

