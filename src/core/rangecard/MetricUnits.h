// The range card's metric units: the factors between the imperial values the solver works in
// and the metric ones a user may type and read.
#pragma once

#include <numbers>

namespace fendrel::metric {

inline constexpr double kMetresPerYard = 0.9144;
inline constexpr double kMetresPerFoot = 0.3048;
inline constexpr double kCmPerInch = 2.54;
inline constexpr double kMmPerInch = 25.4;
inline constexpr double kGramsPerGrain = 0.06479891;
inline constexpr double kHpaPerInHg = 33.8638866667;
inline constexpr double kMpsPerMph = 0.44704;
inline constexpr double kJoulesPerFootPound = 1.3558179483314004;
// A true minute of angle in milliradians: pi / 10.8.
inline constexpr double kMilPerMoa = std::numbers::pi / 10.8;

inline constexpr double fahrenheitFromCelsius(double c) {
    return c * 1.8 + 32;
}
// A temperature difference's rate: m/s per degree C to ft/s per degree F.
inline constexpr double fpsPerFFromMpsPerC(double s) {
    return s / kMetresPerFoot / 1.8;
}

} // namespace fendrel::metric
