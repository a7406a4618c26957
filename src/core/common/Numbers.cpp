// Number reading, whole-number conversion and the number texts of the program.
#include "Numbers.h"

#include <cfenv>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace fendrel {

namespace {

bool isSkippedBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The value to 15 significant digits: the digits (exactly 15) and the decimal exponent of the
// first one (value = d.dddddddddddddd x 10^exponent).
struct Decimal15 {
    std::string digits;
    int exponent = 0;
};

Decimal15 toDecimal15(double magnitude) {
    Decimal15 d;
    if (magnitude == 0) {
        d.digits.assign(15, '0');
        return d;
    }
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific, 14);
    std::string_view text(buf, static_cast<size_t>(res.ptr - buf));
    // text: d.ddddddddddddddde[+-]XX
    d.digits.reserve(15);
    size_t i = 0;
    for (; i < text.size() && text[i] != 'e'; ++i)
        if (isDigit(text[i]))
            d.digits.push_back(text[i]);
    int exp = 0;
    std::from_chars(text.data() + i + 1 + (text[i + 1] == '+' ? 1 : 0), text.data() + text.size(),
                    exp);
    d.exponent = exp;
    return d;
}

// The %.15G-like form of a value: fixed or exponent form, trailing zeros dropped. leadingZero
// decides whether a number below one shows "0." or only ".".
std::string numberText(double value, bool leadingZero) {
    if (std::isnan(value))
        return "NaN";
    if (std::isinf(value))
        return value < 0 ? "-Inf" : "Inf";
    std::string out;
    if (std::signbit(value) && value != 0)
        out.push_back('-');
    Decimal15 d = toDecimal15(std::fabs(value));
    std::string digits = d.digits;
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    if (value == 0) {
        out += "0";
        return out;
    }
    if (d.exponent < -4 || d.exponent >= 15) {
        out.push_back(digits[0]);
        if (digits.size() > 1) {
            out.push_back('.');
            out.append(digits, 1, std::string::npos);
        }
        out.push_back('E');
        out.push_back(d.exponent < 0 ? '-' : '+');
        int e = std::abs(d.exponent);
        if (e < 10)
            out.push_back('0');
        out += std::to_string(e);
        return out;
    }
    if (d.exponent < 0) {
        if (leadingZero)
            out.push_back('0');
        out.push_back('.');
        out.append(static_cast<size_t>(-d.exponent - 1), '0');
        out += digits;
        return out;
    }
    size_t intDigits = static_cast<size_t>(d.exponent) + 1;
    if (digits.size() <= intDigits) {
        out += digits;
        out.append(intDigits - digits.size(), '0');
    } else {
        out.append(digits, 0, intDigits);
        out.push_back('.');
        out.append(digits, intDigits, std::string::npos);
    }
    return out;
}

template <typename T> T toWhole(double value) {
    if (!std::isfinite(value))
        throw OverflowError();
    // Halves to even: the default floating-point rounding mode.
    const int saved = std::fegetround();
    std::fesetround(FE_TONEAREST);
    double r = std::nearbyint(value);
    std::fesetround(saved);
    if (r < static_cast<double>(std::numeric_limits<T>::min()) ||
        r > static_cast<double>(std::numeric_limits<T>::max()))
        throw OverflowError();
    return static_cast<T>(r);
}

struct Pattern {
    std::string prefix, suffix;
    bool hasPoint = false;
    bool grouping = false;
    int minInt = 0;
    int minDec = 0;
    int maxDec = 0;
};

Pattern parsePattern(std::string_view p) {
    Pattern pat;
    auto isPlace = [](char c) { return c == '0' || c == '#'; };
    size_t first = p.find_first_of("0#.,");
    if (first == std::string_view::npos) {
        pat.prefix = std::string(p);
        return pat;
    }
    size_t last = p.find_last_of("0#.");
    pat.prefix = std::string(p.substr(0, first));
    if (last != std::string_view::npos && last + 1 < p.size())
        pat.suffix = std::string(p.substr(last + 1));
    std::string_view body =
        p.substr(first, last == std::string_view::npos || last < first ? 0 : last - first + 1);
    size_t point = body.find('.');
    std::string_view intPart = body.substr(0, point);
    std::string_view decPart =
        point == std::string_view::npos ? std::string_view() : body.substr(point + 1);
    pat.hasPoint = point != std::string_view::npos;
    bool seenZero = false;
    bool seenPlace = false;
    for (char c : intPart) {
        if (c == ',' && seenPlace)
            pat.grouping = true;
        if (c == '0')
            seenZero = true;
        if (isPlace(c)) {
            seenPlace = true;
            if (seenZero)
                ++pat.minInt;
        }
    }
    int idx = 0;
    for (char c : decPart) {
        if (!isPlace(c))
            continue;
        ++idx;
        if (c == '0')
            pat.minDec = idx;
    }
    pat.maxDec = idx;
    return pat;
}

} // namespace

