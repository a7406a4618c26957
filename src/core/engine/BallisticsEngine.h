// The calculation run: interior ballistics, the specifications, the trajectory, the exterior
// summary and terminal ballistics, written in this order to one output file. The main window
// owns one engine for the program's life; the command line makes one per call. Both run the
// same code and so write the same bytes.
#pragma once

#include "DragTable.h"
#include "RoundTexts.h"
#include "RunHost.h"
#include "Trajectory.h"
#include "TrajectoryRows.h"

#include "core/common/SafeFile.h"
#include "core/common/SharedState.h"

#include <cstdint>
#include <filesystem>
#include <string>

namespace fendrel {

inline constexpr const char* kStatusInterior = "Calculating interior ballistics.";
inline constexpr const char* kStatusExterior = "Calculating exterior ballistics.";
inline constexpr const char* kStatusCompleted = "Ballistic calculations completed.";
inline constexpr const char* kStatusStopped = "Ballistic calculations stopped.";

// Why a run stopped.
enum class RunStop {
    None,         // completed
    OutputFile,   // no output file: Lastpath.dat, its folder, or the save dialog's Cancel
    Interior,     // the interior ballistics step failed (its message was shown)
    Cancelled,    // the specifications dialog was cancelled
    Refused,      // input or settings the computation cannot use (a message was shown)
    StyleUnknown, // the bullet style question was cancelled with no form factor known
};

struct RunResult {
    RunStop stop = RunStop::None;
    std::string message; // the message shown, if any
    std::string cause;   // what lies behind it, when the message does not say (a write error)
    bool completed() const { return stop == RunStop::None; }
};

class BallisticsEngine {
public:
    // Tools > "Calculate ballistics": chooses the output file (OpenFile, through
    // host.saveFile), sets the output file paths of `state`, then calculates with
    // `state.run`.
    RunResult runCommand(SharedState& state, const RoundTexts& round, RunHost& host);

    // The run on a chosen output file: interior ballistics, the specifications step
    // (host.specifications fills `settings`), trajectory, exterior summary, terminal
    // ballistics. The status line ends on "Ballistic calculations completed." or
    // "Ballistic calculations stopped.".
    RunResult calculate(const std::filesystem::path& programFolder, const RoundTexts& round,
                        RunSettings& settings, const std::filesystem::path& outputFile,
                        RunHost& host);

    // What the main window keeps between runs.
    const TrajectoryRows& trajectoryRows() const { return m_rows; }
    double caliberValue() const { return m_caliber; }
    double bulletWeightValue() const { return m_bulletWeight; }
    std::int16_t wholeMuzzleVelocity() const { return m_wholeVelocity; }
    const std::string& styleReply() const { return m_styleReply; }
    double formFactor() const { return m_formFactor; }
    const std::string& lastFolder() const { return m_lastFolder; }

    // For tests: the fault hook handed to every write of the output file.
    void setWriteFaults(WriteFaults* faults) { m_faults = faults; }

private:
    struct Run;
    bool interiorBallistics(Run& run);
    bool trajectory(Run& run);
    bool exteriorSummary(Run& run);
    bool terminalBallistics(Run& run);
    bool refuse(Run& run, const std::string& text);
    bool append(Run& run, const std::string& bytes);

    TrajectoryRows m_rows;
    double m_caliber = 0;
    double m_bulletWeight = 0;
    std::int16_t m_wholeVelocity = 0;
    std::string m_styleReply;
    double m_formFactor = 0;
    std::string m_lastFolder;
    WriteFaults* m_faults = nullptr;

    // Working storage reused from run to run.
    DragTable m_table;
    TrajectoryResult m_result;
};

} // namespace fendrel
