#include "RangeCardFixtures.h"
#include "core/rangecard/DropScale.h"
#include "core/rangecard/RangeCard.h"
#include "core/rangecard/Truing.h"

#include <boost/math/distributions/students_t.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>

using namespace fendrel;

namespace {

std::vector<ObservedCorrection> observations(const test::Fixture& f,
                                             const std::vector<double>& only = {}) {
    std::vector<ObservedCorrection> out;
    for (const std::vector<double>& row : f.rows)
        if (only.empty() || std::find(only.begin(), only.end(), row[0]) != only.end())
            out.push_back({row[0], row[1], std::nullopt});
    return out;
}

ClickUnit unitOf(const test::Fixture& f) {
    return f.keys.at("unit") == "mil" ? ClickUnit::Mil : ClickUnit::Moa;
}

// The share of `trials` fits with noise of the default errors added whose interval, the
// estimate +/- `quantile` standard errors, covers the truth. `fit` returns estimate and error.
double coverage(int trials, double quantile, double truth,
                const std::function<std::pair<double, double>(std::mt19937_64&)>& fit) {
    std::mt19937_64 random(20240611);
    int covered = 0;
    for (int i = 0; i < trials; ++i) {
        const auto [estimate, error] = fit(random);
        covered += std::abs(estimate - truth) <= quantile * error;
    }
    return static_cast<double>(covered) / trials;
}

std::vector<ObservedCorrection> noisy(std::vector<ObservedCorrection> o, double error,
                                      std::mt19937_64& random) {
    std::normal_distribution<double> noise(0, error);
    for (ObservedCorrection& x : o)
        x.correction += noise(random);
    return o;
}

double studentT(double dof) {
    return boost::math::quantile(boost::math::students_t_distribution<double>(dof), 0.975);
}

} // namespace

// The drop scale: 1 from Mach 1.2 up, linear to the knots and between them, flat below the
// last; knots are checked, and a scale of 1 changes nothing on the card.
TEST(Truing, DropScaleShape) {
    const DropScale scale({{0.9, 0.8}, {1.1, 1.2}});
    const std::pair<double, double> at[] = {{2, 1},   {1.2, 1},   {1.15, 1.1}, {1.1, 1.2},
                                            {1, 1.0}, {0.9, 0.8}, {0.3, 0.8}};
    for (const auto& [mach, factor] : at)
        EXPECT_NEAR(scale.at(mach), factor, 1e-12) << mach;
    EXPECT_EQ(scale.text(), "Mach 1.100 x 1.200, Mach 0.900 x 0.800");
    EXPECT_NE(DropScale::refusal({{1.2, 1}}).find("between Mach 0 and 1.2"), std::string::npos);
    EXPECT_NE(DropScale::refusal({{1, 1}, {1, 1.1}}).find("two knots"), std::string::npos);

    RangeCardInput in = test::cardInput(test::readFixture("truing_drop_scale_g7").keys);
    in.maximum = 1500;
    RangeCardResult plain, ones, more;
    ASSERT_EQ(computeRangeCard(in, plain), "");
    in.dropScale = {{1, 1}, {0.8, 1}};
    ASSERT_EQ(computeRangeCard(in, ones), "");
    in.dropScale = {{1, 1.1}};
    ASSERT_EQ(computeRangeCard(in, more), "");
    EXPECT_EQ(ones.rows.back().height, plain.rows.back().height);
    EXPECT_EQ(more.rows[10].height, plain.rows[10].height); // 1000 yd: still faster than 1.2
    EXPECT_LT(more.rows.back().height, plain.rows.back().height - 2);
}

