#include "core/engine/DragTable.h"
#include "support/TestFolder.h"

#include <gtest/gtest.h>
#include <cmath>

using namespace fendrel;

namespace {
std::string refusal(const std::string& bytes, std::size_t capacity = DragTable::kRunCapacity) {
    DragTable t;
    return DragTable::parse(bytes, capacity, t);
}

std::string records(std::size_t n) {
    std::string s;
    for (std::size_t i = 1; i <= n; ++i)
        s += std::to_string(i) + ",1\r\n";
    return s;
}
} // namespace

TEST(DragTable, LoadsRefusesAndResumesItsSearch) {
    DragTable t;
    ASSERT_EQ(DragTable::parse("0,3.4\r\n0.5, 2 , 0.75,3\r\n-1,4\r\n\r\n  \r\n", 999, t), "");
    ASSERT_EQ(t.positions(), 5u);
    EXPECT_TRUE(t.mach(1) == 0 && t.drag(1) == 0 && t.mach(2) == 0 && t.drag(2) == 3.4);
    EXPECT_EQ(t.lastMach(), 1); // the last Mach number is taken as its magnitude
    std::size_t at = 0;
    double g = 0;
    ASSERT_TRUE(t.lookup(0.625, at, g));
    EXPECT_DOUBLE_EQ(g, 2.5);
    EXPECT_FALSE(t.lookup(1.0, at, g));
    EXPECT_FALSE(t.lookup(std::nan(""), at, g));
    ASSERT_EQ(DragTable::parse("0.5,2\r\n1,4\r\n", 999, t), "");
    ASSERT_TRUE(t.lookup(0.25, at, g)); // below the first record: from the origin
    EXPECT_DOUBLE_EQ(g, 1.0);

    EXPECT_EQ(refusal(""), "holds no records.");
    EXPECT_EQ(refusal("0.5,1\r\n0.9"), "ends in the middle of a record.");
    for (const char* bad : {"0.5,1\r\n0.5,2\r\n", "mach,cd\r\n0,1\r\n", "-0.5,1\r\n1,2\r\n"})
        EXPECT_NE(refusal(bad).find("out of order"), std::string::npos) << bad;
    EXPECT_NE(refusal("0.5,1\r\n0.9,-2\r\n1.5,1").find("negative drag value (record 2)"),
              std::string::npos);
    EXPECT_EQ(refusal(records(999)), ""); // the run holds 999 records, the simulator 1000
    EXPECT_EQ(refusal(records(1000)), "holds more than 999 records.");
    EXPECT_EQ(refusal(records(1000), DragTable::kSimulatorCapacity), "");
    // The shipped tables, and a search resumed from the last position.
    test::TestFolder folder;
    DragTable g1, g7;
    ASSERT_EQ(DragTable::load(folder / "DragG1.txt", DragTable::kRunCapacity, g1), "");
    ASSERT_EQ(DragTable::load(folder / "DragG7.txt", DragTable::kRunCapacity, g7), "");
    EXPECT_TRUE(g1.lastMach() == 5 && g7.lastMach() == 5);
    std::size_t hint = 0, fresh = 0;
    double got = 0, expected = 0;
    ASSERT_TRUE(g7.lookup(1.0, hint, got));
    EXPECT_NEAR(got, 0.3803 / 0.076474, 1e-6); // Cd of G7 at Mach 1, scaled
    for (int i = 0; i < 5000; ++i) {
        // Small moves as in flight, and a jump back to the start every 380 steps.
        const double m = std::fmod(i * 0.0137, 5.2);
        fresh = 0;
        const bool ok = g1.lookup(m, fresh, expected);
        ASSERT_EQ(g1.lookup(m, hint, got), ok) << m;
        ASSERT_EQ(got, expected) << m;
    }
}

