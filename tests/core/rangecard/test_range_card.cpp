#include "RangeCardFixtures.h"
#include "TestFolder.h"
#include "core/rangecard/RangeCard.h"
#include "core/rangecard/StandardDragTables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sys/stat.h>

using namespace fendrel;

// Agreement with the independent solver: heights within max(0.5 in, 1 %), windage within
// max(0.3 in, 2 %), velocity and time within 0.5 %, Sg within 1 %, to 1000 yd.
TEST(RangeCard, AgreesWithTheIndependentSolver) {
    double worst[4] = {};
    for (const char* name : {"check_g1", "g7_mountain_crosswind", "g1_humid_uphill_left_twist",
                             "g7_downhill_coriolis_powder", "g1_bands_crosswind",
                             "g7_bands_uphill"}) {
        SCOPED_TRACE(name);
        const test::Fixture f = test::readFixture(name);
        RangeCardResult card;
        ASSERT_EQ(computeRangeCard(test::cardInput(f.keys), card), "");
        ASSERT_EQ(card.rows.size(), f.rows.size());
        EXPECT_NEAR(card.zeroAngleMoa, leadingNumber(f.keys.at("expect-zero-angle-moa")), 0.01);
        if (f.keys.count("expect-sg"))
            EXPECT_NEAR(*card.stability / leadingNumber(f.keys.at("expect-sg")), 1, 0.01);
        else
            EXPECT_FALSE(card.stability);
        for (size_t i = 0; i < f.rows.size(); ++i) {
            const RangeCardRow& r = card.rows[i];
            const std::vector<double>& e = f.rows[i];
            const double errors[4] = {std::abs(r.height - e[1]), std::abs(r.windage - e[2]),
                                      std::abs(r.velocity / e[3] - 1),
                                      i ? std::abs(r.time / e[4] - 1) : 0};
            EXPECT_EQ(r.range, e[0]);
            EXPECT_LE(errors[0], std::max(0.5, 0.01 * std::abs(e[1]))) << "at " << e[0];
            EXPECT_LE(errors[1], std::max(0.3, 0.02 * std::abs(e[2]))) << "at " << e[0];
            EXPECT_LE(errors[2], 0.005) << "at " << e[0];
            EXPECT_LE(errors[3], 0.005) << "at " << e[0];
            for (int k = 0; k < 4; ++k)
                worst[k] = std::max(worst[k], errors[k]);
        }
    }
    std::printf("worst: height %.4f in, windage %.4f in, velocity %.5f %%, time %.5f %%\n",
                worst[0], worst[1], worst[2] * 100, worst[3] * 100);
}

namespace {

RangeCardInput checkRound() {
    RangeCardInput in;
    in.ballisticCoefficient = 0.4;
    in.velocity = 2700;
    in.zeroRange = 200;
    return in;
}

RangeCardResult card(const RangeCardInput& in) {
    RangeCardResult r;
    const std::string refusal = computeRangeCard(in, r);
    EXPECT_EQ(refusal, "");
    return r;
}

} // namespace

// Coriolis: the drift is 2 Omega sin(latitude) (X T - integral of x dt), which is the integral
// of t dx over the distance, to the right in the north; a shot to the east rises (Eotvos).
TEST(RangeCard, CoriolisDriftAndEotvos) {
    RangeCardInput in = checkRound();
    in.step = 10;
    const RangeCardResult calm = card(in);
    for (double latitude : {45.0, -30.0}) {
        in.latitude = latitude;
        in.azimuth = 0;
        const RangeCardResult turned = card(in);
        double integral = 0; // of t dx, ft s
        for (size_t i = 1; i < calm.rows.size(); ++i) {
            integral += 30 * (calm.rows[i].time + calm.rows[i - 1].time) / 2 * 1;
            if (calm.rows[i].range != 500 && calm.rows[i].range != 1000)
                continue;
            const double expected =
                2 * 7.292115e-5 * std::sin(latitude * M_PI / 180) * integral * 12;
            const double drift = turned.rows[i].windage - calm.rows[i].windage;
            EXPECT_NEAR(drift / expected, 1, 0.05) << latitude << " at " << calm.rows[i].range;
            EXPECT_EQ(drift > 0, latitude > 0);
        }
    }
    in.latitude = 45;
    in.azimuth = 90;
    const double east = card(in).rows.back().height;
    in.azimuth = 270;
    const double west = card(in).rows.back().height;
    EXPECT_GT(east - west, 1.0);
    EXPECT_NEAR(east + west, 2 * calm.rows.back().height, 0.3);
}

