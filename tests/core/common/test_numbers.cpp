// Number reading and number texts: every digit the program shows or stores comes from these.
#include "core/common/Numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace fendrel;

namespace {
const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();
} // namespace

// ---------------------------------------------------------------------------------------------
// Leading-number value

TEST(LeadingNumber, ReadsTheNumberAtTheStartOfATypedField) {
    EXPECT_DOUBLE_EQ(leadingNumber(".421"), 0.421);
    EXPECT_DOUBLE_EQ(leadingNumber("24 in"), 24);
    EXPECT_DOUBLE_EQ(leadingNumber("160gr"), 160);
    EXPECT_DOUBLE_EQ(leadingNumber("9.5"), 9.5);
    EXPECT_DOUBLE_EQ(leadingNumber("2800"), 2800);
}

TEST(LeadingNumber, TextWithoutANumberIsZero) {
    EXPECT_EQ(leadingNumber("abc"), 0);
    EXPECT_EQ(leadingNumber(""), 0);
    EXPECT_EQ(leadingNumber("   "), 0);
    EXPECT_EQ(leadingNumber("."), 0);
    EXPECT_EQ(leadingNumber("-"), 0);
    EXPECT_EQ(leadingNumber("e5"), 0);
    EXPECT_EQ(leadingNumber("(optional)"), 0);
    EXPECT_EQ(leadingNumber("--5"), 0);
}

TEST(LeadingNumber, BlanksTabsAndLineFeedsAreSkippedWhereverTheyStand) {
    EXPECT_DOUBLE_EQ(leadingNumber("   42"), 42);
    EXPECT_DOUBLE_EQ(leadingNumber("1 2 3"), 123);
    EXPECT_DOUBLE_EQ(leadingNumber("\t1\t5"), 15);
    EXPECT_DOUBLE_EQ(leadingNumber("\n7\n2"), 72);
    EXPECT_DOUBLE_EQ(leadingNumber("2 . 5"), 2.5);
    EXPECT_DOUBLE_EQ(leadingNumber("- 3"), -3);
    // A carriage return is not among the skipped characters: the number stops there.
    EXPECT_DOUBLE_EQ(leadingNumber("1\r2"), 1);
}

TEST(LeadingNumber, SignsAndTheFullStopAsDecimalPoint) {
    EXPECT_DOUBLE_EQ(leadingNumber("-5"), -5);
    EXPECT_DOUBLE_EQ(leadingNumber("+5"), 5);
    EXPECT_DOUBLE_EQ(leadingNumber("-.5"), -0.5);
    EXPECT_DOUBLE_EQ(leadingNumber("1.2.3"), 1.2);
    EXPECT_DOUBLE_EQ(leadingNumber("5."), 5);
    // A comma is never a decimal point, whatever the locale.
    EXPECT_DOUBLE_EQ(leadingNumber("2,5"), 2);
    EXPECT_DOUBLE_EQ(leadingNumber("1,000"), 1);
}

TEST(LeadingNumber, Exponents) {
    EXPECT_DOUBLE_EQ(leadingNumber("1.5e3"), 1500);
    EXPECT_DOUBLE_EQ(leadingNumber("1.5E3"), 1500);
    EXPECT_DOUBLE_EQ(leadingNumber("2E-2"), 0.02);
    EXPECT_DOUBLE_EQ(leadingNumber("2e+2"), 200);
    EXPECT_DOUBLE_EQ(leadingNumber("-4e1"), -40);
    EXPECT_DOUBLE_EQ(leadingNumber(".5e1x"), 5);
    // An exponent mark with no digits after it does not continue the number.
    EXPECT_DOUBLE_EQ(leadingNumber("7e"), 7);
    EXPECT_DOUBLE_EQ(leadingNumber("7e+"), 7);
    EXPECT_DOUBLE_EQ(leadingNumber("7 eggs"), 7);
}

TEST(LeadingNumber, HugeMagnitudesAreNotFiniteAndDoNotConvert) {
    const double huge = leadingNumber("1e999");
    EXPECT_TRUE(std::isinf(huge));
    EXPECT_GT(huge, 0);
    EXPECT_TRUE(std::isinf(leadingNumber("-1e999")));
    EXPECT_LT(leadingNumber("-1e999"), 0);
    EXPECT_THROW(toInt16(huge), OverflowError);
    // Vanishingly small values are simply zero.
    EXPECT_EQ(leadingNumber("1e-999"), 0);
}

