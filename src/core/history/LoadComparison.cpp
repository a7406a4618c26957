// Comparison of loads and the values for the range card.
#include "LoadComparison.h"

#include "VelocityStatistics.h"
#include "core/common/Numbers.h"

#include <cmath>
#include <map>
#include <numbers>

namespace fendrel {

namespace {

std::string bulletText(const RoundSnapshot& r) {
    return r.caliber + " " + generalNumber(r.bulletWeightGr) + " gr";
}

} // namespace

double meanRadiusMoa(const HistoryGroup& g) {
    const double radians = std::atan2(g.meanRadiusIn, g.distanceYd * 36.0);
    return radians * 180.0 / std::numbers::pi * 60.0;
}

double groupSigmaMoa(const HistoryGroup& g) {
    return meanRadiusMoa(g) / std::sqrt(std::numbers::pi / 2);
}

double pooledDispersionMoa(std::span<const HistoryGroup> groups) {
    if (groups.empty())
        return 0;
    double squares = 0;
    for (const HistoryGroup& g : groups)
        squares += groupSigmaMoa(g) * groupSigmaMoa(g);
    return std::sqrt(squares / static_cast<double>(groups.size()));
}

std::optional<PooledDispersion> pooledDispersion(std::span<const HistoryGroup> groups,
                                                 double confidence) {
    PooledDispersion p;
    double squares = 0; // MOA^2
    for (const HistoryGroup& g : groups) {
        const std::size_t n = g.shots.size();
        if (n < 2 || !(g.distanceYd > 0))
            continue;
        double x = 0, y = 0;
        for (const Shot& s : g.shots)
            x += s.x, y += s.y;
        x /= static_cast<double>(n);
        y /= static_cast<double>(n);
        for (const Shot& s : g.shots) {
            const double r = trueMoa(std::hypot(s.x - x, s.y - y), g.distanceYd);
            squares += r * r;
        }
        p.degreesOfFreedom += 2.0 * static_cast<double>(n - 1);
        ++p.groups;
    }
    if (p.groups == 0 || !std::isfinite(squares))
        return std::nullopt;
    p.sigmaMoa = std::sqrt(squares / p.degreesOfFreedom);
    const ConfidenceInterval f = sdFactors(p.degreesOfFreedom, confidence);
    p.sigmaIntervalMoa = {p.sigmaMoa * f.low, p.sigmaMoa * f.high};
    const double toMeanRadius = std::sqrt(std::numbers::pi / 2);
    p.meanRadiusIntervalMoa = {p.sigmaIntervalMoa.low * toMeanRadius,
                               p.sigmaIntervalMoa.high * toMeanRadius};
    return p;
}

Result<LoadComparison> compareLoads(std::span<const LoadHistory> loads, double confidence) {
    using R = Result<LoadComparison>;
    const RoundSnapshot* first = nullptr;
    struct AtCharge {
        std::vector<double> shots;
        int strings = 0;
        double moaSum = 0;
        std::vector<HistoryGroup> groups;
    };
    std::map<double, AtCharge> byCharge;
    auto sameBullet = [&](const RoundSnapshot& r) -> std::string {
        if (!first)
            first = &r;
        if (r.caliber == first->caliber && r.bulletWeightGr == first->bulletWeightGr)
            return {};
        return "The loads to compare must share one caliber and bullet; " + bulletText(*first) +
               " and " + bulletText(r) + " differ.";
    };
    for (const LoadHistory& load : loads) {
        for (const VelocityString& s : load.strings) {
            if (std::string why = sameBullet(s.round); !why.empty())
                return R::refused(why);
            AtCharge& at = byCharge[s.round.powderChargeGr];
            at.shots.insert(at.shots.end(), s.shotsFps.begin(), s.shotsFps.end());
            ++at.strings;
        }
        for (const HistoryGroup& g : load.groups) {
            if (std::string why = sameBullet(g.round); !why.empty())
                return R::refused(why);
            AtCharge& at = byCharge[g.round.powderChargeGr];
            at.moaSum += meanRadiusMoa(g);
            at.groups.push_back(g);
        }
    }
    if (!first)
        return R::refused("The chosen loads hold no strings or groups to compare.");

    LoadComparison c;
    c.caliber = first->caliber;
    c.bulletWeightGr = first->bulletWeightGr;
    c.confidence = confidence;
    for (const auto& [charge, at] : byCharge) {
        ChargePoint p;
        p.chargeGr = charge;
        p.strings = at.strings;
        p.shots = static_cast<int>(at.shots.size());
        if (!at.shots.empty()) {
            const auto e = estimateString(at.shots, confidence);
            if (!e)
                return R::refused(e.refusal);
            p.velocityFps = e.value.statistics.meanFps;
            p.sdFps = e.value.statistics.sdFps;
            p.velocityIntervalFps = e.value.meanIntervalFps;
            p.sdIntervalFps = e.value.sdIntervalFps;
        }
        p.groups = static_cast<int>(at.groups.size());
        if (p.groups > 0) {
            p.groupMoa = at.moaSum / p.groups;
            if (const auto pooled = pooledDispersion(at.groups, confidence))
                p.groupIntervalMoa = pooled->meanRadiusIntervalMoa;
        }
        c.points.push_back(p);
    }

    // Every shot on the line when there are enough of them.
    if (auto ladder = ladderOfLoads(loads, confidence)) {
        c.line = VelocityLine{ladder.value.line.slope, ladder.value.line.intercept};
        for (ChargePoint& p : c.points)
            for (const ChargeEstimate& e : ladder.value.charges)
                if (e.chargeGr == p.chargeGr)
                    p.offLine = e.offLine;
        c.ladder = std::move(ladder.value);
        return R::done(std::move(c));
    }

    // Least squares about the means, which keeps the sums small and exact enough.
    double n = 0, sumX = 0, sumY = 0;
    for (const ChargePoint& p : c.points)
        if (p.velocityFps)
            n += 1, sumX += p.chargeGr, sumY += *p.velocityFps;
    if (n >= 2) {
        const double meanX = sumX / n, meanY = sumY / n;
        double sxy = 0, sxx = 0;
        for (const ChargePoint& p : c.points)
            if (p.velocityFps) {
                sxy += (p.chargeGr - meanX) * (*p.velocityFps - meanY);
                sxx += (p.chargeGr - meanX) * (p.chargeGr - meanX);
            }
        if (sxx > 0) {
            const double slope = sxy / sxx;
            c.line = VelocityLine{slope, meanY - slope * meanX};
        }
    }
    return R::done(std::move(c));
}

RangeCardValues rangeCardValues(const LoadHistory& load) {
    RangeCardValues r;
    if (!load.strings.empty()) {
        r.string = load.strings.back();
        const VelocityStatistics v = velocityStatistics(r.string->shotsFps);
        r.velocityFps = v.meanFps;
        r.sdFps = v.sdFps;
    }
    r.velocityShots = r.string ? static_cast<int>(r.string->shotsFps.size()) : 0;
    r.groups = static_cast<int>(load.groups.size());
    r.dispersionMoa = pooledDispersionMoa(load.groups);
    for (const HistoryGroup& g : load.groups)
        r.dispersionShots += static_cast<int>(g.shots.size()) - 1;
    if (r.dispersionShots > 0)
        ++r.dispersionShots;
    return r;
}

Result<Ladder> ladderOfLoads(std::span<const LoadHistory> loads, double confidence) {
    std::vector<DataPoint> shots;
    for (const LoadHistory& load : loads)
        for (const VelocityString& s : load.strings)
            for (double v : s.shotsFps)
                shots.push_back({s.round.powderChargeGr, v});
    return fitLadder(shots, confidence);
}

Result<TemperatureSensitivity> sensitivityOfLoad(const LoadHistory& load, double confidence) {
    std::vector<DataPoint> shots;
    for (const VelocityString& s : load.strings)
        if (s.temperatureF)
            for (double v : s.shotsFps)
                shots.push_back({*s.temperatureF, v});
    return temperatureSensitivity(shots, confidence);
}

} // namespace fendrel
