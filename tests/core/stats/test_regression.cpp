#include "ReferenceCases.h"
#include "core/stats/PointFile.h"
#include "core/stats/Regression.h"

#include <gtest/gtest.h>

using namespace fendrel;
using test::agrees;

namespace {

std::vector<DataPoint> pointsOf(const std::vector<double>& x, const std::vector<double>& y) {
    std::vector<DataPoint> points;
    for (size_t i = 0; i < x.size(); ++i)
        points.push_back({x[i], y[i]});
    return points;
}

} // namespace

TEST(Regression, LaddersAgreeWithTheReference) {
    int flat = 0, off = 0, single = 0;
    for (const auto& c : test::referenceCases("ladder.txt")) {
        const auto r = fitLadder(pointsOf(c.at("charge"), c.at("velocity")), c.at("confidence")[0]);
        ASSERT_TRUE(r) << r.refusal;
        const Ladder& l = r.value;
        EXPECT_TRUE(agrees(l.line.slope, c.at("slope")[0]));
        EXPECT_TRUE(agrees(l.line.slopeInterval, c.at("slope")[1], c.at("slope")[2]));
        EXPECT_TRUE(agrees(l.line.intercept, c.at("intercept")[0]));
        // "at" lines: charge, count, mean, then for two shots or more the mean's interval, SD,
        // the SD's interval and whether the charge is off the line.
        const std::vector<double>& at = c.at("at");
        size_t i = 0;
        for (const ChargeEstimate& charge : l.charges) {
            ASSERT_LT(i + 2, at.size());
            EXPECT_EQ(charge.chargeGr, at[i]);
            EXPECT_EQ(charge.string.statistics.count, at[i + 1]);
            EXPECT_TRUE(agrees(charge.string.statistics.meanFps, at[i + 2]));
            if (at[i + 1] == 1) {
                EXPECT_FALSE(charge.string.meanIntervalFps || charge.string.sdFps ||
                             charge.offLine);
                i += 3, ++single;
                continue;
            }
            EXPECT_TRUE(agrees(*charge.string.meanIntervalFps, at[i + 3], at[i + 4]));
            EXPECT_TRUE(agrees(*charge.string.sdFps, at[i + 5]));
            EXPECT_TRUE(agrees(*charge.string.sdIntervalFps, at[i + 6], at[i + 7]));
            EXPECT_EQ(charge.offLine, at[i + 8] == 1);
            off += charge.offLine;
            i += 9;
        }
        EXPECT_EQ(i, at.size());
        std::vector<double> spots;
        for (const FlatSpot& s : l.flatSpots)
            spots.insert(spots.end(), {s.fromGr, s.toGr});
        EXPECT_EQ(spots, c.at("flat_spots"));
        flat += !spots.empty();
    }
    // The cases hold each kind.
    EXPECT_GT(flat, 5);
    EXPECT_GT(off, 5);
    EXPECT_GT(single, 5);
}

TEST(Regression, SensitivitiesAgreeWithTheReference) {
    for (const auto& c : test::referenceCases("sensitivity.txt")) {
        const auto r = temperatureSensitivity(pointsOf(c.at("temperature"), c.at("velocity")),
                                              c.at("confidence")[0]);
        ASSERT_TRUE(r) << r.refusal;
        EXPECT_TRUE(agrees(r.value.line.slope, c.at("slope")[0]));
        EXPECT_TRUE(agrees(r.value.line.slopeInterval, c.at("slope")[1], c.at("slope")[2]));
        EXPECT_TRUE(agrees(r.value.line.intercept, c.at("intercept")[0]));
        EXPECT_TRUE(agrees(r.value.percentPer15F, c.at("percent")[0]));
        EXPECT_TRUE(agrees(r.value.percentIntervalPer15F, c.at("percent")[1], c.at("percent")[2]));
    }
}

