// Entering a group's coordinates round by round, as the shot group window takes them: the round
// being entered, which commands are open (Accept, Do It), and what the number-of-rounds box, the
// grid, Clear and the window's timer do to them. Also the target drawing's scale and hole size.
#pragma once

#include "GroupStatistics.h"

#include <string>
#include <vector>

namespace fendrel {

class CoordinateEntry {
public:
    // The window opens on round 1 of `rounds` rounds, Accept open and Do It closed.
    explicit CoordinateEntry(int rounds = 5);

    // The number of rounds typed changed to `rounds` (2..181): a larger number reopens Accept,
    // closes Do It and forgets that all were entered; a smaller one only forgets it. Either way
    // the coordinate table is emptied for `rounds` rounds; the round being entered stays.
    void roundsChanged(int rounds);
    // The coordinate table emptied for `rounds` rounds (the grid keeps what it shows).
    void resetTable(int rounds);

    // Accept: the coordinates of the current round, with `rounds` the number in the box. Empty
    // when taken, else the refusal. After the last round, Do It opens and Accept closes.
    std::string accept(int rounds, double x, double y);
    // A round picked in the grid becomes the one to enter.
    void select(int round) { m_current = round; }
    // Clear: back to round 1; the table emptied for `rounds` rounds.
    void clear(int rounds);
    // The window's timer, with `rounds` the number in the box.
    void tick(int rounds);

    int currentRound() const { return m_current; }
    int previousTotal() const { return m_previousTotal; }
    bool allEntered() const { return m_allEntered; }
    bool acceptOpen() const { return m_acceptOpen; }
    bool doItOpen() const { return m_doItOpen; }
    // Rows 1..N hold the rounds' coordinates; row 0 is unused.
    const std::vector<Shot>& table() const { return m_table; }
    void setTable(std::vector<Shot> table) { m_table = std::move(table); }

private:
    int m_current = 1;
    int m_previousTotal;
    bool m_allEntered = false;
    bool m_acceptOpen = true;
    bool m_doItOpen = false;
    std::vector<Shot> m_table;
};

// The target drawing: coordinates beyond 6 inches are shrunk to fit (scale 5 / largest); a hole
// keeps the bullet's size whatever the scale.
struct TargetScale {
    double scale = 1;
    bool rescaled = false; // the user is told
};
TargetScale targetScale(const std::vector<Shot>& table, int rounds);
// The target's scale: twips of an inch across and down.
inline constexpr int kTargetTwipsPerInchX = 510;
inline constexpr int kTargetTwipsPerInchY = 507;

// The radius of a bullet hole of `caliber` inches, in twips of the target's 510-twips inch.
double holeRadiusTwips(double caliber);

} // namespace fendrel
