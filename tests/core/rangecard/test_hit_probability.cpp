#include "RangeCardFixtures.h"
#include "TestFolder.h"
#include "core/rangecard/HitProbability.h"
#include "core/stats/Estimates.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

using namespace fendrel;

namespace {

HitInput benchRound() {
    HitInput in;
    in.card.ballisticCoefficient = 0.4;
    in.card.velocity = 2700;
    in.card.zeroRange = 200;
    in.card.windSpeed = 10;
    in.card.windFrom = 90;
    for (int r = 100; r <= 1000; r += 100)
        in.ranges.push_back(r);
    in.shape = TargetShape::Circle;
    in.diameter = 10;
    in.dispersionMoa = 0.5, in.velocitySd = 10, in.windSd = 2, in.rangeSd = 10;
    return in;
}

std::vector<HitRow> hits(const HitInput& in) {
    std::vector<HitRow> rows;
    EXPECT_EQ(computeHitProbability(in, rows), "");
    return rows;
}

} // namespace

// Against a linearised-Gaussian estimate from the independent solver's sensitivities, on
// random loads, targets and uncertainties.
TEST(HitProbability, AgreesWithTheLinearisedGaussianEstimate) {
    std::ifstream file(test::fixture("rangecard/hit_cases.txt"));
    int cases = 0;
    double worst = 0;
    for (std::string line; std::getline(file, line); ++cases) {
        std::map<std::string, std::string> keys;
        std::stringstream fields(line);
        for (std::string field; fields >> field;)
            keys[field.substr(0, field.find('='))] = field.substr(field.find('=') + 1);
        auto number = [&](const char* key) { return leadingNumber(keys[key]); };
        HitInput in;
        in.card = test::cardInput(keys);
        in.card.diameter.reset(); // the key names the target's diameter
        in.ranges = {number("range")};
        in.shape = keys.count("diameter") ? TargetShape::Circle : TargetShape::Rectangle;
        in.diameter = number("diameter"), in.width = number("width"), in.height = number("height");
        in.dispersionMoa = number("dispersion-moa"), in.velocitySd = number("velocity-sd");
        in.windSd = number("wind-sd"), in.rangeSd = number("range-sd");
        const std::vector<HitRow> rows = hits(in);
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_NEAR(rows[0].probability, number("expect-probability"), 0.03) << line;
        worst = std::max(worst, std::abs(rows[0].probability - number("expect-probability")));
    }
    EXPECT_EQ(cases, 6);
    std::printf("worst difference from the linearised estimate: %.4f\n", worst);
}

// A fixed target is hit less often farther away; the same seed gives the same answer; without
// any uncertainty every shot lands on the point of aim.
TEST(HitProbability, OverRangeSeedAndCertainty) {
    HitInput in = benchRound();
    const std::vector<HitRow> rows = hits(in);
    ASSERT_EQ(rows.size(), 10u);
    for (size_t i = 1; i < rows.size(); ++i) {
        EXPECT_LE(rows[i].probability, rows[i - 1].probability + 0.002) << rows[i].range;
        EXPECT_GT(rows[i].sigmaVertical, rows[i - 1].sigmaVertical);
        EXPECT_LT(std::abs(rows[i].meanHorizontal), 0.1 * rows[i].sigmaHorizontal);
    }
    EXPECT_GT(rows.front().probability, 0.99);
    EXPECT_LT(rows.back().probability, 0.3);
    EXPECT_EQ(hits(in)[5].probability, rows[5].probability);
    in.seed = 7;
    EXPECT_NEAR(hits(in)[5].probability, rows[5].probability, 0.02);

    in.ranges = {150, 1000, 600}; // in the order given
    in.velocitySd = in.windSd = in.rangeSd = 0;
    const std::vector<HitRow> dispersed = hits(in); // 0.5 MOA: 0.5236 in at 100 yd
    for (const HitRow& r : dispersed)
        for (double sigma : {r.sigmaVertical, r.sigmaHorizontal})
            EXPECT_NEAR(sigma / (r.range / 100 * 0.5236), 1, 0.015) << r.range;
    in.dispersionMoa = 0;
    for (TargetShape shape : {TargetShape::Circle, TargetShape::Rectangle}) {
        in.shape = shape;
        in.diameter = in.width = in.height = 0.01;
        const std::vector<HitRow> certain = hits(in);
        ASSERT_EQ(certain.size(), 3u);
        EXPECT_EQ(certain[1].range, 1000);
        for (const HitRow& r : certain) {
            EXPECT_EQ(r.probability, 1);
            EXPECT_EQ(r.sigmaVertical + r.sigmaHorizontal, 0);
            EXPECT_EQ(r.meanVertical, 0);
        }
    }
}

