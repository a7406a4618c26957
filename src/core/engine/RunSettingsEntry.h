// The logic of the exterior ballistics specifications dialog: what its boxes start with, the
// unit word of its labels, and the checks and storage of OK. The window only wires these.
#pragma once

#include "RunHost.h"
#include "Trajectory.h"

#include "core/common/Result.h"
#include "core/common/SharedState.h"

#include <optional>
#include <string>

namespace fendrel {

// The dialog's boxes as typed (UTF-8; they are read by their leading-number value).
struct RunSettingsTexts {
    bool meters = true; // optRange(0) "Meters" selected; otherwise optRange(1) "Yards"
    std::string rangeInterval = "50"; // txtRInt
    std::string rangeMaximum = "500"; // txtRMax
    std::string downrangeWind = "0";  // txtRangeWind, mph
    std::string crossWind = "0";      // txtCrossWind, mph
    std::string zeroRange = "200";    // txtRZero
    std::string zeroHeight = "0";     // txtRHeight, inches
};

// The boxes as the dialog opens: the designer defaults, with the two wind boxes filled from the
// simulator's effective winds (mph) in general-number form.
RunSettingsTexts settingsTextsOnOpen(double effectiveDownrangeWind, double effectiveCrossWind);

// The unit word of Label1, Label2 and Label7.
std::string unitWord(bool meters);

// The boxes of the dialog, for the one whose value a refusal is about.
enum class RunSettingsBox { None, Interval, Maximum, DownrangeWind, CrossWind, Zero, ZeroHeight };

inline constexpr const char* kIntervalRefusal =
    "The range interval must be less than maximum range";
inline constexpr const char* kZeroRefusal = "The range at zero must be less than maximum range";

// OK: checks the boxes and, when they pass, stores them into `settings` (units code, maximum
// range, interval, winds, range of zero, each rounded halves to even to a 16-bit whole number,
// and the height at zero with its fraction). On a refusal nothing is stored; it is shown in a
// message box titled "Error" with the information icon, and `atFault` names the box to go back
// to.
Status acceptRunSettings(const RunSettingsTexts& texts, RunSettings& settings,
                         RunSettingsBox* atFault = nullptr);

} // namespace fendrel
