#include "Regression.h"

#include "Distributions.h"

#include "core/common/Numbers.h"

#include <cmath>
#include <map>

namespace fendrel {

Result<LineFit> fitLine(std::span<const DataPoint> points, double confidence) {
    using R = Result<LineFit>;
    if (Status level = checkConfidence(confidence); !level)
        return R::refused(level);
    if (points.size() < 3)
        return R::refused("A line with an interval of its slope needs at least three points.");
    double sumX = 0, sumY = 0;
    for (const DataPoint& p : points) {
        if (!std::isfinite(p.x) || !std::isfinite(p.y))
            return R::refused("A value is not a number.");
        sumX += p.x;
        sumY += p.y;
    }
    const double n = static_cast<double>(points.size());
    const double meanX = sumX / n, meanY = sumY / n;
    double sxx = 0, sxy = 0;
    for (const DataPoint& p : points) {
        sxx += (p.x - meanX) * (p.x - meanX);
        sxy += (p.x - meanX) * (p.y - meanY);
    }
    if (!(sxx > 0))
        return R::refused("A line needs points at two different values at least.");
    LineFit line;
    line.points = static_cast<int>(points.size());
    line.slope = sxy / sxx;
    line.intercept = meanY - line.slope * meanX;
    line.meanY = meanY;
    double residuals = 0;
    for (const DataPoint& p : points) {
        const double r = p.y - meanY - line.slope * (p.x - meanX);
        residuals += r * r;
    }
    const double halfWidth = distribution::studentQuantile(1 - (1 - confidence) / 2, n - 2) *
                             std::sqrt(residuals / (n - 2) / sxx);
    line.slopeInterval = {line.slope - halfWidth, line.slope + halfWidth};
    if (!std::isfinite(line.intercept + halfWidth + line.slope))
        return R::refused("The values are too large to compute a line with.");
    return R::done(line);
}

Result<Ladder> fitLadder(std::span<const DataPoint> shots, double confidence) {
    using R = Result<Ladder>;
    if (Status level = checkConfidence(confidence); !level)
        return R::refused(level);
    std::map<double, std::vector<double>> byCharge;
    for (const DataPoint& p : shots) {
        if (!std::isfinite(p.x) || !std::isfinite(p.y))
            return R::refused("A charge or velocity of the ladder is not a number.");
        byCharge[p.x].push_back(p.y);
    }
    if (byCharge.size() < 2)
        return R::refused(shots.empty() ? "The ladder holds no shots."
                                        : "A ladder needs shots at two charges at least; these "
                                          "are all at " +
                                              generalNumber(shots.front().x) + " gr.");
    if (shots.size() < 3)
        return R::refused("A ladder needs three shots at least: with two, the line goes "
                          "through both and leaves no spread to judge it by.");
    auto line = fitLine(shots, confidence);
    if (!line)
        return R::refused(line);
    Ladder ladder;
    ladder.line = line.value;
    for (const auto& [charge, speeds] : byCharge) {
        auto string = estimateString(speeds, confidence);
        if (!string)
            return R::refused("At " + generalNumber(charge) + " gr: " + string.refusal);
        ChargeEstimate c{charge, std::move(string.value), false};
        if (const auto& mean = c.string.meanIntervalFps) {
            const double onLine = ladder.line.intercept + ladder.line.slope * charge;
            c.offLine = onLine < mean->low || onLine > mean->high;
        }
        ladder.charges.push_back(std::move(c));
    }
    const double alpha = 1 - confidence;
    for (std::size_t i = 0; i + 1 < ladder.charges.size(); ++i) {
        const ChargeEstimate &lo = ladder.charges[i], &hi = ladder.charges[i + 1];
        const VelocityStatistics &s1 = lo.string.statistics, &s2 = hi.string.statistics;
        const double df = s1.count + s2.count - 2;
        if (df < 1)
            continue; // two single shots: no spread to judge the step by
        const double pooled = std::sqrt(
            ((s1.count - 1) * s1.sdFps * s1.sdFps + (s2.count - 1) * s2.sdFps * s2.sdFps) / df);
        const double step = hi.chargeGr - lo.chargeGr;
        FlatSpot spot;
        spot.fromGr = lo.chargeGr;
        spot.toGr = hi.chargeGr;
        spot.slope = (s2.meanFps - s1.meanFps) / step;
        const double halfWidth = distribution::studentQuantile(1 - alpha / 2, df) * pooled *
                                 std::sqrt(1.0 / s1.count + 1.0 / s2.count) / step;
        spot.slopeInterval = {spot.slope - halfWidth, spot.slope + halfWidth};
        if (std::isfinite(halfWidth) && spot.slopeInterval.high < ladder.line.slope)
            ladder.flatSpots.push_back(spot);
    }
    return R::done(std::move(ladder));
}

Result<TemperatureSensitivity> temperatureSensitivity(std::span<const DataPoint> shots,
                                                      double confidence) {
    using R = Result<TemperatureSensitivity>;
    if (Status level = checkConfidence(confidence); !level)
        return R::refused(level);
    bool twoTemperatures = false;
    for (const DataPoint& p : shots)
        twoTemperatures = twoTemperatures || p.x != shots.front().x;
    if (!twoTemperatures)
        return R::refused("The sensitivity needs shots at two different temperatures at least.");
    if (shots.size() < 3)
        return R::refused("The sensitivity needs three shots at least: with two, the line goes "
                          "through both and leaves no spread to judge it by.");
    auto line = fitLine(shots, confidence);
    if (!line)
        return R::refused(line);
    TemperatureSensitivity t;
    t.line = line.value;
    if (!(t.line.meanY > 0))
        return R::refused("The mean velocity must be above 0 to give the change in percent.");
    const double scale = 100 * 15 / t.line.meanY;
    t.percentPer15F = scale * t.line.slope;
    t.percentIntervalPer15F = {scale * t.line.slopeInterval.low, scale * t.line.slopeInterval.high};
    if (!std::isfinite(t.percentIntervalPer15F.low + t.percentIntervalPer15F.high))
        return R::refused("The values are too large to compute the sensitivity with.");
    return R::done(t);
}

} // namespace fendrel
