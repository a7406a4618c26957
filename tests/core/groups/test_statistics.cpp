#include "TestFolder.h"
#include "core/groups/GroupStatistics.h"
#include "core/groups/LongSorts.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <functional>
#include <random>

using namespace fendrel;

TEST(LongSorts, SortsBothWaysLikeTheLibrary) {
    std::mt19937 random(7);
    std::uniform_int_distribution<std::int32_t> value(-50, 50);
    for (int size : {0, 1, 2, 3, 10, 257}) {
        std::vector<std::int32_t> values(size);
        for (auto& v : values)
            v = value(random);
        auto ascending = values, descending = values, expectUp = values, expectDown = values;
        sortLongs(ascending);
        sortLongs(descending, {}, true);
        std::sort(expectUp.begin(), expectUp.end());
        std::sort(expectDown.begin(), expectDown.end(), std::greater<>());
        EXPECT_EQ(ascending, expectUp) << size;
        EXPECT_EQ(descending, expectDown) << size;
    }
    std::vector<std::int32_t> head{5, 1, 4, 0};
    sortLongs(head, 2); // the tail past the last index stays
    EXPECT_EQ(head, (std::vector<std::int32_t>{1, 4, 5, 0}));
}

TEST(GroupStatistics, SmallGroupsMeasuredByHand) {
    const auto m = measureGroup(0.308, {{1, 1}, {1, 2}});
    EXPECT_NEAR(m.extremeSpread, 1.308, 1e-12);
    EXPECT_NEAR(m.meanSpread, 1.308, 1e-12);
    EXPECT_NEAR(m.medianSpread, 1.308, 1e-12);
    EXPECT_NEAR(m.meanRadius, 0.5, 1e-12);
    EXPECT_EQ(m.extremeSpreadDump, "Round 1,0.308,1.308\r\nRound 2,1.308,0.308\r\n");
    EXPECT_EQ(m.meanRadiusDump, " .5\r\n .5\r\nMean radius of this group = 0.5\r\n");
    EXPECT_EQ(m.spreadList, (std::vector<std::int32_t>{13080, 13080, 3080, 3080, 0}));
    EXPECT_EQ(m.medianIndex, 1);
    EXPECT_EQ(resultsText("0.308", "2", m),
              "RESULTS OF PRECISION MEASUREMENTS FOR 0.308 CALIBER 2-SHOT GROUP.\r\n"
              "_______________________________________\r\nMean Radius    = 0.500\r\n"
              "Mean Spread    = 1.308\r\nExtreme Spread = 1.308\r\nMedian Spread  = 1.308");
    // The distance files replace earlier ones whatever the case of their names.
    test::TestFolder folder(false);
    folder.write("es_DIST.dmp", "old contents that are longer than the new ones\r\n");
    EXPECT_EQ(writeDistanceFiles(folder.path(), m), "");
    EXPECT_EQ(folder.read("es_DIST.dmp"), m.extremeSpreadDump);
    EXPECT_EQ(folder.read("MR_dist.dmp"), m.meanRadiusDump);
    EXPECT_NE(writeDistanceFiles(folder.path() / "missing" / "folder", m), "");
    // Pair spreads 1, 2, 3, 4, 5 and sqrt(2): six different values.
    const auto even = measureGroup(0, {{0, 0}, {1, 0}, {3, 0}, {0, 4}});
    std::vector<double> pairs;
    for (int i = 0; i < 4; ++i)
        for (int j = i + 1; j < 4; ++j)
            pairs.push_back(even.spreads[i][j]);
    std::sort(pairs.begin(), pairs.end());
    ASSERT_EQ(std::adjacent_find(pairs.begin(), pairs.end()), pairs.end());
    EXPECT_NEAR(even.medianSpread, pairs[2], 0.00005); // the third smallest, not a mean
    EXPECT_NE(even.medianSpread, (pairs[2] + pairs[3]) / 2);
    // A three-four-five triangle.
    const auto t = measureGroup(0, {{0, 0}, {3, 0}, {0, 4}});
    EXPECT_DOUBLE_EQ(t.extremeSpread, 5);
    EXPECT_DOUBLE_EQ(t.meanSpread, 4);
    EXPECT_DOUBLE_EQ(t.medianSpread, 4);
    EXPECT_DOUBLE_EQ(t.centreX, 1);
    EXPECT_DOUBLE_EQ(t.centreY, 4.0 / 3);
    EXPECT_EQ(t.medianIndex, 3);
    EXPECT_EQ(t.extremeSpreadDump, "Round 1,0,3,4\r\nRound 2,3,0,5\r\nRound 3,4,5,0\r\n");
}