// The directions: wind from the right pushes left and is dialed right; a headwind pushes
// nothing sideways; right-hand twist drifts right; up- and downhill both strike high.
TEST(RangeCard, DirectionsOfWindSpinAndSlope) {
    RangeCardInput in = checkRound();
    const RangeCardResult level = card(in);
    in.windSpeed = 10;
    for (const auto& [from, side] : {std::pair{90.0, -1}, {270.0, 1}, {0.0, 0}, {180.0, 0}}) {
        in.windFrom = from;
        const RangeCardRow r = card(in).rows.back();
        EXPECT_NEAR(r.windage, side * 130.96, 0.01) << from;
        EXPECT_NEAR(*r.windageMoa, -std::atan(r.windage / 36000) * 10800 / M_PI, 1e-12);
        EXPECT_EQ(*r.windageClicks, std::round(*r.windageMoa / 0.25));
    }
    in.windSpeed = 0;
    in.weight = 150;
    in.diameter = 0.308;
    in.length = 1.2;
    for (double twist : {10.0, -10.0}) {
        in.twist = twist;
        const RangeCardResult r = card(in);
        EXPECT_NEAR(*r.stability, 2.29, 0.01);
        EXPECT_NEAR(r.rows.back().spinDrift, twist > 0 ? 13.52 : -13.52, 0.01);
        EXPECT_EQ(r.rows.back().windage, r.rows.back().spinDrift);
    }
    in.length.reset();
    EXPECT_FALSE(card(in).stability); // a twist alone: no stability, no spin drift
    in.twist.reset();
    in.clickUnit = ClickUnit::Mil;
    in.click = 0.1;
    for (double look : {25.0, -25.0}) {
        in.lookAngle = look;
        const RangeCardRow r = card(in).rows[6];
        EXPECT_GT(r.height, level.rows[6].height + 10) << look;
        EXPECT_EQ(*r.elevationClicks, std::round(*r.elevationMil / 0.1));
        EXPECT_NEAR(*r.energy, 150 * r.velocity * r.velocity / 450436, 1e-9);
    }
}

// The metric card is the imperial one converted; the muzzle velocity follows the powder
// temperature exactly; the air follows the ICAO standard where the day's values are missing.
TEST(RangeCard, MetricPowderAndAir) {
    RangeCardInput in = checkRound();
    in.weight = 150, in.diameter = 0.308, in.length = 1.2, in.twist = -11;
    in.pressure = 28.5, in.temperature = 86, in.humidity = 60, in.altitude = 1500;
    in.windSpeed = 12, in.windFrom = 60, in.lookAngle = 10, in.latitude = 50, in.azimuth = 130;
    in.powderTemperature = 95, in.temperatureSensitivity = 1.2, in.velocityTemperature = 68;
    RangeCardInput m = in;
    m.metric = true;
    m.velocity *= 0.3048, m.weight = 150 * 0.06479891, m.diameter = 0.308 * 25.4;
    m.length = 1.2 * 25.4, m.twist = -11 * 25.4, m.sightHeight = 1.5 * 2.54;
    m.zeroRange = 200 * 0.9144, m.pressure = 28.5 * 33.8638866667, m.temperature = 30;
    m.altitude = 1500 * 0.3048, m.windSpeed = 12 * 0.44704, m.powderTemperature = 35;
    m.temperatureSensitivity = 1.2 * 0.3048 * 1.8, m.velocityTemperature = 20;
    m.step = 100 * 0.9144, m.maximum = 1000 * 0.9144;
    const RangeCardResult a = card(in), b = card(m);
    EXPECT_DOUBLE_EQ(a.muzzleVelocity, 2700 + 1.2 * (95 - 68));
    EXPECT_NEAR(b.muzzleVelocity / 0.3048, a.muzzleVelocity, 1e-9);
    EXPECT_NEAR(b.speedOfSound / 0.3048, a.speedOfSound, 1e-9);
    EXPECT_NEAR(*b.stability, *a.stability, 1e-9);
    ASSERT_EQ(a.rows.size(), b.rows.size());
    for (size_t i = 0; i < a.rows.size(); ++i) {
        const RangeCardRow &x = a.rows[i], &y = b.rows[i];
        EXPECT_NEAR(y.range, x.range * 0.9144, 1e-9);
        for (const auto& [metric, imperial] :
             {std::pair{y.height / 2.54, x.height},
              {y.windage / 2.54, x.windage},
              {y.spinDrift / 2.54, x.spinDrift},
              {y.velocity / 0.3048, x.velocity},
              {*y.energy / 1.3558179483314004, *x.energy},
              {y.time, x.time},
              {y.mach, x.mach},
              {y.elevationMoa.value_or(0), x.elevationMoa.value_or(0)}})
            EXPECT_NEAR(metric, imperial, 1e-6 * (1 + std::abs(imperial))) << "row " << i;
    }

    // Without a powder temperature the powder is at the air temperature, itself standard at
    // the altitude when missing.
    RangeCardInput p = checkRound();
    p.temperatureSensitivity = 2;
    p.altitude = 5000;
    const RangeCardResult high = card(p);
    EXPECT_DOUBLE_EQ(high.muzzleVelocity, 2700 + 2 * (59 - 0.00356616 * 5000 - 59));
    EXPECT_NEAR(high.densityRatio, 0.8617, 0.0005);
    EXPECT_NEAR(high.speedOfSound, 1097.1, 0.1);
    const MoistAir dry(29.92, 95, 0, 0), humid(29.92, 95, 100, 0);
    EXPECT_NEAR(humid.vapourPressureInHg(), 1.663, 0.01); // 56.3 hPa at 35 C
    EXPECT_NEAR(humid.densityRatio(), dry.densityRatio() * (1 - 0.378 * 1.663 / 29.92), 1e-4);
}

