// The point-mass integration. Every formula is evaluated in the order it is written, so that a
// table computed here has the same digits as one computed by hand from the formulas; the speed
// comes from doing each thing once (the air at a height once per step, the drag look-up from
// where the last one ended, the ground speed only where a row is taken).
#include "Trajectory.h"

#include "TrajectoryOutput.h"

#include <cmath>

namespace fendrel {

namespace {

constexpr double kSettled = 1e-5;     // relative change of airspeed that ends the corrector
constexpr int kCorrectorLimit = 1000; // far beyond any real flight

} // namespace

PointMassModel::PointMassModel(const TrajectorySetup& setup, const DragTable& table)
    : m_table(table), m_atmosphere(setup.atmosphere), m_v0(setup.muzzleVelocity),
      m_k(setup.dragConstant), m_g(setup.atmosphere.gravity),
      m_absoluteT0(setup.temperature + 459.67), m_h(setup.feetPerUnit),
      m_sightInches(setup.sightHeight), m_wr(setup.downrangeWind), m_wc(setup.crossWind) {}

double PointMassModel::airspeed(double vx, double vy, double vz) const {
    return std::sqrt((vx - m_wr) * (vx - m_wr) + vy * vy + (vz - m_wc) * (vz - m_wc));
}

double PointMassModel::groundSpeed(const State& s) const {
    return std::sqrt(s.vx * s.vx + s.vy * s.vy + s.vz * s.vz);
}

TrajectoryError PointMassModel::derivatives(double vx, double vy, double vz, double airspeed,
                                            const AirAt& air, double& dvx, double& dvy,
                                            double& dvz) const {
    const double mach = airspeed / air.speedOfSound;
    double g = 0;
    if (!m_table.lookup(mach, m_hint, g))
        return std::isnan(mach) ? TrajectoryError::NotFinite : TrajectoryError::BeyondDragTable;
    const double f = m_k * g * airspeed * air.densityRatio / vx;
    dvx = (vx - m_wr) * f;
    dvy = f * vy - m_g / vx;
    dvz = (vz - m_wc) * f;
    return TrajectoryError::None;
}

namespace {

TrajectoryError checkAir(const AirAt& air) {
    if (!(air.speedOfSound > 0) || !std::isfinite(air.speedOfSound))
        return TrajectoryError::NoSpeedOfSound;
    if (!std::isfinite(air.densityRatio))
        return TrajectoryError::NotFinite;
    return TrajectoryError::None;
}

} // namespace

TrajectoryError PointMassModel::start(double angleMoa, State& s) const {
    const double radians = angleMoa / kMoaPerRadian;
    s = State{};
    s.vx = m_v0 * std::cos(radians);
    s.vy = m_v0 * std::sin(radians);
    s.vz = 0;
    s.y = -m_sightInches / 12;
    if (!std::isfinite(s.vx) || !std::isfinite(s.vy))
        return TrajectoryError::NotFinite;
    if (!(s.vx > 0))
        return TrajectoryError::BulletStopped;
    const AirAt a = air(s.y);
    if (auto e = checkAir(a); e != TrajectoryError::None)
        return e;
    return derivatives(s.vx, s.vy, s.vz, airspeed(s.vx, s.vy, s.vz), a, s.dvx, s.dvy, s.dvz);
}

TrajectoryError PointMassModel::step(State& s) const {
    // The air of the whole step is the air at its starting height.
    const AirAt a = air(s.y);
    if (auto e = checkAir(a); e != TrajectoryError::None)
        return e;
    const double h = m_h;
    s.x = s.x + h;
    s.u = s.u + 1;
    double px = s.vx + s.dvx * h;
    double py = s.vy + s.dvy * h;
    double pz = s.vz + s.dvz * h;
    double previous = airspeed(px, py, pz);
    double d1x = 0, d1y = 0, d1z = 0;
    for (int round = 0;; ++round) {
        if (round == kCorrectorLimit)
            return TrajectoryError::NoSettling;
        if (auto e = derivatives(px, py, pz, previous, a, d1x, d1y, d1z);
            e != TrajectoryError::None)
            return e;
        px = s.vx + 0.5 * (s.dvx + d1x) * h;
        py = s.vy + 0.5 * (s.dvy + d1y) * h;
        pz = s.vz + 0.5 * (s.dvz + d1z) * h;
        const double current = airspeed(px, py, pz);
        if (!(std::fabs((current - previous) / current) > kSettled))
            break;
        previous = current;
    }
    s.y = s.y + h * (s.vy + py) / (s.vx + px);
    s.z = s.z + h * (s.vz + pz) / (s.vx + px);
    s.t = s.t + 2 * h / (s.vx + px);
    s.vx = px;
    s.vy = py;
    s.vz = pz;
    s.dvx = d1x;
    s.dvy = d1y;
    s.dvz = d1z;
    if (!std::isfinite(px) || !std::isfinite(py) || !std::isfinite(pz) || !std::isfinite(s.y) ||
        !std::isfinite(s.z) || !std::isfinite(s.t))
        return TrajectoryError::NotFinite;
    if (!(px > 0))
        return TrajectoryError::BulletStopped;
    return TrajectoryError::None;
}

TrajectoryError continuePass(const PointMassModel& model, int limit, int interval,
                             std::vector<TrajectoryPoint>* rows, PointMassModel::State& s,
                             double& next) {
    while (s.u < limit) {
        if (auto e = model.step(s); e != TrajectoryError::None)
            return e;
        if (rows && s.u >= next) {
            rows->push_back({s.u, 12 * s.y, 12 * s.z, model.groundSpeed(s), s.t});
            next = next + interval;
        }
    }
    return TrajectoryError::None;
}

namespace {

// A pass from the muzzle; `next` is left at the range of the row that would come next.
TrajectoryError flyFromMuzzle(const PointMassModel& model, double angleMoa, int limit, int interval,
                              std::vector<TrajectoryPoint>* rows, PointMassModel::State& s,
                              double& next) {
    if (auto e = model.start(angleMoa, s); e != TrajectoryError::None)
        return e;
    // The muzzle row holds the inputs themselves, not values recomputed from the state.
    if (rows)
        rows->push_back({0, -model.sightHeight(), 0, model.muzzleVelocity(), 0});
    next = interval;
    // The first step is taken whatever the limit.
    if (auto e = model.step(s); e != TrajectoryError::None)
        return e;
    if (rows && s.u >= next) {
        rows->push_back({s.u, 12 * s.y, 12 * s.z, model.groundSpeed(s), s.t});
        next = next + interval;
    }
    return continuePass(model, limit, interval, rows, s, next);
}

} // namespace

TrajectoryError flyPass(const PointMassModel& model, double angleMoa, int limit, int interval,
                        std::vector<TrajectoryPoint>* rows, PointMassModel::State& s) {
    double next = 0;
    return flyFromMuzzle(model, angleMoa, limit, interval, rows, s, next);
}

TrajectoryError computeTrajectory(const TrajectorySetup& setup, const DragTable& table,
                                  TrajectoryResult& result) {
    result.rows.clear();
    result.trials.clear();
    result.zeroed = false;
    result.angle = setup.departureAngle;
    if (setup.interval <= 0 || setup.maximumRange <= 0 || setup.zeroRange < 0)
        return TrajectoryError::BadSetup;
    const std::size_t rowCount = static_cast<std::size_t>(setup.maximumRange / setup.interval) + 1;
    if (rowCount > kMaxRows)
        return TrajectoryError::TooManyRows;
    if (!setup.atmosphere.hasModel)
        return TrajectoryError::NoModel;
    result.rows.reserve(rowCount);

    const PointMassModel model(setup, table);
    PointMassModel::State s;
    double next = 0;
    double angle = setup.departureAngle;
    if (setup.zeroRange == 0)
        return flyFromMuzzle(model, angle, setup.maximumRange, setup.interval, &result.rows, s,
                             next);

    // The final pass flies at the angle of the last zeroing pass, so when the range of zero
    // lies within the table that pass is its beginning: its rows are kept and the final pass
    // goes on from where it ended.
    const bool within = setup.zeroRange <= setup.maximumRange;
    std::vector<TrajectoryPoint>* rows = within ? &result.rows : nullptr;
    const TrajectoryError e = secantZeroing(setup.zeroHeight / 12, angle, result.trials,
                                            result.zeroed, [&](double trial, double& reached) {
                                                result.rows.clear();
                                                const TrajectoryError passError =
                                                    flyFromMuzzle(model, trial, setup.zeroRange,
                                                                  setup.interval, rows, s, next);
                                                reached = s.y;
                                                return passError;
                                            });
    if (e != TrajectoryError::None)
        return e;
    result.angle = angle;
    if (!within)
        return flyPass(model, angle, setup.maximumRange, setup.interval, &result.rows, s);
    return continuePass(model, setup.maximumRange, setup.interval, &result.rows, s, next);
}

std::string trajectoryFailureText(TrajectoryError e, const std::string& dragFunction,
                                  const DragTable& table, const std::string& endOfFlight) {
    switch (e) {
    case TrajectoryError::BeyondDragTable:
        return "The bullet's speed reaches the end of the drag table " + dragFunction + " (Mach " +
               plainNumber(table.lastMach()) + "): the trajectory cannot be computed.";
    case TrajectoryError::NoSpeedOfSound:
    case TrajectoryError::NoModel:
        return "The temperature in parameters.ini leaves no speed of sound: the trajectory "
               "cannot be computed.";
    case TrajectoryError::BulletStopped:
    {
        std::string text = "The bullet stops or turns before ";
        text += endOfFlight;
        text += ": the trajectory cannot be computed.";
        return text;
    }
    case TrajectoryError::ZeroingFailed:
        return "The rifle cannot be zeroed at this range: two zeroing passes reached the same "
               "height.";
    case TrajectoryError::TooManyRows:
        return kRowsRefusal;
    case TrajectoryError::BadSetup:
        return "The range table settings cannot be used: the interval and maximum range must "
               "be greater than zero.";
    case TrajectoryError::NotFinite:
    case TrajectoryError::NoSettling:
    case TrajectoryError::None:
        break;
    }
    return "The numbers of this round run out of range: the trajectory cannot be computed.";
}

} // namespace fendrel
