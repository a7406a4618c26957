// Whether the data can tell two loads apart: two velocity strings (Welch's t test on the means,
// the F test on the SDs) or two groups (the F test on their Rayleigh estimates), a verdict in
// words, and the number of shots a load that would show the difference observed.
#pragma once

#include "Estimates.h"

#include <span>
#include <string>

namespace fendrel {

// Power: the chance that a test at the confidence level shows a difference that is there.
inline constexpr double kDefaultPower = 0.8;
inline constexpr double kLowestPower = 0.5;
inline constexpr double kHighestPower = 0.999;
// Refused unless 0.5 <= power <= 0.999.
Status checkPower(double power);

// The smallest equal number of shots per load, from 2, at which the test reaches the power;
// a difference that needs more than 1000 gives 1000 and `capped`. `power` is the test's power
// at `shots`.
inline constexpr int kMostShotsNeeded = 1000;
struct ShotsNeeded {
    int shots = 0;
    double power = 0;
    bool capped = false;
};

// What is compared: the SD of velocity strings (n - 1 degrees of freedom for n shots) or the
// dispersion of groups (2 (n - 1) for n shots, both axes).
enum class SpreadKind { Velocity, Group };

// For an SD ratio r (either way round; 1 never shows): the two-sided F test at the confidence
// level, power = P(F > F(1 - a/2) / r^2) + P(F < F(a/2) / r^2). Refused for a ratio outside
// 0.01 to 100 or a level or power out of range.
Result<ShotsNeeded> shotsForSdRatio(double ratio, SpreadKind kind, double confidence, double power);

// For a difference of means `differenceFps` at a common SD `sdFps`: the two-sided two-sample t
// test with equal variances (2n - 2 degrees of freedom, noncentrality d / (s sqrt(2 / n))).
// Refused for an SD not above 0, values beyond 10000 ft/s, or a level or power out of range.
Result<ShotsNeeded> shotsForMeanDifference(double differenceFps, double sdFps, double confidence,
                                           double power);

// The F test of B's spread against A's: f = s_B^2 / s_A^2 with (d1, d2) degrees of freedom
// (B's, A's), two-sided p = 2 min(P(F <= f), P(F >= f)); the ratio s_B / s_A and its interval.
struct SpreadTest {
    double ratio = 0;
    ConfidenceInterval ratioInterval;
    double f = 0;
    double d1 = 0, d2 = 0;
    double p = 1;
    bool shown = false; // p < 1 - confidence
};

// Welch's t test of B's mean against A's: the difference mean_B - mean_A and its interval, t,
// the Welch-Satterthwaite degrees of freedom and the two-sided p.
struct MeanTest {
    double differenceFps = 0;
    ConfidenceInterval differenceIntervalFps;
    double t = 0;
    double df = 0;
    double p = 1;
    bool shown = false;
};

struct StringComparison {
    StringEstimate a, b;
    MeanTest mean;
    SpreadTest sd;
    ShotsNeeded shotsForSd;   // at the observed SD ratio
    ShotsNeeded shotsForMean; // at the observed difference and the pooled SD
    double pooledSdFps = 0;
    std::string verdict; // the means, then the SDs, in words
};

// Refused when a string has fewer than two shots, when a string's shots are all alike (SD 0:
// no ratio of SDs exists), or for a level or power out of range.
Result<StringComparison> compareStrings(std::span<const double> a, std::span<const double> b,
                                        double confidence, double power);

struct GroupComparison {
    GroupEstimate a, b;
    SpreadTest sigma; // on the Rayleigh s, 2 (n - 1) degrees of freedom each
    ShotsNeeded shotsForSigma;
    std::string verdict;
};

// Refused when a group has fewer than two shots or all its shots in one hole, and for a
// distance, level or power out of range.
Result<GroupComparison> compareGroups(std::span<const Shot> a, std::span<const Shot> b,
                                      double distanceYd, double confidence, double power);

} // namespace fendrel
