#include "core/engine/Atmosphere.h"
#include "core/engine/DragTable.h"
#include "core/engine/Parameters.h"
#include "core/engine/Trajectory.h"
#include "support/TestFolder.h"

#include <gtest/gtest.h>
#include <cmath>
#include <functional>
#include <vector>

using namespace fendrel;

namespace {
// The shipped parameters.ini and G1 table with the round of the independent check.
struct Check {
    test::TestFolder folder;
    Parameters p;
    DragTable table;
    TrajectorySetup s;
    TrajectoryResult r;

    Check() {
        EXPECT_EQ(loadParameters(folder.path(), p), "");
        EXPECT_EQ(DragTable::load(folder / p.dragFunction, DragTable::kRunCapacity, table), "");
        s.atmosphere = atmosphereFor(p.atmosphereCode, p.airDensity);
        s.dragConstant = s.atmosphere.c * s.atmosphere.density / 0.4;
        s.temperature = p.temperature, s.sightHeight = p.sightHeight;
        s.departureAngle = p.departureAngle, s.muzzleVelocity = 2700;
        s.zeroRange = 200, s.interval = 100, s.maximumRange = 1000;
    }
    TrajectoryError run() { return computeTrajectory(s, table, r); }
};

// The formulas written out plainly: every look-up searched from the start, the air evaluated
// at every call, every pass flown from the muzzle.
std::vector<TrajectoryPoint> plainTable(const TrajectorySetup& s, const DragTable& t) {
    const Atmosphere& a = s.atmosphere;
    const double wr = s.downrangeWind, wc = s.crossWind, h = s.feetPerUnit;
    auto airspeed = [&](const double* v) {
        return std::sqrt((v[0] - wr) * (v[0] - wr) + v[1] * v[1] + (v[2] - wc) * (v[2] - wc));
    };
    auto derivatives = [&](const double* v, double y, double* d) {
        const double speed = airspeed(v);
        const double temp = (s.temperature + 459.67) * std::exp(a.t1 * y + a.t2 * (y * y)) - 459.67;
        const double m = speed / (a.s * std::sqrt(temp + 459.67));
        std::size_t j = 1;
        while (m >= t.mach(j + 1))
            ++j;
        const double g =
            t.drag(j) + (m - t.mach(j)) * (t.drag(j + 1) - t.drag(j)) / (t.mach(j + 1) - t.mach(j));
        const double f = s.dragConstant * g * speed * std::exp(a.d1 * y + a.d2 * (y * y)) / v[0];
        d[0] = (v[0] - wr) * f;
        d[1] = f * v[1] - a.gravity / v[0];
        d[2] = (v[2] - wc) * f;
    };
    auto pass = [&](double angle, int limit, std::vector<TrajectoryPoint>* rows) {
        double v[3] = {s.muzzleVelocity * std::cos(angle / 3437.74677),
                       s.muzzleVelocity * std::sin(angle / 3437.74677), 0};
        double u = 0, y = -s.sightHeight / 12, z = 0, time = 0, next = s.interval, d0[3], d1[3];
        if (rows)
            rows->push_back({0, -s.sightHeight, 0, s.muzzleVelocity, 0});
        derivatives(v, y, d0);
        do {
            u = u + 1;
            double p[3], before, after;
            for (int i = 0; i < 3; ++i)
                p[i] = v[i] + d0[i] * h;
            do {
                before = airspeed(p);
                derivatives(p, y, d1);
                for (int i = 0; i < 3; ++i)
                    p[i] = v[i] + 0.5 * (d0[i] + d1[i]) * h;
                after = airspeed(p);
            } while (std::fabs((after - before) / after) > 1e-5);
            y = y + h * (v[1] + p[1]) / (v[0] + p[0]);
            z = z + h * (v[2] + p[2]) / (v[0] + p[0]);
            time = time + 2 * h / (v[0] + p[0]);
            for (int i = 0; i < 3; ++i)
                v[i] = p[i], d0[i] = d1[i];
            if (rows && u >= next) {
                const double ground = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
                rows->push_back({u, 12 * y, 12 * z, ground, time});
                next = next + s.interval;
            }
        } while (u < limit);
        return y;
    };
    double angle = s.departureAngle;
    std::vector<double> as, ys;
    while (s.zeroRange != 0 && as.size() < 20) {
        const double y = pass(angle, s.zeroRange, nullptr), target = s.zeroHeight / 12;
        if (std::fabs(y - target) < 1e-5)
            break;
        as.push_back(angle);
        ys.push_back(y);
        const std::size_t n = as.size();
        if (n < 20)
            angle = n == 1 ? angle + 2
                           : as[n - 1] + (target - ys[n - 1]) * (as[n - 2] - as[n - 1]) /
                                             (ys[n - 2] - ys[n - 1]);
    }
    std::vector<TrajectoryPoint> rows;
    pass(angle, s.maximumRange, &rows);
    return rows;
}
} // namespace

