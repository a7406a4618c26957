// TrapIt and CalcIt of the range simulator, over the engine's integration and zeroing.
#include "RangeSimulator.h"

#include "core/engine/Atmosphere.h"
#include "core/engine/Parameters.h"
#include "core/engine/TrajectoryOutput.h"
#include "core/engine/WindSpeed.h"

#include "core/common/Numbers.h"
#include "core/common/ProgramFolder.h"

#include <cmath>

namespace fendrel {

namespace {

constexpr double kYardFeet = 3;           // feet per range unit, and the integration step
constexpr double kIcaoDensity = 0.076474; // lb/ft^3: the simulator's density for all but "S"

Status userError(const char* text) {
    return Status::refused(text, kSimulatorUserErrorTitle, MessageIcon::Error);
}

Status refusal(std::string text) {
    return Status::refused(std::move(text), kSimulatorErrorTitle, MessageIcon::Exclamation);
}

} // namespace

Status checkSimulatorInputs(const SimulatorTexts& texts) {
    const double bc = leadingNumber(texts.ballisticCoefficient);
    const double fps = leadingNumber(texts.muzzleVelocity);
    const double zero = leadingNumber(texts.zeroRange);
    if (!(bc > 0 && bc < 1 && fps > 0))
        return userError(kSimulatorBallisticsRefusal);
    if (!(zero > 0 && zero <= RangeSimulator::kMaximumRange))
        return userError(kSimulatorZeroRefusal);
    return {};
}

Status RangeSimulator::calculate(const std::filesystem::path& folder,
                                 const SimulatorTexts& texts, RunSettings& shared) {
    Parameters p;
    if (std::string reason = loadParameters(folder, p); !reason.empty())
        return refusal(reason);
    // Field 3 of parameters.ini never counts here: Army standard metro has its own density,
    // every other code the ICAO one.
    const Atmosphere atmosphere = atmosphereFor(p.atmosphereCode, kIcaoDensity);
    if (!atmosphere.hasModel)
        return refusal("The atmosphere code \"" + p.atmosphereCode +
                       "\" in parameters.ini has no atmosphere model: write I (ICAO standard "
                       "atmosphere) or S (Army standard metro).");
    if (p.dragFunction.empty())
        return refusal("The settings file parameters.ini names no drag table.");
    if (std::string reason = DragTable::load(resolveName(folder, p.dragFunction),
                                             DragTable::kSimulatorCapacity, m_dragTable);
        !reason.empty())
        return refusal(reason);

    const double v0 = leadingNumber(texts.muzzleVelocity);
    const double bc = leadingNumber(texts.ballisticCoefficient);
    if (!(bc > 0 && bc < 1 && v0 > 0))
        return userError(kSimulatorBallisticsRefusal);
    std::int16_t wholeV0 = 0;
    try {
        wholeV0 = toInt16(v0);
    } catch (const OverflowError&) {
        return refusal("The muzzle velocity is too large to compute with.");
    }
    const double k = atmosphere.c * atmosphere.density / bc;
    if (!std::isfinite(k))
        return refusal("The ballistic coefficient is too small to compute with.");

    // The winds as whole mph, then as whole ft/s; both are checked before anything is kept.
    std::int16_t downMph = 0, crossMph = 0, zero = 0;
    try {
        downMph = toInt16(leadingNumber(texts.downrangeWind));
        crossMph = toInt16(leadingNumber(texts.crossWind));
    } catch (const OverflowError&) {
        return refusal("A wind of more than 1489 mph cannot be computed.");
    }
    std::int16_t wr = 0, wc = 0;
    if (!windFeetPerSecond(downMph, wr) || !windFeetPerSecond(crossMph, wc))
        return refusal("A wind of more than 1489 mph cannot be computed.");
    try {
        zero = toInt16(leadingNumber(texts.zeroRange));
    } catch (const OverflowError&) {
        return refusal(kSimulatorZeroLimit);
    }
    if (zero < 0)
        return userError(kSimulatorZeroRefusal);

    shared.unitsCode = "Y";
    shared.rangeInterval = kRowInterval;
    shared.maximumRange = kMaximumRange;
    shared.downrangeWind = downMph;
    shared.crossWind = crossMph;
    shared.zeroRange = zero;
    shared.zeroHeight = 0;
    if (zero > kMaximumRange)
        return Status::refused(kSimulatorZeroLimit, kSimulatorZeroLimitTitle,
                               MessageIcon::Exclamation);
    shared.downrangeWind = wr;
    shared.crossWind = wc;

    TrajectorySetup setup;
    setup.muzzleVelocity = v0;
    setup.dragConstant = k;
    setup.atmosphere = atmosphere;
    setup.temperature = p.temperature; // as read: the simulator does not round it
    setup.sightHeight = p.sightHeight;
    setup.departureAngle = p.departureAngle;
    setup.feetPerUnit = kYardFeet;
    setup.downrangeWind = wr;
    setup.crossWind = wc;
    setup.zeroRange = zero;
    setup.zeroHeight = 0;
    setup.interval = kRowInterval;
    setup.maximumRange = kMaximumRange;
    if (auto e = computeTrajectory(setup, m_dragTable, m_result); e != TrajectoryError::None)
        return refusal(trajectoryFailureText(e, p.dragFunction, m_dragTable, "500 yards"));
    if (m_result.rows.size() != static_cast<std::size_t>(kRows))
        return refusal(trajectoryFailureText(TrajectoryError::NotFinite, p.dragFunction, m_dragTable,
                                           "500 yards"));

    std::array<SimulatorRow, kRows + 1> table{};
    try {
        for (std::size_t i = 0; i < m_result.rows.size(); ++i) {
            const TrajectoryPoint& r = m_result.rows[i];
            table[i + 1] = {toInt16(r.range), r.height, r.deflection,
                            i == 0 ? wholeV0 : toInt16(r.velocity), r.time};
        }
    } catch (const OverflowError&) {
        return refusal(trajectoryFailureText(TrajectoryError::NotFinite, p.dragFunction, m_dragTable,
                                           "500 yards"));
    }
    m_table = table;
    m_history = m_result.trials;
    m_angle = m_result.angle;
    m_zeroed = m_result.zeroed;
    return {};
}

} // namespace fendrel
