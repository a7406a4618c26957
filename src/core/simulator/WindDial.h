// The wind dial of the range simulator: where its blue circle lies, the bearing of a click on
// that circle, the line that shows a bearing, and the effective downrange and cross winds that
// a wind from a bearing gives. The dial is measured in twips, 15 to the pixel.
#pragma once

namespace fendrel {

struct WindDial {
    static constexpr double kWidth = 2535;  // twips
    static constexpr double kHeight = 2295; // twips
    static constexpr double kTwipsPerPixel = 15;
    static constexpr double kCentreX = kWidth / 2;
    static constexpr double kCentreY = kHeight / 2;
    static constexpr double kCircleRadius = kHeight / 2 - 100;
    static constexpr double kLineLength = 1050; // the wind line, drawn from the circle inward
    static constexpr float kPi = 3.14159274f;   // the dial's own single-precision pi
};

// The bearing (degrees clockwise from the top: 0 up, 90 right, 180 down, 270 left) of a click
// at (x, y) twips that fell on the circle. A click straight above the centre gives 0, straight
// below it 180.
double clickBearing(double x, double y);

// The outer end of the line that shows the wind from `bearing`; the line runs from there to the
// centre.
struct DialPoint {
    double x = 0;
    double y = 0;
};
DialPoint windLineEnd(double bearing);

// The effective winds of a wind of `speed` mph blowing from `bearing` toward the shooter:
// cross positive from left to right, downrange positive from the shooter toward the target.
// Both follow triangle waves close to speed x sin(bearing) and speed x cos(bearing), with a
// slope of 0.0111 per degree.
struct EffectiveWind {
    double cross = 0;
    double downrange = 0;
};
EffectiveWind effectiveWind(double bearing, double speed);

} // namespace fendrel
