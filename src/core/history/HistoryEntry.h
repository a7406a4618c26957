// The entries of the load history: velocity strings and groups, each with the round's values at
// the time it was entered, and the checks an entry passes before it is stored.
#pragma once

#include "core/groups/GroupStatistics.h"

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
inline constexpr double kMaximumRoundNumber = 1e6;     // bullet weight, BC, charge
inline constexpr double kMaximumCoordinateIn = 1e6;    // group coordinates and statistics
inline constexpr std::size_t kMaximumTextBytes = 4000; // description, caliber, note

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

// The description and round values of a record of the round database (fields as stored in
// rounds.dtb, windows-1252 bytes), numbers taken by their leading-number value.
struct RoundKey {
    std::string description; // UTF-8
    RoundSnapshot round;
};
RoundKey roundKeyFromRecord(const std::vector<std::string>& fields);

} // namespace fendrel
