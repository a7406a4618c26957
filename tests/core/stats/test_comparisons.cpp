#include "ReferenceCases.h"
#include "core/stats/Comparisons.h"

#include <gtest/gtest.h>

using namespace fendrel;
using test::agrees;

namespace {

void expectShots(const ShotsNeeded& need, const std::vector<double>& reference) {
    EXPECT_EQ(need.shots, reference.at(0));
    EXPECT_TRUE(agrees(need.power, reference.at(1)));
    EXPECT_EQ(need.capped, reference.at(2) == 1);
}

std::vector<Shot> shotsOf(const std::vector<double>& x, const std::vector<double>& y) {
    std::vector<Shot> shots;
    for (size_t i = 0; i < x.size(); ++i)
        shots.push_back({x[i], y[i]});
    return shots;
}

} // namespace

TEST(Comparisons, StringsAgreeWithTheReference) {
    for (const auto& c : test::referenceCases("compare_strings.txt")) {
        const auto r =
            compareStrings(c.at("a"), c.at("b"), c.at("confidence")[0], c.at("power")[0]);
        ASSERT_TRUE(r) << r.refusal;
        const StringComparison& s = r.value;
        EXPECT_TRUE(agrees(s.mean.differenceFps, c.at("difference")[0]));
        EXPECT_TRUE(agrees(s.mean.differenceIntervalFps, c.at("difference_ci")[0],
                           c.at("difference_ci")[1]));
        EXPECT_TRUE(agrees(s.mean.t, c.at("welch")[0]));
        EXPECT_TRUE(agrees(s.mean.df, c.at("welch")[1]));
        EXPECT_TRUE(agrees(s.mean.p, c.at("welch")[2]));
        EXPECT_TRUE(agrees(s.sd.ratio, c.at("ratio")[0]));
        EXPECT_TRUE(agrees(s.sd.ratioInterval, c.at("ratio")[1], c.at("ratio")[2]));
        EXPECT_TRUE(agrees(s.sd.f, c.at("f")[0]));
        EXPECT_EQ(s.sd.d1, c.at("f")[1]);
        EXPECT_EQ(s.sd.d2, c.at("f")[2]);
        EXPECT_TRUE(agrees(s.sd.p, c.at("f")[3]));
        expectShots(s.shotsForSd, c.at("shots_sd"));
        expectShots(s.shotsForMean, c.at("shots_mean"));
    }
}

TEST(Comparisons, GroupsAndPlansAgreeWithTheReference) {
    for (const auto& c : test::referenceCases("compare_groups.txt")) {
        const auto r =
            compareGroups(shotsOf(c.at("xa"), c.at("ya")), shotsOf(c.at("xb"), c.at("yb")), 100,
                          c.at("confidence")[0], c.at("power")[0]);
        ASSERT_TRUE(r) << r.refusal;
        EXPECT_TRUE(agrees(r.value.sigma.ratio, c.at("ratio")[0]));
        EXPECT_TRUE(agrees(r.value.sigma.ratioInterval, c.at("ratio")[1], c.at("ratio")[2]));
        EXPECT_TRUE(agrees(r.value.sigma.f, c.at("f")[0]));
        EXPECT_EQ(r.value.sigma.d1, c.at("f")[1]);
        EXPECT_TRUE(agrees(r.value.sigma.p, c.at("f")[3]));
        expectShots(r.value.shotsForSigma, c.at("shots"));
    }
    for (const auto& c : test::referenceCases("plan.txt")) {
        const double level = c.at("confidence")[0], power = c.at("power")[0];
        const auto r = c.count("sd_ratio")
                           ? shotsForSdRatio(c.at("sd_ratio")[0],
                                             c.at("sd_ratio")[1] == 1 ? SpreadKind::Group
                                                                      : SpreadKind::Velocity,
                                             level, power)
                           : shotsForMeanDifference(c.at("mean_difference")[0],
                                                    c.at("mean_difference")[1], level, power);
        ASSERT_TRUE(r) << r.refusal;
        expectShots(r.value, c.at("shots"));
    }
}

