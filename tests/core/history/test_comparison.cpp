#include "HistoryTestData.h"
#include "core/history/GroupImport.h"
#include "core/history/LoadComparison.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using namespace fendrel;
using namespace fendrel::test;

TEST(LoadComparison, PutsLoadsTogetherByChargeWithAVelocityLine) {
    LoadHistory a, b;
    a.strings = {velocityString("2024-05-01", {2600, 2610}, 42),
                 velocityString("2024-05-02", {2650}, 43)};
    b.strings = {velocityString("2024-05-03", {2700, 2702, 2704}, 44)};
    b.groups = {paperGroup("2024-05-03", 43, 1.0), paperGroup("2024-05-03", 43, 2.0),
                paperGroup("2024-05-04", 44, 0.5)};
    b.groups[1].distanceYd = 200; // 2 inches at 200 yd: the same angle as 1 inch at 100
    const std::vector<LoadHistory> loads = {a, b};
    const auto c = compareLoads(loads);
    ASSERT_TRUE(c) << c.refusal;
    EXPECT_EQ(c.value.caliber, ".308 Winchester");
    ASSERT_EQ(c.value.points.size(), 3u);
    const ChargePoint &p42 = c.value.points[0], &p43 = c.value.points[1], &p44 = c.value.points[2];
    EXPECT_EQ(p42.chargeGr, 42);
    EXPECT_EQ(*p42.velocityFps, 2605);
    EXPECT_DOUBLE_EQ(*p42.sdFps, std::sqrt(50.0));
    EXPECT_FALSE(p42.groupMoa);
    EXPECT_EQ(p43.groups, 2);
    EXPECT_EQ(*p43.sdFps, 0);
    // True minutes of angle: 1 inch at 100 yards is atan(1/3600), 0.9549 MOA (not 1.047).
    const double oneInch = std::atan(1.0 / 3600) * 180 / std::numbers::pi * 60;
    EXPECT_NEAR(oneInch, 0.954929, 1e-6);
    EXPECT_NEAR(*p43.groupMoa, oneInch, 1e-9);
    EXPECT_EQ(p44.shots, 3);
    EXPECT_EQ(*p44.velocityFps, 2702);
    ASSERT_TRUE(c.value.line);
    // Through every shot (six points), not the three means: 1410 / 29 ft/s per grain.
    EXPECT_NEAR(c.value.line->slopeFpsPerGrain, 1410.0 / 29, 1e-9);
    EXPECT_NEAR(c.value.line->interceptFps + 259.0 / 6 * 1410 / 29, 15966.0 / 6, 1e-9);
    ASSERT_TRUE(c.value.ladder);
    EXPECT_TRUE(p44.velocityIntervalFps && p44.sdIntervalFps);
    EXPECT_FALSE(p43.velocityIntervalFps); // one shot
    // The 2 inch group at 200 yd counts as its angle in the pooled interval.
    ASSERT_TRUE(p43.groupIntervalMoa);
    EXPECT_LT(p43.groupIntervalMoa->low, p43.groupIntervalMoa->high);

    // One charge: no line. Another bullet or nothing at all: refused.
    LoadHistory single;
    single.strings = {a.strings[0]};
    EXPECT_FALSE(compareLoads(std::vector<LoadHistory>{single}).value.line);
    b.groups[2].round.bulletWeightGr = 150;
    const std::string why = compareLoads(std::vector<LoadHistory>{a, b}).refusal;
    EXPECT_NE(why.find(".308 Winchester 168 gr and .308 Winchester 150 gr"), std::string::npos)
        << why;
    EXPECT_FALSE(compareLoads(std::vector<LoadHistory>{LoadHistory{}}));
}

