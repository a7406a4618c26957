#include "RangeCard.h"

#include "core/common/Numbers.h"
#include "MetricUnits.h"

#include <cmath>
#include <numbers>

namespace fendrel {

namespace {

constexpr double kMoaPerRadian = 10800 / std::numbers::pi;
constexpr double kDegree = std::numbers::pi / 180;
constexpr std::size_t kMaxCardRows = 2000;

bool within(double v, double low, double high) {
    return v >= low && v <= high;
}

} // namespace

std::string computeRangeCard(const RangeCardInput& input, RangeCardResult& result) {
    RangeCard card;
    if (std::string refusal = card.prepare(input); !refusal.empty())
        return refusal;
    RangeCardResult r = card.summary();
    if (std::string refusal = card.rows(card.cardRanges(), r.rows); !refusal.empty())
        return refusal;
    result = std::move(r);
    return {};
}

std::string RangeCard::distanceText(double yards) const {
    if (m_metric)
        return generalNumber(yards * metric::kMetresPerYard) + " m";
    return generalNumber(yards) + " yd";
}

std::string RangeCard::prepare(const RangeCardInput& given) {
    const RangeCardInput in = given.imperial();
    const bool metricIn = given.metric;
    const struct {
        const char* what;
        std::optional<double> value;
    } numbers[] = {
        {"ballistic coefficient", in.ballisticCoefficient},
        {"muzzle velocity", in.velocity},
        {"bullet weight", in.weight},
        {"bullet diameter", in.diameter},
        {"bullet length", in.length},
        {"twist", in.twist},
        {"sight height", in.sightHeight},
        {"zero range", in.zeroRange},
        {"pressure", in.pressure},
        {"temperature", in.temperature},
        {"humidity", in.humidity},
        {"altitude", in.altitude},
        {"wind speed", in.windSpeed},
        {"wind direction", in.windFrom},
        {"look angle", in.lookAngle},
        {"latitude", in.latitude},
        {"azimuth", in.azimuth},
        {"powder temperature", in.powderTemperature},
        {"velocity temperature", in.velocityTemperature},
        {"temperature sensitivity", in.temperatureSensitivity},
        {"step", in.step},
        {"maximum range", in.maximum},
        {"click value", in.click},
    };
    for (const auto& n : numbers)
        if (n.value && !std::isfinite(*n.value))
            return std::string("The ") + n.what + " is not a number.";

    if (!(in.ballisticCoefficient > 0))
        return "The ballistic coefficient must be above 0.";
    if (!(in.velocity > 0))
        return "The muzzle velocity must be above 0.";
    for (const auto& [what, value] : {std::pair{"bullet weight", in.weight},
                                      {"bullet diameter", in.diameter},
                                      {"bullet length", in.length}})
        if (value && !(*value > 0))
            return std::string("The ") + what + " must be above 0.";
    if (in.twist && *in.twist == 0)
        return "The twist must not be 0 (+ right hand, - left hand).";
    if (in.length && in.twist && !(in.weight && in.diameter))
        return "The stability and spin drift need the bullet's weight and diameter as well as "
               "its length and twist.";
    if (in.sightHeight < 0)
        return "The sight height must not be negative.";
    if (!(in.zeroRange > 0))
        return "The zero range must be above 0.";
    if (in.pressure && !within(*in.pressure, 10, 35))
        return metricIn ? "The pressure must lie between 339 and 1185 hPa."
                        : "The pressure must lie between 10 and 35 inHg.";
    for (const auto& t :
         {in.temperature, in.powderTemperature, std::optional(in.velocityTemperature)})
        if (t && !within(*t, -100, 160))
            return metricIn ? "Temperatures must lie between -73 and 71 C."
                            : "Temperatures must lie between -100 and 160 F.";
    if (!within(in.humidity, 0, 100))
        return "The humidity must lie between 0 and 100 %.";
    if (!within(in.altitude, -2000, 30000))
        return metricIn ? "The altitude must lie between -609.6 and 9144 m."
                        : "The altitude must lie between -2000 and 30000 ft.";
    if (!within(in.lookAngle, -80, 80))
        return "The look angle must lie between -80 and 80 degrees.";
    if (in.latitude.has_value() != in.azimuth.has_value())
        return "Coriolis needs both the latitude and the azimuth.";
    if (in.latitude && !within(*in.latitude, -90, 90))
        return "The latitude must lie between -90 and 90 degrees.";
    if (!(in.step > 0))
        return "The step must be above 0.";
    if (!(in.maximum >= 0))
        return "The maximum range must not be negative.";
    if (in.maximum / in.step >= kMaxCardRows)
        return "The card would have more than 2000 rows: make the step larger.";
    if (!(in.click > 0))
        return "The click value must be above 0.";

    std::shared_ptr<const DragCurve> curve;
    if (in.dragModel == DragModel::G1) {
        curve = std::shared_ptr<const DragCurve>(&DragCurve::g1(), [](const DragCurve*) {});
    } else if (in.dragModel == DragModel::G7) {
        curve = std::shared_ptr<const DragCurve>(&DragCurve::g7(), [](const DragCurve*) {});
    } else {
        auto read = std::make_shared<DragCurve>();
        if (std::string reason = DragCurve::load(in.dragFile, *read); !reason.empty())
            return "The drag curve cannot be used: " + reason + ".";
        curve = std::move(read);
    }

    const MoistAir air(in.pressure, in.temperature, in.humidity, in.altitude);
    if (!(air.densityRatio() > 0))
        return "The vapour pressure of so humid and warm air exceeds the station pressure.";
    const double powder = in.powderTemperature ? *in.powderTemperature : air.temperatureF();
    const double velocity =
        in.velocity + in.temperatureSensitivity * (powder - in.velocityTemperature);
    if (!(velocity > 0))
        return "At this powder temperature the muzzle velocity would be 0 or less.";
    if (!(velocity / air.speedOfSound() <= curve->lastMach()))
        return "The muzzle velocity, Mach " + formatPattern(velocity / air.speedOfSound(), "0.00") +
               ", lies beyond the drag curve (Mach " + generalNumber(curve->firstMach()) + " to " +
               generalNumber(curve->lastMach()) + ").";

    m_in = in;
    m_metric = metricIn;
    m_userStep = given.step;
    m_userMaximum = given.maximum;
    m_curve = curve;
    m_air = air;
    m_velocity = velocity;
    FlightSetup setup;
    setup.drag = m_curve.get();
    setup.ballisticCoefficient = in.ballisticCoefficient;
    setup.sightHeight = in.sightHeight / 12;
    setup.densityRatio = air.densityRatio();
    setup.temperatureF = air.temperatureF();
    setup.lookAngle = in.lookAngle * kDegree;
    setup.windFrom = in.windFrom * kDegree;
    setup.coriolis = in.latitude.has_value();
    setup.latitude = in.latitude.value_or(0) * kDegree;
    setup.azimuth = std::fmod(in.azimuth.value_or(0), 360) * kDegree;
    m_solver.emplace(setup);

    // Without the length or the twist there is no stability and no spin drift.
    m_millerSg.reset();
    if (in.twist && in.length) {
        const double d = *in.diameter;
        const double t = std::abs(*in.twist) / d, l = *in.length / d;
        m_millerSg = 30 * *in.weight / (t * t * d * d * d * l * (1 + l * l)) *
                     (air.temperatureF() + 460) / 519 * (29.92 / air.pressureInHg());
        if (!std::isfinite(*stabilityAt(velocity)))
            return "The stability cannot be computed for this bullet and twist.";
    }

    const FlightFailure failure = m_solver->zero(velocity, in.zeroRange * 3, m_angle);
    if (failure.kind == FlightFailure::BeyondCurve && std::isfinite(failure.mach))
        return flightFailure(failure, in.zeroRange);
    if (failure)
        return "The rifle cannot be zeroed at " + distanceText(in.zeroRange) +
               ": the bullet does not get there.";
    return {};
}

std::string RangeCard::flightFailure(const FlightFailure& failure, double yards) const {
    if (failure.kind == FlightFailure::BeyondCurve && std::isfinite(failure.mach))
        return "Before " + distanceText(yards) + " the bullet slows to Mach " +
               formatPattern(failure.mach, "0.00") + ", beyond the drag curve (Mach " +
               generalNumber(m_curve->firstMach()) + " to " + generalNumber(m_curve->lastMach()) +
               ").";
    return "The bullet cannot reach " + distanceText(yards) + ".";
}

std::optional<double> RangeCard::stabilityAt(double velocity) const {
    if (!m_millerSg)
        return std::nullopt;
    return *m_millerSg * std::cbrt(velocity / 2800);
}

std::vector<double> RangeCard::cardRanges() const {
    const double step = m_userStep, maximum = m_userMaximum;
    std::vector<double> ranges;
    // Rounded to 9 decimals, so that 3 steps of 33.3 make 99.9 and not 99.89999999999999.
    for (std::size_t k = 0; k * step <= maximum * (1 + 1e-12); ++k)
        ranges.push_back(std::round(k * step * 1e9) / 1e9);
    if (ranges.back() < maximum * (1 - 1e-12))
        ranges.push_back(maximum);
    return ranges;
}

std::string RangeCard::shots(const std::vector<double>& rangesYd, double velocity, double windMph,
                             std::vector<FlightPoint>& out) const {
    std::vector<double> feet(rangesYd.size());
    for (std::size_t i = 0; i < feet.size(); ++i)
        feet[i] = rangesYd[i] * 3;
    out.resize(feet.size());
    const FlightFailure failure =
        m_solver->fly(m_angle, velocity, windMph, feet.data(), feet.size(), out.data());
    if (failure)
        return flightFailure(failure, rangesYd[failure.before]);
    if (const std::optional<double> sg = stabilityAt(velocity)) {
        const double side = *m_in.twist > 0 ? 1 : -1;
        for (FlightPoint& p : out)
            p.windage += side * 1.25 * (*sg + 1.2) * std::pow(p.time, 1.83);
    }
    return {};
}

std::string RangeCard::rows(const std::vector<double>& ranges,
                            std::vector<RangeCardRow>& out) const {
    using namespace metric;
    std::vector<double> yards(ranges);
    if (m_metric)
        for (double& r : yards)
            r /= kMetresPerYard;
    std::vector<FlightPoint> points;
    if (std::string failure = shots(yards, m_velocity, m_in.windSpeed, points); !failure.empty())
        return failure;
    const std::optional<double> sg = stabilityAt(m_velocity);
    const double length = m_metric ? kCmPerInch : 1;
    const double speed = m_metric ? kMetresPerFoot : 1;
    std::vector<RangeCardRow> rows(ranges.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const FlightPoint& p = points[i];
        RangeCardRow& r = rows[i];
        r.range = ranges[i];
        r.height = p.height * length;
        r.windage = p.windage * length;
        if (sg)
            r.spinDrift =
                (*m_in.twist > 0 ? 1 : -1) * 1.25 * (*sg + 1.2) * std::pow(p.time, 1.83) * length;
        if (yards[i] > 0) {
            const double up = std::atan(-p.height / (36 * yards[i]));
            const double right = std::atan(-p.windage / (36 * yards[i]));
            r.elevationMoa = up * kMoaPerRadian;
            r.elevationMil = up * 1000;
            r.windageMoa = right * kMoaPerRadian;
            r.windageMil = right * 1000;
            const bool moa = m_in.clickUnit == ClickUnit::Moa;
            r.elevationClicks = std::round((moa ? *r.elevationMoa : *r.elevationMil) / m_in.click);
            r.windageClicks = std::round((moa ? *r.windageMoa : *r.windageMil) / m_in.click);
        }
        r.velocity = p.velocity * speed;
        r.mach = p.mach;
        if (m_in.weight) {
            r.energy = *m_in.weight * p.velocity * p.velocity / 450436;
            if (m_metric)
                *r.energy *= kJoulesPerFootPound;
        }
        r.time = p.time;
        for (const std::optional<double> v :
             {std::optional(r.height), std::optional(r.windage), std::optional(r.spinDrift),
              r.elevationClicks, r.windageClicks, std::optional(r.velocity), r.energy})
            if (v && !std::isfinite(*v))
                return "The card cannot be computed for these values.";
    }
    out = std::move(rows);
    return {};
}

RangeCardResult RangeCard::summary() const {
    using namespace metric;
    RangeCardResult r;
    r.metric = m_metric;
    r.muzzleVelocity = m_velocity * (m_metric ? kMetresPerFoot : 1);
    r.zeroAngleMoa = m_angle * kMoaPerRadian;
    r.stability = stabilityAt(m_velocity);
    r.densityRatio = m_air->densityRatio();
    r.speedOfSound = m_air->speedOfSound() * (m_metric ? kMetresPerFoot : 1);
    return r;
}

} // namespace fendrel
