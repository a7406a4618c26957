// Number reading and writing for everything the program shows or stores. Every digit of every
// file passes through these helpers; nothing here depends on the locale.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace fendrel {

// A value does not fit the whole-number type it is converted to (or is not a number at all).
class OverflowError : public std::overflow_error {
public:
    OverflowError() : std::overflow_error("Overflow") {}
};

// The number at the start of a text: blanks, tabs and line feeds are skipped wherever they
// stand, then an optional sign, digits, a full stop as decimal point and an optional exponent
// (E or D). A text without a number gives 0. A magnitude beyond the double range gives
// +/-infinity; callers that must refuse such values test with std::isfinite.
double leadingNumber(std::string_view text);

// True when the whole text is one decimal number and nothing else: an optional sign, digits
// with an optional point (at least one digit), an optional exponent with digits. No blanks, no
// "nan" or "inf". Used to refuse typed options before they are read by leadingNumber.
bool isDecimalNumber(std::string_view text);

// Whole-number conversion, halves to even (0.5 -> 0, 1.5 -> 2, 2.5 -> 2). Throws OverflowError
// when the rounded value lies outside the type's range or the value is not finite.
std::int16_t toInt16(double value);
std::int32_t toInt32(double value);
std::uint8_t toUInt8(double value);

// The number in its shortest decimal form: 15 significant digits, no trailing zeros, no zero
// before the point (.076474, -.5, 500). Exponent form below 1E-04 and from 1E+15 on (1E-07,
// 1.5E+15). Used for bare numbers in quoted records.
std::string shortNumber(double value);

// The printed number: shortNumber with one leading blank when the value is not negative
// (" 500", " .5", "-.5").
std::string printedNumber(double value);

// The general-number text: like shortNumber but with a zero before the point of a number below
// one (0.308, -0.5).
std::string generalNumber(double value);

// A number laid out by a format pattern: "0" is a required digit, "#" an optional one, "," asks
// for thousands grouping, "." places the point; other characters before and after the digits
// stand as they are. The value's decimal form, taken to 15 significant digits, is rounded half
// away from zero to the pattern's decimals. The minus sign follows the value, not the rounded
// text ("-0.0"). A pattern with a point always shows it ("5." for "0.##"). Throws
// std::domain_error for a value that is not finite.
std::string formatPattern(double value, std::string_view pattern);

// Shortest text that reads back as the same double (for machine-readable output).
std::string roundTripNumber(double value);

} // namespace fendrel
