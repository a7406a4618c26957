// Exterior ballistics summary: bullet style class and form factor, maximum range in a vacuum,
// retardation, pressure on the meplat and effective ballistic coefficient.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace fendrel {

enum class StyleClass { None, RoundNose, SemiPointed, Pointed };

// The class of a bullet style text by case-sensitive search: "round nose", "RN", "flat",
// "PSP", "spitzer", "ballistic tip", the first match deciding.
StyleClass classifyStyle(std::string_view style);
// The class of an answer to the style question: exactly "1", "2" or "3".
StyleClass styleFromAnswer(std::string_view answer);
// The form factor of a class at a whole muzzle velocity; 0 for no class.
double formFactorFor(StyleClass style, std::int16_t wholeVelocity);

// The number at the start of the first four characters of the caliber text (".308 Win" gives
// 0.308, "7mm Rem Mag" gives 7).
double caliberValue(std::string_view caliberText);

inline constexpr const char* kStyleTitle = "Bullet Style Unknown";
inline constexpr const char* kStylePrompt = "Please select a basic bullet style from this list:\r\n"
                                            "          1 = Round Nose\r\n"
                                            "          2 = Semi-Pointed\r\n"
                                            "          3 = Pointed";
inline constexpr const char* kStyleDefault = "3";

// The four figures. A figure that cannot be formed (a division by zero, a number out of
// range) keeps its value 0, as a skipped statement leaves it.
struct ExteriorSummary {
    double vacuumRange = 0;    // range units
    double retardation = 0;    // ft/s per second
    double meplatPressure = 0; // pounds
    double effectiveBC = 0;
};

ExteriorSummary exteriorSummary(double muzzleVelocity, std::int16_t wholeVelocity, double caliber,
                                double bulletWeight, double formFactor, bool meters);

// The four lines, each ended by CR LF.
std::string exteriorLines(const ExteriorSummary& summary, const std::string& unitsCode);

} // namespace fendrel
