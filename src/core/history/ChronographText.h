// The pieces every chronograph and e-target reader shares: the file's text as numbered lines,
// fields, numbers as the devices write them (decimal points, decimal commas, thousands groups),
// speed units, and dates and times in the forms and languages the devices export.
#pragma once

#include "core/common/Result.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fendrel::exportread {

inline constexpr double kFeetPerMetre = 1 / 0.3048;
inline constexpr double kYardsPerMetre = 1 / 0.9144;

struct TextLine {
    int number = 0; // counted from 1
    std::string text;
};

// The lines of a file: byte-order marks and NUL bytes dropped wherever they stand, CR LF or LF,
// blank lines kept (they count). Refused: UTF-16, a line that is not UTF-8 (named).
Result<std::vector<TextLine>> textLines(std::string_view bytes);

// "Line N: why." — every refusal of a file's content names its line.
std::string lineRefusal(int line, const std::string& why);

// The fields of a line. A field may stand in double quotes and then hold the separator (two
// quotes inside are one); blanks around a field are dropped.
std::vector<std::string> splitFields(std::string_view line, char separator);
// ';' when the line holds one, else ','.
char separatorOf(std::string_view line);
// A field as a message quotes it: at most 40 characters, control bytes as \xNN.
std::string shownField(std::string_view text);
// ASCII letters made small (for comparing the few English words the layouts fix).
std::string asciiLower(std::string_view text);

// A number as the devices write it: optional sign, digits, a decimal point; a field with one
// comma and no point has a decimal comma ("488,3"); a field with both has thousands groups of
// three, the last of the two being the decimal mark ("1,369.8", "1.369,8"). Nothing else
// (no exponent, no blanks inside). A value beyond the range of double is infinite.
std::optional<double> deviceNumber(std::string_view field);

// FPS, ft/s -> false; M/S, MPS, m/s -> true (any case); nullopt for anything else.
std::optional<bool> metricSpeedUnit(std::string_view unit);

// A shot's speed in ft/s from its field, or the reason it is refused (the speed must be a
// finite positive number of at most 20000 ft/s).
struct Speed {
    double fps = 0;
    std::string refusal;
};
Speed speedOf(std::string_view field, bool metric);

// How a date written only in digits orders day and month when the year comes last.
enum class DayMonth { MonthFirst, DayFirst };

// The calendar date a text names, as YYYY-MM-DD, or empty: ISO dates, digits with a year last
// (dd.mm.yyyy takes the day first; with - or / `order` decides, a first part above 12 being the
// day), month names or their abbreviations in the common European languages ("JULI 02, 2024
// 17:08", "8. Februar 2025 um 10:08", "Jan 14 2025"), and the year-month-day forms of Chinese,
// Japanese and Korean. A time in the text is passed over.
std::string dateOf(std::string_view text, DayMonth order = DayMonth::MonthFirst);

// The time of day a text names, as HH:MM:SS (24 hours), or empty: "17:09:22", "1:41:26 PM"
// (any blank before the mark, the narrow no-break space included), "6:50:07 pm", and the
// morning and afternoon marks of Chinese, Japanese and Korean.
std::string clockTimeOf(std::string_view text);

} // namespace fendrel::exportread
