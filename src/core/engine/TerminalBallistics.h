// Terminal ballistics: optimum game weight, sectional density, forward momentum, the W1
// penetration table over range and the ballistic efficiency index.
#pragma once

#include "TrajectoryRows.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace fendrel {

struct TerminalInputs {
    double caliber = 0;                      // inches
    double bulletWeight = 0;                 // grains
    std::int16_t wholeVelocity = 0;          // ft/s
    double reportedSectionalDensity = 0;     // as typed
    std::optional<double> expansionConstant; // nullopt when expansion_constant.ini is unreadable
    std::int16_t maximumRange = 0;
    std::int16_t rangeInterval = 0;
    std::string unitsCode;
};

// The expansion constant: the first field of the program folder's expansion_constant.ini;
// nullopt when the file is missing or the number is out of range.
std::optional<double> readExpansionConstant(const std::filesystem::path& programFolder);

// The lines from "Optimum Game Weight" to the efficiency index, each ended by CR LF. The
// penetration table takes N + 1 rows, N = maximum range / interval rounded halves to even, and
// stops at the last trajectory row. A figure that cannot be formed keeps its value (0, or the
// previous row's), as a skipped statement leaves it. The interval must be above 0 and the
// quotient at most 255.
std::string terminalLines(const TerminalInputs& in, const TrajectoryRows& rows);

} // namespace fendrel
