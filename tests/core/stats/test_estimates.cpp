#include "ReferenceCases.h"
#include "core/stats/Estimates.h"

using namespace fendrel;
using test::agrees;

TEST(Estimates, PublishedSdFactors) {
    // The interval of an SD measured from 5 and from 10 shots, at 95 %.
    for (auto [df, text] : {std::pair{4, "0.60-2.87"}, std::pair{9, "0.69-1.83"}}) {
        const ConfidenceInterval f = sdFactors(df, 0.95);
        EXPECT_EQ(formatPattern(f.low, "0.00") + "-" + formatPattern(f.high, "0.00"), text);
    }
}

TEST(Estimates, StringsAndGroupsAgreeWithTheReference) {
    for (const auto& c : test::referenceCases("strings.txt")) {
        const auto e = estimateString(c.at("shots"), c.at("confidence")[0]);
        ASSERT_TRUE(e) << e.refusal;
        EXPECT_TRUE(agrees(e.value.statistics.meanFps, c.at("mean")[0]));
        EXPECT_TRUE(agrees(*e.value.sdFps, c.at("sd")[0]));
        EXPECT_TRUE(agrees(*e.value.meanIntervalFps, c.at("mean_ci")));
        EXPECT_TRUE(agrees(*e.value.sdIntervalFps, c.at("sd_ci")));
    }
    for (const auto& c : test::referenceCases("groups.txt")) {
        std::vector<Shot> shots;
        for (size_t i = 0; i < c.at("x").size(); ++i)
            shots.push_back({c.at("x")[i], c.at("y")[i]});
        const auto g = estimateGroup(shots, c.at("distance")[0], c.at("confidence")[0]);
        ASSERT_TRUE(g) << g.refusal;
        EXPECT_TRUE(agrees(g.value.sigmaIn, c.at("sigma")[0]));
        EXPECT_TRUE(agrees(g.value.sigmaIntervalIn, c.at("sigma_ci")));
        EXPECT_TRUE(agrees(g.value.expectedMeanRadiusIn, c.at("expected_mean_radius")[0]));
        EXPECT_TRUE(agrees(g.value.sigmaMoa, c.at("sigma_moa")[0]));
        EXPECT_TRUE(agrees(g.value.sigmaIntervalMoa, c.at("sigma_ci_moa")));
    }
}

TEST(Estimates, DegenerateSamplesAndLevels) {
    // One shot: a mean, but no SD and no intervals. All alike, or one hole: no width.
    const auto one = estimateString(std::vector<double>{2650}, 0.95);
    EXPECT_TRUE(one && !one.value.sdFps && !one.value.meanIntervalFps && !one.value.sdIntervalFps);
    EXPECT_EQ(estimateString(std::vector<double>{2650, 2650}, 0.95).value.sdIntervalFps->high, 0);
    EXPECT_EQ(
        estimateGroup(std::vector<Shot>{{1, 1}, {1, 1}}, 100, 0.95).value.sigmaIntervalMoa.high, 0);
    for (double level : {0.49, 0.9991, std::nan("")})
        EXPECT_EQ(estimateString(std::vector<double>{1, 2}, level).refusal,
                  "The confidence level must lie from 0.5 to 0.999 (50 % to 99.9 %).");
    EXPECT_TRUE(estimateString(std::vector<double>{1, 2}, 0.5) &&
                estimateString(std::vector<double>{1, 2}, 0.999));
    for (const std::vector<double>& bad : {std::vector<double>{}, {1, INFINITY}, {1e308, -1e308}})
        EXPECT_FALSE(estimateString(bad, 0.95));
    EXPECT_EQ(estimateGroup(std::vector<Shot>{{1, 1}}, 100, 0.95).refusal,
              "A group of one shot has no spread: measure at least two shots.");
    for (double yd : {0.0, 10001.0})
        EXPECT_FALSE(estimateGroup(std::vector<Shot>{{0, 0}, {1, 1}}, yd, 0.95));
    EXPECT_FALSE(estimateGroup(std::vector<Shot>{{0, 0}, {1e200, 1}}, 100, 0.95));
    EXPECT_EQ(percentText(0.95) + " " + percentText(0.999), "95 % 99.9 %");
}
