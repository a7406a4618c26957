// The drag table: drag values G by Mach number, read from the file that parameters.ini names.
// Shared by the calculation run and the range simulator.
#pragma once

#include <cmath>
#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace fendrel {

class DragTable {
public:
    // Records a table may hold: the calculation run keeps positions up to 1000 (999 records
    // after the origin), the simulator up to 1001 (1000 records).
    static constexpr std::size_t kRunCapacity = 999;
    static constexpr std::size_t kSimulatorCapacity = 1000;

    // Reads the records of a table file: pairs of Mach number and drag value, read as fields
    // until the end of the file (one record a line in practice). Position 1 holds the origin
    // (0, 0); the records follow at positions 2, 3, ... The last record's Mach number is taken
    // as its magnitude. The Mach numbers must increase; the first record may stand at Mach 0.
    // Returns an empty string on success, otherwise the reason, in words for the user, and
    // leaves `table` unchanged.
    static std::string load(const std::filesystem::path& path, std::size_t capacity,
                            DragTable& table);
    static std::string parse(std::string bytes, std::size_t capacity, DragTable& table);

    // Positions 1..positions(): the origin and the records.
    std::size_t positions() const { return m_mach.size(); }
    double mach(std::size_t position) const { return m_mach[position - 1]; }
    double drag(std::size_t position) const { return m_drag[position - 1]; }
    double lastMach() const { return m_mach.back(); }

    // The drag value at Mach number `m`, interpolated between the two positions around it
    // (from the origin below the first record). The search starts at `hint` (a 0-based index,
    // 0 at first), which is left at the position found, so that a flight that changes speed
    // a little per step finds its place at once; the result is the same as a search from the
    // start. False when `m` lies at or beyond the last record, or is not a number.
    bool lookup(double m, std::size_t& hint, double& g) const {
        const std::size_t last = m_mach.size() - 1;
        std::size_t j = hint < last ? hint : last; // a hint may come from another table
        while (j > 0 && m < m_mach[j])
            --j;
        while (j < last && m >= m_mach[j + 1])
            ++j;
        hint = j;
        if (j >= last || std::isnan(m))
            return false;
        g = m_drag[j] + (m - m_mach[j]) * (m_drag[j + 1] - m_drag[j]) / (m_mach[j + 1] - m_mach[j]);
        return true;
    }

private:
    std::vector<double> m_mach{0.0};
    std::vector<double> m_drag{0.0};
};

} // namespace fendrel