TEST(LeadingNumber, LongDigitRunsKeepTheirValue) {
    EXPECT_DOUBLE_EQ(leadingNumber("123456789012345678901234567890"), 1.2345678901234568e29);
    EXPECT_DOUBLE_EQ(leadingNumber("0.000000000000000000001"), 1e-21);
}

// ---------------------------------------------------------------------------------------------
// Whole-number conversion

TEST(WholeNumber, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(toInt16(0.5), 0);
    EXPECT_EQ(toInt16(1.5), 2);
    EXPECT_EQ(toInt16(2.5), 2);
    EXPECT_EQ(toInt16(3.5), 4);
    EXPECT_EQ(toInt16(-0.5), 0);
    EXPECT_EQ(toInt16(-1.5), -2);
    EXPECT_EQ(toInt16(-2.5), -2);
    EXPECT_EQ(toInt32(2.5), 2);
    EXPECT_EQ(toInt32(-3.5), -4);
    EXPECT_EQ(toUInt8(0.5), 0);
    EXPECT_EQ(toUInt8(1.5), 2);
}

TEST(WholeNumber, NonHalvesGoToTheNearest) {
    EXPECT_EQ(toInt16(2.4999), 2);
    EXPECT_EQ(toInt16(2.5001), 3);
    EXPECT_EQ(toInt16(-2.6), -3);
    EXPECT_EQ(toInt16(100), 100);
    EXPECT_EQ(toInt32(123456.7), 123457);
}

TEST(WholeNumber, Int16Range) {
    EXPECT_EQ(toInt16(32767), 32767);
    EXPECT_EQ(toInt16(32767.4), 32767);
    EXPECT_THROW(toInt16(32767.5), OverflowError);
    EXPECT_THROW(toInt16(32768), OverflowError);
    EXPECT_EQ(toInt16(-32768), -32768);
    // -32768.5 rounds to the even -32768, which still fits.
    EXPECT_EQ(toInt16(-32768.5), -32768);
    EXPECT_THROW(toInt16(-32768.6), OverflowError);
    EXPECT_THROW(toInt16(-32769.5), OverflowError);
    EXPECT_THROW(toInt16(1e10), OverflowError);
}

TEST(WholeNumber, Int32Range) {
    EXPECT_EQ(toInt32(2147483647.0), 2147483647);
    EXPECT_EQ(toInt32(2147483646.5), 2147483646);
    EXPECT_THROW(toInt32(2147483647.5), OverflowError);
    EXPECT_EQ(toInt32(-2147483648.0), -2147483647 - 1);
    EXPECT_EQ(toInt32(-2147483648.5), -2147483647 - 1);
    EXPECT_THROW(toInt32(-2147483649.0), OverflowError);
}

TEST(WholeNumber, UInt8Range) {
    EXPECT_EQ(toUInt8(255), 255);
    EXPECT_EQ(toUInt8(254.5), 254);
    EXPECT_THROW(toUInt8(255.5), OverflowError);
    EXPECT_THROW(toUInt8(256), OverflowError);
    EXPECT_EQ(toUInt8(-0.5), 0);
    EXPECT_THROW(toUInt8(-0.6), OverflowError);
    EXPECT_THROW(toUInt8(-1), OverflowError);
}

TEST(WholeNumber, NotANumberAndInfinityOverflow) {
    for (double v : {kNaN, kInf, -kInf}) {
        EXPECT_THROW(toInt16(v), OverflowError);
        EXPECT_THROW(toInt32(v), OverflowError);
        EXPECT_THROW(toUInt8(v), OverflowError);
    }
}

// ---------------------------------------------------------------------------------------------
// Printed number, general-number text, quoted-record numbers

TEST(PrintedNumber, BlankOrMinusThenTheShortestForm) {
    EXPECT_EQ(printedNumber(500), " 500");
    EXPECT_EQ(printedNumber(0.5), " .5");
    EXPECT_EQ(printedNumber(-0.5), "-.5");
    EXPECT_EQ(printedNumber(0), " 0");
    EXPECT_EQ(printedNumber(-12), "-12");
    EXPECT_EQ(printedNumber(2.25), " 2.25");
    EXPECT_EQ(printedNumber(0.076474), " .076474");
    EXPECT_EQ(printedNumber(1e15), " 1E+15");
}