TEST(Comparisons, VerdictInWords) {
    // Two strings of 5 whose SDs differ by 38 %: not told apart.
    const std::vector<double> a = {2650, 2660, 2640, 2655, 2645};
    std::vector<double> b;
    for (double v : a)
        b.push_back(2652.5 + (v - 2650) * 0.62);
    const auto r = compareStrings(a, b, 0.95, 0.8);
    ASSERT_TRUE(r);
    EXPECT_EQ(r.value.verdict,
              "B is 2.5 ft/s faster than A, but 5 and 5 shots cannot tell them apart "
              "(p = 0.57); about 110 shots each would show a difference this large 80 % of the "
              "time. B's SD is 38 % lower, but 5 and 5 shots cannot tell them apart (p = 0.38); "
              "about 37 shots each would show a difference this large 80 % of the time.");
    // Shown, and capped.
    std::vector<double> far(a), wide;
    for (double& v : far)
        v += 40;
    for (double v : a)
        wide.push_back(2650 + (v - 2650) * 1.001);
    const auto shown = compareStrings(a, far, 0.95, 0.8);
    EXPECT_EQ(shown.value.verdict.substr(0, 80),
              "B is 40.0 ft/s faster than A, and 5 and 5 shots show the difference (p < 0.001).");
    const auto capped = compareStrings(a, wide, 0.95, 0.9);
    EXPECT_TRUE(capped.value.shotsForSd.capped && capped.value.shotsForSd.shots == 1000);
    EXPECT_NE(capped.value.verdict.find("B's SD is less than 1 % higher, but 5 and 5 shots cannot "
                                        "tell them apart (p = 1.00); even 1000 shots each would "
                                        "show a difference this large less than 90 % of the time."),
              std::string::npos)
        << capped.value.verdict;
    const auto groups = compareGroups(std::vector<Shot>{{0, 0}, {1, 0}, {0, 1}},
                                      std::vector<Shot>{{0, 0}, {2, 0}, {0, 2}}, 100, 0.95, 0.8);
    ASSERT_TRUE(groups);
    EXPECT_EQ(groups.value.verdict.substr(0, 80),
              "B's dispersion (sigma) is 100 % larger, but 3 and 3 shots cannot tell them apart");
}

TEST(Comparisons, Refusals) {
    const std::vector<double> good = {2650, 2660, 2655}, one = {2650}, flat = {2650, 2650};
    EXPECT_EQ(compareStrings(one, good, 0.95, 0.8).refusal,
              "String A has one shot: a comparison needs at least two in each string.");
    EXPECT_EQ(compareStrings(good, flat, 0.95, 0.8).refusal,
              "The shots of string B all have the same speed (SD 0): the spreads of two strings "
              "can only be compared when both have some.");
    EXPECT_FALSE(compareStrings(good, good, 0.95, 0.4));
    EXPECT_FALSE(compareStrings(good, good, 1, 0.8));
    EXPECT_FALSE(compareGroups(std::vector<Shot>{{1, 1}, {1, 1}}, std::vector<Shot>{{0, 0}, {1, 1}},
                               100, 0.95, 0.8));
    EXPECT_FALSE(compareGroups(std::vector<Shot>{{1, 1}}, std::vector<Shot>{{0, 0}, {1, 1}}, 100,
                               0.95, 0.8));
    for (double ratio : {0.0, 0.009, 101.0, std::nan("")})
        EXPECT_FALSE(shotsForSdRatio(ratio, SpreadKind::Velocity, 0.95, 0.8));
    EXPECT_FALSE(shotsForMeanDifference(5, 0, 0.95, 0.8));
    EXPECT_FALSE(shotsForMeanDifference(20000, 10, 0.95, 0.8));
    EXPECT_FALSE(shotsForMeanDifference(5, 10, 0.95, 1));
    // No difference never shows.
    const auto none = shotsForMeanDifference(0, 10, 0.95, 0.8);
    EXPECT_TRUE(none.value.capped);
    EXPECT_NEAR(none.value.power, 0.05, 1e-9);
}
