#include "core/simulator/RangeSimulator.h"
#include "core/common/Numbers.h"
#include "support/TestFolder.h"

#include <gtest/gtest.h>
#include <cmath>

using namespace fendrel;
namespace fs = std::filesystem;

namespace {
SimulatorTexts texts(const char* bc, const char* fps, const char* zero, const char* down = "0",
                     const char* cross = "0") {
    return {bc, fps, zero, down, cross};
}

std::string parameters(const char* temperature, const char* table = "DragG1.txt",
                       const char* code = "I", const char* density = ".076474") {
    return std::string("1.5\r\n5\r\n") + density + "\r\n" + temperature + "\r\n" + table + "\r\n" +
           code + "\r\n";
}

// The table as text, for comparing whole tables.
std::string tableText(const RangeSimulator& s) {
    std::string out;
    for (int i = 1; i <= RangeSimulator::kRows; ++i) {
        const SimulatorRow& r = s.row(i);
        out += std::to_string(r.range) + "," + roundTripNumber(r.drop) + "," +
               roundTripNumber(r.drift) + "," + std::to_string(r.velocity) + "," +
               roundTripNumber(r.time) + "\n";
    }
    return out;
}

// The shared run settings: units, interval, maximum, zero, height at zero, cross, downrange wind.
std::string settingsText(const RunSettings& s) {
    std::string out = s.unitsCode;
    for (double v : {double(s.rangeInterval), double(s.maximumRange), double(s.zeroRange),
                     s.zeroHeight, double(s.crossWind), double(s.downrangeWind)})
        out += " " + generalNumber(v);
    return out;
}

struct Simulated {
    test::TestFolder folder;
    RangeSimulator sim;
    RunSettings shared;
    // The refusal, when there is one.
    std::optional<Status> run(const SimulatorTexts& t) {
        const Status done = sim.calculate(folder.path(), t, shared);
        return done ? std::nullopt : std::optional(done);
    }
};
} // namespace

TEST(RangeSimulator, RowsEveryFiftyYardsLikeAPublishedTable) {
    Simulated s;
    ASSERT_FALSE(s.run(texts(".421", "2800", "200")));
    EXPECT_EQ(tableText(s.sim).substr(0, 16), "0,-1.5,0,2800,0\n"); // the muzzle row
    for (int i = 2; i <= 11; ++i) {
        EXPECT_EQ(s.sim.row(i).range, 50 * (i - 1));
        EXPECT_EQ(s.sim.row(i).drift, 0) << "no wind, no drift";
        EXPECT_GT(s.sim.row(i).time, s.sim.row(i - 1).time);
    }
    EXPECT_TRUE(s.sim.zeroed());
    EXPECT_LT(std::fabs(s.sim.row(5).drop), 12 * 1e-5);
    // A .421 bullet at 2800 ft/s zeroed at 200 yards, ICAO air at 59 degrees: about 48 inches
    // low and 1800 ft/s at 500 yards, 0.67 s on the way.
    EXPECT_NEAR(s.sim.row(11).drop, -48, 3);
    EXPECT_NEAR(s.sim.row(11).velocity, 1800, 40);
    EXPECT_NEAR(s.sim.row(11).time, 0.67, 0.02);

    // The shared run settings are overwritten; a cross wind drifts the bullet.
    s.shared.unitsCode = "M", s.shared.rangeInterval = 25, s.shared.maximumRange = 1000;
    s.shared.zeroHeight = 3;
    ASSERT_FALSE(s.run(texts(".421", "2800", "199.5", "-10", "7.07")));
    // 199.5 rounds to the even 200. The winds go to whole mph first, then to ft/s: 7.07 -> 7 ->
    // 154/15 -> 10; -10 -> -220/15 -> -15.
    EXPECT_EQ(settingsText(s.shared), "Y 50 500 200 0 10 -15");
    // The cross wind drifts the bullet its way, more at every row: 10 ft/s (7 mph) full value
    // gives about 16 inches at 500 yards for this bullet.
    for (int i = 2; i <= 11; ++i)
        EXPECT_GT(s.sim.row(i).drift, s.sim.row(i - 1).drift);
    EXPECT_NEAR(s.sim.row(11).drift, 16, 2);

    // The rounded zero range decides the zeroing: 0.4 yards passes the check but rounds to 0,
    // so there is no zeroing and the angle is that of parameters.ini.
    ASSERT_TRUE(checkSimulatorInputs(texts(".421", "2800", "0.4")));
    ASSERT_FALSE(s.run(texts(".421", "2800", "0.4")));
    EXPECT_EQ(s.shared.zeroRange, 0);
    EXPECT_EQ(s.sim.angle(), 5);
    EXPECT_TRUE(s.sim.zeroingHistory().empty() && !s.sim.zeroed());
    const std::string unzeroed = tableText(s.sim);
    ASSERT_FALSE(s.run(texts(".421", "2800", "0")));
    EXPECT_EQ(tableText(s.sim), unzeroed);

    ASSERT_FALSE(s.run(texts(".421", "2800", "500")));
    EXPECT_LT(std::fabs(s.sim.row(11).drop), 12 * 1e-5);
    EXPECT_FALSE(s.sim.zeroingHistory().empty());
    EXPECT_EQ(s.sim.zeroingHistory().front().angle, 5);

    // The temperature is taken as read; field 3 of parameters.ini (the air density) is ignored.
    auto tableWith = [&](const std::string& settings) {
        s.folder.write("parameters.ini", settings);
        EXPECT_FALSE(s.run(texts(".3", "3000", "100")));
        return tableText(s.sim);
    };
    const std::string whole = tableWith(parameters("59"));
    EXPECT_NE(tableWith(parameters("59.4")), whole) << "59.4 must not be rounded to 59";
    EXPECT_EQ(tableWith(parameters("59", "DragG1.txt", "I", ".5")), whole) << "field 3 has no say";
    EXPECT_NE(tableWith(parameters("59", "DragG1.txt", "S")), whole);
}