TEST(GroupStatistics, CoincidentShotsResolutionAndLimits) {
    const auto m = measureGroup(0.308, {{2, 2}, {2, 2}, {2, 3}});
    EXPECT_DOUBLE_EQ(m.spreads[0][1], 0.308);
    EXPECT_DOUBLE_EQ(m.spreads[1][0], 0.308);
    EXPECT_NEAR(m.medianSpread, 1.308, 1e-12);
    EXPECT_NEAR(m.meanSpread, (0.308 + 1.308 + 1.308) / 3, 1e-12);
    const auto same = measureGroup(0.5, {{1, 1}, {1, 1}});
    EXPECT_DOUBLE_EQ(same.extremeSpread, 0.5);
    EXPECT_DOUBLE_EQ(same.meanRadius, 0);
    // The median's resolution is a ten-thousandth.
    const auto fine = measureGroup(0, {{0, 0}, {1.23456, 0}});
    EXPECT_EQ(fine.spreadList.front(), 12346);
    EXPECT_DOUBLE_EQ(fine.medianSpread, 1.2346);
    EXPECT_DOUBLE_EQ(fine.extremeSpread, 1.23456);
    // The largest group fits; shots too far apart are refused.
    std::vector<Shot> shots;
    for (int i = 0; i < kMaximumRounds; ++i)
        shots.push_back({(i % 13) * 0.1, (i / 13) * 0.1});
    const auto largest = measureGroup(0.308, shots);
    EXPECT_EQ(largest.medianIndex, (181 * 181 - 181) / 2);
    EXPECT_EQ(largest.spreadList.size(), 181u * 181u + 1);
    EXPECT_TRUE(std::is_sorted(largest.spreadList.rbegin(), largest.spreadList.rend()));
    EXPECT_THROW(measureGroup(0.308, std::vector<Shot>(182)), std::invalid_argument);
    EXPECT_THROW(measureGroup(0.308, std::vector<Shot>(1)), std::invalid_argument);
    EXPECT_THROW(measureGroup(0, {{0, 0}, {300000, 0}}), std::invalid_argument);
    EXPECT_THROW(measureGroup(0, {{0, 0}, {1e300, 1e300}}), std::invalid_argument);
    EXPECT_NO_THROW(measureGroup(0, {{0, 0}, {200000, 0}}));
}

TEST(GroupEntry, TheWholeTextIsTheNumberRoundsFrom2To181AndWhatCannotBeMeasured) {
    EXPECT_EQ(numberText(" 1.25 "), 1.25);
    EXPECT_EQ(numberText("-.5"), -0.5);
    EXPECT_EQ(numberText("3."), 3.0);
    EXPECT_EQ(numberText("2E2"), 200.0);
    for (const char* bad : {"", " ", ".", "-", "1,5", "1.2.3", "abc", "5 rounds", "1e", "1e999"})
        EXPECT_FALSE(numberText(bad).has_value()) << bad;
    // Rounds are whole, from 2 to 181.
    EXPECT_EQ(roundsText("5"), 5);
    EXPECT_EQ(roundsText(" 181 "), 181);
    EXPECT_EQ(roundsText("2.0"), 2);
    for (const char* bad : {"1", "0", "-3", "182", "255", "5.5", "", "five"})
        EXPECT_FALSE(roundsText(bad).has_value()) << bad;

    // A group that cannot be measured is refused.
    const GroupEntry good{"0.308", "2", {{"1.0", "1.0"}, {"1.0", "2.0"}}};
    EXPECT_EQ(evaluateGroup(good).refusal, "");
    auto refusal = [&](auto change) {
        GroupEntry e = good;
        change(e);
        return evaluateGroup(e).refusal;
    };
    EXPECT_EQ(refusal([](GroupEntry& e) { e.roundsText = "1"; }),
              "The number of rounds must be a whole number from 2 to 181.");
    // The caliber is its text's leading number: a name after it or no number at all is no fault.
    for (const char* caliber : {".308 Win", "", "caliber"})
        EXPECT_EQ(refusal([&](GroupEntry& e) { e.caliberText = caliber; }), "") << caliber;
    GroupEntry named = good;
    named.caliberText = ".308 Win";
    EXPECT_DOUBLE_EQ(evaluateGroup(named).measurement.extremeSpread,
                     evaluateGroup(good).measurement.extremeSpread);
    EXPECT_EQ(refusal([](GroupEntry& e) { e.cells[1].second = " "; }),
              "Round 2 has no coordinates yet: enter its X and Y before measuring the group.");
    EXPECT_EQ(refusal([](GroupEntry& e) { e.cells[0].first = "1,5"; }),
              "The X coordinate of round 1 is not a number: \"1,5\".");
    EXPECT_NE(refusal([](GroupEntry& e) { e.roundsText = "3"; }).find("Round 3"),
              std::string::npos);
}