TEST(Trajectory, AgreesWithThePlainFormulasAndTheIndependentSolver) {
    const std::function<void(TrajectorySetup&)> changes[] = {
        [](TrajectorySetup&) {},
        [](TrajectorySetup& s) { // meters, wind, a height at zero
            s.feetPerUnit = 1 / 0.3048, s.downrangeWind = -7, s.crossWind = 15;
            s.zeroRange = 150, s.zeroHeight = 2, s.interval = 50, s.maximumRange = 700;
        },
        [](TrajectorySetup& s) { // Army standard metro, no zeroing, a last row below the end
            s.atmosphere = atmosphereFor("S", 0);
            s.zeroRange = 0, s.interval = 25, s.maximumRange = 340;
        },
        [](TrajectorySetup& s) { s.zeroRange = 300, s.maximumRange = 250; },
    };
    for (const auto& change : changes) {
        Check c;
        change(c.s);
        ASSERT_EQ(c.run(), TrajectoryError::None);
        const std::vector<TrajectoryPoint> plain = plainTable(c.s, c.table);
        ASSERT_EQ(c.r.rows.size(), plain.size());
        for (std::size_t i = 0; i < plain.size(); ++i) {
            const TrajectoryPoint &a = c.r.rows[i], &b = plain[i];
            EXPECT_TRUE(a.range == b.range && a.height == b.height &&
                        a.deflection == b.deflection && a.velocity == b.velocity &&
                        a.time == b.time)
                << "row " << i;
        }
    }
    // The independent solver's trajectory for the same round, within its stated tolerance.
    const double expected[][3] = {
        {-1.50, 2700.0, 0.000},   {2.10, 2475.0, 0.116},    {0.00, 2261.1, 0.243},
        {-8.92, 2057.7, 0.382},   {-26.07, 1865.5, 0.535},  {-53.25, 1685.6, 0.704},
        {-92.70, 1520.1, 0.892},  {-147.25, 1371.7, 1.100}, {-220.32, 1243.9, 1.330},
        {-315.88, 1140.3, 1.582}, {-438.18, 1061.7, 1.855},
    };
    Check c;
    ASSERT_EQ(c.run(), TrajectoryError::None);
    ASSERT_EQ(c.r.rows.size(), 11u);
    EXPECT_NEAR(c.r.angle, 5.85, 0.05);
    for (std::size_t i = 0; i < 11; ++i) {
        const TrajectoryPoint& row = c.r.rows[i];
        EXPECT_EQ(row.range, 100.0 * i);
        EXPECT_NEAR(row.height, expected[i][0], std::max(0.3, 0.005 * std::fabs(expected[i][0])));
        EXPECT_NEAR(row.velocity, expected[i][1], 0.005 * expected[i][1]) << row.range;
        EXPECT_NEAR(row.time, expected[i][2], 0.005) << row.range;
    }
}

TEST(Trajectory, MuzzleRowZeroLastMultipleWindRefusalsAndTheLimitsOfZeroing) {
    Check c;
    c.s.interval = 25;
    c.s.maximumRange = 340;
    ASSERT_EQ(c.run(), TrajectoryError::None);
    ASSERT_EQ(c.r.rows.size(), 14u); // 0, 25, ..., 325
    const TrajectoryPoint& muzzle = c.r.rows[0];
    EXPECT_TRUE(muzzle.height == -1.5 && muzzle.velocity == 2700 && muzzle.time == 0);
    EXPECT_TRUE(c.r.zeroed);
    EXPECT_LT(std::fabs(c.r.rows[8].height), 12e-5); // 200 yd: within 1e-5 ft of the sight line
    EXPECT_EQ(c.r.rows[13].deflection, 0);

    c.s.zeroRange = 0; // the angle of parameters.ini as it is
    c.s.crossWind = 15;
    ASSERT_EQ(c.run(), TrajectoryError::None);
    EXPECT_EQ(c.r.angle, c.p.departureAngle);
    EXPECT_TRUE(c.r.trials.empty());
    EXPECT_GT(c.r.rows[13].deflection, c.r.rows[5].deflection);
    EXPECT_GT(c.r.rows[5].deflection, 0); // blown to the right

    // Refusals, and the limits of zeroing.
    auto with = [](const std::function<void(TrajectorySetup&)>& change) {
        Check c;
        return change(c.s), c.run();
    };
    using E = TrajectoryError;
    EXPECT_EQ(with([](auto& s) { s.muzzleVelocity = 6000; }), E::BeyondDragTable); // Mach 5+
    EXPECT_EQ(with([](auto& s) { s.atmosphere = atmosphereFor("N", 0.08); }), E::NoModel);
    EXPECT_EQ(with([](auto& s) { s.temperature = -500; }), E::NoSpeedOfSound);
    EXPECT_EQ(with([](auto& s) { s.interval = 0; }), E::BadSetup);
    EXPECT_EQ(with([](auto& s) { s.interval = 1; }), E::TooManyRows); // 1001 rows
    EXPECT_EQ(with([](auto& s) { s.interval = 1, s.maximumRange = 999; }), E::None);
    // The secant zeroing stops at the twentieth miss or a flat response.
    std::vector<ZeroingTrial> trials;
    double angle = 5;
    bool zeroed = true;
    auto never = [](double a, double& reached) {
        return reached = a * a + 1, TrajectoryError::None;
    };
    EXPECT_EQ(secantZeroing(0.0, angle, trials, zeroed, never), TrajectoryError::None);
    EXPECT_FALSE(zeroed);
    ASSERT_EQ(trials.size(), 20u);
    EXPECT_EQ(trials[1].angle, 7);
    EXPECT_EQ(angle, trials[19].angle);
    auto flat = [](double, double& reached) { return reached = 0, TrajectoryError::None; };
    EXPECT_EQ(secantZeroing(1.0, angle, trials, zeroed, flat), TrajectoryError::ZeroingFailed);
}
