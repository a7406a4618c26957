// Entering a group round by round: which round is next, when Accept and Do It are open, what
// changing the number of rounds does, and the target drawing's scale and hole size.
#include "core/groups/CoordinateEntry.h"

#include <gtest/gtest.h>

#include <limits>

using namespace fendrel;

namespace {
void enterDiagonal(CoordinateEntry& e, int rounds, int count) {
    for (int i = 1; i <= count; ++i)
        ASSERT_EQ(e.accept(rounds, i, i), "");
}
} // namespace

TEST(CoordinateEntry, AcceptChangingTheNumberOfRoundsAndTheTarget) {
    CoordinateEntry e(5);
    EXPECT_TRUE(e.acceptOpen() && !e.doItOpen() && e.currentRound() == 1);
    enterDiagonal(e, 5, 4);
    EXPECT_EQ(e.currentRound(), 5);
    EXPECT_TRUE(e.acceptOpen() && !e.doItOpen());
    ASSERT_EQ(e.accept(5, 9, 8), "");
    EXPECT_EQ(e.currentRound(), 5); // stays on the last round
    EXPECT_TRUE(e.allEntered() && !e.acceptOpen() && e.doItOpen());
    e.tick(5);
    EXPECT_TRUE(e.acceptOpen() && e.doItOpen()); // a further Accept enters round 5 again
    EXPECT_EQ(e.table()[5].x, 9);
    EXPECT_EQ(e.table().size(), 6u);
    // The target shrinks beyond six inches, but holes keep their size.
    EXPECT_FALSE(targetScale({{}, {1, 2}, {6, 0.5}}, 2).rescaled);
    const TargetScale big = targetScale({{}, {10, 4}, {2, 3}}, 2);
    EXPECT_TRUE(big.rescaled);
    EXPECT_DOUBLE_EQ(big.scale, 0.5);
    EXPECT_FALSE(targetScale({{}, {1, 1}, {20, 20}}, 1).rescaled) << "rounds past N do not count";
    EXPECT_EQ(holeRadiusTwips(0.308), 78);
    EXPECT_EQ(holeRadiusTwips(-0.3), 0);
    EXPECT_EQ(holeRadiusTwips(std::numeric_limits<double>::infinity()), 0);
    // Changing the number of rounds.
    CoordinateEntry more(5);
    enterDiagonal(more, 5, 5);
    more.roundsChanged(6); // more rounds: entry reopens, the table is emptied, the round stays
    EXPECT_TRUE(more.acceptOpen() && !more.doItOpen() && !more.allEntered());
    EXPECT_EQ(more.currentRound(), 5);
    EXPECT_EQ(more.table().size(), 7u);
    EXPECT_EQ(more.table()[1].x, 0);
    more.tick(6);
    EXPECT_TRUE(more.acceptOpen() && !more.doItOpen());

    CoordinateEntry lower(5);
    enterDiagonal(lower, 5, 4);
    lower.roundsChanged(3); // below the current round: the next tick ends entry
    EXPECT_NE(lower.accept(3, 1, 1).find("Round 5 is not one of the 3 rounds"), std::string::npos);
    lower.tick(3);
    EXPECT_TRUE(lower.allEntered() && !lower.acceptOpen() && lower.doItOpen());

    lower.select(2);
    lower.clear(3);
    EXPECT_EQ(lower.currentRound(), 1);
}

