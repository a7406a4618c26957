// The range simulator's computation: the check of its inputs and the trajectory it draws, a
// bullet zeroed at the range of zero and flown to 500 yards in the simulator's winds, with a
// row every 50 yards. It runs the engine's integration and zeroing with the simulator's own
// settings, and keeps its rows instead of writing a file.
#pragma once

#include "core/engine/DragTable.h"
#include "core/engine/RunHost.h"
#include "core/engine/Trajectory.h"

#include "core/common/Result.h"
#include "core/common/SharedState.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace fendrel {

// The simulator's fields as typed (windows-1252 bytes).
struct SimulatorTexts {
    std::string ballisticCoefficient = ".421"; // txtBC
    std::string muzzleVelocity = "2800";       // txtfps, ft/s
    std::string zeroRange = "200";             // txtZero, yards
    std::string downrangeWind = "0";           // Text2, effective downrange wind, mph
    std::string crossWind = "0";               // Text1, effective cross wind, mph
};

inline constexpr const char* kSimulatorBallisticsRefusal =
    "You must enter valid values for ballistic coefficient and muzzle velocity.";
inline constexpr const char* kSimulatorZeroRefusal =
    "You must enter valid values for range of zero";
inline constexpr const char* kSimulatorUserErrorTitle = "User error!";
inline constexpr const char* kSimulatorZeroLimit = "Range of zero must not exceed 500 yds.";
inline constexpr const char* kSimulatorZeroLimitTitle = "Error in user input";
inline constexpr const char* kSimulatorErrorTitle = "Error";

// TrapIt: a ballistic coefficient between 0 and 1, a positive muzzle velocity, and a range of
// zero above 0 up to 500 yards. The message to show when they are not.
Status checkSimulatorInputs(const SimulatorTexts& texts);

// One row of the result table.
struct SimulatorRow {
    std::int16_t range = 0;    // yards
    double drop = 0;           // inches relative to the line of sight
    double drift = 0;          // inches, positive the way a positive cross wind blows
    std::int16_t velocity = 0; // ground speed, ft/s
    double time = 0;           // s
};

class RangeSimulator {
public:
    static constexpr int kRows = 11;        // the muzzle and every 50 yards to 500
    static constexpr int kRowInterval = 50; // yards
    static constexpr int kMaximumRange = 500;

    // CalcIt: reads parameters.ini and its drag table afresh, writes the simulator's settings
    // into the shared run settings (yards, 50 to 500, the rounded winds and range of zero,
    // height at zero 0; the winds end as ft/s) and fills the table. A refusal leaves the table
    // and the zeroing history as they were; the shared settings are left alone too, except
    // when the range of zero is above 500 yards.
    Status calculate(const std::filesystem::path& programFolder, const SimulatorTexts& texts,
                     RunSettings& shared);

    // Rows 1 to 11: row 1 the muzzle, rows 2 to 11 at 50, 100, ..., 500 yards. Row 0 is unused.
    const std::array<SimulatorRow, kRows + 1>& table() const { return m_table; }
    const SimulatorRow& row(int index) const { return m_table[static_cast<std::size_t>(index)]; }

    // The zeroing passes of the last calculation that missed the range of zero: their angle of
    // departure (MOA) and the height reached there (ft). The angle flown is angle().
    const std::vector<ZeroingTrial>& zeroingHistory() const { return m_history; }
    double angle() const { return m_angle; }
    bool zeroed() const { return m_zeroed; }

private:
    DragTable m_dragTable;
    TrajectoryResult m_result;
    std::array<SimulatorRow, kRows + 1> m_table{};
    std::vector<ZeroingTrial> m_history;
    double m_angle = 0;
    bool m_zeroed = false;
};

} // namespace fendrel
