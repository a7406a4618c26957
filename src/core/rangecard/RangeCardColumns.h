// The columns of a range card as every output shows them: their keys in CSV and JSON, their
// headings and units in the readable card and the window's table, and how their numbers are
// rounded for reading. The CSV and the readable card are written here, so the command line and
// the window give the same bytes.
#pragma once

#include "HitProbability.h"
#include "RangeCard.h"

#include <optional>
#include <span>
#include <string>

namespace fendrel {

struct RangeCardColumn {
    const char* key;       // imperial JSON and CSV key
    const char* metricKey; // nullptr: the same in metric
    std::optional<double> (*value)(const RangeCardRow&);
    const char* pattern; // the rounding of the readable card
    const char* heading;
    const char* unit;
    const char* metricUnit;

    std::string keyFor(bool metric) const { return metric && metricKey ? metricKey : key; }
    const char* unitFor(bool metric) const { return metric ? metricUnit : unit; }
};

std::span<const RangeCardColumn> rangeCardColumns();

// A number rounded by a format pattern for reading, without the sign of a value that rounds
// to zero ("0.00", never "-0.00"). "-" for a value that is not finite.
std::string roundedText(double value, const char* pattern);

// A number for machine-readable output: unrounded, never "-0"; "null" when missing or not
// finite.
std::string jsonNumber(std::optional<double> value);

// The rows with a header line of the column keys; unrounded numbers, an empty cell for a
// missing value, LF line ends. The wind brackets, when the card has them, add three columns
// each at the end: bracket_5mph_moa, bracket_5mph_mil, bracket_5mph_clicks ("mps" in metric).
std::string rangeCardCsv(const RangeCardResult& card);
// "bracket_5mph" ("bracket_2.5mps"): a wind bracket's key.
std::string bracketKey(double speed, bool metric);
// "0.496 from 2800 ft/s, 0.485 from 1800 ft/s": the BC's velocity bands for reading.
std::string bcBandsText(const std::vector<BcBand>& bands, bool metric);

// The card in one line: the muzzle velocity, the stability, the zero angle and the air.
std::string rangeCardSummary(const RangeCardResult& card);

// What a hit probability assumes, in one sentence: the target and the four uncertainties.
std::string hitSummary(const HitInput& hit);

// The readable card: the muzzle velocity, zero, air and stability, the click, then the table
// of rounded numbers under headings and units.
std::string rangeCardText(const RangeCardResult& card, const RangeCardInput& input);

} // namespace fendrel
