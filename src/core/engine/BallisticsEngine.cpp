// The order of the calculation run and its stop paths.
#include "BallisticsEngine.h"

#include "Atmosphere.h"
#include "ExteriorSummary.h"
#include "LastPath.h"
#include "Parameters.h"
#include "Recoil.h"
#include "RunSettingsEntry.h"
#include "TerminalBallistics.h"
#include "TrajectoryOutput.h"
#include "WindSpeed.h"

#include "core/common/Numbers.h"
#include "core/common/ProgramFolder.h"
#include "core/common/SafeFile.h"
#include "core/common/TextFile.h"
#include "core/common/UserFiles.h"

#include <cmath>

namespace fs = std::filesystem;

namespace fendrel {

struct BallisticsEngine::Run {
    const fs::path& programFolder;
    const RoundTexts& round;
    RunSettings& settings;
    const fs::path& outputFile;
    RunHost& host;
    RunResult result;
    std::string contents; // the output file as far as the run has written it
    bool written = false; // the run has replaced the output file
    StagedFile file;      // the output file, replaced whole at every step
};

RunResult BallisticsEngine::runCommand(SharedState& state, const RoundTexts& round, RunHost& host) {
    auto chosen = chooseOutputFile(
        state.programFolder,
        [&](const fs::path& start) {
            return host.saveFile(kOutputFileFilter, kOutputFileFilterIndex, start);
        },
        &m_lastFolder);
    if (!chosen) {
        host.status(kStatusStopped);
        return {RunStop::OutputFile, {}, {}};
    }
    state.outputFile = *chosen;
    state.lastOutputFile = *chosen;
    RunResult result = calculate(state.programFolder, round, state.run, fs::path(*chosen), host);
    return result;
}

RunResult BallisticsEngine::calculate(const fs::path& programFolder, const RoundTexts& given,
                                      RunSettings& settings, const fs::path& outputFile,
                                      RunHost& host) {
    // The run reads the round as the output file writes it: in its code page.
    const RoundTexts round = inCodePage(given);
    Run run{programFolder, round, settings, outputFile, host, {}, {}, false,
            StagedFile(outputFile, m_faults)};
    bool going = interiorBallistics(run);
    if (going && !host.specifications(settings)) {
        run.result = {RunStop::Cancelled, {}, {}};
        going = false;
    }
    going = going && trajectory(run) && exteriorSummary(run) && terminalBallistics(run);
    // The steps replaced the file without flushing it; what the run leaves is made durable once.
    if (run.written) {
        if (const Status error = run.file.finish(); !error.ok() && going)
            going = refuse(run, "The output file " + outputFile.filename().string() +
                                    " cannot be written: " + error.refusal + ".");
    }
    host.status(going ? kStatusCompleted : kStatusStopped);
    return run.result;
}

bool BallisticsEngine::refuse(Run& run, const std::string& text) {
    run.host.message(text, "Error", MessageIcon::Exclamation, {});
    run.result = {RunStop::Refused, text, {}};
    return false;
}

// Each step replaces the output file with everything written so far, through the safe writer:
// the file on disk is always a whole state of the run, never a half-written line. The file can
// be made again, so only the state the run ends on is synced (at the end of calculate).
bool BallisticsEngine::append(Run& run, const std::string& bytes) {
    run.contents += bytes;
    const Status error = run.file.replace(run.contents);
    if (error.ok())
        return true;
    return refuse(run, "The output file " + run.outputFile.filename().string() +
                           " cannot be written: " + error.refusal + ".");
}

// IntBal: the recoil energy, then the output file started afresh with the description and the
// recoil line.
bool BallisticsEngine::interiorBallistics(Run& run) {
    run.host.status(kStatusInterior);
    const RoundTexts& r = run.round;
    const auto energy = recoilEnergy(leadingNumber(r.muzzleVelocity), leadingNumber(r.bulletWeight),
                                     leadingNumber(r.powderCharge), leadingNumber(r.firearmWeight));
    // The file is started afresh: whatever it held is replaced by the two lines.
    std::string cause = "the firearm weight is 0, so the recoil cannot be computed";
    if (const Status own = ownFileRefusal(run.programFolder, run.outputFile); !own) {
        cause = run.outputFile.string() + ": " + own.refusal;
    } else if (energy) {
        run.contents = interiorLines(r.description, *energy);
        const Status error = run.file.replace(run.contents);
        run.written = error.ok();
        if (run.written)
            return true;
        cause = run.outputFile.string() + ": " + error.refusal;
    }
    run.host.message(kInteriorErrorText, kInteriorErrorTitle, MessageIcon::Exclamation, cause);
    run.result = {RunStop::Interior, kInteriorErrorText, cause};
    return false;
}

// Trajectory: parameters.ini, the drag table, the zeroing and the final pass, and the table
// appended to the output file. Everything is computed before anything is written, so that a
// refusal leaves the file as the earlier steps wrote it.
bool BallisticsEngine::trajectory(Run& run) {
    run.host.status(kStatusExterior);
    RunSettings& s = run.settings;

    Parameters p;
    if (std::string reason = loadParameters(run.programFolder, p); !reason.empty())
        return refuse(run, reason);
    const Atmosphere atmosphere = atmosphereFor(p.atmosphereCode, p.airDensity);
    if (!atmosphere.hasModel)
        return refuse(run, "The atmosphere code \"" + p.atmosphereCode +
                               "\" in parameters.ini has no atmosphere model: write I (ICAO "
                               "standard atmosphere) or S (Army standard metro).");
    std::int16_t temperature = 0;
    try {
        temperature = toInt16(p.temperature);
    } catch (const OverflowError&) {
        return refuse(run, "The temperature in parameters.ini is out of range.");
    }
    if (p.dragFunction.empty())
        return refuse(run, "The settings file parameters.ini names no drag table.");
    if (std::string reason = DragTable::load(resolveName(run.programFolder, p.dragFunction),
                                             DragTable::kRunCapacity, m_table);
        !reason.empty())
        return refuse(run, reason);

    const double v0 = leadingNumber(run.round.muzzleVelocity);
    const double bc = leadingNumber(run.round.ballisticCoefficient);
    if (!(v0 > 0) || !std::isfinite(v0))
        return refuse(run, "The muzzle velocity must be a number greater than zero.");
    if (!(bc > 0) || !std::isfinite(bc))
        return refuse(run, "The ballistic coefficient must be a number greater than zero.");
    if (s.unitsCode != "Y" && s.unitsCode != "M")
        return refuse(run, "The range units must be Y (yards) or M (meters).");
    if (s.rangeInterval <= 0)
        return refuse(run, "The range interval must be greater than zero.");
    if (s.maximumRange <= 0)
        return refuse(run, "The maximum range must be greater than zero.");
    if (s.zeroRange < 0)
        return refuse(run, "The range of zero must not be negative.");
    if (!std::isfinite(s.zeroHeight))
        return refuse(run, "The height at zero must be a number.");
    try {
        (void)toUInt8(static_cast<double>(s.maximumRange) / s.rangeInterval);
    } catch (const OverflowError&) {
        return refuse(run, kRowsRefusal);
    }
    std::int16_t downrange = 0, cross = 0;
    if (!windFeetPerSecond(s.downrangeWind, downrange) || !windFeetPerSecond(s.crossWind, cross))
        return refuse(run, "A wind of more than 1489 mph cannot be computed.");
    const double k = atmosphere.c * atmosphere.density / bc;
    if (!std::isfinite(k))
        return refuse(run, "The ballistic coefficient is too small to compute with.");

    TrajectoryConditions c;
    c.atmosphereName = atmosphere.name;
    c.dragFunction = p.dragFunction;
    c.muzzleVelocity = v0;
    c.ballisticCoefficient = bc;
    c.sightHeight = p.sightHeight;
    c.airDensity = atmosphere.density;
    c.temperature = temperature;
    c.downrangeWind = s.downrangeWind;
    c.crossWind = s.crossWind;
    c.zeroRange = s.zeroRange;
    c.zeroHeight = s.zeroHeight;
    c.unitsCode = s.unitsCode;

    // From here on the shared winds hold ft/s.
    s.downrangeWind = downrange;
    s.crossWind = cross;

    TrajectorySetup setup;
    setup.muzzleVelocity = v0;
    setup.dragConstant = k;
    setup.atmosphere = atmosphere;
    setup.temperature = temperature;
    setup.sightHeight = p.sightHeight;
    setup.departureAngle = p.departureAngle;
    setup.feetPerUnit = s.unitsCode == "Y" ? 3 : 1 / 0.3048;
    setup.downrangeWind = downrange;
    setup.crossWind = cross;
    setup.zeroRange = s.zeroRange;
    setup.zeroHeight = s.zeroHeight;
    setup.interval = s.rangeInterval;
    setup.maximumRange = s.maximumRange;
    if (auto e = computeTrajectory(setup, m_table, m_result); e != TrajectoryError::None)
        return refuse(run, trajectoryFailureText(e, p.dragFunction, m_table, "the end of the table"));

    std::string lines;
    try {
        lines = trajectoryLines(c, m_result);
    } catch (const std::exception&) {
        return refuse(run, trajectoryFailureText(TrajectoryError::NotFinite, p.dragFunction, m_table,
                                                 "the end of the table"));
    }
    if (!append(run, lines))
        return false;
    // Rows 1, 2, ... of the window's arrays; positions past the table keep older values.
    const auto& rows = m_result.rows;
    for (std::size_t k = 0; k < rows.size(); ++k) {
        m_rows.range[k + 1] = toInt16(rows[k].range);
        m_rows.height[k + 1] = rows[k].height;
        m_rows.velocity[k + 1] = toInt16(rows[k].velocity);
    }
    m_rows.count = rows.size();
    return true;
}

// Ext_Bal: the bullet style class (asking when the text names none), the form factor and the
// four summary lines.
bool BallisticsEngine::exteriorSummary(Run& run) {
    const RoundTexts& r = run.round;
    const double fps = leadingNumber(r.muzzleVelocity);
    m_caliber = fendrel::caliberValue(r.caliber);
    if (const double w = leadingNumber(r.bulletWeight); std::isfinite(w))
        m_bulletWeight = w;

    StyleClass style = classifyStyle(r.bulletStyle);
    if (style == StyleClass::None) {
        // Without a form factor from an earlier run there is nothing to fall back on: ask
        // until the answer names a style; Cancel stops the run.
        for (;;) {
            m_styleReply = run.host.input(kStylePrompt, kStyleTitle, kStyleDefault);
            style = styleFromAnswer(m_styleReply);
            if (style != StyleClass::None || m_formFactor != 0)
                break;
            if (m_styleReply.empty()) {
                run.result = {RunStop::StyleUnknown, {}, {}};
                return false;
            }
        }
    }
    try {
        m_wholeVelocity = toInt16(fps);
    } catch (const OverflowError&) {
        // A velocity beyond the whole-number range leaves the previous one.
    }
    if (style != StyleClass::None)
        m_formFactor = formFactorFor(style, m_wholeVelocity);

    const ExteriorSummary summary =
        fendrel::exteriorSummary(fps, m_wholeVelocity, m_caliber, m_bulletWeight, m_formFactor,
                                 run.settings.unitsCode == "M");
    return append(run, exteriorLines(summary, run.settings.unitsCode));
}

// Terminal_bal: game weight, sectional density, momentum, the penetration table and the
// efficiency index.
bool BallisticsEngine::terminalBallistics(Run& run) {
    const RunSettings& s = run.settings;
    TerminalInputs in;
    in.caliber = m_caliber;
    in.bulletWeight = m_bulletWeight;
    in.wholeVelocity = m_wholeVelocity;
    in.reportedSectionalDensity = leadingNumber(run.round.sectionalDensity);
    in.expansionConstant = readExpansionConstant(run.programFolder);
    in.maximumRange = s.maximumRange;
    in.rangeInterval = s.rangeInterval;
    in.unitsCode = s.unitsCode;
    return append(run, terminalLines(in, m_rows));
}

} // namespace fendrel
