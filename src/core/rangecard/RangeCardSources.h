// What the range card takes from the shooter's own measurements: the dispersion of the group
// the shot group window measured last, and from the load history the velocity and its spread
// of a chronograph string and the dispersion pooled from groups.
//
// Each `take` function fills the form's fields in the form's units and returns "" or the
// reason it could not, in words for the user (UTF-8, as the history's texts).
#pragma once

#include "RangeCardForm.h"
#include "core/common/SharedState.h"
#include "core/history/HistoryDatabase.h"
#include "core/stats/Regression.h"

#include <string>

namespace fendrel {

// The dispersion of a group with the given mean radius (in) shot at the distance typed (yd):
// the per-axis sigma of round normal spread (Rayleigh), in MOA.
std::string takeGroupDispersion(RangeCardForm& form, const LastGroup& group,
                                const std::string& distanceText);

// How many entries the offers list: the latest ones.
inline constexpr std::size_t kOfferedEntries = 15;

// The load's strings, latest first, one numbered line each (1 = the latest), in the form's
// units.
std::string offerStrings(const LoadHistory& load, bool metric);
// The load's groups, latest first, one numbered line each.
std::string offerGroups(const LoadHistory& load);

// The string chosen by its number in the offer: its mean velocity, its SD and, when it was
// noted, the temperature it was measured at.
std::string takeHistoryString(RangeCardForm& form, const LoadHistory& load,
                              const std::string& choice);
// The dispersion pooled (root mean square of sigma) from the groups chosen: "all", or their
// numbers in the offer separated by commas or blanks.
std::string takeHistoryGroups(RangeCardForm& form, const LoadHistory& load,
                              const std::string& choice);

// The temperature sensitivity of a load's strings, offered in the form's units ("1.2 ft/s per
// °F (0.6 to 1.8 at 95 %; 1.6 % per 15 °F), from 15 shots"), and taken into the form.
std::string offerSensitivity(const TemperatureSensitivity& t, bool metric, double confidence);
void takeSensitivity(RangeCardForm& form, const TemperatureSensitivity& t);

} // namespace fendrel
