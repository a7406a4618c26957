// What the Load History window shows and saves: the texts of its tables, the scales of its
// comparison chart, the CSV of the loads, and the entry fields read into strings and groups.
#pragma once

#include "HistoryDatabase.h"
#include "LoadComparison.h"
#include "core/chart/ChartGeometry.h"
#include "core/engine/RoundTexts.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace fendrel {

// Column headers and rows of cell texts (UTF-8). A value that is not a finite number shows as
// an empty cell.
struct TextTable {
    std::vector<std::string> headers;
    std::vector<std::vector<std::string>> rows;
};

TextTable loadsTable(std::span<const LoadSummary> loads);
// The strings and the groups of the loads, in the loads' order, each row led by its load.
TextTable stringsTable(std::span<const LoadHistory> loads);
TextTable groupsTable(std::span<const LoadHistory> loads);
// The series of a chronograph or e-target export as the import lists them.
TextTable importTable(std::span<const SeriesPreview> previews,
                      std::span<const ChronographSeries> series);
// One row per powder charge.
TextTable comparisonTable(const LoadComparison& c);

// The velocity line's slope ("41.7 ft/s per grain"), or empty when there is no line.
std::string velocityLineText(const LoadComparison& c);

// Every entry of the loads as CSV (UTF-8 with a byte order mark, CR LF): one row per string or
// group with its round values, its statistics as the tables show them and a string's speeds.
std::string historyCsv(std::span<const LoadHistory> loads);

// A scale of round steps (1, 2 or 5 times a power of ten) that covers lo..hi with a margin, in
// at most `maxIntervals` steps; zero is not pulled in. A single value gets a scale around it.
// A quantity that is never negative (an SD, a radius) gets no negative ticks.
AxisScale comparisonScale(double lo, double hi, int maxIntervals, bool nonNegative = false);
// A tick of the scale with as many decimals as its step needs.
std::string scaleLabel(const AxisScale& scale, int tick);

// The entry fields of the window, as typed (UTF-8).
struct EntryFields {
    std::string date;
    std::string temperature; // °F; empty: not measured
    std::string charge;      // grains
    std::string distance;    // yards (groups)
    std::string note;
    std::string shots; // ft/s (strings)
};

EntryFields fieldsOf(const VelocityString& s);
EntryFields fieldsOf(const HistoryGroup& g);

// Reads the fields into a string: date, temperature, powder charge and note, and the shots
// when `withShots`. The string's other values stay. A refusal names the field at fault.
Status readStringFields(const EntryFields& f, VelocityString& s, bool withShots);
// Reads date, distance, powder charge and note into a group.
Status readGroupFields(const EntryFields& f, HistoryGroup& g);

// A typed number: blanks around one decimal number, nothing else; nullopt otherwise.
std::optional<double> typedNumber(std::string_view text);

// The load key and round values of the round on the main window.
RoundKey roundKeyOf(const RoundTexts& round);

} // namespace fendrel
