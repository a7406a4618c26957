#include "PointMassSolver.h"

#include "MoistAir.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numbers>

namespace fendrel {

namespace {

constexpr double kGravity = 32.174;
// The standard retardation rho pi Cd V^2 / (8 144 BC) with rho the ICAO sea-level density in
// lb/ft^3: the factor of Cd / BC V^2, per foot.
constexpr double kDragFactor = 0.0764742 * std::numbers::pi / 1152;
constexpr double kEarthRate = 7.292115e-5; // rad/s

// The state along the line of sight s: height n above it (up, perpendicular), z to the right,
// the velocity's components along s, n, z, and the time.
using State = std::array<double, 6>;
enum { N, Z, VS, VN, VZ, T };

// The world in the line-of-sight frame: gravity, wind and the earth's rotation.
struct Frame {
    double sinLook, cosLook;
    double gS, gN;
    double wS, wN, wZ;
    double oS, oN, oZ;
    double dragK; // at the firing point's density
    double rankine0;
    // The drag factor of each BC band and the band's lowest speed, fastest first; none for
    // one BC.
    std::vector<double> bandK, bandSpeed;

    double dragAt(double speed) const {
        if (bandK.empty())
            return dragK;
        for (std::size_t i = 0; i + 1 < bandK.size(); ++i)
            if (speed >= bandSpeed[i])
                return bandK[i];
        return bandK.back();
    }
};

class Derivative {
public:
    Derivative(const Frame& f, const DragCurve& curve, const DropScale& scale)
        : m_f(f), m_curve(curve), m_scale(scale) {}

    double mach(double s, const State& y) {
        const double dh = s * m_f.sinLook + y[N] * m_f.cosLook;
        const double rankine = m_f.rankine0 - MoistAir::kLapseFPerFt * dh;
        const double rs = y[VS] - m_f.wS, rn = y[VN] - m_f.wN, rz = y[VZ] - m_f.wZ;
        m_speed = std::sqrt(rs * rs + rn * rn + rz * rz);
        return rankine > 0 ? m_speed / (MoistAir::kSoundPerRootRankine * std::sqrt(rankine))
                           : std::numeric_limits<double>::quiet_NaN();
    }

    State operator()(double s, const State& y) {
        const double m = mach(s, y);
        double cd = 0;
        if (!m_curve.cd(m, m_hint, cd) && !m_failed) {
            m_failed = true;
            m_badMach = m;
        }
        cd *= m_scale.at(m);
        const double dh = s * m_f.sinLook + y[N] * m_f.cosLook;
        const double k = m_f.dragAt(m_speed) * std::exp(dh * (-1 / MoistAir::kScaleHeightFt)) * cd * m_speed;
        const double as = -k * (y[VS] - m_f.wS) + m_f.gS - 2 * (m_f.oN * y[VZ] - m_f.oZ * y[VN]);
        const double an = -k * (y[VN] - m_f.wN) + m_f.gN - 2 * (m_f.oZ * y[VS] - m_f.oS * y[VZ]);
        const double az = -k * (y[VZ] - m_f.wZ) - 2 * (m_f.oS * y[VN] - m_f.oN * y[VS]);
        const double inv = 1 / y[VS];
        return {y[VN] * inv, y[VZ] * inv, as * inv, an * inv, az * inv, inv};
    }

    bool failed() const { return m_failed; }
    double badMach() const { return m_badMach; }

private:
    const Frame& m_f;
    const DragCurve& m_curve;
    const DropScale& m_scale;
    std::size_t m_hint = 0;
    double m_speed = 0;
    bool m_failed = false;
    double m_badMach = 0;
};

State along(const State& y, double h, const State& k) {
    State out;
    for (int i = 0; i < 6; ++i)
        out[i] = y[i] + h * k[i];
    return out;
}

} // namespace

FlightFailure PointMassSolver::fly(double angle, double velocity, double windMph,
                                   const double* distancesFt, std::size_t count,
                                   FlightPoint* out) const {
    return flyIn(false, angle, velocity, windMph, distancesFt, count, out);
}

namespace {

// One flight from the muzzle, integrated plane by plane.
class Flight {
public:
    Flight(const FlightSetup& su, bool level, double angle, double velocity, double windMph)
        : m_f(frame(su, level, windMph)), m_derivative(m_f, *su.drag, su.dropScale) {
        const double sinA = std::sin(angle), cosA = std::cos(angle);
        m_sightS = -su.sightHeight * sinA;
        m_sightN = su.sightHeight * cosA;
        m_y = {0, 0, velocity * cosA, velocity * sinA, 0, 0};
    }

