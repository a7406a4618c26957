// Statistics of a velocity string.
#include "VelocityStatistics.h"

#include <algorithm>
#include <cmath>

namespace fendrel {

VelocityStatistics velocityStatistics(std::span<const double> shots) {
    VelocityStatistics s;
    if (shots.empty())
        return s;
    s.count = static_cast<int>(shots.size());
    const double n = static_cast<double>(shots.size());
    double sum = 0;
    s.minFps = s.maxFps = shots.front();
    for (double v : shots) {
        sum += v;
        s.minFps = std::min(s.minFps, v);
        s.maxFps = std::max(s.maxFps, v);
    }
    const double mean = sum / n;
    double deviations = 0, squares = 0;
    for (double v : shots) {
        const double d = v - mean;
        deviations += d;
        squares += d * d;
    }
    s.meanFps = std::clamp(mean + deviations / n, s.minFps, s.maxFps);
    if (shots.size() > 1)
        s.sdFps = std::sqrt(std::max(0.0, squares - deviations * deviations / n) / (n - 1));
    s.esFps = s.maxFps - s.minFps;
    return s;
}

} // namespace fendrel