TEST(ShortNumber, NoLeadingZeroAndNoTrailingZeros) {
    EXPECT_EQ(shortNumber(0.076474), ".076474");
    EXPECT_EQ(shortNumber(500), "500");
    EXPECT_EQ(shortNumber(-0.5), "-.5");
    EXPECT_EQ(shortNumber(2.50), "2.5");
    EXPECT_EQ(shortNumber(0), "0");
}

TEST(GeneralNumber, ZeroBeforeThePointAndNoTrailingZeros) {
    EXPECT_EQ(generalNumber(0.308), "0.308");
    EXPECT_EQ(generalNumber(-0.5), "-0.5");
    EXPECT_EQ(generalNumber(500), "500");
    EXPECT_EQ(generalNumber(2.50), "2.5");
    EXPECT_EQ(generalNumber(0), "0");
    EXPECT_EQ(generalNumber(-7), "-7");
}

TEST(GeneralNumber, FifteenSignificantDigits) {
    EXPECT_EQ(generalNumber(1.0 / 3.0), "0.333333333333333");
    EXPECT_EQ(generalNumber(2.0 / 3.0), "0.666666666666667");
    EXPECT_EQ(generalNumber(0.1 + 0.2), "0.3");
    EXPECT_EQ(generalNumber(100.0 / 3.0), "33.3333333333333");
    EXPECT_EQ(generalNumber(1.1 * 1.1), "1.21");
    EXPECT_EQ(generalNumber(123456789.123456789), "123456789.123457");
}

TEST(GeneralNumber, ExponentFormFromE15AndBelowE_4) {
    EXPECT_EQ(generalNumber(1e15), "1E+15");
    EXPECT_EQ(generalNumber(1.5e15), "1.5E+15");
    EXPECT_EQ(generalNumber(1e14), "100000000000000");
    EXPECT_EQ(generalNumber(123456789012345.0), "123456789012345");
    EXPECT_EQ(generalNumber(1e100), "1E+100");
    EXPECT_EQ(generalNumber(-2e20), "-2E+20");
    EXPECT_EQ(generalNumber(1e-7), "1E-07");
    EXPECT_EQ(generalNumber(2.5e-7), "2.5E-07");
    EXPECT_EQ(generalNumber(0.0001), "0.0001");
    EXPECT_EQ(generalNumber(0.00012), "0.00012");
    EXPECT_EQ(generalNumber(0.00001), "1E-05");
    EXPECT_EQ(generalNumber(-0.00001), "-1E-05");
    // Rounding to 15 digits can carry into the next power of ten.
    EXPECT_EQ(generalNumber(999999999999999.9), "1E+15");
}

// ---------------------------------------------------------------------------------------------
// Format patterns

TEST(FormatPattern, RequiredAndOptionalDigits) {
    EXPECT_EQ(formatPattern(3.14159, "###0.00"), "3.14");
    EXPECT_EQ(formatPattern(1234.5, "###0.00"), "1234.50");
    EXPECT_EQ(formatPattern(123456.789, "###0.00"), "123456.79");
    EXPECT_EQ(formatPattern(0, "###0.00"), "0.00");
    EXPECT_EQ(formatPattern(0.5, "#0.000"), "0.500");
    EXPECT_EQ(formatPattern(12.3456, "#0.000"), "12.346");
    EXPECT_EQ(formatPattern(2800, "######0.0000"), "2800.0000");
    EXPECT_EQ(formatPattern(0.25, "######0.0000"), "0.2500");
    EXPECT_EQ(formatPattern(-1.5, "###0.00"), "-1.50");
}

TEST(FormatPattern, ThousandsGrouping) {
    EXPECT_EQ(formatPattern(1234567, "#,###"), "1,234,567");
    EXPECT_EQ(formatPattern(1000, "#,###"), "1,000");
    EXPECT_EQ(formatPattern(999, "#,###"), "999");
    EXPECT_EQ(formatPattern(1234.5, "#,###"), "1,235");
    EXPECT_EQ(formatPattern(-1234, "#,###"), "-1,234");
    // No required digit: zero gives the empty text.
    EXPECT_EQ(formatPattern(0, "#,###"), "");
}

