// The drop scale: a factor on the drag coefficient below Mach 1.2, where a bullet's own drag
// parts from its standard curve. 1 at and above Mach 1.2, linear from 1 there to the first
// knot, linear between knots, and the lowest knot's factor below it.
#pragma once

#include "RangeCardInput.h"

#include <string>
#include <vector>

namespace fendrel {

class DropScale {
public:
    static constexpr double kFromMach = 1.2;
    // Factors outside these are no change of a bullet's drag but a wrong curve or BC.
    static constexpr double kLowestFactor = 0.25;
    static constexpr double kHighestFactor = 4;

    DropScale() = default;
    // The knots in any order; check them with `refusal` first.
    explicit DropScale(std::vector<DropScaleKnot> knots);

    // "" or why the knots cannot make a drop scale: a Mach number not between 0 and 1.2, two
    // at the same Mach number, a factor outside kLowestFactor to kHighestFactor.
    static std::string refusal(const std::vector<DropScaleKnot>& knots);

    bool empty() const { return m_knots.empty(); }
    // The knots from the highest Mach number down.
    const std::vector<DropScaleKnot>& knots() const { return m_knots; }

    double at(double mach) const {
        if (m_knots.empty() || !(mach < kFromMach))
            return 1;
        double upperMach = kFromMach, upperFactor = 1;
        for (const DropScaleKnot& k : m_knots) {
            if (mach >= k.mach)
                return k.factor + (mach - k.mach) * (upperFactor - k.factor) / (upperMach - k.mach);
            upperMach = k.mach;
            upperFactor = k.factor;
        }
        return upperFactor;
    }

    // "Mach 1.05 x 1.032, Mach 0.95 x 1.071": the knots for reading.
    std::string text() const;

private:
    std::vector<DropScaleKnot> m_knots;
};

} // namespace fendrel