// Observations of the independent solver with a known truth give it back: the velocity within
// 3 ft/s, the BC within 0.5 %, and after a drop scale fit the card's heights within 0.5 in at
// every observed range.
TEST(Truing, RecoversTheTruth) {
    for (const char* name : {"truing_velocity_g1", "truing_velocity_g7_mil"}) {
        SCOPED_TRACE(name);
        const test::Fixture f = test::readFixture(name);
        const RangeCardInput in = test::cardInput(f.keys);
        const Result<VelocityTruing> fit = trueVelocity(in, unitOf(f), observations(f));
        ASSERT_TRUE(fit) << fit.refusal;
        const double truth = leadingNumber(f.keys.at("true-velocity"));
        EXPECT_NEAR(fit.value.velocity, truth, 3);
        EXPECT_NEAR(fit.value.inputVelocity - in.velocity, fit.value.change, 1e-9);
    }
    for (const char* name : {"truing_bc_g1", "truing_bc_g7"}) {
        SCOPED_TRACE(name);
        const test::Fixture f = test::readFixture(name);
        const RangeCardInput in = test::cardInput(f.keys);
        const Result<BallisticCoefficientTruing> fit = trueBallisticCoefficient(
            in, {f.rows[0][1], f.rows[0][0], {}}, {f.rows[1][1], f.rows[1][0], {}});
        ASSERT_TRUE(fit) << fit.refusal;
        const double truth = leadingNumber(f.keys.at("true-bc"));
        EXPECT_NEAR(fit.value.ballisticCoefficient / truth, 1, 0.005);
    }
    const std::pair<const char*, std::vector<double>> dropScales[] = {
        {"truing_drop_scale_g7", {}},
        {"truing_drop_scale_g7", {1300}},
        {"truing_drop_scale_g7", {1000, 1300, 1500}},
        {"truing_drop_scale_g1", {}}};
    for (const auto& [name, only] : dropScales) {
        SCOPED_TRACE(std::string(name) + " " + std::to_string(only.size()));
        const test::Fixture f = test::readFixture(name);
        RangeCardInput in = test::cardInput(f.keys);
        const Result<DropScaleTruing> fit = trueDropScale(in, unitOf(f), observations(f, only));
        ASSERT_TRUE(fit) << fit.refusal;
        RangeCard untrued;
        ASSERT_EQ(untrued.prepare(in), "");
        std::vector<RangeCardRow> farthest;
        ASSERT_EQ(untrued.rows({f.rows.back()[0]}, farthest), "");
        EXPECT_GT(std::abs(farthest[0].height - f.rows.back()[2]), 2);
        in.dropScale = fit.value.knots;
        RangeCard card;
        ASSERT_EQ(card.prepare(in), "");
        for (const std::vector<double>& row : f.rows) {
            if (!only.empty() && std::find(only.begin(), only.end(), row[0]) == only.end())
                continue;
            std::vector<RangeCardRow> rows;
            ASSERT_EQ(card.rows({row[0]}, rows), "");
            EXPECT_NEAR(rows[0].height, row[2], 0.5) << "at " << row[0];
        }
    }
}

// The standard errors are honest: with noise of the stated errors added, about 95 % of the
// intervals cover the truth (t quantiles where the scatter estimates the error).
TEST(Truing, StandardErrorsAreHonest) {
    const std::tuple<const char*, std::vector<double>, double> sets[] = {
        {"truing_velocity_g1", {}, studentT(5)},
        {"truing_velocity_g1", {600}, 1.96},
        {"truing_velocity_g7_mil", {}, studentT(4)}};
    for (const auto& [name, only, quantile] : sets) {
        const test::Fixture v = test::readFixture(name);
        const RangeCardInput card = test::cardInput(v.keys);
        const double error = unitOf(v) == ClickUnit::Moa ? 0.1 : 0.1 * M_PI / 10.8;
        const double truth = leadingNumber(v.keys.at("true-velocity"));
        const double share = coverage(200, quantile, truth, [&](std::mt19937_64& random) {
            const auto fit =
                trueVelocity(card, unitOf(v), noisy(observations(v, only), error, random));
            EXPECT_TRUE(fit) << fit.refusal;
            return std::pair(fit.value.velocity, fit.value.standardError);
        });
        EXPECT_NEAR(share, 0.95, 0.04) << name << ", " << only.size() << " observations";
    }

    const test::Fixture b = test::readFixture("truing_bc_g1");
    const RangeCardInput bcCard = test::cardInput(b.keys);
    const double share =
        coverage(200, 1.96, leadingNumber(b.keys.at("true-bc")), [&](std::mt19937_64& random) {
            std::normal_distribution<double> noise(0, 5);
            const auto fit =
                trueBallisticCoefficient(bcCard, {b.rows[0][1] + noise(random), b.rows[0][0], {}},
                                         {b.rows[1][1] + noise(random), b.rows[1][0], {}});
            EXPECT_TRUE(fit) << fit.refusal;
            return std::pair(fit.value.ballisticCoefficient, fit.value.standardError);
        });
    EXPECT_NEAR(share, 0.95, 0.04) << "BC";

    // The knots: one from the default errors; two from observations 20 times as exact, as the
    // farther knot's error is over ten times the nearer's, and larger ones carry it out of the
    // drop scale's range, where the fit is refused.
    const test::Fixture d = test::readFixture("truing_drop_scale_g1");
    const RangeCardInput dropCard = test::cardInput(d.keys);
    const std::string knots = d.keys.at("true-drop-scale");
    const double truth[2] = {leadingNumber(knots.substr(knots.find(':') + 1)),
                             leadingNumber(knots.substr(knots.rfind(':') + 1))};
    for (const auto& [only, error] :
         {std::pair{std::vector<double>{1200}, 0.1}, {{1200, 1500}, 0.005}}) {
        std::vector<ObservedCorrection> exact = observations(d, only);
        for (ObservedCorrection& o : exact)
            o.error = error;
        for (std::size_t k = 0; k < only.size(); ++k) {
            const double share = coverage(200, 1.96, truth[k], [&](std::mt19937_64& random) {
                const auto fit =
                    trueDropScale(dropCard, ClickUnit::Moa, noisy(exact, error, random));
                EXPECT_TRUE(fit) << fit.refusal;
                return std::pair(fit.value.knots[k].factor, fit.value.factorErrors[k]);
            });
            EXPECT_NEAR(share, 0.95, 0.04) << "knot " << k << " of " << only.size();
        }
    }
}