    // Steps on to the plane `distanceFt` from the sight (`index`: the plane's number, for a
    // failure) and puts the crossing in `out`.
    FlightFailure to(double distanceFt, std::size_t index, FlightPoint& out) {
        State& y = m_y;
        const double target = m_sightS + distanceFt;
        if (target > m_s) {
            const double steps = std::ceil((target - m_s) / PointMassSolver::kMaxStepFt - 1e-9);
            const double h = (target - m_s) / steps;
            for (double k = 0; k < steps; ++k) {
                const double s0 = m_s + k * h;
                const State k1 = m_derivative(s0, y);
                const State k2 = m_derivative(s0 + h / 2, along(y, h / 2, k1));
                const State k3 = m_derivative(s0 + h / 2, along(y, h / 2, k2));
                const State k4 = m_derivative(s0 + h, along(y, h, k3));
                for (int j = 0; j < 6; ++j)
                    y[j] += h / 6 * (k1[j] + 2 * (k2[j] + k3[j]) + k4[j]);
                if (m_derivative.failed())
                    return {FlightFailure::BeyondCurve, m_derivative.badMach(), index};
                // Past about 70 degrees from the line of sight the bullet is falling rather
                // than flying toward the target; distance no longer describes its path.
                if (!(y[VS] > 0 && std::abs(y[VN]) < 3 * y[VS] && std::abs(y[VZ]) < 3 * y[VS] &&
                      std::isfinite(y[N] + y[Z] + y[T])))
                    return {FlightFailure::CannotReach, 0, index};
            }
            m_s = target;
        }
        out.height = (y[N] - m_sightN) * 12;
        out.windage = y[Z] * 12;
        out.velocity = std::sqrt(y[VS] * y[VS] + y[VN] * y[VN] + y[VZ] * y[VZ]);
        out.mach = m_derivative.mach(m_s, y);
        out.time = y[T];
        if (!std::isfinite(out.mach))
            return {FlightFailure::CannotReach, 0, index};
        return {};
    }

private:
    static Frame frame(const FlightSetup& su, bool level, double windMph) {
        Frame f{};
        const double look = level ? 0 : su.lookAngle;
        f.sinLook = std::sin(look);
        f.cosLook = std::cos(look);
        f.gS = -kGravity * f.sinLook;
        f.gN = -kGravity * f.cosLook;
        if (!level) {
            // The wind blows horizontally toward the opposite of where it comes from.
            const double w = windMph * 5280.0 / 3600.0;
            const double downrange = -w * std::cos(su.windFrom);
            f.wS = downrange * f.cosLook;
            f.wN = -downrange * f.sinLook;
            f.wZ = -w * std::sin(su.windFrom);
            if (su.coriolis) {
                // The earth's rotation in the shot's horizontal frame (downrange, up, right),
                // then turned by the look angle.
                const double x = kEarthRate * std::cos(su.latitude) * std::cos(su.azimuth);
                const double y = kEarthRate * std::sin(su.latitude);
                f.oS = x * f.cosLook + y * f.sinLook;
                f.oN = -x * f.sinLook + y * f.cosLook;
                f.oZ = -kEarthRate * std::cos(su.latitude) * std::sin(su.azimuth);
            }
        }
        f.dragK = kDragFactor * su.densityRatio / su.ballisticCoefficient;
        if (su.bcBands.size() > 1) {
            for (const BcBand& band : su.bcBands) {
                f.bandK.push_back(kDragFactor * su.densityRatio / band.ballisticCoefficient);
                f.bandSpeed.push_back(band.velocity);
            }
        }
        f.rankine0 = su.temperatureF + MoistAir::kRankineOffset;
        return f;
    }

    Frame m_f;
    Derivative m_derivative;
    State m_y{};
    double m_s = 0;
    double m_sightS = 0, m_sightN = 0;
};

} // namespace

FlightFailure PointMassSolver::flyIn(bool level, double angle, double velocity, double windMph,
                                     const double* distancesFt, std::size_t count,
                                     FlightPoint* out) const {
    Flight flight(m_setup, level, angle, velocity, windMph);
    for (std::size_t i = 0; i < count; ++i)
        if (FlightFailure failure = flight.to(distancesFt[i], i, out[i]))
            return failure;
    return {};
}

FlightFailure PointMassSolver::trace(
    double angle, double velocity, double stepFt,
    const std::function<bool(double, const FlightPoint&)>& visit) const {
    Flight flight(m_setup, true, angle, velocity, 0);
    const double step = std::min(stepFt, kMaxStepFt);
    for (std::size_t i = 0;; ++i) {
        FlightPoint p;
        if (FlightFailure failure = flight.to(i * step, i, p))
            return failure;
        if (!visit(i * step, p))
            return {};
    }
}

FlightFailure PointMassSolver::zero(double velocity, double zeroDistanceFt, double& angle) const {
    FlightPoint p;
    auto heightAt = [&](double a, double& heightFt) {
        const FlightFailure failure = flyIn(true, a, velocity, 0, &zeroDistanceFt, 1, &p);
        heightFt = p.height / 12;
        return failure;
    };
    // Start from the vacuum angle; the height at the zero changes by about the distance per
    // radian, so the second guess is nearly right and the secant closes in a few flights.
    const double t = zeroDistanceFt / velocity;
    double a0 = std::atan2(m_setup.sightHeight + kGravity * t * t / 2, zeroDistanceFt);
    double h0 = 0;
    if (FlightFailure failure = heightAt(a0, h0))
        return failure;
    double a1 = a0 - h0 / zeroDistanceFt;
    for (int i = 0; i < 30; ++i) {
        if (!(std::abs(a1) < 0.5))
            return {FlightFailure::CannotZero, 0};
        double h1 = 0;
        if (FlightFailure failure = heightAt(a1, h1))
            return failure;
        if (std::abs(h1) < 1e-6) {
            angle = a1;
            return {};
        }
        if (h1 == h0)
            break;
        const double next = a1 - h1 * (a1 - a0) / (h1 - h0);
        a0 = a1;
        h0 = h1;
        a1 = next;
    }
    return {FlightFailure::CannotZero, 0};
}

} // namespace fendrel
