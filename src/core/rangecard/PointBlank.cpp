#include "PointBlank.h"

#include "MetricUnits.h"
#include "RangeCard.h"
#include "core/common/Numbers.h"

#include <cmath>
#include <numbers>
#include <optional>

namespace fendrel {

namespace {

constexpr double kPointBlankMoaPerRadian = 10800 / std::numbers::pi;
// No path is followed farther than this: the card's own longest range.
constexpr double kFarthestYd = 5000;

// Where a path, given point by point, enters and leaves the band of heights within +/- half.
// The path is sampled every yard and smooth, so a straight line between two points finds the
// crossing.
struct BandCrossing {
    double half = 0;
    bool started = false, inside = false;
    double x = 0, h = 0;

    std::optional<double> add(double nx, double nh) {
        const bool in = std::abs(nh) <= half;
        std::optional<double> crossing;
        if (started && in != inside) {
            const double bound = (in ? h : nh) > 0 ? half : -half;
            crossing = x + (nx - x) * (bound - h) / (nh - h);
        }
        started = true;
        inside = in;
        x = nx;
        h = nh;
        return crossing;
    }
};

// The crossing of `level` between two points of a path a yard apart.
double crossingAt(double x, double h0, double h1, double level) {
    return x - 1 + (level - h0) / (h1 - h0);
}

} // namespace

Result<PointBlankRange> pointBlankRange(const RangeCardInput& input, double vital) {
    using Answer = Result<PointBlankRange>;
    const bool m = input.metric;
    if (!(vital > 0 && vital <= (m ? 254 : 100)))
        return Answer::refused(std::string("The vital zone must be above 0 and at most ") +
                               (m ? "254 cm." : "100 in."));
    RangeCard card;
    if (std::string refusal = card.prepare(input); !refusal.empty())
        return Answer::refused(refusal);
    const double half = (m ? vital / metric::kCmPerInch : vital) / 2;
    const std::string halfText = generalNumber(vital / 2) + (m ? " cm" : " in");

    // The highest point of the path for a bore angle: the path is concave, so the first sample
    // lower than the one before ends the climb, and a parabola through the three around the top
    // places it between the samples.
    double peakYd = 0, peakIn = 0;
    auto findPeak = [&](double angle) {
        double before = 0, top = 0;
        int count = 0;
        return card.levelPath(angle, [&](double x, double h) {
            if (count > 0 && h < top) {
                const double curve = before - 2 * top + h;
                peakYd = count > 1 ? x - 1 + (before - h) / (2 * curve) : 0;
                peakIn = count > 1 ? top - (before - h) * (before - h) / (8 * curve) : top;
                return false;
            }
            before = top;
            top = h;
            ++count;
            peakYd = x;
            peakIn = h;
            return x < kFarthestYd;
        });
    };
    double low = 0, high = 0.002;
    for (;;) {
        if (std::string failure = findPeak(high); !failure.empty())
            return Answer::refused("The path cannot rise " + halfText +
                                   " above the line of sight: " + failure);
        if (peakIn >= half)
            break;
        low = high;
        high *= 2;
        if (high > 0.5)
            return Answer::refused("The path cannot rise " + halfText +
                                   " above the line of sight.");
    }
    while (high - low > 1e-12) {
        const double mid = (low + high) / 2;
        if (std::string failure = findPeak(mid); !failure.empty())
            return Answer::refused(failure);
        (peakIn < half ? low : high) = mid;
    }
    const double angle = (low + high) / 2;
    if (std::string failure = findPeak(angle); !failure.empty())
        return Answer::refused(failure);

    PointBlankRange r;
    const double sight = m ? input.sightHeight / metric::kCmPerInch : input.sightHeight;
    std::optional<double> nearYd, zeroYd, farYd;
    if (sight <= half)
        nearYd = 0;
    double last = 0;
    const std::string failure = card.levelPath(angle, [&](double x, double h) {
        if (x > 0) {
            if (!nearYd && last < -half && h >= -half)
                nearYd = crossingAt(x, last, h, -half);
            if (x > peakYd && !zeroYd && last >= 0 && h < 0)
                zeroYd = crossingAt(x, last, h, 0);
            if (x > peakYd && last >= -half && h < -half) {
                farYd = crossingAt(x, last, h, -half);
                return false;
            }
        }
        last = h;
        return x < kFarthestYd;
    });
    if (!failure.empty())
        return Answer::refused(failure);
    if (!farYd || !nearYd || !zeroYd)
        return Answer::refused("The path stays within the vital zone beyond 5000 yd.");
    const double distance = m ? metric::kMetresPerYard : 1;
    const double length = m ? metric::kCmPerInch : 1;
    r.metric = m;
    r.vital = vital;
    r.zeroAngleMoa = angle * kPointBlankMoaPerRadian;
    r.nearRange = *nearYd * distance;
    r.peakRange = peakYd * distance;
    r.peakHeight = peakIn * length;
    r.zeroRange = *zeroYd * distance;
    r.maximum = *farYd * distance;
    return Answer::done(r);
}

Result<DangerSpace> dangerSpace(const RangeCardInput& input, double range, double targetHeight) {
    using Answer = Result<DangerSpace>;
    const bool m = input.metric;
    if (!(range > 0 && range <= (m ? 4572 : 5000)))
        return Answer::refused(std::string("The range must be above 0 and at most ") +
                               (m ? "4572 m." : "5000 yd."));
    if (!(targetHeight > 0 && targetHeight <= (m ? 508 : 200)))
        return Answer::refused(std::string("The target height must be above 0 and at most ") +
                               (m ? "508 cm." : "200 in."));
    RangeCard card;
    if (std::string refusal = card.prepare(input); !refusal.empty())
        return Answer::refused(refusal);
    const double yards = m ? range / metric::kMetresPerYard : range;
    double angle = 0;
    if (std::string refusal = card.levelZero(yards, angle); !refusal.empty())
        return Answer::refused(refusal);

    // The path crosses the line of sight at the range itself: that point is inside the band.
    BandCrossing band;
    band.half = (m ? targetHeight / metric::kCmPerInch : targetHeight) / 2;
    double from = 0;
    std::optional<double> to;
    bool passed = false;
    const std::string failure = card.levelPath(angle, [&](double x, double h) {
        if (!passed && x >= yards) {
            if (const std::optional<double> entry = band.add(yards, 0))
                from = *entry;
            passed = true;
        }
        const std::optional<double> crossing = band.add(x, h);
        if (crossing && passed) {
            to = *crossing;
            return false;
        }
        if (crossing && band.inside)
            from = *crossing;
        return x < kFarthestYd;
    });
    if (!failure.empty())
        return Answer::refused(failure);
    if (!to)
        return Answer::refused("The path stays within the target's height beyond 5000 yd.");
    const double distance = m ? metric::kMetresPerYard : 1;
    DangerSpace d;
    d.metric = m;
    d.range = range;
    d.targetHeight = targetHeight;
    d.zeroAngleMoa = angle * kPointBlankMoaPerRadian;
    d.from = from * distance;
    d.to = *to * distance;
    d.length = d.to - d.from;
    return Answer::done(d);
}

} // namespace fendrel
