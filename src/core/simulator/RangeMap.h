// The range map of the simulator, seen from above: where a point of a trace lands, the legend
// of coloured traces, the colours themselves, and the texts of the trajectory and velocity
// boxes. The map is measured in pixels from its top-left corner.
#pragma once

#include <cstdint>
#include <optional>
#include <random>
#include <string>

namespace fendrel {

struct RangeMap {
    static constexpr int kImageWidth = 200; // the range artwork
    static constexpr int kImageHeight = 304;
    static constexpr int kWidth = 201; // the picture that holds it
    static constexpr int kHeight = 305;
    static constexpr int kMuzzleX = 120;
    static constexpr int kMuzzleY = 260;
    static constexpr int kPixelsPerInch = 5;  // of drift
    static constexpr int kLegendStart = 200;  // the first legend line
    static constexpr int kLegendStep = 12;    // pixels between legend lines
    static constexpr int kLegendLeftX = 20;   // for winds from the right or none
    static constexpr int kLegendRightX = 170; // for winds from the left
};

struct MapPoint {
    int x = 0;
    int y = 0;
};

// The point for range R yards and drift D inches: x = 120 + 5 D, y = 260 - R / 2, each rounded
// halves to even. Nothing when it lies beyond the 16-bit range.
std::optional<MapPoint> mapPoint(double rangeYards, double driftInches);

// The height on the map of a range in yards (260 for the muzzle, 10 for 500 yards).
int mapY(double rangeYards);

// The legend of a coloured trace stands on the left for a cross wind of 0 or less and on the
// right for a positive one; its text is the cross wind in mph.
int legendX(double crossWind);
std::string legendText(double crossWind);

// A trace colour: each of red, green and blue from 1 to 255.
struct TraceColour {
    std::uint8_t red = 255;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
};
TraceColour randomTraceColour(std::mt19937& random);

// The trajectory box of a row: the drop in inches to one decimal ("-1.5", "0.0").
std::string trajectoryText(double dropInches);
// The velocity box of a row: ft/s with thousands grouping, empty for 0 ("2,800").
std::string velocityText(double feetPerSecond);

} // namespace fendrel
