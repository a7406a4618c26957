// The load history window's Compare: two strings, two groups or two loads, and whether their
// shots can tell them apart.
#include "LoadHistorySession.h"

#include "core/common/Numbers.h"
#include "core/stats/Comparisons.h"

#include <optional>

namespace fendrel {

namespace {

constexpr const char* kCompareTitle = "Compare";

std::string interval(const ConfidenceInterval& i, const char* pattern) {
    return formatPattern(i.low, pattern) + "\u2013" + formatPattern(i.high, pattern);
}

std::string stringLine(const char* name, const std::string& what, const StringEstimate& e) {
    const VelocityStatistics& v = e.statistics;
    return std::string(name) + ": " + what + ", " + std::to_string(v.count) + " shots: mean " +
           formatPattern(v.meanFps, "0.0") + " ft/s (" + interval(*e.meanIntervalFps, "0.0") +
           "), SD " + formatPattern(v.sdFps, "0.0") + " ft/s (" +
           interval(*e.sdIntervalFps, "0.0") + ")";
}

// The words for two velocity samples, or why they cannot be compared.
std::string stringsText(const std::vector<double>& a, const std::string& whatA,
                        const std::vector<double>& b, const std::string& whatB) {
    const auto c = compareStrings(a, b, kDefaultConfidence, kDefaultPower);
    if (!c)
        return c.refusal;
    return stringLine("A", whatA, c.value.a) + "\n" + stringLine("B", whatB, c.value.b) + "\n" +
           c.value.verdict;
}

// A group's shots as they would lie at 100 yd, so that groups shot at other distances compare
// by their angle.
std::vector<Shot> at100Yards(const HistoryGroup& g) {
    std::vector<Shot> shots;
    const double k = g.distanceYd > 0 ? 100 / g.distanceYd : 1;
    for (const Shot& s : g.shots)
        shots.push_back({s.x * k, s.y * k});
    return shots;
}

std::string groupLine(const char* name, const std::string& what, const GroupEstimate& e) {
    return std::string(name) + ": " + what + ", " + std::to_string(e.count) +
           " shots: dispersion (sigma) " + formatPattern(e.sigmaMoa, "0.00") + " MOA (" +
           interval(e.sigmaIntervalMoa, "0.00") + ")";
}

std::string groupsText(const HistoryGroup& a, const std::string& whatA, const HistoryGroup& b,
                       const std::string& whatB) {
    const auto c = compareGroups(at100Yards(a), at100Yards(b), 100, kDefaultConfidence,
                                 kDefaultPower);
    if (!c)
        return c.refusal;
    return groupLine("A", whatA, c.value.a) + "\n" + groupLine("B", whatB, c.value.b) + "\n" +
           c.value.verdict;
}

std::string stringName(const std::string& load, const VelocityString& s) {
    return "\"" + load + "\" of " + s.date;
}

std::string groupName(const std::string& load, const HistoryGroup& g) {
    return "\"" + load + "\" of " + g.date + " at " + generalNumber(g.distanceYd) + " yd";
}

} // namespace

void LoadHistorySession::compare(const std::vector<std::size_t>& strings,
                                 const std::vector<std::size_t>& groups,
                                 SessionHost& host) const {
    const std::string heading = "Intervals at " + percentText(kDefaultConfidence) +
                                " confidence; a difference is shown when p < " +
                                formatPattern(1 - kDefaultConfidence, "0.###") + ".\n\n";
    std::string text;
    if (strings.size() == 2 && strings[0] < m_strings.size() && strings[1] < m_strings.size()) {
        const std::size_t a = strings[0], b = strings[1];
        text = stringsText(m_strings[a].shotsFps, stringName(m_stringLoads[a], m_strings[a]),
                           m_strings[b].shotsFps, stringName(m_stringLoads[b], m_strings[b]));
    } else if (groups.size() == 2 && groups[0] < m_groups.size() && groups[1] < m_groups.size()) {
        const std::size_t a = groups[0], b = groups[1];
        text = groupsText(m_groups[a], groupName(m_groupLoads[a], m_groups[a]), m_groups[b],
                          groupName(m_groupLoads[b], m_groups[b]));
    } else if (m_selected.size() == 2) {
        const LoadHistory &a = m_selected[0], &b = m_selected[1];
        std::vector<double> shotsA, shotsB;
        for (const VelocityString& s : a.strings)
            shotsA.insert(shotsA.end(), s.shotsFps.begin(), s.shotsFps.end());
        for (const VelocityString& s : b.strings)
            shotsB.insert(shotsB.end(), s.shotsFps.begin(), s.shotsFps.end());
        text = "Velocity, all the shots of each load's strings:\n" +
               stringsText(shotsA, "\"" + a.description + "\"", shotsB,
                           "\"" + b.description + "\"");
        if (a.groups.size() == 1 && b.groups.size() == 1)
            text += "\n\nGroups:\n" + groupsText(a.groups[0], groupName(a.description, a.groups[0]),
                                                 b.groups[0], groupName(b.description, b.groups[0]));
        else
            text += "\n\nTo compare groups, select two in the list of groups.";
    } else {
        host.tell("Select two strings, two groups, or two loads to compare (hold Ctrl to select "
                  "the second).",
                  kCompareTitle, MessageIcon::Information);
        return;
    }
    host.tell(heading + text, kCompareTitle, MessageIcon::Information);
}

} // namespace fendrel
