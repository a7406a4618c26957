// Group files (.grp): a measured group with its title, calibre, shots, results and whether it
// was drawn on the target; and the results block that printing takes from such a file.
#pragma once

#include "GroupStatistics.h"

#include <string>
#include <utility>
#include <vector>

namespace fendrel {

// What a group file holds, as written.
struct GroupFileData {
    std::string title;
    std::string caliber; // the text of the caliber field
    std::string rounds;  // the text of the number of rounds
    std::vector<Shot> shots;
    std::string results; // the results text, or empty before the group was measured
    bool displayed = false;
};

// The bytes of a group file: title, calibre and rounds on lines of their own, one "X,Y" line
// per shot, the results text (an empty line when there are none) and the displayed flag as a
// printed number (" 1" or " 0"), every line ended by CR LF.
std::string groupFileBytes(const GroupFileData& data);

// A group file as read back, field by field. Reading stops at the first thing that does not
// fit; `complete` tells whether it got through every shot, and the members filled before the
// stop keep what was read.
struct GroupFileRead {
    bool hasTitle = false;
    std::string title;
    bool hasCaliber = false;
    std::string caliber;
    int rounds = 0; // 0 until a whole number of 2..181 rounds was read
    std::vector<std::pair<std::string, std::string>> cells; // the X and Y fields read
    std::string lastLine; // the last line of the file after the shots
    bool complete = false;

    // The displayed flag: the leading number of the last line equals 1.
    bool displayed() const;
};

GroupFileRead readGroupFile(const std::string& bytes);

// The block that printing shows: the six lines before the last line of the file, each followed
// by CR LF (fewer when the file is shorter).
std::string printedResults(const std::string& bytes);

} // namespace fendrel
