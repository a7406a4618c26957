// Number reading and number texts: every digit the program shows or stores comes from these.
#include "core/common/Numbers.h"

#include <gtest/gtest.h>
#include <iomanip>
#include <limits>
#include <optional>

using namespace fendrel;

namespace {
const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

void expectRead(std::initializer_list<std::pair<const char*, double>> cases) {
    for (auto [text, value] : cases)
        EXPECT_DOUBLE_EQ(leadingNumber(text), value) << '"' << text << '"';
}

// Each value with its whole number, or nullopt where the conversion overflows.
template <class Convert>
void expectWhole(Convert convert, std::initializer_list<std::pair<double, std::optional<long>>> c) {
    for (auto [value, whole] : c) {
        if (whole) {
            EXPECT_EQ(convert(value), *whole) << std::setprecision(17) << value;
        } else {
            EXPECT_THROW(convert(value), OverflowError) << std::setprecision(17) << value;
        }
    }
}

void expectTexts(std::string (*text)(double),
                 std::initializer_list<std::pair<double, const char*>> cases) {
    for (auto [value, expected] : cases)
        EXPECT_EQ(text(value), expected) << std::setprecision(17) << value;
}

struct Pattern {
    double value;
    const char* pattern;
    const char* expected;
};

void expectPatterns(std::initializer_list<Pattern> cases) {
    for (const Pattern& c : cases)
        EXPECT_EQ(formatPattern(c.value, c.pattern), c.expected)
            << std::setprecision(17) << c.value << " as " << c.pattern;
}
} // namespace

TEST(LeadingNumber, ReadsTheNumberAtTheStartOfATypedField) {
    expectRead({{".421", 0.421}, {"24 in", 24}, {"160gr", 160}, {"9.5", 9.5}, {"2800", 2800}});
    // Text without a number is zero.
    expectRead({{"abc", 0}, {"", 0}, {"   ", 0}, {".", 0}, {"-", 0}, {"e5", 0},
                {"(optional)", 0}, {"--5", 0}});
    // Blanks, tabs and line feeds are skipped wherever they stand; a carriage return is not.
    expectRead({{"   42", 42}, {"1 2 3", 123}, {"\t1\t5", 15}, {"\n7\n2", 72}, {"2 . 5", 2.5},
                {"- 3", -3}, {"1\r2", 1}});
    // Signs, and the full stop as the only decimal point, whatever the locale.
    expectRead({{"-5", -5}, {"+5", 5}, {"-.5", -0.5}, {"1.2.3", 1.2}, {"5.", 5}, {"2,5", 2},
                {"1,000", 1}});
    // Exponents; an exponent mark with no digits after it does not continue the number.
    expectRead({{"1.5e3", 1500}, {"1.5E3", 1500}, {"2E-2", 0.02}, {"2e+2", 200}, {"-4e1", -40},
                {".5e1x", 5}, {"7e", 7}, {"7e+", 7}, {"7 eggs", 7}});
    // Long digit runs keep their value; vanishingly small values are zero.
    expectRead({{"123456789012345678901234567890", 1.2345678901234568e29},
                {"0.000000000000000000001", 1e-21}, {"1e-999", 0}});
    // Huge magnitudes are not finite and do not convert.
    EXPECT_EQ(leadingNumber("1e999"), kInf);
    EXPECT_EQ(leadingNumber("-1e999"), -kInf);
    EXPECT_THROW(toInt16(leadingNumber("1e999")), OverflowError);
}

TEST(WholeNumber, HalvesToEvenAndOverflowJustPastTheEnds) {
    expectWhole(toInt16, {{0.5, 0}, {1.5, 2}, {2.5, 2}, {3.5, 4}, {-0.5, 0}, {-1.5, -2},
                          {-2.5, -2}, {2.4999, 2}, {2.5001, 3}, {-2.6, -3}, {100, 100}});
    expectWhole(toInt32, {{2.5, 2}, {-3.5, -4}, {123456.7, 123457}});
    expectWhole(toUInt8, {{0.5, 0}, {1.5, 2}});
    // Each range overflows just past its ends; -32768.5 rounds to the even -32768, which fits.
    expectWhole(toInt16, {{32767, 32767}, {32767.4, 32767}, {32767.5, {}}, {32768, {}},
                          {-32768, -32768}, {-32768.5, -32768}, {-32768.6, {}}, {-32769.5, {}},
                          {1e10, {}}});
    expectWhole(toInt32, {{2147483647.0, 2147483647}, {2147483646.5, 2147483646},
                          {2147483647.5, {}}, {-2147483648.0, -2147483648L},
                          {-2147483648.5, -2147483648L}, {-2147483649.0, {}}});
    expectWhole(toUInt8, {{255, 255}, {254.5, 254}, {255.5, {}}, {256, {}}, {-0.5, 0},
                          {-0.6, {}}, {-1, {}}});
    for (double v : {kNaN, kInf, -kInf}) {
        expectWhole(toInt16, {{v, {}}});
        expectWhole(toInt32, {{v, {}}});
        expectWhole(toUInt8, {{v, {}}});
    }
}

