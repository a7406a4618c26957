// The range map's arithmetic and texts.
#include "RangeMap.h"

#include "core/common/Numbers.h"

namespace fendrel {

std::optional<MapPoint> mapPoint(double rangeYards, double driftInches) {
    try {
        const int x = toInt16(RangeMap::kMuzzleX + RangeMap::kPixelsPerInch * driftInches);
        const int y = toInt16(RangeMap::kMuzzleY - rangeYards / 2);
        return MapPoint{x, y};
    } catch (const OverflowError&) {
        return std::nullopt;
    }
}

int mapY(double rangeYards) {
    return toInt16(RangeMap::kMuzzleY - rangeYards / 2);
}

int legendX(double crossWind) {
    return crossWind <= 0 ? RangeMap::kLegendLeftX : RangeMap::kLegendRightX;
}

std::string legendText(double crossWind) {
    return formatPattern(crossWind, "###.# ") + " mph";
}

TraceColour randomTraceColour(std::mt19937& random) {
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    auto component = [&] {
        const int value = static_cast<int>(unit(random) * 255 + 1);
        // A draw rounded up to 1.0 would give 256.
        return static_cast<std::uint8_t>(value > 255 ? 255 : value);
    };
    TraceColour c;
    c.red = component();
    c.green = component();
    c.blue = component();
    return c;
}

std::string trajectoryText(double dropInches) {
    return formatPattern(dropInches, "#0.0");
}

std::string velocityText(double feetPerSecond) {
    return formatPattern(feetPerSecond, "#,###");
}

} // namespace fendrel