TEST(HitProbability, RayleighMetricAndRefusals) {
    // A mean radius of sqrt(pi / 2) in at 100 yd: sigma 1 in, 0.9549 true MOA.
    EXPECT_DOUBLE_EQ(rayleighSigmaMoa(std::sqrt(M_PI / 2), 100),
                     std::atan(1.0 / 3600) * 180 / M_PI * 60);
    EXPECT_NEAR(rayleighSigmaMoa(1.2533141373155, 100), 0.95493, 1e-5);

    HitInput in = benchRound();
    in.ranges = {500};
    HitInput m = in;
    m.card.metric = true;
    m.card.velocity *= 0.3048, m.card.sightHeight *= 2.54, m.card.zeroRange *= 0.9144;
    m.card.windSpeed *= 0.44704, m.card.velocityTemperature = 15;
    m.ranges = {500 * 0.9144}, m.diameter *= 2.54;
    m.velocitySd *= 0.3048, m.windSd *= 0.44704, m.rangeSd *= 0.9144;
    const HitRow a = hits(in)[0], b = hits(m)[0];
    EXPECT_NEAR(b.probability, a.probability, 0.001);
    EXPECT_NEAR(b.sigmaVertical / 2.54, a.sigmaVertical, 1e-6);
    EXPECT_NEAR(b.meanHorizontal / 2.54, a.meanHorizontal, 1e-6);

    const std::pair<void (*)(HitInput&), const char*> cases[] = {
        {[](HitInput& i) {
             i.ranges = {100, 0};
         },
         "above 0"},
        {[](HitInput& i) { i.ranges.clear(); }, "ranges"},
        {[](HitInput& i) { i.diameter = 0; }, "size"},
        {[](HitInput& i) { i.shape = TargetShape::Rectangle, i.width = 10; }, "size"},
        {[](HitInput& i) { i.windSd = -1; }, "The wind SD must lie between 0 and 50 mph."},
        {[](HitInput& i) { i.rangeSd = NAN; }, "range estimate's SD must lie between 0 and 500"},
        {[](HitInput& i) { i.rangeSd = 1e308; }, "range estimate's SD must lie between 0 and 500"},
        {[](HitInput& i) { i.samples = 9999; }, "samples"},
        {[](HitInput& i) { i.velocitySd = 500; }, "below a sixth of the muzzle velocity (450.0"},
        {[](HitInput& i) { i.card.ballisticCoefficient = 0; }, "ballistic coefficient"},
        {[](HitInput& i) { i.ranges = {20000}; }, "up to 5000 yd"},
        // The spread of the range estimate names the range it reaches for, and why.
        {[](HitInput& i) { i.ranges = {4990}, i.velocitySd = 0; },
         "a target at 4990 yd may be taken for one as far as 5050 yd (6 SD). The bullet cannot "
         "reach 5020 yd: it falls more steeply"},
        {[](HitInput& i) { i.ranges = {4990}, i.velocitySd = 100, i.card.windSpeed = 0; },
         "With a velocity SD of 100 ft/s, the hit chance at 4990 yd needs shots 4 SD slower. "
         "The bullet cannot reach 4990 yd"}};
    for (const auto& [change, reason] : cases) {
        HitInput bad = benchRound();
        change(bad);
        std::vector<HitRow> rows;
        EXPECT_NE(computeHitProbability(bad, rows).find(reason), std::string::npos) << reason;
        EXPECT_TRUE(rows.empty());
    }
}

TEST(HitProbability, BandIsTheCurveAtTheIntervalEnds) {
    HitInput in = benchRound(), low = in, high = in;
    in.ranges = low.ranges = high.ranges = {300, 700};
    const std::vector<HitRow> plain = hits(in);
    EXPECT_FALSE(plain[0].probabilityLow || plain[0].probabilityHigh);
    in.velocitySdShots = 10, in.dispersionShots = 5, in.confidence = 0.9;
    const std::vector<HitRow> band = hits(in);
    // The upper ends of the SDs (9 and 8 degrees of freedom) give the low edge.
    low.velocitySd *= sdFactors(9, 0.9).high, low.dispersionMoa *= sdFactors(8, 0.9).high;
    high.velocitySd *= sdFactors(9, 0.9).low, high.dispersionMoa *= sdFactors(8, 0.9).low;
    const std::vector<HitRow> lowCurve = hits(low), highCurve = hits(high);
    for (size_t i = 0; i < band.size(); ++i) {
        EXPECT_EQ(band[i].probability, plain[i].probability);
        EXPECT_EQ(*band[i].probabilityLow, lowCurve[i].probability);
        EXPECT_EQ(*band[i].probabilityHigh, highCurve[i].probability);
    }
    std::vector<HitRow> rows;
    in.dispersionShots = 0;
    EXPECT_EQ(computeHitProbability(in, rows),
              "The shots behind the dispersion must be a whole number from 2 to 1000.");
    in.dispersionShots = 5, in.confidence = 0.9999;
    EXPECT_NE(computeHitProbability(in, rows).find("confidence level"), std::string::npos);
    // Two shots leave the velocity SD anywhere up to 31.9 times the measured one.
    in.confidence = 0.95, in.velocitySdShots = 2, in.velocitySd = 30;
    EXPECT_EQ(
        computeHitProbability(in, rows),
        "The band takes the spreads at the upper ends of their 95 % intervals (velocity SD "
        "957.3 ft/s from 2 shots, dispersion 0.96 MOA from 5 shots). The velocity SD must lie "
        "from 0 to below a sixth of the muzzle velocity (450.0 ft/s).");
    EXPECT_TRUE(rows.empty());
}
