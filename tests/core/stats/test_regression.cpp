#include "ReferenceCases.h"
#include "core/stats/PointFile.h"
#include "core/stats/Regression.h"

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

TEST(Regression, LaddersAndSensitivitiesAgreeWithTheReference) {
    int flat = 0, off = 0, single = 0;
    for (const auto& c : test::referenceCases("ladder.txt")) {
        const auto r = fitLadder(pointsOf(c.at("charge"), c.at("velocity")), c.at("confidence")[0]);
        ASSERT_TRUE(r) << r.refusal;
        EXPECT_TRUE(agrees(r.value.line.slope, c.at("slope")[0]));
        EXPECT_TRUE(agrees(r.value.line.slopeInterval, c.at("slope"), 1));
        EXPECT_TRUE(agrees(r.value.line.intercept, c.at("intercept")[0]));
        // "at": charge, count, mean, and from two shots on the mean's interval, the SD, its
        // interval and whether the charge is off the line.
        const std::vector<double>& at = c.at("at");
        size_t i = 0;
        for (const ChargeEstimate& charge : r.value.charges) {
            const StringEstimate& s = charge.string;
            ASSERT_LT(i + 2, at.size());
            EXPECT_TRUE(charge.chargeGr == at[i] && s.statistics.count == at[i + 1]);
            EXPECT_TRUE(agrees(s.statistics.meanFps, at[i + 2]));
            if (at[i + 1] == 1) {
                EXPECT_FALSE(s.meanIntervalFps || s.sdFps || charge.offLine);
                i += 3, ++single;
                continue;
            }
            EXPECT_TRUE(agrees(*s.meanIntervalFps, at, i + 3) && agrees(*s.sdFps, at[i + 5]) &&
                        agrees(*s.sdIntervalFps, at, i + 6));
            EXPECT_EQ(charge.offLine, at[i + 8] == 1);
            off += charge.offLine;
            i += 9;
        }
        EXPECT_EQ(i, at.size());
        std::vector<double> spots;
        for (const FlatSpot& s : r.value.flatSpots)
            spots.insert(spots.end(), {s.fromGr, s.toGr});
        EXPECT_EQ(spots, c.at("flat_spots"));
        flat += !spots.empty();
    }
    EXPECT_TRUE(flat > 5 && off > 5 && single > 5); // the cases hold each kind

    for (const auto& c : test::referenceCases("sensitivity.txt")) {
        const auto r = temperatureSensitivity(pointsOf(c.at("temperature"), c.at("velocity")),
                                              c.at("confidence")[0]);
        ASSERT_TRUE(r) << r.refusal;
        EXPECT_TRUE(agrees(r.value.line.slope, c.at("slope")[0]));
        EXPECT_TRUE(agrees(r.value.line.slopeInterval, c.at("slope"), 1));
        EXPECT_TRUE(agrees(r.value.line.intercept, c.at("intercept")[0]));
        EXPECT_TRUE(agrees(r.value.percentPer15F, c.at("percent")[0]));
        EXPECT_TRUE(agrees(r.value.percentIntervalPer15F, c.at("percent"), 1));
    }
}

TEST(Regression, DegenerateLaddersAndSeries) {
    using Points = std::vector<DataPoint>;
    EXPECT_EQ(fitLadder(Points{{42.5, 2650}, {42.5, 2660}, {42.5, 2655}}, 0.95).refusal,
              "A ladder needs shots at two charges at least; these are all at 42.5 gr.");
    for (const Points& bad :
         {Points{{42, 2650}, {43, 2690}}, Points{}, Points{{42, 1}, {43, NAN}, {44, 1}}})
        EXPECT_FALSE(fitLadder(bad, 0.95));
    // Single shots at every charge: a line, no SDs, no flat spot to judge.
    const auto singles = fitLadder(Points{{42, 2650}, {43, 2700}, {44, 2720}}, 0.95);
    EXPECT_TRUE(singles.value.flatSpots.empty() && !singles.value.charges[1].string.sdFps);
    EXPECT_EQ(temperatureSensitivity(Points{{59, 2650}, {59, 2660}, {59, 2655}}, 0.95).refusal,
              "The sensitivity needs shots at two different temperatures at least.");
    EXPECT_FALSE(temperatureSensitivity(Points{{20, 2650}, {90, 2700}}, 0.95));
    // On one line exactly: an interval of no width.
    const auto exact = temperatureSensitivity(Points{{20, 2650}, {40, 2670}, {60, 2690}}, 0.95);
    EXPECT_DOUBLE_EQ(exact.value.line.slopeInterval.low, 1);
    EXPECT_DOUBLE_EQ(exact.value.percentPer15F, 1500 / 2670.0);
}

TEST(PointFile, ReadsPairsAndRefusesByLine) {
    const auto read = readPoints("\xEF\xBB\xBF"
                                 "charge,velocity\r\n41.5, 2650.5\r\n\r\n 42 ,2700\n",
                                 PointColumns::ChargeVelocity);
    ASSERT_EQ(read.value.size(), 2u);
    EXPECT_TRUE(read.value[0].x == 41.5 && read.value[1].y == 2700);
    EXPECT_EQ(readPoints("-20,2600\n110,2700", PointColumns::TemperatureVelocity).value.size(), 2u);
    const std::pair<const char*, const char*> charges[] = {
        {"41,2650\nabc,2700\n", "Line 2: 'abc' is not a number."},
        {"41,2650\n42 2700\n",
         "Line 2: give two numbers separated by a comma, charge and velocity."},
        {"41,2650\n41,2650,3\n",
         "Line 2: give two numbers separated by a comma, charge and velocity."},
        {"0,2650\n", "Line 1: the charge 0 is out of range (above 0 up to 1000 gr)."},
        {"41,1e9\n", "Line 1: the velocity 1e9 is out of range (above 0 up to 20000 ft/s)."},
        {"41,nan\n", "The file holds no shots."}}; // a first line of words is a heading
    for (const auto& [bytes, refusal] : charges)
        EXPECT_EQ(readPoints(bytes, PointColumns::ChargeVelocity).refusal, refusal) << bytes;
    EXPECT_EQ(readPoints("t,v\n-101,2650\n", PointColumns::TemperatureVelocity).refusal,
              "Line 2: the temperature -101 is out of range (from -100 to 200 F).");
}
