// Groups entering the history: the group last computed in the shot group window, or a group
// file. The caller adds the date, the note (a file's title is offered) and the round values.
#pragma once

#include "HistoryEntry.h"
#include "core/common/Result.h"
#include "core/groups/GroupStatistics.h"

#include <filesystem>
#include <vector>

namespace fendrel {

// A group from its coordinates, calibre and measurement, shot at `distanceYd`. Refused when
// the measurement is not that of these shots or the distance is out of range.
Result<HistoryGroup> groupFromMeasurement(double caliberIn, const std::vector<Shot>& shots,
                                                 const GroupMeasurement& m, double distanceYd);

// A group from the bytes of a group file, measured as the shot group window measures it; the
// file's title becomes the note.
Result<HistoryGroup> groupFromFileBytes(const std::string& bytes, double distanceYd);
Result<HistoryGroup> groupFromFile(const std::filesystem::path& file, double distanceYd);

} // namespace fendrel
