#include "core/engine/RunSettingsEntry.h"

#include <gtest/gtest.h>

using namespace fendrel;

namespace {
RunSettingsTexts boxes(const char* interval, const char* maximum, const char* zero) {
    RunSettingsTexts t = settingsTextsOnOpen(0, 0);
    t.rangeInterval = interval;
    t.rangeMaximum = maximum;
    t.zeroRange = zero;
    return t;
}

// The box at fault, by the name the dialog gives it, and the refusal.
std::string refusal(const RunSettingsTexts& t) {
    RunSettings s;
    RunSettingsBox box = RunSettingsBox::None;
    const Status r = acceptRunSettings(t, s, &box);
    const char* names[] = {"", "txtRInt", "txtRMax", "txtRangeWind", "txtCrossWind", "txtRZero",
                           "txtRHeight"};
    return r ? "" : names[static_cast<int>(box)] + std::string(": ") + r.refusal;
}
} // namespace

TEST(RunSettingsEntry, OpensWithDefaultsChecksTheRangesAndStoresHalvesToEvenOrNothing) {
    const RunSettingsTexts opened = settingsTextsOnOpen(7.25, -0.5);
    EXPECT_TRUE(opened.meters);
    EXPECT_EQ(opened.rangeInterval + " " + opened.rangeMaximum + " " + opened.zeroRange + " " +
                  opened.zeroHeight + " " + opened.downrangeWind + " " + opened.crossWind,
              "50 500 200 0 7.25 -0.5");
    EXPECT_EQ(settingsTextsOnOpen(0, 0).downrangeWind, "0");
    EXPECT_EQ(unitWord(true) + " " + unitWord(false), "meters yards");
    // The two range checks accept equal values.
    EXPECT_EQ(refusal(boxes("500", "500", "500")), "");
    EXPECT_EQ(refusal(boxes("501", "500", "200")),
              "txtRInt: The range interval must be less than maximum range");
    EXPECT_EQ(refusal(boxes("100", "500", "600")),
              "txtRZero: The range at zero must be less than maximum range");
    RunSettings s;
    const Status r = acceptRunSettings(boxes("501", "500", "200"), s);
    EXPECT_TRUE(r.title == "Error" && r.icon == MessageIcon::Information);
    // Text that is not a number reads as 0.
    EXPECT_EQ(refusal(boxes("abc", "500", "0")),
              "txtRInt: The range interval must be greater than zero");
    EXPECT_EQ(refusal(boxes("0.4", "500", "0")).substr(0, 9), "txtRInt: ");
    EXPECT_EQ(refusal(boxes("10", "500", "-3")).substr(0, 10), "txtRZero: ");
    EXPECT_EQ(refusal(boxes("2", "510", "0")), ""); // 255 intervals
    EXPECT_EQ(refusal(boxes("2", "511", "0")), std::string("txtRInt: ") + kRowsRefusal);

    // What it accepts is stored, halves to even; what it refuses leaves the settings as they are.
    RunSettingsTexts t = boxes("100", "500", "12.5");
    t.meters = false;
    t.downrangeWind = "10";
    t.crossWind = "-2.5";
    t.zeroHeight = "3.75";
    ASSERT_TRUE(acceptRunSettings(t, s));
    EXPECT_EQ(s.unitsCode, "Y");
    EXPECT_TRUE(s.rangeInterval == 100 && s.maximumRange == 500 && s.downrangeWind == 10);
    EXPECT_EQ(s.zeroRange, 12);
    EXPECT_EQ(s.crossWind, -2);
    EXPECT_EQ(s.zeroHeight, 3.75);
    ASSERT_TRUE(acceptRunSettings(boxes("100", "500", "13.5"), s));
    EXPECT_EQ(s.zeroRange, 14);
    EXPECT_EQ(s.unitsCode, "M");
    // Values outside the fields are refused and nothing is stored.
    s.maximumRange = 321;
    EXPECT_FALSE(acceptRunSettings(boxes("100", "40000", "200"), s));
    EXPECT_EQ(s.maximumRange, 321);
    EXPECT_EQ(
        refusal(boxes("100", "40000", "200")),
        "txtRMax: The value of \"Range Maximum\" must be a whole number from -32768 to 32767");
    t = boxes("100", "500", "200");
    t.crossWind = "-32768.6";
    EXPECT_EQ(refusal(t).substr(0, 14), "txtCrossWind: ");
    t.crossWind = "-32768.4";
    EXPECT_EQ(refusal(t), "");
}

