// What the history tells about loads: several loads of one caliber and bullet compared by
// powder charge, and the values the range card and the hit probability take from one load.
#pragma once

#include "HistoryDatabase.h"
#include "core/common/Result.h"
#include "core/stats/Regression.h"

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace fendrel {

// A group's mean radius as an angle in true minutes of angle (1/60 degree) at its distance.
double meanRadiusMoa(const HistoryGroup& g);

// The dispersion of a group: the σ of a circular normal spread with the group's mean radius
// (mean radius / sqrt(pi/2)), in minutes of angle.
double groupSigmaMoa(const HistoryGroup& g);

// The dispersion pooled from groups: the root mean square of their σ, in MOA; 0 for none.
double pooledDispersionMoa(std::span<const HistoryGroup> groups);

// The dispersion of several groups taken together, in MOA at each group's distance: the
// Rayleigh estimate pooled over their 2 (n - 1) degrees of freedom each, with the interval of
// sigma and of the mean radius expected of it (sigma sqrt(pi / 2)). Groups without two shots
// do not count; nothing when none is left.
struct PooledDispersion {
    int groups = 0;
    double degreesOfFreedom = 0;
    double sigmaMoa = 0;
    ConfidenceInterval sigmaIntervalMoa;
    ConfidenceInterval meanRadiusIntervalMoa;
};
std::optional<PooledDispersion> pooledDispersion(std::span<const HistoryGroup> groups,
                                                 double confidence);

// Everything measured at one powder charge, with the intervals at the comparison's level.
struct ChargePoint {
    double chargeGr = 0;
    int strings = 0;
    int shots = 0;
    std::optional<double> velocityFps; // mean of every shot fired at this charge
    std::optional<double> sdFps;       // SD of those shots taken together (n - 1)
    std::optional<ConfidenceInterval> velocityIntervalFps; // none for one shot
    std::optional<ConfidenceInterval> sdIntervalFps;
    int groups = 0;
    std::optional<double> groupMoa; // mean of the groups' mean radius, MOA
    std::optional<ConfidenceInterval> groupIntervalMoa; // of the expected mean radius
    bool offLine = false; // the velocity's interval leaves out the ladder's line
};

// Velocity = intercept + slope * charge.
struct VelocityLine {
    double slopeFpsPerGrain = 0;
    double interceptFps = 0;
};

struct LoadComparison {
    std::string caliber;
    double bulletWeightGr = 0;
    double confidence = kDefaultConfidence;
    std::vector<ChargePoint> points; // by rising charge
    // The least-squares line of velocity on charge: through every shot when the ladder can be
    // fitted (then with the interval of its slope and its flat spots in `ladder`), else
    // through the velocity of each charge; present when two charges have a velocity.
    std::optional<VelocityLine> line;
    std::optional<Ladder> ladder;
};

// Compares loads whose entries all share one caliber (same text) and bullet weight; entries
// are put together by the powder charge stored with them. Refused for loads of different
// calibers or bullets, and when there is nothing to compare.
Result<LoadComparison> compareLoads(std::span<const LoadHistory> loads,
                                    double confidence = kDefaultConfidence);

// What the range card and the hit probability take from a load by default.
struct RangeCardValues {
    std::optional<VelocityString> string; // the latest string (latest date, last entered)
    double velocityFps = 0;               // its mean
    double sdFps = 0;                     // its SD
    int groups = 0;
    double dispersionMoa = 0; // pooled from all the load's groups
    // The shots behind the SD and the dispersion, for the band of the hit chance: the string's
    // shots; for the groups, one more than the sum of (n - 1) over them, so that 2 (M - 1) are
    // the degrees of freedom they hold together. 0 without a string or a group.
    int velocityShots = 0;
    int dispersionShots = 0;
};
RangeCardValues rangeCardValues(const LoadHistory& load);

// The powder charge ladder of loads of one bullet (see compareLoads): every shot of every
// string at the charge stored with it.
Result<Ladder> ladderOfLoads(std::span<const LoadHistory> loads, double confidence);

// The temperature sensitivity of one load: every shot of its strings that have a temperature.
Result<TemperatureSensitivity> sensitivityOfLoad(const LoadHistory& load, double confidence);

} // namespace fendrel
