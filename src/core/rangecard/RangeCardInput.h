// Everything a range card is computed from: the bullet, the rifle's zero, the air of the day,
// the wind, the shot's angle and place on the earth, the powder temperature, the rows and the
// scope's click. One struct, in imperial units unless `metric` is set, as a window or the
// command line fills it.
#pragma once

#include <filesystem>
#include <optional>
#include <vector>

namespace fendrel {

enum class DragModel { G1, G7, File };
enum class ClickUnit { Moa, Mil };

// A point of the drop scale (DropScale.h): below Mach 1.2 the drag coefficient is multiplied
// by `factor` at Mach `mach`.
struct DropScaleKnot {
    double mach = 0;
    double factor = 1;

    bool operator==(const DropScaleKnot&) const = default;
};

// One velocity band of a BC as bullet makers print them: the BC applies from `velocity`, the
// bullet's speed relative to the air, up to the next faster band's velocity.
struct BcBand {
    double ballisticCoefficient = 0; // lb/in^2
    double velocity = 0;             // ft/s (m/s)
};

struct RangeCardInput {
    // When set, every value below marked with a metric unit is in that unit, and the card
    // comes back in metric units too. The BC stays in lb/in^2 either way.
    bool metric = false;

    double ballisticCoefficient = 0; // lb/in^2
    // A BC that changes with the speed: bands listed fastest first (any other order is
    // refused). When given they replace ballisticCoefficient: above the fastest band its BC,
    // below the slowest band's velocity the slowest band's. A single band is one BC throughout.
    std::vector<BcBand> bcBands;
    DragModel dragModel = DragModel::G1;
    std::filesystem::path dragFile; // DragModel::File: a file of "mach,cd" lines
    // The program folder, whose own drag tables (the trajectory table's, not drag coefficients)
    // are refused as a drag curve. Empty: no such check.
    std::filesystem::path programFolder;
    double velocity = 0;            // ft/s (m/s), measured at velocityTemperature

    // For the energy (weight) and the stability and spin drift (all four).
    std::optional<double> weight;   // grains (g)
    std::optional<double> diameter; // in (mm)
    std::optional<double> length;   // in (mm)
    std::optional<double> twist;    // in (mm) per turn, + right hand, - left hand

    double sightHeight = 1.5; // in (cm), above the bore axis, perpendicular to it
    double zeroRange = 100;   // yd (m)

    std::optional<double> pressure;    // station inHg (hPa); missing: ICAO at the altitude
    std::optional<double> temperature; // F (C); missing: ICAO at the altitude
    double humidity = 0;               // percent
    double altitude = 0;               // ft (m)

    double windSpeed = 0; // mph (m/s)
    double windFrom = 0;  // degrees clockwise: 0 from the target, 90 from the right
    double lookAngle = 0; // degrees, + uphill

    // Coriolis when both are given.
    std::optional<double> latitude; // degrees, + north
    std::optional<double> azimuth;  // degrees clockwise from true north, 90 = east

    std::optional<double> powderTemperature; // F (C); missing: the air temperature
    double velocityTemperature = 59;         // F (C)
    double temperatureSensitivity = 0;       // ft/s per F (m/s per C)

    double step = 100;     // yd (m)
    double maximum = 1000; // yd (m)

    ClickUnit clickUnit = ClickUnit::Moa;
    double click = 0.25; // MOA or mil per click

    // Full-value crosswinds from the right, mph (m/s): every row also gives the windage to dial
    // for each, wind drift alone, besides the card's own wind. Empty: none.
    std::vector<double> windBrackets;

    // A drop scale fitted to where the bullets really went past Mach 1.2; empty: none.
    std::vector<DropScaleKnot> dropScale;

    // The metric card's defaults: zero 100 m, rows every 100 m to 1000 m, sight 3.8 cm, the
    // velocity measured at 15 C.
    static RangeCardInput metricDefaults();

    // The same input in imperial units (unchanged when it already is).
    RangeCardInput imperial() const;
};

} // namespace fendrel
