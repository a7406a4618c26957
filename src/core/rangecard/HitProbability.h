// The chance of a hit: what the load's velocity spread, the wind call, the range estimate and
// the rifle's dispersion add up to on a target at each range, when the shooter dials the range
// card's corrections for the range he believes.
#pragma once

#include "RangeCardInput.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace fendrel {

enum class TargetShape { Rectangle, Circle };

// In the units of `card`: imperial, or metric in brackets.
struct HitInput {
    RangeCardInput card;
    std::vector<double> ranges; // yd (m), each above 0
    TargetShape shape = TargetShape::Rectangle;
    double width = 0, height = 0; // in (cm): the rectangle
    double diameter = 0;          // in (cm): the circle
    // Standard deviations; 0 leaves that error out.
    double dispersionMoa = 0; // the rifle and ammunition, per axis, true MOA
    double velocitySd = 0;    // ft/s (m/s)
    double windSd = 0;        // mph (m/s)
    double rangeSd = 0;       // yd (m): the error of the shooter's range estimate
    int samples = 20000;      // shots per range, 10000 to 1000000
    std::uint64_t seed = 1;   // the same seed gives the same answer
    // The shots the velocity SD and the dispersion were measured from (2 to 1000 each). With
    // both, every row also has the band of the chance: the given SDs are measured values, and
    // the band's edges are the chance with both at the ends of their intervals at `confidence`
    // (n - 1 degrees of freedom for the velocity SD, 2 (M - 1) for the dispersion). 0: no band.
    int velocitySdShots = 0;
    int dispersionShots = 0;
    double confidence = 0.95;
};

struct HitRow {
    double range = 0; // yd (m)
    double probability = 0;
    // With the shot counts: the chance with both SDs at the upper ends of their intervals
    // (low) and at the lower ends (high).
    std::optional<double> probabilityLow, probabilityHigh;
    // The impacts around the point of aim: SD and mean, + up and + right, in (cm).
    double sigmaVertical = 0, sigmaHorizontal = 0;
    double meanVertical = 0, meanHorizontal = 0;
};

// For every range, in the order given: the share of shots inside the target centred on the
// point of aim. Each shot's muzzle velocity, wind speed (same direction; a negative draw blows
// from the opposite side), range estimate and dispersion are drawn from normal distributions.
// The dialed corrections are the card's for the estimated range, taken as angles: dialing c
// moves the impact at range R by R tan c.
//
// Method: per range, the solver flies a 5 x 5 grid of velocities and winds (the mean and
// +-2, +-4 SD) to the target, and the card's mean shot to 25 ranges across +-6 SD of the
// estimate; the impacts are interpolated from them (Lagrange in velocity and wind, cubic in
// the estimate), and `samples` seeded pseudo-random shots are drawn through that model. The
// statistical error is at most 0.5 / sqrt(samples) (0.0035 at the default); the model's own
// error is far below it.
//
// Returns "" or the refusal in words for the user, leaving `rows` unchanged.
std::string computeHitProbability(const HitInput& input, std::vector<HitRow>& rows);

// The per-axis standard deviation, in true MOA, of a group with this mean radius (in) shot at
// this distance (yd): for round normal dispersion sigma = mean radius / sqrt(pi / 2)
// (Rayleigh).
double rayleighSigmaMoa(double meanRadius, double distance);

} // namespace fendrel