double leadingNumber(std::string_view text) {
    std::string clean;
    size_t i = 0;
    auto skip = [&] {
        while (i < text.size() && isSkippedBlank(text[i]))
            ++i;
    };
    skip();
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    bool anyDigit = false;
    bool seenPoint = false;
    for (;; ++i) {
        skip();
        if (i >= text.size())
            break;
        char c = text[i];
        if (isDigit(c)) {
            clean.push_back(c);
            anyDigit = true;
        } else if (c == '.' && !seenPoint) {
            seenPoint = true;
            clean.push_back('.');
        } else {
            break;
        }
    }
    if (!anyDigit)
        return 0.0;
    // Optional exponent: E or D, an optional sign and at least one digit.
    skip();
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
        size_t j = i + 1;
        auto skipJ = [&] {
            while (j < text.size() && isSkippedBlank(text[j]))
                ++j;
        };
        skipJ();
        std::string exp = "e";
        if (j < text.size() && (text[j] == '-' || text[j] == '+')) {
            exp.push_back(text[j]);
            ++j;
        }
        bool expDigit = false;
        for (;; ++j) {
            skipJ();
            if (j >= text.size() || !isDigit(text[j]))
                break;
            exp.push_back(text[j]);
            expDigit = true;
        }
        if (expDigit)
            clean += exp;
    }
    if (clean.front() == '.')
        clean.insert(clean.begin(), '0');
    double value = 0;
    auto res = std::from_chars(clean.data(), clean.data() + clean.size(), value);
    if (res.ec == std::errc::result_out_of_range) {
        size_t e = clean.find('e');
        bool tiny = e != std::string::npos && e + 1 < clean.size() && clean[e + 1] == '-';
        value = tiny ? 0.0 : std::numeric_limits<double>::infinity();
    }
    return negative ? -value : value;
}

std::int16_t toInt16(double value) { return toWhole<std::int16_t>(value); }
std::int32_t toInt32(double value) { return toWhole<std::int32_t>(value); }
std::uint8_t toUInt8(double value) { return toWhole<std::uint8_t>(value); }

std::string shortNumber(double value) { return numberText(value, false); }

std::string printedNumber(double value) {
    std::string s = numberText(value, false);
    return (value < 0) ? s : " " + s;
}

std::string generalNumber(double value) { return numberText(value, true); }

std::string formatPattern(double value, std::string_view pattern) {
    if (!std::isfinite(value))
        throw std::domain_error("value is not a finite number");
    const Pattern pat = parsePattern(pattern);
    const bool negative = value < 0;
    Decimal15 d = toDecimal15(std::fabs(value));

    // Digits with place values 10^exponent down to 10^-maxDec, rounded half away from zero.
    const int keep = d.exponent + 1 + pat.maxDec;
    std::string kept; // most significant first; its last digit has place 10^-maxDec
    int topExp = d.exponent; // place value exponent of kept[0]
    if (std::fabs(value) == 0 || keep < 0) {
        kept = "0";
        topExp = -pat.maxDec;
    } else if (keep == 0) {
        kept = d.digits[0] >= '5' ? "1" : "0";
        topExp = -pat.maxDec;
    } else {
        if (keep >= 15) {
            kept = d.digits + std::string(static_cast<size_t>(keep - 15), '0');
        } else {
            kept = d.digits.substr(0, static_cast<size_t>(keep));
            if (d.digits[static_cast<size_t>(keep)] >= '5') {
                int k = keep - 1;
                while (k >= 0 && kept[static_cast<size_t>(k)] == '9') {
                    kept[static_cast<size_t>(k)] = '0';
                    --k;
                }
                if (k < 0) {
                    kept.insert(kept.begin(), '1');
                    ++topExp;
                } else {
                    ++kept[static_cast<size_t>(k)];
                }
            }
        }
    }
    // Split into integer and decimal digits.
    std::string intDigits, decDigits;
    const int intCount = topExp + 1; // digits with place >= 10^0
    if (intCount > 0) {
        intDigits = kept.substr(0, static_cast<size_t>(std::min<int>(intCount, (int)kept.size())));
        decDigits = kept.substr(intDigits.size());
    } else {
        decDigits = std::string(static_cast<size_t>(-intCount), '0') + kept;
    }
    decDigits.resize(static_cast<size_t>(pat.maxDec), '0');
    while (static_cast<int>(decDigits.size()) > pat.minDec && decDigits.back() == '0')
        decDigits.pop_back();
    size_t nz = intDigits.find_first_not_of('0');
    intDigits = nz == std::string::npos ? std::string() : intDigits.substr(nz);
    if (static_cast<int>(intDigits.size()) < pat.minInt)
        intDigits.insert(0, static_cast<size_t>(pat.minInt) - intDigits.size(), '0');
    if (pat.grouping && intDigits.size() > 3) {
        std::string grouped;
        const size_t n = intDigits.size();
        for (size_t k = 0; k < n; ++k) {
            if (k > 0 && (n - k) % 3 == 0)
                grouped.push_back(',');
            grouped.push_back(intDigits[k]);
        }
        intDigits = grouped;
    }
    std::string out;
    if (negative)
        out.push_back('-');
    out += pat.prefix;
    out += intDigits;
    if (pat.hasPoint)
        out.push_back('.');
    out += decDigits;
    out += pat.suffix;
    return out;
}

bool isDecimalNumber(std::string_view s) {
    size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    bool digits = false;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
        ++i;
        digits = true;
    }
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
            ++i;
            digits = true;
        }
    }
    if (!digits)
        return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-'))
            ++i;
        bool exponent = false;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
            ++i;
            exponent = true;
        }
        if (!exponent)
            return false;
    }
    return i == s.size();
}

std::string roundTripNumber(double value) {
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, res.ptr);
}

} // namespace fendrel
