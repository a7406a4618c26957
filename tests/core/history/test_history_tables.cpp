#include "HistoryTestData.h"
#include "TestFolder.h"
#include "core/history/HistoryTables.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace fendrel;
using namespace fendrel::test;

TEST(HistoryTables, CsvQuotesTextsAndKeepsEveryColumnInPlace) {
    LoadHistory load;
    load.description = "Ladder, \"A\"";
    load.strings = {velocityString("2024-05-01", {2600, 2610.5}, 42)};
    load.strings[0].temperatureF = 68;
    load.groups = {paperGroup("2024-05-02", 42.5)};
    load.groups[0].note = "calm; sunny";
    const std::string csv = historyCsv(std::vector<LoadHistory>{load});
    ASSERT_EQ(csv.substr(0, 3), "\xEF\xBB\xBF");
    const auto rows = crlfLines(csv.substr(3));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[1], "\"Ladder, \"\"A\"\"\",String,2024-05-01,.308 Winchester,168,0.462,42,68,"
                       "2,2605.3,7.4,10.5,2600.0,2610.5,,,,,,,,2600 2610.5");
    EXPECT_EQ(rows[2], "\"Ladder, \"\"A\"\"\",Group,2024-05-02,.308 Winchester,168,0.462,42.5,,"
                       "2,,,,,,100,0.500,0.48,1.308,1.308,1.308,\"calm; sunny\",");
}

TEST(HistoryTables, EntryFieldsReadBackWhatTheyShowAndNameTheFieldAtFault) {
    VelocityString s = velocityString("2024-05-01", {823.2 / 0.3048, 2700.25}, 42.5);
    s.temperatureF = -3.5;
    s.note = "cold";
    VelocityString read = velocityString("2000-01-01", {1}, 40);
    ASSERT_TRUE(readStringFields(fieldsOf(s), read, true));
    EXPECT_EQ(read.shotsFps, s.shotsFps); // exactly, M/S conversions included
    EXPECT_EQ(read.temperatureF, s.temperatureF);
    EXPECT_EQ(read.round, s.round);
    EXPECT_EQ(read.date + read.note, "2024-05-01cold");

    EntryFields f = fieldsOf(s);
    f.temperature = "  ";
    ASSERT_TRUE(readStringFields(f, read, false));
    EXPECT_FALSE(read.temperatureF);
    const auto refusal = [&](EntryFields bad) {
        VelocityString untouched = s;
        const std::string why = readStringFields(bad, untouched, true).refusal;
        EXPECT_EQ(untouched.shotsFps, s.shotsFps) << "changed on refusal";
        return why.substr(0, 14);
    };
    EXPECT_EQ(refusal({"2024-02-30", "", "42", "", "", "2700"}), "The date must ");
    EXPECT_EQ(refusal({"2024-05-01", "250", "42", "", "", "2700"}), "The air temper");
    EXPECT_EQ(refusal({"2024-05-01", "", "42,5", "", "", "2700"}), "The powder cha");
    EXPECT_EQ(refusal({"2024-05-01", "", "42", "", "", "2700 x"}), "Shot 2: 'x' is");

    HistoryGroup g = paperGroup("2024-05-02", 42);
    EXPECT_FALSE(readGroupFields({"2024-05-02", "", "42", "0", "", ""}, g));
    ASSERT_TRUE(readGroupFields({" 2024-05-03 ", "", "43", " 300 ", "", ""}, g));
    EXPECT_EQ(g.distanceYd, 300);
    EXPECT_EQ(g.round.powderChargeGr, 43);
    EXPECT_EQ(g.date, "2024-05-03");
}

TEST(HistoryTables, ChartScalesCoverTheValuesInRoundSteps) {
    for (auto [lo, hi] : {std::pair{2601.3, 2799.9}, {41.5, 43.0}, {0.42, 0.42}, {-3.0, 12.0}}) {
        const AxisScale s = comparisonScale(lo, hi, 6);
        EXPECT_LT(s.minimum, lo);
        EXPECT_GT(s.maximum, hi);
        EXPECT_LE(s.intervals(), 6);
        const double mantissa = s.step / std::pow(10.0, std::floor(std::log10(s.step)));
        EXPECT_TRUE(std::abs(mantissa - 1) < 1e-9 || std::abs(mantissa - 2) < 1e-9 ||
                    std::abs(mantissa - 5) < 1e-9)
            << s.step;
    }
    EXPECT_EQ(scaleLabel(comparisonScale(41.5, 43.0, 8), 1), "41.5");
    const AxisScale around = comparisonScale(-0.3, 0.3, 6);
    for (int i = 0; i <= around.intervals(); ++i)
        EXPECT_NE(scaleLabel(around, i), "-0.0");
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(comparisonScale(0, inf, 6).intervals(), 5);

    // A value that is not a number shows as an empty cell, never as text of its own.
    LoadHistory odd;
    odd.groups = {paperGroup("2024-05-02", 42)};
    odd.groups[0].extremeSpreadIn = inf;
    EXPECT_EQ(groupsTable(std::vector<LoadHistory>{odd}).rows[0][8], "");
}