TEST(Regression, DegenerateLaddersAndSeries) {
    const std::vector<DataPoint> oneCharge = {{42.5, 2650}, {42.5, 2660}, {42.5, 2655}};
    EXPECT_EQ(fitLadder(oneCharge, 0.95).refusal,
              "A ladder needs shots at two charges at least; these are all at 42.5 gr.");
    EXPECT_FALSE(fitLadder(std::vector<DataPoint>{{42, 2650}, {43, 2690}}, 0.95));
    EXPECT_FALSE(fitLadder({}, 0.95));
    EXPECT_FALSE(fitLadder(std::vector<DataPoint>{{42, 2650}, {43, NAN}, {44, 1}}, 0.95));
    // Single shots at every charge: a line, no SDs, no flat spot to judge.
    const auto singles =
        fitLadder(std::vector<DataPoint>{{42, 2650}, {43, 2700}, {44, 2720}}, 0.95);
    ASSERT_TRUE(singles);
    EXPECT_TRUE(singles.value.flatSpots.empty());
    EXPECT_FALSE(singles.value.charges[1].string.sdFps);
    EXPECT_EQ(
        temperatureSensitivity(std::vector<DataPoint>{{59, 2650}, {59, 2660}, {59, 2655}}, 0.95)
            .refusal,
        "The sensitivity needs shots at two different temperatures at least.");
    EXPECT_FALSE(temperatureSensitivity(std::vector<DataPoint>{{20, 2650}, {90, 2700}}, 0.95));
    EXPECT_FALSE(
        temperatureSensitivity(std::vector<DataPoint>{{20, 2650}, {90, 2700}, {50, 2600}}, 0.3));
    // On one line exactly: an interval of no width.
    const auto exact =
        temperatureSensitivity(std::vector<DataPoint>{{20, 2650}, {40, 2670}, {60, 2690}}, 0.95);
    ASSERT_TRUE(exact);
    EXPECT_DOUBLE_EQ(exact.value.line.slopeInterval.low, 1);
    EXPECT_DOUBLE_EQ(exact.value.percentPer15F, 1500 / 2670.0);
}

TEST(PointFile, ReadsPairsAndRefusesByLine) {
    const auto read = readPoints("\xEF\xBB\xBF"
                                 "charge,velocity\r\n41.5, 2650.5\r\n\r\n 42 ,2700\n",
                                 PointColumns::ChargeVelocity);
    ASSERT_TRUE(read) << read.refusal;
    ASSERT_EQ(read.value.size(), 2u);
    EXPECT_EQ(read.value[0].x, 41.5);
    EXPECT_EQ(read.value[1].y, 2700);
    EXPECT_EQ(readPoints("-20,2600\n110,2700", PointColumns::TemperatureVelocity).value.size(), 2u);
    const struct {
        const char* bytes;
        PointColumns columns;
        const char* refusal;
    } refused[] = {
        {"41,2650\nabc,2700\n", PointColumns::ChargeVelocity, "Line 2: 'abc' is not a number."},
        {"41,2650\n42 2700\n", PointColumns::ChargeVelocity,
         "Line 2: give two numbers separated by a comma, charge and velocity."},
        {"41,2650\n41,2650,3\n", PointColumns::ChargeVelocity,
         "Line 2: give two numbers separated by a comma, charge and velocity."},
        {"0,2650\n", PointColumns::ChargeVelocity,
         "Line 1: the charge 0 is out of range (above 0 up to 1000 gr)."},
        {"t,v\n-101,2650\n", PointColumns::TemperatureVelocity,
         "Line 2: the temperature -101 is out of range (from -100 to 200 F)."},
        {"59,1e9\n", PointColumns::TemperatureVelocity,
         "Line 1: the velocity 1e9 is out of range (above 0 up to 20000 ft/s)."},
        {"charge,velocity\n\n", PointColumns::ChargeVelocity, "The file holds no shots."},
        {"59,2650\n59,nan\n", PointColumns::TemperatureVelocity, "Line 2: 'nan' is not a number."},
        {"59,nan\n", PointColumns::TemperatureVelocity, "The file holds no shots."},
    };
    for (const auto& r : refused)
        EXPECT_EQ(readPoints(r.bytes, r.columns).refusal, r.refusal) << r.bytes;
}
