// The range card's flight: a point mass under drag, gravity and the earth's rotation,
// integrated by fourth-order Runge-Kutta with the distance along the line of sight as the
// independent variable, and the zeroing that finds the bore's angle. The steps end exactly on
// the planes of the requested rows, so a row needs no interpolation.
#pragma once

#include "DragCurve.h"
#include "DropScale.h"

#include <cstddef>
#include <functional>
#include <vector>

namespace fendrel {

// The physical setting of a flight, in feet, seconds and radians.
struct FlightSetup {
    const DragCurve* drag = nullptr;
    DropScale dropScale; // multiplies the curve's drag coefficient
    double ballisticCoefficient = 0; // lb/in^2
    // The BC by velocity band, fastest first, in ft/s relative to the air; empty:
    // ballisticCoefficient throughout.
    std::vector<BcBand> bcBands;
    double sightHeight = 0;          // ft above the bore axis, perpendicular to it
    double densityRatio = 1;         // at the firing point
    double temperatureF = 59;        // at the firing point
    double lookAngle = 0;            // + uphill
    double windFrom = 0;             // clockwise from the target
    bool coriolis = false;
    double latitude = 0;
    double azimuth = 0; // clockwise from true north
};

// Where the bullet crosses the plane perpendicular to the line of sight at one distance.
struct FlightPoint {
    double height = 0;   // in, above the line of sight
    double windage = 0;  // in, + right: wind and Coriolis (no spin drift)
    double velocity = 0; // ft/s over the ground
    double mach = 0;     // speed relative to the air over the local speed of sound
    double time = 0;     // s
};

struct FlightFailure {
    enum Kind { None, BeyondCurve, CannotReach, CannotZero };
    Kind kind = None;
    double mach = 0;        // BeyondCurve: the Mach number the drag curve does not cover
    std::size_t before = 0; // the distance the bullet did not reach
    explicit operator bool() const { return kind != None; }
};

class PointMassSolver {
public:
    // The longest step, in feet along the line of sight. Errors against a solver stepping in
    // 0.5 ms stay below 0.02 in of height to 1000 yd at this step (the velocity changes by a few
    // percent per step and gravity's effect is smooth in distance), and a 0-1000 yd card with
    // its zeroing takes a few microseconds.
    static constexpr double kMaxStepFt = 150;

    explicit PointMassSolver(const FlightSetup& setup) : m_setup(setup) {}

    // The bore's angle above the line of sight (radians) that puts the bullet back on the line
    // of sight at `zeroDistanceFt`, in level fire and calm air, without the earth's rotation.
    FlightFailure zero(double velocity, double zeroDistanceFt, double& angle) const;

    // The crossings at `count` distances (feet from the sight along the line of sight,
    // ascending) for a bore `angle` above the line of sight, a muzzle velocity in ft/s and a
    // wind speed in mph (negative: blowing from the opposite side). A distance at or behind
    // the muzzle gives the muzzle.
    FlightFailure fly(double angle, double velocity, double windMph, const double* distancesFt,
                      std::size_t count, FlightPoint* out) const;

    // Level fire in calm air without the earth's rotation at a bore `angle`: `visit(distance,
    // point)` at the muzzle and every `stepFt` after it (no more than kMaxStepFt) until it
    // returns false. The flight ends with a failure where `fly` would fail.
    FlightFailure trace(double angle, double velocity, double stepFt,
                        const std::function<bool(double, const FlightPoint&)>& visit) const;

private:
    FlightFailure flyIn(bool level, double angle, double velocity, double windMph,
                        const double* distancesFt, std::size_t count, FlightPoint* out) const;

    FlightSetup m_setup;
};

} // namespace fendrel
