#include "core/simulator/RangeMap.h"

#include <gtest/gtest.h>
#include <cmath>
#include <set>

using namespace fendrel;

TEST(RangeMap, PointsTextsAndTraceColours) {
    EXPECT_TRUE(mapPoint(0, 0)->x == 120 && mapPoint(0, 0)->y == 260);
    EXPECT_TRUE(mapPoint(500, -4)->x == 100 && mapPoint(500, -4)->y == 10);
    EXPECT_EQ(mapPoint(0, 1.1)->x, 126); // 125.5
    EXPECT_EQ(mapPoint(0, 0.9)->x, 124); // 124.5
    EXPECT_EQ(mapPoint(1, 0)->y, 260);   // 259.5
    EXPECT_EQ(mapPoint(3, 0)->y, 258);   // 258.5
    EXPECT_FALSE(mapPoint(0, 7000));     // beyond the 16-bit range
    EXPECT_FALSE(mapPoint(0, std::nan("")));
    // The legend stands left for no or a negative wind, right for a positive one.
    EXPECT_EQ(legendX(0), 20);
    EXPECT_EQ(legendX(-6.66), 20);
    EXPECT_EQ(legendX(0.01), 170);
    EXPECT_EQ(legendText(6.66), "6.7  mph");
    EXPECT_EQ(legendText(5), "5.  mph");
    EXPECT_EQ(legendText(0.02), ".  mph");
    // The boxes: trajectory to one decimal, velocity grouped and empty for zero.
    EXPECT_EQ(trajectoryText(-1.5), "-1.5");
    EXPECT_EQ(trajectoryText(0), "0.0");
    EXPECT_EQ(trajectoryText(1.25), "1.3");
    EXPECT_EQ(velocityText(2800), "2,800");
    EXPECT_EQ(velocityText(0), "");
    // Each trace colour component lies in 1..255, repeatable from a seed.
    std::mt19937 a(42), b(42);
    std::set<int> seen;
    for (int i = 0; i < 2000; ++i) {
        const TraceColour c = randomTraceColour(a);
        EXPECT_EQ(c.green, randomTraceColour(b).green);
        for (int v : {c.red, c.green, c.blue}) {
            EXPECT_GE(v, 1);
            seen.insert(v);
        }
    }
    EXPECT_GT(seen.size(), 250u);
}

