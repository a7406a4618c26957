// The round-by-round entry of a group's coordinates and the target's scale.
#include "CoordinateEntry.h"

#include <algorithm>
#include <cmath>

namespace fendrel {

CoordinateEntry::CoordinateEntry(int rounds) : m_previousTotal(rounds) { resetTable(rounds); }

void CoordinateEntry::resetTable(int rounds) {
    m_table.assign(static_cast<size_t>(std::max(rounds, 0)) + 1, Shot{});
}

void CoordinateEntry::roundsChanged(int rounds) {
    if (rounds > m_previousTotal) {
        m_previousTotal = rounds;
        m_acceptOpen = true;
        m_doItOpen = false;
        m_allEntered = false;
    }
    if (rounds < m_previousTotal) {
        m_previousTotal = rounds;
        m_allEntered = false;
    }
    resetTable(rounds);
}

std::string CoordinateEntry::accept(int rounds, double x, double y) {
    const int k = m_current;
    if (k < 1 || k > rounds)
        return "Round " + std::to_string(k) + " is not one of the " + std::to_string(rounds) +
               " rounds of this group. Select a round in the grid, or raise the number of "
               "rounds.";
    if (m_table.size() <= static_cast<size_t>(k))
        m_table.resize(static_cast<size_t>(k) + 1);
    m_table[static_cast<size_t>(k)] = {x, y};
    m_current = k + 1;
    if (rounds < m_current) {
        m_doItOpen = true;
        m_allEntered = true;
        m_acceptOpen = false;
        m_current = rounds;
    }
    return {};
}

void CoordinateEntry::clear(int rounds) {
    resetTable(rounds);
    m_current = 1;
}

void CoordinateEntry::tick(int rounds) {
    const int k = m_current;
    if (rounds < k) {
        m_acceptOpen = false;
        m_doItOpen = true;
        m_allEntered = true;
    } else if (rounds > k) {
        m_acceptOpen = true;
        m_doItOpen = false;
    }
    if (m_allEntered && rounds >= k) {
        m_acceptOpen = true;
        m_doItOpen = true;
    }
}

TargetScale targetScale(const std::vector<Shot>& table, int rounds) {
    const int last = std::min<int>(rounds, static_cast<int>(table.size()) - 1);
    double largest = -9999;
    for (int r = 1; r <= last; ++r)
        largest = std::max({largest, table[static_cast<size_t>(r)].x,
                            table[static_cast<size_t>(r)].y});
    if (largest > 6.0)
        return {5 / largest, true};
    return {};
}

double holeRadiusTwips(double caliber) {
    if (!std::isfinite(caliber))
        return 0;
    return std::max(0.0, std::floor(std::floor(caliber * 510) / 2));
}

} // namespace fendrel
