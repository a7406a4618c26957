// Interior ballistics: the free recoil energy of the firearm, and the first two lines of the
// output file.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace fendrel {

// Free recoil energy in ft-lb from the muzzle velocity (ft/s), bullet weight and powder charge
// (grains) and firearm weight (pounds). nullopt when it cannot be formed (a firearm weight of
// 0, numbers out of range).
std::optional<double> recoilEnergy(double muzzleVelocity, double bulletWeight, double powderCharge,
                                   double firearmWeight);

// The description in capitals and the recoil line, each ended by CR LF.
std::string interiorLines(std::string_view description, double energy);

// Upper case of windows-1252 text, accented letters included.
std::string upperCase1252(std::string_view text);

inline constexpr const char* kInteriorErrorTitle = "Error!";
inline constexpr const char* kInteriorErrorText =
    "Make sure a file with this name is not currently in use\r\n"
    "An unexpected error has occurred.  Halting stats calculations.";

} // namespace fendrel
