#include "core/stabilizer/Stability.h"

#include <gtest/gtest.h>

using namespace fendrel;

namespace {
const std::string kCaliberMessage =
    "The caliber you entered is invalid. Please enter a new value between 0.100 and 1.000";
const std::string kVelocityMessage =
    "The muzzle velocity you entered is invalid. Please enter a new value between 1-10000fps";

StabilityResult run(const std::string& caliber, const std::string& velocity,
                    const std::string& twist) {
    return computeStability({caliber, velocity, twist});
}

std::string line(const std::string& lead, const std::string& modified, const char* kind) {
    return "Maximum stabilized bullet length:     " + lead + " in.                 " + modified +
           " in. for " + kind + "\r\n";
}
} // namespace

TEST(Stability, WorkedExamplesAndRefusals) {
    // The whole text of 0.308 at 2800 ft/s, 1 in 10, is pinned by the golden page stab-308.txt.
    const StabilityResult a = run("0.308", "2800", "10");
    ASSERT_TRUE(a.computed);
    EXPECT_EQ(a.modifiedConstant, 180);
    EXPECT_NEAR(a.standardLength, 0.308 * 0.308 * 15 / 1.1, 1e-12);
    EXPECT_FALSE(a.beyondPracticalLimit);

    const StabilityResult b = run("0.224", "3200", "7");
    EXPECT_EQ(b.modifiedConstant, 189);
    EXPECT_NE(b.text.find(line("1.08", "1.35", "standard lead core bullets.") +
                          line("0.98", "1.23", "copper alloy (X-type) bullets.")),
              std::string::npos);
    EXPECT_EQ(b.text.find("**"), std::string::npos);

    const StabilityResult c = run("0.1", "2800", "1");
    EXPECT_TRUE(c.beyondPracticalLimit);
    EXPECT_NE(c.text.find(line("1.36", "1.64", "copper alloy (X-type) bullets.")),
              std::string::npos);
    const std::string warning =
        "* Based on a muzzle velocity of 2800 fps.\r\n"
        "** A bullet of the maximum length given above will NOT stabilize properly as it "
        "exceeds practical limitations.\r\n"
        "   The absolute maximum bullet length for this caliber is 0.7 in.\r\n";
    EXPECT_EQ(c.text.substr(c.text.size() - warning.size()), warning);

    // Past about 6066 ft/s the constant no longer fits a byte; it still follows the velocity.
    const StabilityResult r = run("0.5", "6100", "10");
    EXPECT_TRUE(r.computed && r.modifiedConstant == 256);
    EXPECT_EQ(run("0.5", "7000", "10").modifiedConstant, 277);
    EXPECT_NE(r.text.find(line("3.75", "6.4", "standard lead core bullets.")), std::string::npos);
    // The caliber must lie in 0 to 1, the velocity be positive; it is repeated as typed.
    EXPECT_TRUE(run("1", "2800", "10").computed);
    for (const char* bad : {"1.0001", "0", "-0.3", "abc", ""}) {
        const StabilityResult r = run(bad, "2800", "10");
        EXPECT_FALSE(r.computed) << bad;
        EXPECT_EQ(r.message, kCaliberMessage) << bad;
    }

    const StabilityResult slow = run("0.308", "0.5", "10");
    EXPECT_TRUE(slow.computed && slow.modifiedConstant == 115);
    EXPECT_EQ(run("0.308", "0", "10").message, kVelocityMessage);
    EXPECT_EQ(run("0.308", "-2800", "10").message, kVelocityMessage);
    EXPECT_EQ(run("5", "none", "0").message, kVelocityMessage);

    // The velocity line repeats the typed text; the computation reads its leading number, 2.
    const StabilityResult comma = run("0.308", "2,800", "10");
    EXPECT_NE(comma.text.find("* Based on a muzzle velocity of 2,800 fps.\r\n"), std::string::npos);
    EXPECT_EQ(comma.modifiedConstant, 115);
    // The twist must be a positive number, and the lengths must fit.
    for (const char* bad : {"0", "", "abc", "-10", "0.0"}) {
        const StabilityResult r = run("0.308", "2800", bad);
        EXPECT_FALSE(r.computed) << bad;
        EXPECT_NE(r.message.find("rate of twist"), std::string::npos) << bad;
    }
    EXPECT_TRUE(run("0.308", "2800", "10 inches").computed);
    // Overflowing lengths are refused, not printed.
    EXPECT_FALSE(run("0.308", "1e999", "10").computed);
    const StabilityResult huge = run("1", "2800", "1e-320");
    EXPECT_FALSE(huge.computed);
    EXPECT_NE(huge.message.find("too large"), std::string::npos);
    EXPECT_TRUE(run("1", "1e300", "10").computed);
}

