// Chronograph and e-target series entering the load history: what the import lists of each
// series before the user chooses, and the entries a chosen series becomes. The storing itself
// is HistoryDatabase::importSeries.
#pragma once

#include "ChronographExport.h"
#include "HistoryEntry.h"
#include "VelocityStatistics.h"
#include "core/common/Result.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace fendrel {

struct SeriesImportOptions {
    RoundSnapshot round;      // the round values the entries keep
    std::string fallbackDate; // YYYY-MM-DD, for a series whose file gives no date
    std::optional<double> temperatureF;
    double caliberIn = 0; // the bullet's diameter for an e-target string's group; 0 measures
                          // centre to centre
};

// A string already in the history, found by its date and its shots; id 0 when none.
struct ImportedString {
    std::int64_t id = 0;
    std::string load; // the description of its load
};

// One line of the import's list.
struct SeriesPreview {
    std::string name;
    std::string date; // as it will be stored: the file's, else the fallback date
    VelocityStatistics statistics; // SD over n - 1 (the devices show theirs over n)
    bool withGroup = false;        // an e-target string that also becomes a group
    std::int64_t duplicateOf = 0;  // the string already in the history, 0 when none
    std::string duplicateLoad;
};

struct SeriesImportOutcome {
    std::vector<std::int64_t> stringIds; // one a series: its new string, 0 when already there
    std::vector<std::int64_t> groupIds;  // one a series: its new group, 0 when none
    std::vector<std::string> notices;    // what was not stored, and why
};

// The velocity string a series becomes: its date (else the fallback), its shots with their
// times, marks and notes, and a note made of the series' name and session note.
VelocityString stringFromSeries(const ChronographSeries& series, const SeriesImportOptions& o);

// The group an e-target string becomes: its positions (turned to the group window's y, which
// points down) at its distance, measured as the group window measures, the name as its note.
// Refused for a series without positions or a distance, or of fewer than 2 or more than 181
// shots.
Result<HistoryGroup> groupFromSeries(const ChronographSeries& series, const SeriesImportOptions& o);

// The list line of a series, without the duplicate (HistoryDatabase::previewSeries adds it).
SeriesPreview previewOf(const ChronographSeries& series, const SeriesImportOptions& o);

// Both entries of a series, checked as the history checks them; a group that cannot be made is
// left out and said in `groupNotice`. Refused, naming the series, when the string cannot be
// stored (no date in the file and no fallback date).
struct SeriesEntries {
    VelocityString string;
    std::optional<HistoryGroup> group;
    std::string groupNotice;
};
Result<SeriesEntries> entriesOf(const ChronographSeries& series, const SeriesImportOptions& o);

} // namespace fendrel
