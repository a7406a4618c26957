#include "Estimates.h"

#include "Distributions.h"

#include "core/common/Numbers.h"

#include <cmath>
#include <numbers>

namespace fendrel {

Status checkConfidence(double confidence) {
    if (confidence >= kLowestConfidence && confidence <= kHighestConfidence)
        return Status::done();
    return Status::refused("The confidence level must lie from 0.5 to 0.999 (50 % to 99.9 %).");
}

std::string percentText(double fraction) {
    std::string text = formatPattern(fraction * 100, "0.#");
    if (text.back() == '.')
        text.pop_back();
    return text + " %";
}

ConfidenceInterval sdFactors(double degreesOfFreedom, double confidence) {
    const double alpha = 1 - confidence;
    const double df = degreesOfFreedom;
    return {std::sqrt(df / distribution::chiSquaredQuantile(1 - alpha / 2, df)),
            std::sqrt(df / distribution::chiSquaredQuantile(alpha / 2, df))};
}

Result<StringEstimate> estimateString(std::span<const double> shots, double confidence) {
    using R = Result<StringEstimate>;
    if (Status level = checkConfidence(confidence); !level)
        return R::refused(level);
    if (shots.empty())
        return R::refused("The string holds no shots.");
    for (double v : shots)
        if (!std::isfinite(v))
            return R::refused("A speed of the string is not a number.");
    StringEstimate e;
    e.statistics = velocityStatistics(shots);
    e.confidence = confidence;
    const VelocityStatistics& s = e.statistics;
    if (!std::isfinite(s.meanFps) || !std::isfinite(s.sdFps) || !std::isfinite(s.esFps))
        return R::refused("The speeds of the string are too large to compute with.");
    if (s.count < 2)
        return R::done(std::move(e));
    const double df = s.count - 1;
    const double halfWidth = distribution::studentQuantile(1 - (1 - confidence) / 2, df) * s.sdFps /
                             std::sqrt(static_cast<double>(s.count));
    e.sdFps = s.sdFps;
    e.meanIntervalFps = ConfidenceInterval{s.meanFps - halfWidth, s.meanFps + halfWidth};
    const ConfidenceInterval f = sdFactors(df, confidence);
    e.sdIntervalFps = ConfidenceInterval{s.sdFps * f.low, s.sdFps * f.high};
    if (!std::isfinite(e.meanIntervalFps->low + e.meanIntervalFps->high + e.sdIntervalFps->high))
        return R::refused("The speeds of the string are too large to compute with.");
    return R::done(std::move(e));
}

double c4(double k) {
    return std::sqrt(2 / (k - 1)) * distribution::gammaRatio(k / 2, (k - 1) / 2);
}

double trueMoa(double inches, double distanceYd) {
    return std::atan2(inches, 36 * distanceYd) * 180 / std::numbers::pi * 60;
}

Result<GroupEstimate> estimateGroup(std::span<const Shot> shots, double distanceYd,
                                    double confidence) {
    using R = Result<GroupEstimate>;
    if (Status level = checkConfidence(confidence); !level)
        return R::refused(level);
    if (!(distanceYd > 0 && distanceYd <= kMaximumGroupDistanceYd))
        return R::refused("The distance must lie above 0 and up to 10000 yd.");
    if (shots.size() < 2)
        return R::refused("A group of one shot has no spread: measure at least two shots.");
    double sumX = 0, sumY = 0;
    for (const Shot& s : shots) {
        if (!std::isfinite(s.x) || !std::isfinite(s.y))
            return R::refused("A coordinate of the group is not a number.");
        sumX += s.x;
        sumY += s.y;
    }
    const double n = static_cast<double>(shots.size());
    const double cx = sumX / n, cy = sumY / n;
    double squares = 0;
    for (const Shot& s : shots)
        squares += (s.x - cx) * (s.x - cx) + (s.y - cy) * (s.y - cy);
    const double df = 2 * (n - 1);
    GroupEstimate g;
    g.count = static_cast<int>(shots.size());
    g.distanceYd = distanceYd;
    g.confidence = confidence;
    g.rayleighIn = std::sqrt(squares / df);
    if (!std::isfinite(g.rayleighIn))
        return R::refused("The coordinates of the group are too large to compute with.");
    g.sigmaIn = g.rayleighIn / c4(2 * n - 1);
    const ConfidenceInterval f = sdFactors(df, confidence);
    g.sigmaIntervalIn = {g.rayleighIn * f.low, g.rayleighIn * f.high};
    g.expectedMeanRadiusIn = g.sigmaIn * std::sqrt(std::numbers::pi / 2);
    g.sigmaMoa = trueMoa(g.sigmaIn, distanceYd);
    g.sigmaIntervalMoa = {trueMoa(g.sigmaIntervalIn.low, distanceYd),
                          trueMoa(g.sigmaIntervalIn.high, distanceYd)};
    g.expectedMeanRadiusMoa = trueMoa(g.expectedMeanRadiusIn, distanceYd);
    return R::done(std::move(g));
}

} // namespace fendrel
