// The statistics of a string of chronograph speeds.
#pragma once

#include <span>

namespace fendrel {

struct VelocityStatistics {
    int count = 0;
    double meanFps = 0;
    double sdFps = 0; // sample standard deviation (n - 1); 0 for a single shot
    double esFps = 0; // extreme spread: fastest minus slowest
    double minFps = 0;
    double maxFps = 0;
};

// Corrected two-pass computation: the mean first, then the squared deviations from it, with
// the rounding error of the mean removed. Accurate also for strings whose shots differ by
// hundredths of a ft/s. An empty string gives all zeros.
VelocityStatistics velocityStatistics(std::span<const double> shotsFps);

} // namespace fendrel