// What cannot be fitted is refused with its reason.
TEST(Truing, RefusesWhatItCannotFit) {
    const RangeCardInput card = test::cardInput(test::readFixture("truing_velocity_g1").keys);
    using Observed = std::vector<ObservedCorrection>;
    const std::pair<Observed, const char*> velocity[] = {
        {{}, "at least one observed correction"},
        {{{100, 0.01, {}}}, "hardly change with the muzzle velocity"},
        {{{500, 10, {}}, {1300, 50, {}}},
         "At 1300 yd the bullet is slower than Mach 1.2 at the given"},
        {{{500, NAN, {}}}, "between -2700 and 2700 MOA"},
        {{{500, 10, 0.0}}, "error of the correction at 500 yd must lie between 0.001 and 100 MOA"},
        {{{800, -5, {}}}, "edge of what the card takes (The muzzle velocity"}};
    for (const auto& [observed, reason] : velocity) {
        const Result<VelocityTruing> fit = trueVelocity(card, ClickUnit::Moa, observed);
        EXPECT_NE(fit.refusal.find(reason), std::string::npos) << fit.refusal;
    }
    const std::pair<Observed, const char*> drop[] = {
        {{{500, 10, {}}, {800, 24, {}}},
         "No observation is where the bullet is slower than Mach "
         "1.2 (at 800 yd it flies at Mach 1.238)"},
        {{{1500, 150, {}}}, "(The drop scale factor at Mach 0.8"},
        {{{5000, 900, {}}}, "cannot reach 5000 yd"}};
    for (const auto& [observed, reason] : drop) {
        RangeCardInput slow = card;
        slow.velocity = observed[0].range == 5000 ? 1200 : slow.velocity;
        const Result<DropScaleTruing> fit = trueDropScale(slow, ClickUnit::Moa, observed);
        EXPECT_NE(fit.refusal.find(reason), std::string::npos) << fit.refusal;
    }
    const std::tuple<MeasuredVelocity, MeasuredVelocity, const char*> bc[] = {
        {{2700, 5, {}}, {2710, 600, {}}, "The far velocity, 2710 ft/s, must be below the near one"},
        {{2700, 600, {}}, {1500, 600, {}}, "measured farther from the muzzle than the near one"},
        {{2700, 5, {}}, {100, 600, {}}, "edge of what the card takes"}};
    for (const auto& [near, far, reason] : bc) {
        const Result<BallisticCoefficientTruing> fit = trueBallisticCoefficient(card, near, far);
        EXPECT_NE(fit.refusal.find(reason), std::string::npos) << fit.refusal;
    }
}
