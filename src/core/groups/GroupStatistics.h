// The precision of one shot group: spreads between every pair of shots, the distances from the
// group centre, the mean radius, mean, extreme and median spread, the two distance dumps and
// the results text. Also the checks that keep a group inside what the measurement can hold.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace fendrel {

// The most rounds a group can hold: the spread list and its counter are 16-bit, so N*N must
// stay within 32767.
inline constexpr int kMinimumRounds = 2;
inline constexpr int kMaximumRounds = 181;

struct Shot {
    double x = 0; // inches to the right on the overlay
    double y = 0; // inches down on the overlay
};

// The number a whole text holds (blanks around it allowed): optional sign, digits with an
// optional full stop, an optional exponent. nullopt for anything else, an empty text included,
// and for a value beyond the double range.
std::optional<double> numberText(std::string_view text);

// The number of rounds a text holds when it is a whole number from 2 to 181 ("5", " 5 ",
// "5.0"); nullopt otherwise.
std::optional<int> roundsText(std::string_view text);

// What the measurement gives. Indexes are 0-based: spreads[i][j] is the outside-to-outside
// spread of rounds i+1 and j+1 (the calibre on the diagonal).
struct GroupMeasurement {
    std::vector<std::vector<double>> spreads;
    std::vector<double> radii; // distance of each round from the group centre
    double centreX = 0;
    double centreY = 0;
    double meanRadius = 0;
    double meanSpread = 0;
    double extremeSpread = 0;
    double medianSpread = 0;
    // Every spread in 0.0001-inch units plus one trailing 0, sorted descending.
    std::vector<std::int32_t> spreadList;
    int medianIndex = 0;
    std::string extremeSpreadDump; // bytes of ES_dist.dmp
    std::string meanRadiusDump;    // bytes of MR_dist.dmp
};

// Measures a group of at least two shots. Throws std::invalid_argument when there are fewer
// than two shots or more than 181, or when a result does not fit (spreads beyond 214748
// inches, numbers beyond the double range); the message says why in words for the user.
GroupMeasurement measureGroup(double caliber, const std::vector<Shot>& shots);

// The report of a measured group, lines joined by CR LF, the last without one.
std::string resultsText(std::string_view caliberText, std::string_view roundsField,
                        const GroupMeasurement& m);

// A group as the window holds it: the texts of the caliber and the number of rounds, and the X
// and Y texts of rounds 1..N.
struct GroupEntry {
    std::string caliberText;
    std::string roundsText;
    std::vector<std::pair<std::string, std::string>> cells;
};

struct GroupEvaluation {
    std::string refusal; // empty when measured; otherwise a message for the user
    GroupMeasurement measurement;
    std::string results;
};

// Checks a group and measures it. A group is refused when the number of rounds is not a whole
// number from 2 to 181, when the caliber is not a number of zero or more inches, or when a
// round's X or Y is missing or not a number.
GroupEvaluation evaluateGroup(const GroupEntry& entry);

// Replaces ES_dist.dmp and MR_dist.dmp in the program folder. Empty on success, otherwise the
// reason.
std::string writeDistanceFiles(const std::filesystem::path& programFolder,
                               const GroupMeasurement& m);

} // namespace fendrel