TEST(FormatPattern, OptionalDecimals) {
    EXPECT_EQ(formatPattern(5, "0.##"), "5.");
    EXPECT_EQ(formatPattern(2.5, "0.##"), "2.5");
    EXPECT_EQ(formatPattern(2.25, "0.##"), "2.25");
    EXPECT_EQ(formatPattern(2.555, "0.##"), "2.56");
    EXPECT_EQ(formatPattern(2, "###0.0##"), "2.0");
    EXPECT_EQ(formatPattern(1.5, "###0.0##"), "1.5");
    EXPECT_EQ(formatPattern(1.25, "###0.0##"), "1.25");
    EXPECT_EQ(formatPattern(1.23456, "###0.0##"), "1.235");
    EXPECT_EQ(formatPattern(1.2305, "###0.0##"), "1.231");
}

TEST(FormatPattern, TrailingBlankOfThePatternIsKept) {
    EXPECT_EQ(formatPattern(5, "###.# "), "5. ");
    EXPECT_EQ(formatPattern(12.34, "###.# "), "12.3 ");
    EXPECT_EQ(formatPattern(1234.56, "###.# "), "1234.6 ");
    EXPECT_EQ(formatPattern(0.25, "###.# "), ".3 ");
}

TEST(FormatPattern, RoundsTheDecimalFormHalfAwayFromZero) {
    // 2.675 is stored a hair below 2.675; the decimal form to 15 digits is what is rounded.
    EXPECT_EQ(formatPattern(2.675, "0.00"), "2.68");
    EXPECT_EQ(formatPattern(1.005, "0.00"), "1.01");
    EXPECT_EQ(formatPattern(0.00005, "######0.0000"), "0.0001");
    EXPECT_EQ(formatPattern(2.5, "0"), "3");
    EXPECT_EQ(formatPattern(0.5, "0"), "1");
    EXPECT_EQ(formatPattern(-2.5, "0"), "-3");
    EXPECT_EQ(formatPattern(-0.5, "0"), "-1");
    EXPECT_EQ(formatPattern(-2.675, "0.00"), "-2.68");
    EXPECT_EQ(formatPattern(0.4, "0"), "0");
}

TEST(FormatPattern, CarryRunsIntoNewDigits) {
    EXPECT_EQ(formatPattern(9.995, "0.00"), "10.00");
    EXPECT_EQ(formatPattern(99.5, "0"), "100");
    EXPECT_EQ(formatPattern(0.95, "0.0"), "1.0");
    EXPECT_EQ(formatPattern(999.96, "#,###.0"), "1,000.0");
    EXPECT_EQ(formatPattern(-9.995, "0.00"), "-10.00");
}

TEST(FormatPattern, TheMinusSignFollowsTheValue) {
    EXPECT_EQ(formatPattern(-0.00000008, "###0.0"), "-0.0");
    EXPECT_EQ(formatPattern(-0.0, "###0.0"), "0.0");
    EXPECT_EQ(formatPattern(-0.0, "0.00"), "0.00");
    EXPECT_EQ(formatPattern(-0.0, "0"), "0");
}

TEST(FormatPattern, LargeAndSmallMagnitudes) {
    EXPECT_EQ(formatPattern(1e15, "0.00"), "1000000000000000.00");
    EXPECT_EQ(formatPattern(1e15, "#,###"), "1,000,000,000,000,000");
    EXPECT_EQ(formatPattern(123456789012.345, "###0.00"), "123456789012.35");
    EXPECT_EQ(formatPattern(1e-7, "0.00"), "0.00");
    EXPECT_EQ(formatPattern(1e-7, "###0.0"), "0.0");
    EXPECT_EQ(formatPattern(1e-7, "0.0000000"), "0.0000001");
    EXPECT_EQ(formatPattern(1.5e-7, "0.0000000"), "0.0000002");
    EXPECT_EQ(formatPattern(4.9e-7, "0.000000"), "0.000000");
    EXPECT_EQ(formatPattern(5e-7, "0.000000"), "0.000001");
}
