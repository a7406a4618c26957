#include "ReferenceCases.h"
#include "core/stats/Estimates.h"

#include <gtest/gtest.h>

using namespace fendrel;
using test::agrees;

TEST(Estimates, PublishedSdFactors) {
    // The interval of an SD measured from 5 and from 10 shots, at 95 %.
    const ConfidenceInterval five = sdFactors(4, 0.95), ten = sdFactors(9, 0.95);
    EXPECT_EQ(formatPattern(five.low, "0.00") + "-" + formatPattern(five.high, "0.00"),
              "0.60-2.87");
    EXPECT_EQ(formatPattern(ten.low, "0.00") + "-" + formatPattern(ten.high, "0.00"), "0.69-1.83");
}

TEST(Estimates, StringsAgreeWithTheReference) {
    for (const auto& c : test::referenceCases("strings.txt")) {
        const auto e = estimateString(c.at("shots"), c.at("confidence")[0]);
        ASSERT_TRUE(e) << e.refusal;
        EXPECT_TRUE(agrees(e.value.statistics.meanFps, c.at("mean")[0]));
        EXPECT_TRUE(agrees(*e.value.sdFps, c.at("sd")[0]));
        EXPECT_TRUE(agrees(*e.value.meanIntervalFps, c.at("mean_ci")[0], c.at("mean_ci")[1]));
        EXPECT_TRUE(agrees(*e.value.sdIntervalFps, c.at("sd_ci")[0], c.at("sd_ci")[1]));
    }
}

TEST(Estimates, GroupsAgreeWithTheReference) {
    for (const auto& c : test::referenceCases("groups.txt")) {
        std::vector<Shot> shots;
        for (size_t i = 0; i < c.at("x").size(); ++i)
            shots.push_back({c.at("x")[i], c.at("y")[i]});
        const auto g = estimateGroup(shots, c.at("distance")[0], c.at("confidence")[0]);
        ASSERT_TRUE(g) << g.refusal;
        EXPECT_TRUE(agrees(g.value.sigmaIn, c.at("sigma")[0]));
        EXPECT_TRUE(agrees(g.value.sigmaIntervalIn, c.at("sigma_ci")[0], c.at("sigma_ci")[1]));
        EXPECT_TRUE(agrees(g.value.expectedMeanRadiusIn, c.at("expected_mean_radius")[0]));
        EXPECT_TRUE(agrees(g.value.sigmaMoa, c.at("sigma_moa")[0]));
        EXPECT_TRUE(
            agrees(g.value.sigmaIntervalMoa, c.at("sigma_ci_moa")[0], c.at("sigma_ci_moa")[1]));
    }
}

TEST(Estimates, DegenerateSamplesAndLevels) {
    // One shot: a mean, but no SD and no intervals.
    const auto one = estimateString(std::vector<double>{2650}, 0.95);
    ASSERT_TRUE(one);
    EXPECT_EQ(one.value.statistics.meanFps, 2650);
    EXPECT_FALSE(one.value.sdFps || one.value.meanIntervalFps || one.value.sdIntervalFps);
    // All alike: intervals of no width.
    const auto same = estimateString(std::vector<double>{2650, 2650, 2650}, 0.95);
    ASSERT_TRUE(same);
    EXPECT_EQ(same.value.sdIntervalFps->high, 0);
    EXPECT_EQ(same.value.meanIntervalFps->low, 2650);
    const auto hole = estimateGroup(std::vector<Shot>{{1, 1}, {1, 1}}, 100, 0.95);
    ASSERT_TRUE(hole);
    EXPECT_EQ(hole.value.sigmaIntervalMoa.high, 0);

    for (double level : {0.0, 0.49, 0.9991, 1.0, std::nan("")})
        EXPECT_EQ(estimateString(std::vector<double>{1, 2}, level).refusal,
                  "The confidence level must lie from 0.5 to 0.999 (50 % to 99.9 %).");
    EXPECT_TRUE(estimateString(std::vector<double>{1, 2}, 0.5));
    EXPECT_TRUE(estimateString(std::vector<double>{1, 2}, 0.999));
    EXPECT_FALSE(estimateString({}, 0.95));
    EXPECT_FALSE(estimateString(std::vector<double>{1, INFINITY}, 0.95));
    EXPECT_FALSE(estimateString(std::vector<double>{1e308, -1e308}, 0.95));
    EXPECT_EQ(estimateGroup(std::vector<Shot>{{1, 1}}, 100, 0.95).refusal,
              "A group of one shot has no spread: measure at least two shots.");
    for (double yd : {0.0, -5.0, 10001.0})
        EXPECT_FALSE(estimateGroup(std::vector<Shot>{{0, 0}, {1, 1}}, yd, 0.95));
    EXPECT_FALSE(estimateGroup(std::vector<Shot>{{0, 0}, {1e200, 1}}, 100, 0.95));
    EXPECT_EQ(percentText(0.95) + " " + percentText(0.999), "95 % 99.9 %");
}
