// The entries of the load history: velocity strings, groups and truings of the range card, each
// with the round's values at the time it was entered, and the checks an entry passes before it
// is stored.
#pragma once

#include "core/groups/GroupStatistics.h"
#include "core/rangecard/Truing.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fendrel {

// Bounds of what the history stores. They keep every number finite and every statistic
// computable, and are far beyond anything a rifle or a chronograph produces.
inline constexpr double kMaximumSpeedFps = 20000;
inline constexpr std::size_t kMaximumShots = 1000;
inline constexpr double kMinimumTemperatureF = -100;
inline constexpr double kMaximumTemperatureF = 200;
inline constexpr double kMaximumDistanceYd = 10000;
inline constexpr double kMaximumRoundNumber = 1e6;          // bullet weight, BC, charge
inline constexpr double kMaximumCoordinateIn = 1e6;         // group coordinates and statistics
inline constexpr std::size_t kMaximumTextBytes = 4000;      // description, caliber, note
inline constexpr std::size_t kMaximumCardTextBytes = 16384; // a truing's range card settings
inline constexpr std::size_t kMaximumObservations = 200;    // of one truing

// The round's values when the entry was made. Renaming or re-saving the round later leaves
// them as they were.
struct RoundSnapshot {
    std::string caliber; // the caliber text of the round
    double bulletWeightGr = 0;
    double ballisticCoefficient = 0;
    double powderChargeGr = 0;

    bool operator==(const RoundSnapshot&) const = default;
};

// What a chronograph's file tells of one shot besides its speed.
struct ShotDetail {
    std::string time; // HH:MM:SS (24 hours), empty when not known
    bool cleanBore = false;
    bool coldBore = false;
    std::string note;

    bool operator==(const ShotDetail&) const = default;
};

// One chronograph string.
struct VelocityString {
    std::int64_t id = 0; // 0 until stored
    std::string date;    // YYYY-MM-DD
    std::optional<double> temperatureF;
    std::string note;
    std::vector<double> shotsFps;
    RoundSnapshot round;
    // shotDetails[i] belongs to shotsFps[i]; shots past its end have none. Never longer than
    // shotsFps.
    std::vector<ShotDetail> shotDetails;
    // The group of the same shots when they were read from an e-target, 0 when none. Set by the
    // import; updateString leaves it as it is.
    std::int64_t groupId = 0;
};

// One group measured on paper: its coordinates, calibre and the four statistics of the shot
// group calculator, at the distance it was shot.
struct HistoryGroup {
    std::int64_t id = 0;
    std::string date;
    double distanceYd = 0;
    double caliberIn = 0;
    std::vector<Shot> shots;
    double meanRadiusIn = 0;
    double meanSpreadIn = 0;
    double extremeSpreadIn = 0;
    double medianSpreadIn = 0;
    std::string note;
    RoundSnapshot round;
};

enum class TruingKind { Velocity, DropScale, BallisticCoefficient };

// What a truing of the muzzle velocity found (VelocityTruing).
struct TruedVelocity {
    double velocity = 0; // the muzzle velocity after the powder temperature correction
    double standardError = 0;
    double inputVelocity = 0; // what the card's velocity became, at its own temperature

    bool operator==(const TruedVelocity&) const = default;
};

// What a truing of the ballistic coefficient found (BallisticCoefficientTruing).
struct TruedBallisticCoefficient {
    double ballisticCoefficient = 0; // of the card's drag model
    double standardError = 0;

    bool operator==(const TruedBallisticCoefficient&) const = default;
};

// One truing of the range card (Truing.h): the card it was computed on, what was observed and
// what the fit gave. Ranges, distances and velocities are in the card's units (yd and ft/s, or
// m and m/s when `metric` is set), corrections in `unit`. Each kind keeps its own inputs and
// result and nothing of the others': the muzzle velocity and the drop scale their observations
// and `velocity` or `knots` with `factorErrors`, the ballistic coefficient its two measured
// velocities and `ballisticCoefficient`.
struct TruingSession {
    std::int64_t id = 0; // 0 until stored
    std::string date;    // YYYY-MM-DD
    TruingKind kind = TruingKind::Velocity;
    // The range card's settings as the window keeps them ("key=value" lines), UTF-8, stored as
    // they are: the air, the zero and the rest of the card the truing was computed on.
    std::string card;
    bool metric = false;
    ClickUnit unit = ClickUnit::Moa;
    std::vector<ObservedCorrection> observations;
    std::optional<MeasuredVelocity> nearVelocity, farVelocity;
    std::optional<TruedVelocity> velocity;
    std::optional<TruedBallisticCoefficient> ballisticCoefficient;
    std::vector<DropScaleKnot> knots; // from the highest Mach number down
    std::vector<double> factorErrors; // the standard error of each knot's factor
    std::string note;
    RoundSnapshot round;

    bool operator==(const TruingSession&) const = default;
};

// The kind's name in the history file and in JSON: "velocity", "drop_scale", "bc"; and back
// (false for another text).
const char* truingKindName(TruingKind kind);
bool truingKindFromName(std::string_view name, TruingKind& kind);

// A real calendar date written YYYY-MM-DD, years 1900 to 9999.
bool isIsoDate(std::string_view text);

// A time of day written HH:MM:SS, 00:00:00 to 23:59:59.
bool isClockTime(std::string_view text);

// Well-formed UTF-8 (no overlong forms, no surrogates).
bool isUtf8(std::string_view text);

// The reason an entry cannot be stored, or empty when it can.
std::string checkDescription(std::string_view description);
std::string checkString(const VelocityString& s);
std::string checkGroup(const HistoryGroup& g);
std::string checkTruing(const TruingSession& t);

// The description and round values of a record of the round database (fields as stored in
// rounds.dtb, windows-1252 bytes), numbers taken by their leading-number value.
struct RoundKey {
    std::string description; // UTF-8
    RoundSnapshot round;
};
RoundKey roundKeyFromRecord(const std::vector<std::string>& fields);

} // namespace fendrel
