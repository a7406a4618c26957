#include "GroupSession.h"

#include "GroupFile.h"
#include "GroupStatistics.h"
#include "core/common/Encoding.h"
#include "core/common/Numbers.h"
#include "core/common/SafeFile.h"
#include "core/common/UserFiles.h"

#include <algorithm>
#include <cmath>

namespace fs = std::filesystem;

namespace fendrel {

namespace {

const char* const kGroupFilter = "Group File Format(.grp)|*.grp|";
const char* const kRoundsRefusal = "The number of rounds must be a whole number from 2 to 181.";

void refuse(SessionHost& host, const std::string& text) {
    host.tell(text, "Error", MessageIcon::Error);
}

} // namespace

std::optional<int> GroupSession::rounds(const std::string& text) {
    return roundsText(utf8ToCp1252(text));
}

std::optional<GroupSession::Accepted> GroupSession::accept(const std::string& roundsText,
                                                           const std::string& xText,
                                                           const std::string& yText,
                                                           SessionHost& host) {
    if (xText.empty() || yText.empty()) {
        refuse(host, "You must enter a value for both the X and Y coordinates");
        return std::nullopt;
    }
    const auto n = rounds(roundsText);
    if (!n) {
        refuse(host, kRoundsRefusal);
        return std::nullopt;
    }
    const auto x = numberText(utf8ToCp1252(xText));
    const auto y = numberText(utf8ToCp1252(yText));
    if (!x || !y) {
        refuse(host, "The X and Y coordinates must be numbers of inches (for example 1.25).");
        return std::nullopt;
    }
    const int round = m_entry.currentRound();
    if (const std::string refusal = m_entry.accept(*n, *x, *y); !refusal.empty()) {
        refuse(host, cp1252ToUtf8(refusal));
        return std::nullopt;
    }
    return Accepted{round, formatPattern(*x, "###0.0##"), formatPattern(*y, "##0.0##")};
}

std::optional<GroupSession::Drawing> GroupSession::display(const std::string& roundsText,
                                                           const std::string& caliberText,
                                                           SessionHost& host) {
    const auto n = rounds(roundsText);
    if (!n) {
        refuse(host, kRoundsRefusal);
        return std::nullopt;
    }
    const TargetScale fit = targetScale(m_entry.table(), *n);
    if (fit.rescaled)
        host.tell("Your coordinates will fall outside the target graphic.  Fen-drel will "
                  "re-scale your group to fit.",
                  "Re-Scaling", MessageIcon::Information);
    Drawing d;
    d.radius = holeRadiusTwips(leadingNumber(utf8ToCp1252(caliberText)));
    const auto& table = m_entry.table();
    const int last = std::min<int>(*n, static_cast<int>(table.size()) - 1);
    for (int r = 1; r <= last; ++r) {
        const Shot& s = table[static_cast<std::size_t>(r)];
        d.holes.emplace_back(fit.scale * s.x * kTargetTwipsPerInchX,
                             fit.scale * s.y * kTargetTwipsPerInchY);
    }
    d.caption = "Illustration of your target and group (note each square cell is " +
                formatPattern(1 / fit.scale, "0.00") + " inch in size).";
    return d;
}

std::optional<bool> GroupSession::doIt(const std::string& caliberText, const std::string& roundsText,
                        const GroupCells& cells, SessionHost& host) {
    GroupEntry entry;
    entry.caliberText = utf8ToCp1252(caliberText);
    entry.roundsText = utf8ToCp1252(roundsText);
    for (const auto& [x, y] : cells)
        entry.cells.emplace_back(utf8ToCp1252(x), utf8ToCp1252(y));
    const GroupEvaluation e = evaluateGroup(entry);
    if (!e.refusal.empty()) {
        refuse(host, cp1252ToUtf8(e.refusal));
        return std::nullopt;
    }
    // The measured coordinates are the grid's; the table follows them.
    std::vector<Shot> table(entry.cells.size() + 1);
    for (std::size_t r = 1; r <= entry.cells.size(); ++r)
        table[r] = {leadingNumber(entry.cells[r - 1].first),
                    leadingNumber(entry.cells[r - 1].second)};
    m_entry.setTable(std::move(table));

    if (const std::string reason = writeDistanceFiles(m_state.programFolder, e.measurement);
        !reason.empty())
        host.tell("The distance files could not be written (" + cp1252ToUtf8(reason) +
                      "). The results are not affected.",
                  "Measures", MessageIcon::Exclamation);

    m_results = cp1252ToUtf8(e.results);
    LastGroup last;
    last.caliber = leadingNumber(entry.caliberText);
    for (std::size_t r = 1; r < m_entry.table().size(); ++r)
        last.shots.emplace_back(m_entry.table()[r].x, m_entry.table()[r].y);
    last.meanRadius = e.measurement.meanRadius;
    last.meanSpread = e.measurement.meanSpread;
    last.extremeSpread = e.measurement.extremeSpread;
    last.medianSpread = e.measurement.medianSpread;
    m_state.lastGroup = std::move(last);
    return host.ask(m_results + "\r\nWould you like to save this Group File?",
                    "Calculations Complete", MessageIcon::Question);
}

void GroupSession::save(const std::string& title, const std::string& caliber,
                        const std::string& roundsText, bool displayed, SessionHost& host) {
    const auto n = rounds(roundsText);
    if (!n) {
        refuse(host, kRoundsRefusal);
        return;
    }
    const auto chosen =
        host.saveFile({"Save Group file", kGroupFilter, 1, userDataFolder(m_state.programFolder), {}});
    m_printEnabled = true;
    if (!chosen) {
        m_groupFile.clear(); // a cancelled save leaves no file to print from
        return;
    }
    m_groupFile = withSuffix(*chosen, "grp");
    GroupFileData data;
    data.title = utf8ToCp1252(title);
    data.caliber = utf8ToCp1252(caliber);
    data.rounds = utf8ToCp1252(roundsText);
    const auto& table = m_entry.table();
    const int last = std::min<int>(*n, static_cast<int>(table.size()) - 1);
    for (int r = 1; r <= last; ++r)
        data.shots.push_back(table[static_cast<std::size_t>(r)]);
    data.results = utf8ToCp1252(m_results);
    data.displayed = displayed;
    if (const Status saved =
            saveUserFile(m_state.programFolder, m_groupFile, groupFileBytes(data));
        !saved)
        host.tell("The group file " + m_groupFile.string() + " could not be saved: " +
                      saved.refusal,
                  "Error", MessageIcon::Exclamation);
}

std::optional<GroupSession::Opened> GroupSession::open(SessionHost& host) {
    const auto chosen =
        host.openFile({"Open Group file", kGroupFilter, 1, userDataFolder(m_state.programFolder), {}});
    if (!chosen)
        return std::nullopt;
    m_state.currentDataFile = chosen->string();
    const auto bytes = readInputFile(*chosen);
    if (!bytes)
        return std::nullopt;
    // What was read before a malformed part stays in the window.
    const GroupFileRead read = readGroupFile(*bytes);
    Opened o;
    if (read.hasTitle)
        o.title = cp1252ToUtf8(read.title);
    if (read.hasCaliber)
        o.caliber = cp1252ToUtf8(read.caliber);
    o.rounds = read.rounds;
    if (read.rounds == 0)
        return o;
    for (const auto& [x, y] : read.cells)
        o.cells.emplace_back(cp1252ToUtf8(x), cp1252ToUtf8(y));
    o.complete = read.complete;
    if (!read.complete)
        return o;
    o.table.resize(static_cast<std::size_t>(read.rounds) + 1);
    for (int r = 1; r <= read.rounds && static_cast<std::size_t>(r) <= read.cells.size(); ++r) {
        const auto& [x, y] = read.cells[static_cast<std::size_t>(r - 1)];
        const double vx = leadingNumber(x), vy = leadingNumber(y);
        o.table[static_cast<std::size_t>(r)] = {std::isfinite(vx) ? vx : 0,
                                                std::isfinite(vy) ? vy : 0};
    }
    o.displayed = read.displayed();
    m_groupFile = *chosen;
    return o;
}

std::optional<std::string> GroupSession::printedResults(SessionHost& host) {
    if (m_groupFile.empty()) {
        refuse(host, "There is no group file to print. Save this group with \"Save Group "
                     "file\" or open one with \"Open Group file\" first.");
        return std::nullopt;
    }
    const auto bytes = readInputFile(m_groupFile);
    if (!bytes) {
        refuse(host, "The group file " + m_groupFile.string() + " cannot be read.");
        return std::nullopt;
    }
    return cp1252ToUtf8(fendrel::printedResults(*bytes));
}

} // namespace fendrel
