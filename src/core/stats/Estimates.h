// What a small sample tells, with its uncertainty: the confidence level every interval is taken
// at, and the estimates of one velocity string and of one group, each with its intervals.
#pragma once

#include "core/common/Result.h"
#include "core/groups/GroupStatistics.h"
#include "core/history/VelocityStatistics.h"

#include <optional>
#include <span>
#include <string>

namespace fendrel {

// Confidence levels: two-sided intervals at C hold the true value in C of all samples.
inline constexpr double kDefaultConfidence = 0.95;
inline constexpr double kLowestConfidence = 0.5;
inline constexpr double kHighestConfidence = 0.999;

// Refused unless 0.5 <= c <= 0.999.
Status checkConfidence(double confidence);

// "95 %", "99.9 %": a fraction in whole percent, with a decimal only where it has one.
std::string percentText(double fraction);

struct ConfidenceInterval {
    double low = 0;
    double high = 0;
};

// The factors that take a measured SD (df degrees of freedom) to the ends of the interval of
// the true SD: [sqrt(df / chi2(1 - a/2, df)), sqrt(df / chi2(a/2, df))], a = 1 - confidence.
// At 95 %, 0.60 to 2.87 for a string of 5 shots (df 4). Needs df >= 1 and a level that
// checkConfidence accepts; NaN otherwise.
ConfidenceInterval sdFactors(double degreesOfFreedom, double confidence);

// A velocity string with its intervals: the mean's from Student's t with n - 1 degrees of
// freedom, the SD's from chi-squared. The extreme spread has none: it grows with the number
// of shots. A one-shot string has no SD and no intervals (nullopt).
struct StringEstimate {
    VelocityStatistics statistics; // count, mean, SD, extreme spread, slowest, fastest
    double confidence = kDefaultConfidence;
    std::optional<double> sdFps; // nullopt for one shot
    std::optional<ConfidenceInterval> meanIntervalFps;
    std::optional<ConfidenceInterval> sdIntervalFps;
};

// Refused for an empty string, a speed that is not a finite number, or a level out of range.
Result<StringEstimate> estimateString(std::span<const double> shotsFps, double confidence);

// c4(k) = sqrt(2 / (k - 1)) Gamma(k / 2) / Gamma((k - 1) / 2): the mean of a sample SD of k
// normal values is c4(k) times the true SD. For k >= 2.
double c4(double k);

// An angle in true minutes of angle (1/60 degree): `inches` seen at `distanceYd`.
double trueMoa(double inches, double distanceYd);

// A group's dispersion as a round normal spread of per-axis SD sigma. From n shot centres:
// the Rayleigh estimate s^2 = sum of squared distances from the centre / (2 (n - 1)); the
// unbiased sigma = s / c4(2n - 1); the interval of sigma from 2 (n - 1) s^2 / sigma^2, which is
// chi-squared with 2 (n - 1) degrees of freedom; the mean radius expected of such a spread,
// sigma * sqrt(pi / 2). The angles are at the group's distance.
struct GroupEstimate {
    int count = 0;
    double distanceYd = 0;
    double confidence = kDefaultConfidence;
    double rayleighIn = 0; // s
    double sigmaIn = 0;
    ConfidenceInterval sigmaIntervalIn;
    double expectedMeanRadiusIn = 0;
    double sigmaMoa = 0;
    ConfidenceInterval sigmaIntervalMoa;
    double expectedMeanRadiusMoa = 0;
};

// Accepted distances: above 0 up to 10000 yd.
inline constexpr double kMaximumGroupDistanceYd = 10000;

// Refused for fewer than two shots ("a group of one shot has no spread"), coordinates that are
// not finite, a distance out of range or a level out of range. All shots in one hole give
// sigma 0 and the interval [0, 0].
Result<GroupEstimate> estimateGroup(std::span<const Shot> shots, double distanceYd,
                                    double confidence);

} // namespace fendrel
