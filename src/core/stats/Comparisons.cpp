#include "Comparisons.h"

#include "Distributions.h"

#include "core/common/Numbers.h"

#include <algorithm>
#include <cmath>
#include <tuple>

namespace fendrel {

namespace {

namespace dist = distribution;

Status checkLevels(double confidence, double power) {
    if (Status level = checkConfidence(confidence); !level)
        return level;
    return checkPower(power);
}

// Counts up from 2 shots a load until `powerAt` reaches the power asked for.
template <typename PowerAt>
Result<ShotsNeeded> smallestSample(double power, const PowerAt& powerAt) {
    ShotsNeeded need;
    for (int n = 2; n <= kMostShotsNeeded; ++n) {
        need.shots = n;
        need.power = powerAt(static_cast<double>(n));
        if (!std::isfinite(need.power))
            return Result<ShotsNeeded>::refused(
                "The shots needed cannot be computed for these values.");
        if (need.power >= power)
            return Result<ShotsNeeded>::done(need);
    }
    need.capped = true;
    return Result<ShotsNeeded>::done(need);
}

SpreadTest spreadTest(double sA, double sB, double d1, double d2, double confidence) {
    const double alpha = 1 - confidence;
    SpreadTest t;
    t.ratio = sB / sA;
    t.f = t.ratio * t.ratio;
    t.d1 = d1;
    t.d2 = d2;
    t.p = std::min(1.0, 2 * std::min(dist::fLower(t.f, d1, d2), dist::fUpper(t.f, d1, d2)));
    t.shown = t.p < alpha;
    t.ratioInterval = {std::sqrt(t.f / dist::fQuantile(1 - alpha / 2, d1, d2)),
                       std::sqrt(t.f / dist::fQuantile(alpha / 2, d1, d2))};
    return t;
}

Result<ShotsNeeded> sdRatioNeed(double ratio, SpreadKind kind, double confidence, double power) {
    const double alpha = 1 - confidence, r2 = ratio * ratio;
    return smallestSample(power, [&](double n) {
        const double df = kind == SpreadKind::Velocity ? n - 1 : 2 * (n - 1);
        return dist::fUpper(dist::fQuantile(1 - alpha / 2, df, df) / r2, df, df) +
               dist::fLower(dist::fQuantile(alpha / 2, df, df) / r2, df, df);
    });
}

Result<ShotsNeeded> meanDifferenceNeed(double difference, double sd, double confidence,
                                       double power) {
    const double alpha = 1 - confidence, effect = std::abs(difference) / sd;
    return smallestSample(power, [&](double n) {
        const double df = 2 * n - 2, delta = effect / std::sqrt(2 / n);
        const double critical = dist::studentQuantile(1 - alpha / 2, df);
        return dist::noncentralTUpper(critical, df, delta) +
               dist::noncentralTLower(-critical, df, delta);
    });
}

std::string pText(double p) {
    if (p < 0.001)
        return "p < 0.001";
    return "p = " + formatPattern(p, p >= 0.1 ? "0.00" : p >= 0.01 ? "0.000" : "0.0000");
}

// "38 % lower": how far a ratio lies from 1, in whole percent.
std::string ratioText(double ratio, const char* lower, const char* higher) {
    const std::string percent = formatPattern(std::abs(ratio - 1) * 100, "0");
    return (percent == "0" ? std::string("less than 1") : percent) + " % " +
           (ratio < 1 ? lower : higher);
}

// The sentence on one difference: shown or not, and the shots that would show it.
std::string judged(const std::string& difference, bool shown, int nA, int nB, double p,
                   const ShotsNeeded& need, double power) {
    const std::string shots = std::to_string(nA) + " and " + std::to_string(nB) + " shots";
    if (shown)
        return difference + ", and " + shots + " show the difference (" + pText(p) + ").";
    const std::string often = " would show a difference this large ";
    return difference + ", but " + shots + " cannot tell them apart (" + pText(p) + "); " +
           (need.capped ? "even " + std::to_string(kMostShotsNeeded) + " shots each" + often +
                              "less than " + percentText(power) + " of the time."
                        : "about " + std::to_string(need.shots) + " shots each" + often +
                              percentText(power) + " of the time.");
}

} // namespace

Status checkPower(double power) {
    if (power >= kLowestPower && power <= kHighestPower)
        return Status::done();
    return Status::refused("The power must lie from 0.5 to 0.999 (50 % to 99.9 %).");
}

Result<ShotsNeeded> shotsForSdRatio(double ratio, SpreadKind kind, double confidence,
                                    double power) {
    if (Status levels = checkLevels(confidence, power); !levels)
        return Result<ShotsNeeded>::refused(levels);
    if (!(ratio >= 0.01 && ratio <= 100))
        return Result<ShotsNeeded>::refused("The SD ratio must lie from 0.01 to 100.");
    return sdRatioNeed(ratio, kind, confidence, power);
}

Result<ShotsNeeded> shotsForMeanDifference(double difference, double sd, double confidence,
                                           double power) {
    if (Status levels = checkLevels(confidence, power); !levels)
        return Result<ShotsNeeded>::refused(levels);
    if (!(std::abs(difference) <= 10000))
        return Result<ShotsNeeded>::refused(
            "The difference of the means must lie from -10000 to 10000 ft/s.");
    if (!(sd > 0 && sd <= 10000))
        return Result<ShotsNeeded>::refused("The SD must lie above 0 and up to 10000 ft/s.");
    return meanDifferenceNeed(difference, sd, confidence, power);
}

Result<StringComparison> compareStrings(std::span<const double> a, std::span<const double> b,
                                        double confidence, double power) {
    using R = Result<StringComparison>;
    if (Status levels = checkLevels(confidence, power); !levels)
        return R::refused(levels);
    StringComparison c;
    for (auto [shots, name, estimate] : {std::tuple{a, "A", &c.a}, std::tuple{b, "B", &c.b}}) {
        auto e = estimateString(shots, confidence);
        if (!e)
            return R::refused(std::string("String ") + name + ": " + e.refusal);
        if (e.value.statistics.count < 2)
            return R::refused(std::string("String ") + name +
                              " has one shot: a comparison needs at least two in each string.");
        if (e.value.statistics.sdFps == 0)
            return R::refused(std::string("The shots of string ") + name +
                              " all have the same speed (SD 0): the spreads of two strings can "
                              "only be compared when both have some.");
        *estimate = std::move(e.value);
    }
    const VelocityStatistics &sa = c.a.statistics, &sb = c.b.statistics;
    const double nA = sa.count, nB = sb.count, alpha = 1 - confidence;

    const double va = sa.sdFps * sa.sdFps / nA, vb = sb.sdFps * sb.sdFps / nB;
    const double se = std::sqrt(va + vb);
    c.mean.differenceFps = sb.meanFps - sa.meanFps;
    c.mean.t = c.mean.differenceFps / se;
    c.mean.df = (va + vb) * (va + vb) / (va * va / (nA - 1) + vb * vb / (nB - 1));
    c.mean.p = std::min(1.0, 2 * dist::studentUpper(std::abs(c.mean.t), c.mean.df));
    c.mean.shown = c.mean.p < alpha;
    const double halfWidth = dist::studentQuantile(1 - alpha / 2, c.mean.df) * se;
    c.mean.differenceIntervalFps = {c.mean.differenceFps - halfWidth,
                                    c.mean.differenceFps + halfWidth};

    c.sd = spreadTest(sa.sdFps, sb.sdFps, nB - 1, nA - 1, confidence);
    c.pooledSdFps = std::sqrt(((nA - 1) * sa.sdFps * sa.sdFps + (nB - 1) * sb.sdFps * sb.sdFps) /
                              (nA + nB - 2));
    if (!std::isfinite(c.mean.t + c.mean.df + c.mean.p + halfWidth + c.sd.f + c.sd.p +
                       c.sd.ratioInterval.low + c.sd.ratioInterval.high + c.pooledSdFps))
        return R::refused("These strings cannot be compared: their numbers are out of range.");
    auto sdNeed = sdRatioNeed(c.sd.ratio, SpreadKind::Velocity, confidence, power);
    auto meanNeed = meanDifferenceNeed(c.mean.differenceFps, c.pooledSdFps, confidence, power);
    if (!sdNeed || !meanNeed)
        return R::refused(!sdNeed ? sdNeed.refusal : meanNeed.refusal);
    c.shotsForSd = sdNeed.value;
    c.shotsForMean = meanNeed.value;

    const double d = c.mean.differenceFps;
    const std::string speed = formatPattern(std::abs(d), "0.0");
    const std::string meanWords =
        d == 0 ? "A and B have the same mean velocity."
               : judged("B is " + (speed == "0.0" ? std::string("less than 0.1") : speed) +
                            " ft/s " + (d > 0 ? "faster" : "slower") + " than A",
                        c.mean.shown, sa.count, sb.count, c.mean.p, c.shotsForMean, power);
    const std::string sdWords =
        c.sd.ratio == 1 ? "A and B have the same SD."
                        : judged("B's SD is " + ratioText(c.sd.ratio, "lower", "higher"),
                                 c.sd.shown, sa.count, sb.count, c.sd.p, c.shotsForSd, power);
    c.verdict = meanWords + " " + sdWords;
    return R::done(std::move(c));
}

Result<GroupComparison> compareGroups(std::span<const Shot> a, std::span<const Shot> b,
                                      double distanceYd, double confidence, double power) {
    using R = Result<GroupComparison>;
    if (Status levels = checkLevels(confidence, power); !levels)
        return R::refused(levels);
    GroupComparison c;
    for (auto [shots, name, estimate] : {std::tuple{a, "A", &c.a}, std::tuple{b, "B", &c.b}}) {
        auto e = estimateGroup(shots, distanceYd, confidence);
        if (!e)
            return R::refused(std::string("Group ") + name + ": " + e.refusal);
        if (e.value.rayleighIn == 0)
            return R::refused(std::string("The shots of group ") + name +
                              " are all in one hole (no spread): the spreads of two groups can "
                              "only be compared when both have some.");
        *estimate = std::move(e.value);
    }
    c.sigma = spreadTest(c.a.rayleighIn, c.b.rayleighIn, 2.0 * (c.b.count - 1),
                         2.0 * (c.a.count - 1), confidence);
    if (!std::isfinite(c.sigma.f + c.sigma.p + c.sigma.ratioInterval.low +
                       c.sigma.ratioInterval.high))
        return R::refused("These groups cannot be compared: their numbers are out of range.");
    auto need = sdRatioNeed(c.sigma.ratio, SpreadKind::Group, confidence, power);
    if (!need)
        return R::refused(need);
    c.shotsForSigma = need.value;
    c.verdict =
        c.sigma.ratio == 1
            ? "A and B have the same dispersion."
            : judged("B's dispersion (sigma) is " + ratioText(c.sigma.ratio, "smaller", "larger"),
                     c.sigma.shown, c.a.count, c.b.count, c.sigma.p, c.shotsForSigma, power);
    return R::done(std::move(c));
}

} // namespace fendrel
