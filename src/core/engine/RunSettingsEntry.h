// The logic of the exterior ballistics specifications dialog: what its boxes start with, the
// unit word of its labels, and the checks and storage of OK. The window only wires these.
#pragma once

#include "RunHost.h"
#include "Trajectory.h"

#include "core/common/SharedState.h"

#include <optional>
#include <string>

namespace fendrel {

// The dialog's boxes as typed.
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

// A refusal of OK: the message box to show and the box whose value is at fault.
struct RunSettingsRefusal {
    std::string text;
    std::string title = "Error";
    MessageIcon icon = MessageIcon::Information;
    std::string control; // objectName of the box at fault
};

inline constexpr const char* kIntervalRefusal =
    "The range interval must be less than maximum range";
inline constexpr const char* kZeroRefusal = "The range at zero must be less than maximum range";

// OK: checks the boxes and, when they pass, stores them into `settings` (units code, maximum
// range, interval, winds, range of zero, each rounded halves to even to a 16-bit whole number,
// and the height at zero with its fraction). On a refusal nothing is stored.
std::optional<RunSettingsRefusal> acceptRunSettings(const RunSettingsTexts& texts, RunSettings& settings);

} // namespace fendrel
