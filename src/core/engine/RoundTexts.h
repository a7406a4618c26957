// The texts of the round on screen that a calculation run reads, as windows-1252 bytes: the
// main window's fields, or a record of rounds.dtb.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace fendrel {

struct RoundTexts {
    std::string description;          // txtDescription
    std::string caliber;              // cmbCal
    std::string bulletWeight;         // txtBWt, grains
    std::string ballisticCoefficient; // txtBC
    std::string sectionalDensity;     // txtSD
    std::string bulletStyle;          // txtBStyle
    std::string powderCharge;         // txtLWt, grains
    std::string muzzleVelocity;       // txtfps, ft/s
    std::string firearmWeight;        // txtGunWt, pounds
};

inline constexpr std::size_t kRoundFieldCount = 18;

// The round's description as the windows and the load history show it (UTF-8).
std::string roundDescription(const RoundTexts& round);

// The texts of an 18-field record of rounds.dtb.
RoundTexts roundFromRecord(const std::vector<std::string>& fields);

// Reads record `index` (0-based) of the program folder's rounds.dtb. Returns an empty string on
// success, otherwise the reason.
std::string readRound(const std::filesystem::path& programFolder, std::size_t index,
                      RoundTexts& out);

} // namespace fendrel
