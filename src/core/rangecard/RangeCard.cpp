#include "RangeCard.h"

#include "core/common/Numbers.h"
#include "core/common/ProgramFolder.h"
#include "MetricUnits.h"

#include <cmath>
#include <numbers>

namespace fendrel {

namespace {

constexpr double kMoaPerRadian = 10800 / std::numbers::pi;
constexpr double kDegree = std::numbers::pi / 180;
constexpr std::size_t kMaxCardRows = 2000;
constexpr std::size_t kMaxBands = 20;
constexpr std::size_t kMaxBrackets = 10;

// The rows of a card: every step from 0 to the maximum, and the maximum itself when it falls
// between two steps.
std::size_t cardRowCount(double step, double maximum) {
    const double steps = std::floor(maximum / step * (1 + 1e-12));
    return static_cast<std::size_t>(steps) + 1 + (steps * step < maximum * (1 - 1e-12) ? 1 : 0);
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

namespace {

// The accepted range of every value of the input, in the units the user typed it in. A value
// outside it, or one that is not finite, is refused with its name and its range.
std::string inputRefusal(const RangeCardInput& in) {
    const bool m = in.metric;
    struct Bounds {
        const char* what;
        std::optional<double> value;
        double low, high;        // imperial
        double metricLow, metricHigh;
        const char *unit, *metricUnit;
    };
    const bool mil = in.clickUnit == ClickUnit::Mil;
    const Bounds bounds[] = {
        {"ballistic coefficient",
         in.bcBands.empty() ? std::optional(in.ballisticCoefficient) : std::nullopt, 0.01, 3,
         0.01, 3, "", ""},
        {"muzzle velocity", in.velocity, 50, 6000, 15, 1830, "ft/s", "m/s"},
        {"bullet weight", in.weight, 1, 20000, 0.1, 1300, "gr", "g"},
        {"bullet diameter", in.diameter, 0.05, 2, 1.3, 50, "in", "mm"},
        {"bullet length", in.length, 0.05, 10, 1.3, 254, "in", "mm"},
        {"twist", in.twist ? std::optional(std::abs(*in.twist)) : std::nullopt, 1, 200, 25, 5000,
         "in a turn (+ right hand, - left hand)", "mm a turn (+ right hand, - left hand)"},
        {"sight height", in.sightHeight, 0, 10, 0, 25, "in", "cm"},
        {"zero range", in.zeroRange, 1, 5000, 1, 4572, "yd", "m"},
        {"pressure", in.pressure, 10, 35, 339, 1185, "inHg", "hPa"},
        {"temperature", in.temperature, -100, 160, -73, 71, "F", "C"},
        {"powder temperature", in.powderTemperature, -100, 160, -73, 71, "F", "C"},
        {"temperature of the measured velocity", in.velocityTemperature, -100, 160, -73, 71, "F",
         "C"},
        {"humidity", in.humidity, 0, 100, 0, 100, "%", "%"},
        {"altitude", in.altitude, -2000, 30000, -609.6, 9144, "ft", "m"},
        {"wind speed", in.windSpeed, -100, 100, -44, 44, "mph", "m/s"},
        {"wind direction", in.windFrom, -360, 360, -360, 360, "degrees", "degrees"},
        {"look angle", in.lookAngle, -80, 80, -80, 80, "degrees", "degrees"},
        {"latitude", in.latitude, -90, 90, -90, 90, "degrees", "degrees"},
        {"azimuth", in.azimuth, -360, 360, -360, 360, "degrees", "degrees"},
        {"temperature sensitivity", in.temperatureSensitivity, -20, 20, -11, 11, "ft/s per F",
         "m/s per C"},
        {"step", in.step, 0.1, 5000, 0.1, 4572, "yd", "m"},
        {"maximum range", in.maximum, 0, 5000, 0, 4572, "yd", "m"},
        {"click value", in.click, mil ? 0.005 : 0.01, mil ? 3.0 : 10.0, mil ? 0.005 : 0.01,
         mil ? 3.0 : 10.0, mil ? "mil" : "MOA", mil ? "mil" : "MOA"},
    };
    for (const Bounds& b : bounds) {
        if (!b.value)
            continue;
        const double low = m ? b.metricLow : b.low, high = m ? b.metricHigh : b.high;
        if (!(*b.value >= low && *b.value <= high)) {
            const std::string unit = m ? b.metricUnit : b.unit;
            return std::string("The ") + b.what + " must lie between " + generalNumber(low) +
                   " and " + generalNumber(high) + (unit.empty() ? "" : " " + unit) + ".";
        }
    }
    const std::string speed = m ? " m/s" : " ft/s";
    const double fastest = m ? 1830 : 6000;
    for (std::size_t i = 0; i < in.bcBands.size(); ++i) {
        const BcBand& b = in.bcBands[i];
        if (!(b.ballisticCoefficient >= 0.01 && b.ballisticCoefficient <= 3))
            return "The ballistic coefficient of every band must lie between 0.01 and 3.";
        if (!(b.velocity >= 0 && b.velocity <= fastest))
            return "The velocity of every BC band must lie between 0 and " +
                   generalNumber(fastest) + speed + ".";
        if (i > 0 && !(b.velocity < in.bcBands[i - 1].velocity))
            return "The BC bands must be listed fastest first, as bullet makers print them: " +
                   generalNumber(b.velocity) + speed + " comes after " +
                   generalNumber(in.bcBands[i - 1].velocity) + speed + ".";
    }
    if (in.bcBands.size() > kMaxBands)
        return "A BC may have at most " + std::to_string(kMaxBands) + " velocity bands.";
    const double strongest = m ? 44 : 100;
    for (const double bracket : in.windBrackets)
        if (!(bracket > 0 && bracket <= strongest))
            return "Every wind bracket must lie above 0 and at most " + generalNumber(strongest) +
                   (m ? " m/s." : " mph.");
    if (in.windBrackets.size() > kMaxBrackets)
        return "A card may have at most " + std::to_string(kMaxBrackets) + " wind brackets.";
    return {};
}

} // namespace

std::string RangeCard::prepare(const RangeCardInput& given) {
    if (std::string refusal = inputRefusal(given); !refusal.empty())
        return refusal;
    const RangeCardInput in = given.imperial();
    const bool metricIn = given.metric;
    if (in.length && in.twist && !(in.weight && in.diameter))
        return "The stability and spin drift need the bullet's weight and diameter as well as "
               "its length and twist.";
    if (in.latitude.has_value() != in.azimuth.has_value())
        return "Coriolis needs both the latitude and the azimuth.";
    if (std::string refusal = DropScale::refusal(in.dropScale); !refusal.empty())
        return refusal;
    if (cardRowCount(given.step, given.maximum) > kMaxCardRows)
        return "The card would have more than 2000 rows: make the step larger.";

    std::shared_ptr<const DragCurve> curve;
    if (in.dragModel == DragModel::G1) {
        curve = std::shared_ptr<const DragCurve>(&DragCurve::g1(), [](const DragCurve*) {});
    } else if (in.dragModel == DragModel::G7) {
        curve = std::shared_ptr<const DragCurve>(&DragCurve::g7(), [](const DragCurve*) {});
    } else {
        if (!in.programFolder.empty()) {
            if (const std::string own = ownProgramFile(in.programFolder, in.dragFile);
                !own.empty())
                return own + " is one of the program's own files, not a drag curve: its drag "
                             "tables (DragG1.txt, DragG7.txt) hold the trajectory table's "
                             "values, not drag coefficients. Choose G1 or G7 for the standard "
                             "curves, or a file of \"mach,cd\" lines.";
        }
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
    m_userBrackets = given.windBrackets;
    FlightSetup setup;
    setup.drag = m_curve.get();
    setup.dropScale = DropScale(in.dropScale);
    setup.ballisticCoefficient =
        in.bcBands.empty() ? in.ballisticCoefficient : in.bcBands.front().ballisticCoefficient;
    if (in.bcBands.size() > 1)
        setup.bcBands = in.bcBands;
    setup.sightHeight = in.sightHeight / 12;
    setup.densityRatio = air.densityRatio();
    setup.temperatureF = air.temperatureF();
    setup.lookAngle = in.lookAngle * kDegree;
    setup.windFrom = in.windFrom * kDegree;
    setup.coriolis = in.latitude.has_value();
    setup.latitude = in.latitude.value_or(0) * kDegree;
    setup.azimuth = std::fmod(in.azimuth.value_or(0), 360) * kDegree;
    m_solver.emplace(setup);
    FlightSetup crosswind = setup;
    crosswind.windFrom = std::numbers::pi / 2;
    crosswind.coriolis = false;
    m_bracketSolver.emplace(crosswind);

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
    if (failure.kind == FlightFailure::BeyondCurve)
        return "The rifle cannot be zeroed at " + distanceText(in.zeroRange) + ". " +
               flightFailure(failure, in.zeroRange);
    if (failure)
        return "The rifle cannot be zeroed at " + distanceText(in.zeroRange) +
               ": the bullet does not get there.";
    return {};
}

std::string RangeCard::flightFailure(const FlightFailure& failure, double yards) const {
    const std::string curve = " (Mach " + generalNumber(m_curve->firstMach()) + " to " +
                              generalNumber(m_curve->lastMach()) + ")";
    if (failure.kind == FlightFailure::BeyondCurve && failure.mach < m_curve->firstMach())
        return "Before " + distanceText(yards) + " the bullet slows to Mach " +
               formatPattern(failure.mach, "0.00") + ", below the drag curve" + curve + ".";
    if (failure.kind == FlightFailure::BeyondCurve)
        return "The bullet cannot reach " + distanceText(yards) +
               ": it loses its speed too fast to be followed (" +
               (m_in.bcBands.size() > 1
                    ? std::string("the ballistic coefficients of its bands are")
                    : "the ballistic coefficient, " +
                          generalNumber(m_in.bcBands.empty()
                                            ? m_in.ballisticCoefficient
                                            : m_in.bcBands.front().ballisticCoefficient) +
                          ", is") +
               " too small for the drag curve" + curve + ").";
    return "The bullet cannot reach " + distanceText(yards) +
           ": it falls more steeply than 70 degrees from the line of sight before it gets there.";
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
    if (std::string failure = bracketWindages(yards, rows); !failure.empty())
        return failure;
    out = std::move(rows);
    return {};
}

std::string RangeCard::bracketWindages(const std::vector<double>& yards,
                                       std::vector<RangeCardRow>& rows) const {
    std::vector<double> feet(yards.size());
    for (std::size_t i = 0; i < feet.size(); ++i)
        feet[i] = yards[i] * 3;
    std::vector<FlightPoint> drift(feet.size());
    for (std::size_t b = 0; b < m_userBrackets.size(); ++b) {
        const FlightFailure failure = m_bracketSolver->fly(
            m_angle, m_velocity, m_in.windBrackets[b], feet.data(), feet.size(), drift.data());
        if (failure)
            return flightFailure(failure, yards[failure.before]);
        for (std::size_t i = 0; i < rows.size(); ++i) {
            BracketWindage w;
            w.speed = m_userBrackets[b];
            if (yards[i] > 0) {
                const double right = std::atan(-drift[i].windage / (36 * yards[i]));
                w.moa = right * kMoaPerRadian;
                w.mil = right * 1000;
                w.clicks = std::round((m_in.clickUnit == ClickUnit::Moa ? *w.moa : *w.mil) /
                                      m_in.click);
                if (!std::isfinite(*w.clicks))
                    return "The card cannot be computed for these values.";
            }
            rows[i].brackets.push_back(w);
        }
    }
    return {};
}

std::string RangeCard::levelZero(double yards, double& angle) const {
    const FlightFailure failure = m_solver->zero(m_velocity, yards * 3, angle);
    if (failure.kind == FlightFailure::BeyondCurve)
        return flightFailure(failure, yards);
    if (failure)
        return "The bullet cannot reach " + distanceText(yards) +
               ": no angle of the bore puts it back on the line of sight there.";
    return {};
}

std::string RangeCard::levelPath(double angle,
                                 const std::function<bool(double, double)>& visit) const {
    const FlightFailure failure =
        m_solver->trace(angle, m_velocity, 3, [&](double feet, const FlightPoint& p) {
            return visit(feet / 3, p.height);
        });
    return failure ? flightFailure(failure, static_cast<double>(failure.before)) : std::string();
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
    r.windBrackets = m_userBrackets;
    return r;
}

} // namespace fendrel