TEST(NumberTexts, PrintedShortAndGeneralForms) {
    // Printed: a blank or a minus, then the shortest form.
    expectTexts(printedNumber, {{500, " 500"}, {0.5, " .5"}, {-0.5, "-.5"}, {0, " 0"},
                                {-12, "-12"}, {2.25, " 2.25"}, {0.076474, " .076474"},
                                {1e15, " 1E+15"}});
    // Short: no leading zero, no trailing zeros.
    expectTexts(shortNumber,
                {{0.076474, ".076474"}, {500, "500"}, {-0.5, "-.5"}, {2.50, "2.5"}, {0, "0"}});
    // General: a zero before the point, no trailing zeros, fifteen significant digits.
    expectTexts(generalNumber,
                {{0.308, "0.308"}, {-0.5, "-0.5"}, {500, "500"}, {2.50, "2.5"}, {0, "0"},
                 {-7, "-7"}, {1.0 / 3.0, "0.333333333333333"}, {2.0 / 3.0, "0.666666666666667"},
                 {0.1 + 0.2, "0.3"}, {100.0 / 3.0, "33.3333333333333"}, {1.1 * 1.1, "1.21"},
                 {123456789.123456789, "123456789.123457"}});
    // The exponent form from 1E+15 and below 1E-04; rounding can carry to the next power of ten.
    expectTexts(generalNumber,
                {{1e15, "1E+15"}, {1.5e15, "1.5E+15"}, {1e14, "100000000000000"},
                 {123456789012345.0, "123456789012345"}, {1e100, "1E+100"}, {-2e20, "-2E+20"},
                 {1e-7, "1E-07"}, {2.5e-7, "2.5E-07"}, {0.0001, "0.0001"}, {0.00012, "0.00012"},
                 {0.00001, "1E-05"}, {-0.00001, "-1E-05"}, {999999999999999.9, "1E+15"}});
}

TEST(FormatPattern, DigitsGroupingAndRoundingHalfAwayFromZero) {
    expectPatterns({{3.14159, "###0.00", "3.14"}, {1234.5, "###0.00", "1234.50"},
                    {123456.789, "###0.00", "123456.79"}, {0, "###0.00", "0.00"},
                    {0.5, "#0.000", "0.500"}, {12.3456, "#0.000", "12.346"},
                    {2800, "######0.0000", "2800.0000"}, {0.25, "######0.0000", "0.2500"},
                    {-1.5, "###0.00", "-1.50"}});
    // Thousands grouping; with no required digit, zero gives the empty text.
    expectPatterns({{1234567, "#,###", "1,234,567"}, {1000, "#,###", "1,000"},
                    {999, "#,###", "999"}, {1234.5, "#,###", "1,235"}, {-1234, "#,###", "-1,234"},
                    {0, "#,###", ""}});
    // Optional decimals, and the pattern's trailing blank kept.
    expectPatterns({{5, "0.##", "5."}, {2.5, "0.##", "2.5"}, {2.25, "0.##", "2.25"},
                    {2.555, "0.##", "2.56"}, {2, "###0.0##", "2.0"}, {1.5, "###0.0##", "1.5"},
                    {1.25, "###0.0##", "1.25"}, {1.23456, "###0.0##", "1.235"},
                    {1.2305, "###0.0##", "1.231"}, {5, "###.# ", "5. "},
                    {12.34, "###.# ", "12.3 "}, {1234.56, "###.# ", "1234.6 "},
                    {0.25, "###.# ", ".3 "}});
    // 2.675 is stored a hair below 2.675; the decimal form to 15 digits is what is rounded.
    expectPatterns({{2.675, "0.00", "2.68"}, {1.005, "0.00", "1.01"},
                    {0.00005, "######0.0000", "0.0001"}, {2.5, "0", "3"}, {0.5, "0", "1"},
                    {-2.5, "0", "-3"}, {-0.5, "0", "-1"}, {-2.675, "0.00", "-2.68"},
                    {0.4, "0", "0"}});
    expectPatterns({{9.995, "0.00", "10.00"}, {99.5, "0", "100"}, {0.95, "0.0", "1.0"},
                    {999.96, "#,###.0", "1,000.0"}, {-9.995, "0.00", "-10.00"}});
    // The minus sign follows the value, not the rounded digits.
    expectPatterns({{-0.00000008, "###0.0", "-0.0"}, {-0.0, "###0.0", "0.0"},
                    {-0.0, "0.00", "0.00"}, {-0.0, "0", "0"}});
    // Large and small magnitudes.
    expectPatterns({{1e15, "0.00", "1000000000000000.00"}, {1e15, "#,###", "1,000,000,000,000,000"},
                    {123456789012.345, "###0.00", "123456789012.35"}, {1e-7, "0.00", "0.00"},
                    {1e-7, "###0.0", "0.0"}, {1e-7, "0.0000000", "0.0000001"},
                    {1.5e-7, "0.0000000", "0.0000002"}, {4.9e-7, "0.000000", "0.000000"},
                    {5e-7, "0.000000", "0.000001"}});
}

