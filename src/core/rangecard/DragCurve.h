// The range card's drag curve: drag coefficient by Mach number, from the built-in G1 or G7
// table or from a user's file of "mach,cd" lines, read the same way.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace fendrel {

class DragCurve {
public:
    // Larger files are refused: a drag curve is a few hundred bytes to a few kilobytes.
    static constexpr std::uintmax_t kMaxFileBytes = 1024 * 1024;
    // No bullet's drag coefficient comes near this (a flat plate's is about 2).
    static constexpr double kMaximumCd = 3;

    static const DragCurve& g1();
    static const DragCurve& g7();

    // Reads a user's curve: an optional "mach,cd" header line, then one "MACH,CD" record a
    // line (blank lines allowed, CR LF or LF). Mach numbers start at 0 or above and increase;
    // every Cd is above 0; at least two records. Only a regular file is opened. Returns an empty
    // string on success, otherwise the reason in words for the user, leaving `curve` unchanged.
    static std::string load(const std::filesystem::path& path, DragCurve& curve);
    static std::string parse(std::string_view text, DragCurve& curve);

    double firstMach() const { return m_mach.front(); }
    double lastMach() const { return m_mach.back(); }
    std::size_t size() const { return m_mach.size(); }

    // Cd at Mach `m`, linear between the records around it. The search starts at `hint` and
    // leaves it at the record found, so a flight that slows a little per step finds its place
    // at once. False when `m` lies outside the curve or is not a number.
    bool cd(double m, std::size_t& hint, double& value) const {
        if (!(m >= m_mach.front() && m <= m_mach.back()))
            return false;
        const std::size_t last = m_mach.size() - 2;
        std::size_t j = hint < last ? hint : last;
        while (j > 0 && m < m_mach[j])
            --j;
        while (j < last && m >= m_mach[j + 1])
            ++j;
        hint = j;
        value = m_cd[j] + (m - m_mach[j]) * m_slope[j];
        return true;
    }

private:
    void add(double mach, double cd);

    std::vector<double> m_mach;
    std::vector<double> m_cd;
    std::vector<double> m_slope; // per segment, so a lookup needs no division
};

} // namespace fendrel
