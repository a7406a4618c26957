// Truing the range card: the muzzle velocity, the drop scale past Mach 1.2 and the ballistic
// coefficient that make the card agree with where the bullets really went and how fast they
// flew, each with its standard error. Every prediction is the card's own: the air of the day,
// the zero (found again for every velocity tried), the look angle and the rest of the input, so
// a result given back to the card reproduces what was observed.
//
// Ranges, distances and velocities are in the input's units (yd and ft/s, or m and m/s for a
// metric input); corrections in MOA or mil as the caller chooses.
#pragma once

#include "RangeCardInput.h"
#include "core/common/Result.h"

#include <optional>
#include <vector>

namespace fendrel {

// The correction dialled up (+) that centred the group at `range`, and its standard error.
struct ObservedCorrection {
    double range = 0;
    double correction = 0;
    std::optional<double> error; // missing: kDefaultCorrectionErrorMoa

    bool operator==(const ObservedCorrection&) const = default;
};

// A velocity measured at a distance from the muzzle, and its standard error.
struct MeasuredVelocity {
    double velocity = 0;
    double distance = 0;
    std::optional<double> error; // missing: kDefaultVelocityErrorFps

    bool operator==(const MeasuredVelocity&) const = default;
};

struct TruingResidual {
    double range = 0;
    double observed = 0;
    double predicted = 0;
    double residual = 0; // observed - predicted
};

struct VelocityTruing {
    double velocity = 0; // the muzzle velocity after the powder temperature correction
    double standardError = 0;
    double change = 0;        // from the card's muzzle velocity
    double inputVelocity = 0; // what the input's velocity becomes (at its own temperature)
    std::vector<TruingResidual> residuals; // in the order of the observations
};

struct DropScaleTruing {
    std::vector<DropScaleKnot> knots;      // from the highest Mach number down
    std::vector<double> factorErrors;      // the standard error of each knot's factor
    std::vector<TruingResidual> residuals; // every observation, in their order
};

struct BallisticCoefficientTruing {
    double ballisticCoefficient = 0; // of the input's drag model
    double standardError = 0;
    double changePercent = 0; // from the input's
};

inline constexpr double kDefaultCorrectionErrorMoa = 0.1;
inline constexpr double kDefaultVelocityErrorFps = 5;
// No fit takes more Gauss-Newton steps than this; one that needs more is refused.
inline constexpr int kTruingIterations = 50;

// The residuals of the card as it is: what each observed correction differs from the card's.
Result<std::vector<TruingResidual>> cardResiduals(const RangeCardInput& card, ClickUnit unit,
                                                  const std::vector<ObservedCorrection>& observed);

// The muzzle velocity from corrections observed where the bullet is faster than Mach 1.2:
// weighted least squares, the standard error from the scatter about the fit (from the stated
// errors alone for a single observation).
Result<VelocityTruing> trueVelocity(const RangeCardInput& card, ClickUnit unit,
                                    const std::vector<ObservedCorrection>& observed);

// The drop scale from the corrections observed where the bullet is slower than Mach 1.2, the
// velocity taken as given: one knot at the Mach number of a single such observation, or of
// observations all at one Mach number; otherwise two, at the nearest and the farthest, matched
// exactly by two observations or fitted by weighted least squares to more. Observations faster
// than Mach 1.2 are shown with their residuals and do not take part. A drop scale in the input
// is replaced.
Result<DropScaleTruing> trueDropScale(const RangeCardInput& card, ClickUnit unit,
                                      const std::vector<ObservedCorrection>& observed);

// The ballistic coefficient with which the card's bullet, flying at `near.velocity` at the near
// distance, slows to `far.velocity` at the far one; its standard error from the two velocities'.
Result<BallisticCoefficientTruing> trueBallisticCoefficient(const RangeCardInput& card,
                                                            const MeasuredVelocity& near,
                                                            const MeasuredVelocity& far);

} // namespace fendrel