// A user's drag file is used like the built-in tables; malformed, unreasonable and special
// files are refused with their reason.
TEST(RangeCard, DragFiles) {
    test::TestFolder folder(false);
    std::string g7 = "mach,cd\r\n";
    for (const MachCd& r : kG7Table)
        g7 += roundTripNumber(r.mach) + " , " + roundTripNumber(r.cd) + "\r\n\r\n";
    folder.write("g7.csv", g7);
    RangeCardInput in = checkRound();
    in.dragModel = DragModel::G7;
    in.ballisticCoefficient = 0.2;
    const RangeCardResult builtIn = card(in);
    in.dragModel = DragModel::File;
    in.dragFile = folder / "g7.csv";
    const RangeCardResult fromFile = card(in);
    EXPECT_EQ(fromFile.rows.back().height, builtIn.rows.back().height);
    EXPECT_EQ(fromFile.rows.back().time, builtIn.rows.back().time);

    folder.write("supersonic.csv", "1,0.4\n3,0.3\n");
    in.dragFile = folder / "supersonic.csv";
    RangeCardResult untouched;
    EXPECT_NE(computeRangeCard(in, untouched).find("below the drag curve (Mach 1 to 3)"),
              std::string::npos);
    EXPECT_TRUE(untouched.rows.empty());

    const std::pair<std::string, std::string> bad[] = {
        {"0.5;0.2\n1,0.3\n", "line 1: expected two numbers"},
        {"0.5,0.2\n1,0.3,4\n", "line 2: expected two numbers"},
        {"0.5,0.2\n1,nan\n", "line 2: expected two numbers"},
        {"0.5,0.2\n1,1e999\n", "line 2: the Mach number must be 0 or more"},
        {"0.5,0.2\n1,0\n", "line 2: the Mach number must be 0 or more"},
        {"-0.5,0.2\n1,0.3\n", "line 1: the Mach number must be 0 or more"},
        {"0.5,0.2\n0.5,0.3\n", "line 2: the Mach numbers must increase"},
        {"mach,cd\n0.5,0.2\n", "at least two"},
        {"", "at least two"},
        {std::string(DragCurve::kMaxFileBytes + 1, '\n'), "larger than 1 MB"},
        {"0,3.437770\n0.05,3.344928\n", "line 1: a drag coefficient of 3.43777 is far above"},
        {std::string("m\0a\0c\0h\0,\0c\0d\0", 14), "it is in UTF-16 (little endian)"}};
    for (const auto& [bytes, reason] : bad) {
        folder.write("bad.csv", bytes);
        DragCurve curve;
        const std::string refusal = DragCurve::load(folder / "bad.csv", curve);
        EXPECT_NE(refusal.find(reason), std::string::npos) << refusal;
    }
    folder.write("marked.csv", "\xEF\xBB\xBFmach,cd\n0.5,0.2\n1,0.3\n"); // a byte order mark
    DragCurve marked;
    EXPECT_EQ(DragCurve::load(folder / "marked.csv", marked), "");
    ASSERT_EQ(::mkfifo((folder / "fifo").c_str(), 0600), 0);
    for (const std::filesystem::path& special :
         {folder / "fifo", folder.path(), std::filesystem::path("/dev/zero")}) {
        DragCurve curve;
        EXPECT_NE(DragCurve::load(special, curve).find("not a regular file"), std::string::npos);
    }
    DragCurve curve;
    EXPECT_NE(DragCurve::load(folder / "absent.csv", curve).find("cannot be opened"),
              std::string::npos);
}