TEST(LoadComparison, RangeCardTakesTheLatestStringAndPoolsTheGroups) {
    LoadHistory h;
    EXPECT_FALSE(rangeCardValues(h).string);
    h.strings = {velocityString("2024-05-01", {2500}), velocityString("2024-05-09", {2640, 2660})};
    h.groups = {paperGroup("2024-05-01", 42.5, 1.0), paperGroup("2024-05-02", 42.5, 3.0)};
    const RangeCardValues r = rangeCardValues(h);
    ASSERT_TRUE(r.string);
    EXPECT_EQ(r.string->date, "2024-05-09");
    EXPECT_EQ(r.velocityFps, 2650);
    EXPECT_DOUBLE_EQ(r.sdFps, std::sqrt(200.0));
    EXPECT_EQ(r.groups, 2);
    const double s1 = groupSigmaMoa(h.groups[0]), s3 = groupSigmaMoa(h.groups[1]);
    EXPECT_NEAR(s1, meanRadiusMoa(h.groups[0]) / std::sqrt(std::numbers::pi / 2), 1e-12);
    EXPECT_NEAR(r.dispersionMoa, std::sqrt((s1 * s1 + s3 * s3) / 2), 1e-12);
    // Two groups of two shots: 2 (M - 1) = 4 degrees of freedom between them.
    EXPECT_EQ(r.velocityShots, 2);
    EXPECT_EQ(r.dispersionShots, 3);
}

TEST(LoadComparison, LadderAndSensitivityFromTheStrings) {
    LoadHistory a, b;
    a.strings = {velocityString("2024-05-01", {2600, 2610}, 42),
                 velocityString("2024-05-02", {2650}, 43)};
    b.strings = {velocityString("2024-05-03", {2700, 2702, 2704}, 44),
                 velocityString("2024-07-03", {2740, 2750}, 44),
                 velocityString("2024-07-04", {9999}, 44)};
    const auto ladder = ladderOfLoads(std::vector<LoadHistory>{a, b}, 0.95);
    EXPECT_EQ(ladder.value.line.points, 9);
    EXPECT_EQ(ladder.value.charges[2].string.statistics.count, 6);
    b.strings[0].temperatureF = 30;
    EXPECT_FALSE(sensitivityOfLoad(b, 0.95)); // one temperature; the others have none
    b.strings[1].temperatureF = 90;
    const auto t = sensitivityOfLoad(b, 0.95);
    EXPECT_EQ(t.value.line.points, 5);
    // At two temperatures the line runs through the two means: (2745 - 2702) / 60.
    EXPECT_NEAR(t.value.line.slope, 43.0 / 60, 1e-12);
}

TEST(GroupImport, TakesAGroupFileOrTheLastComputedGroup) {
    const auto g = groupFromFileBytes("Three-four-five, 75\xB0"
                                      "F\r\n0\r\n3\r\n0,0\r\n3,0\r\n0,4\r\n\r\n 0\r\n",
                                      100);
    ASSERT_TRUE(g) << g.refusal;
    EXPECT_EQ(g.value.note, "Three-four-five, 75\u00B0F");
    EXPECT_EQ(g.value.shots.size(), 3u);
    EXPECT_EQ(g.value.shots[2].y, 4);
    EXPECT_EQ(g.value.extremeSpreadIn, 5);
    EXPECT_EQ(g.value.medianSpreadIn, 4);
    EXPECT_NEAR(g.value.meanRadiusIn, 2.306, 5e-4);
    EXPECT_EQ(g.value.distanceYd, 100);

    EXPECT_FALSE(groupFromFileBytes("T\r\n0.308\r\n3\r\n1,1\r\n", 100));
    EXPECT_FALSE(groupFromFileBytes("T\r\n-1\r\n2\r\n1,1\r\n2,2\r\n\r\n 0\r\n", 100));
    const std::vector<Shot> shots = {{1, 1}, {1, 2}};
    const GroupMeasurement m = measureGroup(0.308, shots);
    EXPECT_EQ(groupFromMeasurement(0.308, shots, m, 100).value.meanRadiusIn, 0.5);
    EXPECT_FALSE(groupFromMeasurement(0.308, shots, m, 0));
    EXPECT_FALSE(groupFromMeasurement(0.308, shots, GroupMeasurement{}, 100));

    const RoundKey key =
        roundKeyFromRecord({"Caf\xE9 load", ".308 Win", "168", ".462", "", "", "", "", "42.5gr"});
    EXPECT_EQ(key.description, "Caf\u00E9 load");
    EXPECT_EQ(key.round, (RoundSnapshot{".308 Win", 168, 0.462, 42.5}));
}
