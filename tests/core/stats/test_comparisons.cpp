#include "ReferenceCases.h"
#include "core/stats/Comparisons.h"

using namespace fendrel;
using test::agrees;

namespace {

void expectShots(const ShotsNeeded& need, const std::vector<double>& reference) {
    EXPECT_EQ(need.shots, reference.at(0));
    EXPECT_TRUE(agrees(need.power, reference.at(1)));
    EXPECT_EQ(need.capped, reference.at(2) == 1);
}

void expectSpread(const SpreadTest& t, const test::ReferenceCase& c) {
    EXPECT_TRUE(agrees(t.ratio, c.at("ratio")[0]));
    EXPECT_TRUE(agrees(t.ratioInterval, c.at("ratio"), 1));
    EXPECT_TRUE(agrees(t.f, c.at("f")[0]));
    EXPECT_TRUE(t.d1 == c.at("f")[1] && t.d2 == c.at("f")[2]);
    EXPECT_TRUE(agrees(t.p, c.at("f")[3]));
}

std::vector<Shot> shotsOf(const std::vector<double>& x, const std::vector<double>& y) {
    std::vector<Shot> shots;
    for (size_t i = 0; i < x.size(); ++i)
        shots.push_back({x[i], y[i]});
    return shots;
}

} // namespace

TEST(Comparisons, AgreeWithTheReference) {
    for (const auto& c : test::referenceCases("compare_strings.txt")) {
        const auto r =
            compareStrings(c.at("a"), c.at("b"), c.at("confidence")[0], c.at("power")[0]);
        ASSERT_TRUE(r) << r.refusal;
        const MeanTest& m = r.value.mean;
        EXPECT_TRUE(agrees(m.differenceFps, c.at("difference")[0]));
        EXPECT_TRUE(agrees(m.differenceIntervalFps, c.at("difference_ci")));
        EXPECT_TRUE(agrees(m.t, c.at("welch")[0]) && agrees(m.df, c.at("welch")[1]));
        EXPECT_TRUE(agrees(m.p, c.at("welch")[2]));
        expectSpread(r.value.sd, c);
        expectShots(r.value.shotsForSd, c.at("shots_sd"));
        expectShots(r.value.shotsForMean, c.at("shots_mean"));
    }
    for (const auto& c : test::referenceCases("compare_groups.txt")) {
        const auto r =
            compareGroups(shotsOf(c.at("xa"), c.at("ya")), shotsOf(c.at("xb"), c.at("yb")), 100,
                          c.at("confidence")[0], c.at("power")[0]);
        ASSERT_TRUE(r) << r.refusal;
        expectSpread(r.value.sigma, c);
        expectShots(r.value.shotsForSigma, c.at("shots"));
    }
    for (const auto& c : test::referenceCases("plan.txt")) {
        const double level = c.at("confidence")[0], power = c.at("power")[0];
        const auto r =
            c.count("sd_ratio")
                ? shotsForSdRatio(c.at("sd_ratio")[0],
                                  c.at("sd_ratio")[1] ? SpreadKind::Group : SpreadKind::Velocity,
                                  level, power)
                : shotsForMeanDifference(c.at("mean_difference")[0], c.at("mean_difference")[1],
                                         level, power);
        ASSERT_TRUE(r) << r.refusal;
        expectShots(r.value, c.at("shots"));
    }
}

TEST(Comparisons, VerdictInWords) {
    // Two strings of 5 whose SDs differ by 38 %: not told apart.
    const std::vector<double> a = {2650, 2660, 2640, 2655, 2645};
    std::vector<double> b, far, wide;
    for (double v : a) {
        b.push_back(2652.5 + (v - 2650) * 0.62);
        far.push_back(v + 40);
        wide.push_back(2650 + (v - 2650) * 1.001);
    }
    EXPECT_EQ(compareStrings(a, b, 0.95, 0.8).value.verdict,
              "B is 2.5 ft/s faster than A, but 5 and 5 shots cannot tell them apart "
              "(p = 0.57); about 110 shots each would show a difference this large 80 % of the "
              "time. B's SD is 38 % lower, but 5 and 5 shots cannot tell them apart (p = 0.38); "
              "about 37 shots each would show a difference this large 80 % of the time.");
    EXPECT_EQ(compareStrings(a, far, 0.95, 0.8).value.verdict.substr(0, 80),
              "B is 40.0 ft/s faster than A, and 5 and 5 shots show the difference (p < 0.001).");
    const auto capped = compareStrings(a, wide, 0.95, 0.9).value;
    EXPECT_TRUE(capped.shotsForSd.capped && capped.shotsForSd.shots == 1000);
    EXPECT_NE(capped.verdict.find("B's SD is less than 1 % higher, but 5 and 5 shots cannot tell "
                                  "them apart (p = 1.00); even 1000 shots each would show a "
                                  "difference this large less than 90 % of the time."),
              std::string::npos)
        << capped.verdict;
}

TEST(Comparisons, Refusals) {
    const std::vector<double> good = {2650, 2660, 2655}, one = {2650}, flat = {2650, 2650};
    EXPECT_EQ(compareStrings(one, good, 0.95, 0.8).refusal,
              "String A has one shot: a comparison needs at least two in each string.");
    EXPECT_EQ(compareStrings(good, flat, 0.95, 0.8).refusal,
              "The shots of string B all have the same speed (SD 0): the spreads of two strings "
              "can only be compared when both have some.");
    EXPECT_FALSE(compareStrings(good, good, 0.95, 0.4) || compareStrings(good, good, 1, 0.8));
    const std::vector<Shot> hole = {{1, 1}, {1, 1}}, pair = {{0, 0}, {1, 1}};
    EXPECT_FALSE(compareGroups(hole, pair, 100, 0.95, 0.8) ||
                 compareGroups({pair.data(), 1}, pair, 100, 0.95, 0.8));
    for (double ratio : {0.009, 101.0, std::nan("")})
        EXPECT_FALSE(shotsForSdRatio(ratio, SpreadKind::Velocity, 0.95, 0.8));
    EXPECT_FALSE(shotsForMeanDifference(5, 0, 0.95, 0.8) ||
                 shotsForMeanDifference(20000, 10, 0.95, 0.8));
    // No difference never shows: capped at the power of the test's own error rate.
    const auto none = shotsForMeanDifference(0, 10, 0.95, 0.8);
    EXPECT_TRUE(none.value.capped);
    EXPECT_NEAR(none.value.power, 0.05, 1e-9);
}