// Refused input: a reason for the user, never a card with a value that is not a number.
TEST(RangeCard, RefusesWhatCannotBeComputed) {
    // Every refusal names the value at fault and its accepted range, in the units typed.
    const std::pair<void (*)(RangeCardInput&), const char*> cases[] = {
        {[](RangeCardInput& i) { i.ballisticCoefficient = 0; },
         "The ballistic coefficient must lie between 0.01 and 3."},
        {[](RangeCardInput& i) { i.ballisticCoefficient = NAN; }, "ballistic coefficient must"},
        {[](RangeCardInput& i) { i.ballisticCoefficient = INFINITY; }, "between 0.01 and 3."},
        {[](RangeCardInput& i) { i.velocity = -2700; }, "between 50 and 6000 ft/s"},
        {[](RangeCardInput& i) { i.velocity = 6000; }, "beyond the drag curve (Mach 0 to 5)"},
        {[](RangeCardInput& i) { i.windSpeed = INFINITY; }, "wind speed must lie between -100"},
        {[](RangeCardInput& i) { i.twist = 10, i.length = 1; }, "weight and diameter"},
        {[](RangeCardInput& i) { i.twist = 0; }, "twist must lie between 1 and 200 in a turn"},
        {[](RangeCardInput& i) { i.humidity = 120; }, "humidity"},
        {[](RangeCardInput& i) { i.pressure = 0; }, "pressure"},
        {[](RangeCardInput& i) { i.lookAngle = 89; }, "look angle"},
        {[](RangeCardInput& i) { i.latitude = 45; }, "both the latitude and the azimuth"},
        {[](RangeCardInput& i) { i.step = 0.25; }, "more than 2000 rows"},
        {[](RangeCardInput& i) { i.maximum = 1999.5, i.step = 1; }, "more than 2000 rows"},
        {[](RangeCardInput& i) { i.click = 0; }, "The click value must lie between 0.01 and 10 MOA."},
        {[](RangeCardInput& i) { i.click = 1e-300; }, "between 0.01 and 10 MOA"},
        {[](RangeCardInput& i) { i.clickUnit = ClickUnit::Mil, i.click = 5; }, "0.005 and 3 mil"},
        {[](RangeCardInput& i) { i.temperatureSensitivity = 20, i.powderTemperature = -100; },
         "muzzle velocity would be 0"},
        {[](RangeCardInput& i) { i.zeroRange = 6000; }, "zero range must lie between 1 and 5000 yd"},
        {[](RangeCardInput& i) { i.maximum = 5000, i.step = 1000, i.velocity = 1200; },
         "cannot reach 5000 yd: it falls more steeply than 70 degrees"},
        {[](RangeCardInput& i) {
             i.metric = true, i.velocity = 400, i.maximum = 4500, i.step = 4500;
         },
         "cannot reach 4500 m"},
        {[](RangeCardInput& i) { i.metric = true, i.velocity = 800, i.maximum = 6000; },
         "maximum range must lie between 0 and 4572 m"},
        {[](RangeCardInput& i) { i.ballisticCoefficient = 0.01; }, "cannot be zeroed at 200 yd"}};
    for (const auto& [change, reason] : cases) {
        RangeCardInput in = checkRound();
        change(in);
        RangeCardResult result;
        const std::string refusal = computeRangeCard(in, result);
        EXPECT_NE(refusal.find(reason), std::string::npos) << reason << ": " << refusal;
        EXPECT_TRUE(result.rows.empty());
    }
}
