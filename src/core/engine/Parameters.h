// parameters.ini: the firing conditions that the specifications dialog does not offer. Installed
// with the program and edited by hand; the program never writes it.
#pragma once

#include <filesystem>
#include <string>

namespace fendrel {

struct Parameters {
    double sightHeight = 0;    // inches above the bore
    double departureAngle = 0; // minutes of angle; the zeroing's first guess
    double airDensity = 0;     // lb/ft^3, used only with atmosphere "N"
    double temperature = 0;    // degrees F
    std::string dragFunction;  // drag table file name, in the program folder
    std::string atmosphereCode;
};

// Reads the six fields of the program folder's parameters.ini. Returns an empty string on
// success, otherwise the reason in words for the user.
std::string loadParameters(const std::filesystem::path& programFolder, Parameters& out);
std::string parseParameters(std::string bytes, Parameters& out);

} // namespace fendrel
