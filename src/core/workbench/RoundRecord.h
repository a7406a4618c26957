// The checks and texts of the round and firearm record shown in the main window.
#pragma once

#include <string>

namespace fendrel {

// The numbers the validation tick looks at, as typed.
struct RecordNumbers {
    std::string caliber;
    std::string bulletWeight, ballisticCoefficient, sectionalDensity;
    std::string powderCharge, muzzleVelocity, firearmWeight;
};

struct ValidationResult {
    bool valid = false;            // Save, Save As and Calculate ballistics enabled
    bool changesStatus = false;    // the status line is to be replaced by `status`
    std::string status;
};

// One tick of the validation timer.
ValidationResult validateRecord(const RecordNumbers& numbers);

// The suggested description: caliber, ": ", weight, "gr. ", bullet make.
std::string suggestedDescription(const std::string& caliber, const std::string& weight,
                                 const std::string& bulletMake);

inline constexpr const char* kDescriptionPlaceholder = "(Type a description)";

} // namespace fendrel