TEST(RangeSimulator, RefusalsKeepThePreviousTableAndSettings) {
    Simulated s;
    ASSERT_FALSE(s.run(texts(".421", "2800", "200", "0", "5")));
    const std::string before = tableText(s.sim), settings = settingsText(s.shared);
    // A drag curve of 1000 records up to Mach 5 is taken, one of 1001 is not.
    auto flat = [](int records) {
        std::string out;
        for (int i = 1; i <= records; ++i)
            out += roundTripNumber(5.0 * i / records) + ",3.4\r\n";
        return out;
    };
    s.folder.write("Flat.txt", flat(1001));
    const struct {
        std::string settings; // parameters.ini; empty: no file
        SimulatorTexts in;
        std::string said;
    } cases[] = {
        {parameters("59"), texts(".421", "2800", "300", "0", "1490"), "more than 1489 mph"},
        {parameters("59"), texts(".421", "2800", "300", "-40000"), "more than 1489 mph"},
        {parameters("59", "DragG1.txt", "N"), texts(".421", "2800", "300"), "\"N\""},
        {parameters("59", "NoSuchTable.txt"), texts(".421", "2800", "300"), "NoSuchTable.txt"},
        {parameters("59", "Flat.txt"), texts(".421", "2800", "300"), "more than 1000 records"},
        {"", texts(".421", "2800", "300"), "parameters.ini"},
    };
    for (const auto& c : cases) {
        if (c.settings.empty())
            fs::remove(s.folder / "parameters.ini");
        else
            s.folder.write("parameters.ini", c.settings);
        const auto r = s.run(c.in);
        ASSERT_TRUE(r) << c.said;
        EXPECT_NE(r->refusal.find(c.said), std::string::npos) << r->refusal;
        EXPECT_EQ(tableText(s.sim), before);
        EXPECT_EQ(settingsText(s.shared), settings);
    }

    // A zero past 500 yards, and the end of the drag table, stop the computation after the
    // settings are written; the table is kept.
    s.folder.write("parameters.ini", parameters("59"));
    auto r = s.run(texts(".421", "2800", "501", "3", "10"));
    ASSERT_TRUE(r);
    EXPECT_EQ(r->refusal, "Range of zero must not exceed 500 yds.");
    EXPECT_EQ(r->title, "Error in user input");
    EXPECT_EQ(r->icon, MessageIcon::Exclamation);
    EXPECT_EQ(tableText(s.sim), before);
    EXPECT_EQ(settingsText(s.shared), "Y 50 500 501 0 10 3"); // the winds still in mph
    r = s.run(texts(".421", "6000", "300"));
    ASSERT_TRUE(r);
    EXPECT_EQ(r->refusal, "The bullet's speed reaches the end of the drag table DragG1.txt (Mach 5): "
                       "the trajectory cannot be computed.");
    EXPECT_EQ(tableText(s.sim), before);
    s.folder.write("Flat.txt", flat(1000));
    s.folder.write("parameters.ini", parameters("59", "Flat.txt"));
    EXPECT_FALSE(s.run(texts(".421", "2800", "200")));
    // The input check: ballistic coefficient and velocity first, then the zero.
    Status refusal = checkSimulatorInputs(texts("1", "0", "0"));
    EXPECT_EQ(refusal.refusal,
              "You must enter valid values for ballistic coefficient and muzzle velocity.");
    EXPECT_EQ(refusal.title, "User error!");
    EXPECT_EQ(refusal.icon, MessageIcon::Error);
    EXPECT_FALSE(checkSimulatorInputs(texts("0", "2800", "200")));
    EXPECT_FALSE(checkSimulatorInputs(texts(".4", "-5", "200")));

    refusal = checkSimulatorInputs(texts(".4", "2800", "500.5"));
    EXPECT_EQ(refusal.refusal, "You must enter valid values for range of zero");
    EXPECT_EQ(refusal.title, "User error!");
    for (const char* bad : {"0", "-1", "x"})
        EXPECT_FALSE(checkSimulatorInputs(texts(".4", "2800", bad))) << bad;
    for (const char* good : {"0.4", "500", "200 yds"})
        EXPECT_TRUE(checkSimulatorInputs(texts(".4", "2800", good))) << good;
}
