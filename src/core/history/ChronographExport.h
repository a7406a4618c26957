// Chronograph and e-target exports as the devices write them, recognised by their content
// (never by the file's name): Garmin Xero (ShotView, any language, iOS and Android), LabRadar
// series reports (from the device, re-saved by a spreadsheet, from the phone app) and a card's
// LBR folder, MagnetoSpeed LOG.CSV and its XFR export, ShotMarker archives, ProChrono shot
// lists, and the plain export of readChronographCsv (an optional title, a header naming FPS or
// M/S, one shot a row) or a plain column of speeds.
//
// Every file: UTF-8 or ASCII; byte-order marks and NUL bytes are ignored wherever they stand;
// CR LF or LF. Speeds are kept in ft/s, in file order. A file whose shot has a speed that is not
// a positive number up to 20000 ft/s is refused with its line; the devices' own summary rows
// (average, SD, spread) are never read. What a file leaves out (missed LabRadar shots, strings
// without a shot for record) is said in `notices`.
#pragma once

#include "core/common/Result.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fendrel {

enum class ChronographLayout {
    Generic,
    GarminXero,
    LabRadar,
    MagnetoSpeed,
    MagnetoSpeedXfr,
    ShotMarker,
    ProChrono,
};

// "Garmin Xero (ShotView)", "LabRadar", ... for the user.
std::string layoutName(ChronographLayout layout);

// Where a shot struck an e-target: inches right of and above the aiming mark.
struct TargetPosition {
    double xIn = 0;
    double yIn = 0;
};

struct ChronographShot {
    double fps = 0;
    std::string time; // HH:MM:SS (24 hours) when the file gives a time it can be read from
    bool cleanBore = false;
    bool coldBore = false;
    std::string note;                      // the shot's note or tags
    std::optional<TargetPosition> position; // e-targets
};

struct ChronographSeries {
    std::string name;
    std::string date; // YYYY-MM-DD; empty when the file gives none that can be read
    std::vector<ChronographShot> shots; // in file order
    std::string sessionNote;
    std::optional<double> projectileWeightGr;
    std::optional<double> distanceYd; // e-targets: the target's distance
    std::vector<int> missedShots;     // LabRadar shot numbers with V0 = 0, left out

    std::vector<double> speedsFps() const;
    // True when every shot has its position on the target.
    bool hasPositions() const;
};

struct ChronographExport {
    ChronographLayout layout = ChronographLayout::Generic;
    std::vector<ChronographSeries> series; // in file order, at least one
    std::vector<std::string> notices;      // what was left out, in sentences
};

inline constexpr std::size_t kMaximumSeries = 1000;

// The series of a file's bytes, or a refusal naming the line at fault.
Result<ChronographExport> readChronographExport(std::string_view bytes);

// A file (at most 1 MB, a regular file), or a folder of a LabRadar card: the LBR folder with
// its SRnnnn folders, or one SRnnnn folder, each read from its "SRnnnn Report.csv". A series of a
// folder that cannot be read is left out and said in `notices`; a folder without one series is
// refused. A series without a name takes the file's name.
Result<ChronographExport> readChronographSource(const std::filesystem::path& path);

} // namespace fendrel
