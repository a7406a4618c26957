// The point-mass trajectory: derivative evaluation, the predictor-corrector step over one range
// unit, the passes, and the secant zeroing of the angle of departure. Shared by the calculation
// run and the range simulator; neither files nor rounding happen here.
#pragma once

#include "Atmosphere.h"
#include "DragTable.h"

#include <cmath>
#include <cstddef>
#include <string>
#include <vector>

namespace fendrel {

struct TrajectorySetup {
    double muzzleVelocity = 0; // V0, ft/s
    double dragConstant = 0;   // K = c * rho / BC
    Atmosphere atmosphere;     // coefficients and gravity; must have a model ("I" or "S")
    double temperature = 0;    // T0 at the muzzle, degrees F, as the caller rounds it
    double sightHeight = 0;    // inches; the bullet starts this far below the line of sight
    double departureAngle = 0; // minutes of angle: used as it is without zeroing, else the guess
    double feetPerUnit = 3;    // feet per range unit, also the integration step
    double downrangeWind = 0;  // ft/s, positive from the shooter toward the target
    double crossWind = 0;      // ft/s, positive from left to right
    int zeroRange = 0;         // range units; 0 = no zeroing
    double zeroHeight = 0;     // inches above the line of sight at the range of zero
    int interval = 0;          // range units between table rows
    int maximumRange = 0;      // range units, the end of the final pass
};

// One table row: where the bullet is after the step that reached the row's range.
struct TrajectoryPoint {
    double range = 0;      // range units
    double height = 0;     // inches above the line of sight
    double deflection = 0; // inches, positive to the right
    double velocity = 0;   // ground speed, ft/s
    double time = 0;       // s
};

// A zeroing pass that missed: its angle (MOA) and the height reached at the range of zero (ft).
struct ZeroingTrial {
    double angle = 0;
    double height = 0;
};

struct TrajectoryResult {
    std::vector<TrajectoryPoint> rows; // rows[0] is the muzzle
    double angle = 0;                  // the angle of departure of the final pass, MOA
    std::vector<ZeroingTrial> trials;  // the missed zeroing passes, at most kZeroingLimit
    bool zeroed = false;               // a zeroing pass met the tolerance
};

enum class TrajectoryError {
    None,
    BadSetup,        // interval or maximum range not above 0, negative range of zero
    TooManyRows,     // the final pass would give more than kMaxRows rows
    NoModel,         // the atmosphere has no coefficients: no speed of sound
    NoSpeedOfSound,  // the temperature leaves no speed of sound at some height
    BeyondDragTable, // the Mach number reached the last record of the drag table
    BulletStopped,   // the downrange velocity fell to zero or below
    NotFinite,       // the numbers ran out of range
    NoSettling,      // the corrector did not settle
    ZeroingFailed,   // two zeroing passes reached the same height: no secant step
};

inline constexpr double kMoaPerRadian = 3437.74677;
inline constexpr int kZeroingLimit = 20;
inline constexpr std::size_t kMaxRows = 1000;

// The integration over downrange distance for one round under one atmosphere and wind.
class PointMassModel {
public:
    struct State {
        double x = 0, u = 0;              // downrange distance: feet, range units
        double y = 0, z = 0;              // height and deflection, feet
        double t = 0;                     // time, s
        double vx = 0, vy = 0, vz = 0;    // velocity over ground, ft/s
        double dvx = 0, dvy = 0, dvz = 0; // derivatives d(v)/dx held from the last evaluation
    };

    PointMassModel(const TrajectorySetup& setup, const DragTable& table);

    // The muzzle state for an angle of departure in minutes of angle, with its derivatives.
    TrajectoryError start(double angleMoa, State& s) const;
    // One predictor-corrector step of one range unit.
    TrajectoryError step(State& s) const;
    double groundSpeed(const State& s) const;

    // The velocity derivatives with respect to x at a velocity, for the air at one height.
    // `airspeed` is the speed through the air at that velocity (airspeed()).
    TrajectoryError derivatives(double vx, double vy, double vz, double airspeed, const AirAt& air,
                                double& dvx, double& dvy, double& dvz) const;
    double airspeed(double vx, double vy, double vz) const;
    AirAt air(double y) const { return airAt(m_atmosphere, m_absoluteT0, y); }

    double muzzleVelocity() const { return m_v0; }
    double sightHeight() const { return m_sightInches; }

private:
    const DragTable& m_table;
    Atmosphere m_atmosphere;
    double m_v0, m_k, m_g, m_absoluteT0, m_h, m_sightInches, m_wr, m_wc;
    mutable std::size_t m_hint = 0; // where the last drag look-up ended
};

// One pass from the muzzle until the range reaches `limit` (range units). With `rows`, the
// muzzle row and a row at every `interval` are appended. `end` receives the last state.
TrajectoryError flyPass(const PointMassModel& model, double angleMoa, int limit, int interval,
                        std::vector<TrajectoryPoint>* rows, PointMassModel::State& end);

// Goes on with a pass from state `s` until the range reaches `limit`; `next` is the range of
// the next row.
TrajectoryError continuePass(const PointMassModel& model, int limit, int interval,
                             std::vector<TrajectoryPoint>* rows, PointMassModel::State& s,
                             double& next);

// The secant search of the angle of departure. `pass(angle, reached)` flies a zeroing pass at
// `angle` (MOA) and sets `reached`, the height at the range of zero (ft). A pass within 1e-5 ft
// of `target` ends the search (`zeroed`); otherwise the first miss steps the angle by 2 MOA and
// every later one by the secant through the last two misses, until the 20th miss, whose angle
// is kept. `angle` starts as the first guess and ends as the angle found. The misses are kept in
// `trials`.
template <class Pass>
TrajectoryError secantZeroing(double target, double& angle, std::vector<ZeroingTrial>& trials,
                              bool& zeroed, Pass&& pass) {
    constexpr double kTolerance = 1e-5; // feet
    trials.clear();
    zeroed = false;
    for (;;) {
        double reached = 0;
        if (TrajectoryError e = pass(angle, reached); e != TrajectoryError::None)
            return e;
        if (std::fabs(reached - target) < kTolerance) {
            zeroed = true;
            return TrajectoryError::None;
        }
        trials.push_back({angle, reached});
        const std::size_t n = trials.size();
        if (n == kZeroingLimit)
            return TrajectoryError::None;
        if (n == 1) {
            angle = angle + 2;
            continue;
        }
        const ZeroingTrial& now = trials[n - 1];
        const ZeroingTrial& before = trials[n - 2];
        if (before.height == now.height)
            return TrajectoryError::ZeroingFailed;
        angle = now.angle +
                (target - now.height) * (before.angle - now.angle) / (before.height - now.height);
        if (!std::isfinite(angle))
            return TrajectoryError::ZeroingFailed;
    }
}

// The zeroing (when a range of zero is given) and the final pass. `result` is reused: its
// vectors keep their storage.
TrajectoryError computeTrajectory(const TrajectorySetup& setup, const DragTable& table,
                                  TrajectoryResult& result);

// The refusal of a range table with more rows than the table holds.
inline constexpr const char* kRowsRefusal =
    "The range table can hold at most 256 rows: choose a larger range interval or a smaller "
    "maximum range.";

// Why a trajectory could not be computed, in words for the user. `endOfFlight` names where
// the flight was to end ("the end of the table", "500 yards").
std::string trajectoryFailureText(TrajectoryError error, const std::string& dragFunction,
                                  const DragTable& table, const std::string& endOfFlight);

} // namespace fendrel
