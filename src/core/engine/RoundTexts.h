// The texts of the round on screen that a calculation run and the tool windows read, in UTF-8:
// the main window's fields, or a record of rounds.dtb.
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

// The texts of an 18-field record of rounds.dtb (windows-1252), decoded.
RoundTexts roundFromRecord(const std::vector<std::string>& fields);
// The texts in the databases' and the output file's code page, windows-1252.
RoundTexts inCodePage(const RoundTexts& round);

// (the record reader) 
RoundTexts roundFromRecord(const std::vector<std::string>& fields);

// Reads record `index` (0-based) of the program folder's rounds.dtb. Returns an empty string on
// success, otherwise the reason.
std::string readRound(const std::filesystem::path& programFolder, std::size_t index,
                      RoundTexts& out);

} // namespace fendrel
