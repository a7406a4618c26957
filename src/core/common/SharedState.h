// The program-wide state that windows hand to each other: the paths of the files in play, the
// run settings and the simulator's winds. One object, owned by the application and passed by
// reference. (A run's stop is its result; the selection list returns its pick.)
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace fendrel {

// The exterior ballistics settings of a calculation run.
struct RunSettings {
    std::string unitsCode = "Y"; // "Y" yards or "M" meters
    std::int16_t rangeInterval = 0;
    std::int16_t maximumRange = 0;
    std::int16_t downrangeWind = 0;
    std::int16_t crossWind = 0;
    std::int16_t zeroRange = 0;
    double zeroHeight = 0;
};

// The group the shot group window measured last (Do It): what the range card and the load
// history can take from it.
struct LastGroup {
    double caliber = 0;                         // inches
    std::vector<std::pair<double, double>> shots; // X and Y of each round, inches
    double meanRadius = 0;                      // inches
    double meanSpread = 0;
    double extremeSpread = 0;
    double medianSpread = 0;
};

struct SharedState {
    std::filesystem::path programFolder;

    std::string currentDataFile; // the file listed, edited or loaded; "[NONE]" after a cancel
    std::string outputFile;      // the output of the running calculation or the last export
    std::string lastOutputFile;  // the last output file produced or opened

    RunSettings run;
    double effectiveDownrangeWind = 0; // mph, from the simulator
    double effectiveCrossWind = 0;     // mph, from the simulator
    std::optional<LastGroup> lastGroup; // from the shot group window's last Do It
};

} // namespace fendrel
