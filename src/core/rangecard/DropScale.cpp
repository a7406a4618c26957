#include "DropScale.h"

#include "core/common/Numbers.h"

#include <algorithm>
#include <cmath>

namespace fendrel {

DropScale::DropScale(std::vector<DropScaleKnot> knots) : m_knots(std::move(knots)) {
    std::sort(m_knots.begin(), m_knots.end(),
              [](const DropScaleKnot& a, const DropScaleKnot& b) { return a.mach > b.mach; });
}

std::string DropScale::refusal(const std::vector<DropScaleKnot>& knots) {
    for (std::size_t i = 0; i < knots.size(); ++i) {
        const DropScaleKnot& k = knots[i];
        if (!(k.mach > 0 && k.mach < kFromMach))
            return "A drop scale knot must lie between Mach 0 and 1.2, not at Mach " +
                   (std::isfinite(k.mach) ? generalNumber(k.mach) : std::string("?")) + ".";
        if (!(k.factor >= kLowestFactor && k.factor <= kHighestFactor))
            return "The drop scale factor at Mach " + formatPattern(k.mach, "0.000") +
                   " must lie between 0.25 and 4.";
        for (std::size_t j = 0; j < i; ++j)
            if (knots[j].mach == k.mach)
                return "The drop scale has two knots at Mach " + generalNumber(k.mach) + ".";
    }
    return {};
}

std::string DropScale::text() const {
    std::string out;
    for (const DropScaleKnot& k : m_knots)
        out += (out.empty() ? "Mach " : ", Mach ") + formatPattern(k.mach, "0.000") + " x " +
               formatPattern(k.factor, "0.000");
    return out;
}

} // namespace fendrel
