#include "LoadHistorySession.h"

#include "ChronographCsv.h"
#include "GroupImport.h"
#include "core/common/Numbers.h"
#include "core/common/Strings.h"
#include "core/common/UserFiles.h"

#include <algorithm>
#include <cmath>
#include <set>

namespace fs = std::filesystem;

namespace fendrel {

namespace {

const char* const kDistanceRefusal =
    "The distance must be a number of yards above 0 and up to 10000.";

std::string escapedHtml(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out.push_back(c);
        }
    }
    return out;
}

std::string htmlTable(const TextTable& t) {
    std::string html = "<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\"><tr>";
    for (const std::string& h : t.headers)
        html += "<th>" + escapedHtml(h) + "</th>";
    html += "</tr>";
    for (const auto& row : t.rows) {
        html += "<tr>";
        for (const std::string& c : row)
            html += "<td>" + escapedHtml(c) + "</td>";
        html += "</tr>";
    }
    return html + "</table>";
}

// The values of one quantity by charge, with their intervals and the range of both.
void addValue(ComparisonPlot::Values& v, double& low, double& high, double charge,
              const std::optional<double>& value,
              const std::optional<ConfidenceInterval>& interval) {
    if (!value || !std::isfinite(*value) || !std::isfinite(charge))
        return;
    low = v.points.empty() ? *value : std::min(low, *value);
    high = v.points.empty() ? *value : std::max(high, *value);
    v.points.emplace_back(charge, *value);
    if (interval && std::isfinite(interval->low) && std::isfinite(interval->high)) {
        v.bars.push_back({charge, interval->low, interval->high});
        low = std::min(low, interval->low);
        high = std::max(high, interval->high);
    }
}

// The ladder's verdict: where the velocity rises less than the line says, and the charges
// off the line.
std::string ladderVerdict(const LoadComparison& c) {
    if (!c.ladder)
        return {};
    const std::string level = percentText(c.confidence);
    std::string out;
    if (c.ladder->flatSpots.empty()) {
        out = "No flat spot is shown by these shots (" + level + ").";
    } else {
        for (std::size_t i = 0; i < c.ladder->flatSpots.size(); ++i) {
            const FlatSpot& f = c.ladder->flatSpots[i];
            out += (i == 0 ? "A flat spot is shown between " : i + 1 == c.ladder->flatSpots.size()
                                                                   ? " and between "
                                                                   : ", between ") +
                   generalNumber(f.fromGr) + " and " + generalNumber(f.toGr) + " gr";
        }
        out += " (" + level + ").";
    }
    std::vector<std::string> off;
    for (const ChargePoint& p : c.points)
        if (p.offLine)
            off.push_back(generalNumber(p.chargeGr));
    for (std::size_t i = 0; i < off.size(); ++i)
        out += (i == 0 ? " Off the line: " : ", ") + off[i] + (i + 1 == off.size() ? " gr." : "");
    return out;
}

// The name of a file for the messages that quote it.
std::string fileName(const fs::path& file) { return file.filename().string(); }

} // namespace

LoadHistorySession::LoadHistorySession(fs::path programFolder)
    : m_programFolder(std::move(programFolder)) {}

LoadHistorySession::~LoadHistorySession() = default;

HistoryDatabase* LoadHistorySession::history(bool forChange, SessionHost& host) {
    if (!m_history) {
        // A file of a newer version or another program is refused here, untouched; a missing
        // one is created only for a change.
        auto opened = HistoryDatabase::open(m_programFolder,
                                            forChange ? HistoryDatabase::WhenAbsent::Create
                                                      : HistoryDatabase::WhenAbsent::Report);
        m_refusal = opened.refusal;
        m_history = std::move(opened.database);
    }
    if (m_history && forChange && !m_checked) {
        // A damaged file is refused before the first change, and stays readable. The check
        // reads the whole file, so it runs once, not whenever the window opens.
        const Status checked = m_history->checkIntegrity();
        m_refusal = checked.refusal;
        if (!checked) {
            tellRefusal(host);
            return nullptr;
        }
        m_checked = true;
    }
    tellRefusal(host);
    // A history refused for a change is still read.
    return forChange && !m_refusal.empty() ? nullptr : m_history.get();
}

void LoadHistorySession::tellRefusal(SessionHost& host) {
    if (!m_refusal.empty() && m_told != m_refusal)
        host.tell(m_refusal, kTitle, MessageIcon::Error);
    m_told = m_refusal;
}

std::string LoadHistorySession::status() const {
    if (!m_refusal.empty())
        return m_refusal + " This window changes nothing in it.";
    if (!m_history)
        return "No load history yet: it begins with the first string or group you add.";
    return std::to_string(m_loads.size()) + (m_loads.size() == 1 ? " load" : " loads") +
           ". Select several loads of one caliber and bullet to compare them.";
}

void LoadHistorySession::refresh(SessionHost& host) {
    m_loads.clear();
    if (HistoryDatabase* db = history(false, host)) {
        auto loads = db->loads();
        if (loads)
            m_loads = std::move(loads.value);
        else
            m_refusal = loads.refusal;
        tellRefusal(host);
    }
    std::vector<std::size_t> rows;
    for (std::size_t i = 0; i < m_loads.size(); ++i)
        if (std::count(m_selectedIds.begin(), m_selectedIds.end(), m_loads[i].id))
            rows.push_back(i);
    selectLoads(rows, host);
}

TextTable LoadHistorySession::loadsTable() const { return fendrel::loadsTable(m_loads); }

std::vector<std::size_t> LoadHistorySession::selectedLoads() const {
    std::vector<std::size_t> rows;
    for (std::size_t i = 0; i < m_loads.size(); ++i)
        if (std::count(m_selectedIds.begin(), m_selectedIds.end(), m_loads[i].id))
            rows.push_back(i);
    return rows;
}

std::optional<std::size_t> LoadHistorySession::loadRow(const std::string& description) const {
    for (std::size_t i = 0; i < m_loads.size(); ++i)
        if (m_loads[i].description == description)
            return i;
    return std::nullopt;
}

void LoadHistorySession::selectLoads(const std::vector<std::size_t>& rows, SessionHost& host) {
    m_selectedIds.clear();
    m_selected.clear();
    m_strings.clear();
    m_stringLoads.clear();
    m_groups.clear();
    m_groupLoads.clear();
    m_comparison.reset();
    for (std::size_t row : rows) {
        if (row >= m_loads.size() || !m_history)
            continue;
        m_selectedIds.push_back(m_loads[row].id);
        auto load = m_history->load(m_loads[row].id);
        if (!load) {
            host.tell(load.refusal, kTitle, MessageIcon::Exclamation);
            break;
        }
        for (const VelocityString& s : load.value.strings) {
            m_strings.push_back(s);
            m_stringLoads.push_back(load.value.description);
        }
        for (const HistoryGroup& g : load.value.groups) {
            m_groups.push_back(g);
            m_groupLoads.push_back(load.value.description);
        }
        m_selected.push_back(std::move(load.value));
    }
    m_compareNote.clear();
    if (m_selected.empty()) {
        m_compareNote = "Select loads of one caliber and bullet to compare their velocity, SD "
                        "and group size by powder charge.";
        return;
    }
    auto compared = compareLoads(m_selected);
    if (compared)
        m_comparison = std::move(compared.value);
    else
        m_compareNote = compared.refusal;
}

TextTable LoadHistorySession::stringsTable() const { return fendrel::stringsTable(m_selected); }
TextTable LoadHistorySession::groupsTable() const { return fendrel::groupsTable(m_selected); }

EntryFields LoadHistorySession::stringFields(std::size_t row) const {
    return row < m_strings.size() ? fieldsOf(m_strings[row]) : EntryFields{};
}

EntryFields LoadHistorySession::groupFields(std::size_t row) const {
    return row < m_groups.size() ? fieldsOf(m_groups[row]) : EntryFields{};
}

TextTable LoadHistorySession::comparisonTable() const {
    return fendrel::comparisonTable(m_comparison.value_or(LoadComparison{}));
}

ComparisonPlot LoadHistorySession::comparisonPlot() const {
    ComparisonPlot plot;
    if (!m_comparison) {
        plot.caption = m_compareNote;
        return plot;
    }
    const LoadComparison& c = *m_comparison;
    double vLow = 0, vHigh = 0, sLow = 0, sHigh = 0, gLow = 0, gHigh = 0;
    const double lowCharge = c.points.front().chargeGr, highCharge = c.points.back().chargeGr;
    for (const ChargePoint& p : c.points) {
        addValue(plot.velocity, vLow, vHigh, p.chargeGr, p.velocityFps, p.velocityIntervalFps);
        addValue(plot.sd, sLow, sHigh, p.chargeGr, p.sdFps, p.sdIntervalFps);
        addValue(plot.group, gLow, gHigh, p.chargeGr, p.groupMoa, p.groupIntervalMoa);
        if (p.offLine && p.velocityFps)
            plot.offLine.emplace_back(p.chargeGr, *p.velocityFps);
    }
    plot.ladder = ladderVerdict(c);
    plot.slope = velocityLineText(c);
    if (!plot.slope.empty()) {
        for (double x : {lowCharge, highCharge})
            plot.line.emplace_back(x, c.line->interceptFps + c.line->slopeFpsPerGrain * x);
        if (std::isfinite(plot.line[0].second) && std::isfinite(plot.line[1].second)) {
            vLow = std::min({vLow, plot.line[0].second, plot.line[1].second});
            vHigh = std::max({vHigh, plot.line[0].second, plot.line[1].second});
        } else {
            plot.line.clear();
        }
    }
    plot.caption = c.caliber + " " + generalNumber(c.bulletWeightGr) + " gr, " +
                   std::to_string(c.points.size()) +
                   (c.points.size() == 1 ? " charge. " : " charges. ") +
                   (plot.line.empty() ? std::string("A velocity line needs velocities at two "
                                                    "charges.")
                                      : "Velocity line (least squares): " + plot.slope + ".") +
                   (plot.ladder.empty() ? std::string() : " " + plot.ladder);
    plot.charges = comparisonScale(lowCharge, highCharge, 8);
    plot.velocity.scale = comparisonScale(vLow, vHigh, 6);
    plot.sd.scale = comparisonScale(sLow, sHigh, 6, true);
    plot.group.scale = comparisonScale(gLow, gHigh, 6, true);
    return plot;
}

std::optional<RoundKey> LoadHistorySession::roundKey(const std::optional<RoundTexts>& round,
                                                     SessionHost& host) {
    if (!round) {
        host.tell("Strings and groups are added to the round on the main window; there is none "
                  "open.",
                  kTitle, MessageIcon::Exclamation);
        return std::nullopt;
    }
    RoundKey key = roundKeyOf(*round);
    if (const std::string why = checkDescription(key.description); !why.empty()) {
        host.tell(why + " Give the round on the main window a description.", kTitle,
                  MessageIcon::Exclamation);
        return std::nullopt;
    }
    return key;
}

bool LoadHistorySession::afterChange(const Status& done, const std::string& load,
                                     SessionHost& host) {
    m_changedLoad.clear();
    if (!done) {
        host.tell(done.refusal, kTitle, MessageIcon::Exclamation);
        return false;
    }
    m_changedLoad = load;
    // The load that changed stays in view, with the other selected loads.
    refresh(host);
    if (const auto row = loadRow(load)) {
        std::vector<std::size_t> rows = selectedLoads();
        if (!std::count(rows.begin(), rows.end(), *row))
            rows = {*row};
        selectLoads(rows, host);
    }
    return true;
}

bool LoadHistorySession::addString(VelocityString s, const RoundKey& key, SessionHost& host) {
    HistoryDatabase* db = history(true, host);
    if (!db)
        return false;
    return afterChange(db->addString(key.description, s), key.description, host);
}

bool LoadHistorySession::addString(const std::optional<RoundTexts>& round,
                                   const EntryFields& fields, SessionHost& host) {
    const auto key = roundKey(round, host);
    if (!key)
        return false;
    VelocityString s;
    s.round = key->round;
    if (const Status read = readStringFields(fields, s, true); !read) {
        host.tell(read.refusal, kTitle, MessageIcon::Exclamation);
        return false;
    }
    return addString(std::move(s), *key, host);
}

std::optional<double> LoadHistorySession::askDistance(EntryFields& fields, SessionHost& host) {
    const std::string typed =
        host.input("The distance this group was shot at, in yards:", "Add Group", fields.distance);
    if (trimmed(typed).empty())
        return std::nullopt; // cancelled
    const auto yards = typedNumber(typed);
    if (!yards || !(*yards > 0) || *yards > kMaximumDistanceYd) {
        host.tell(kDistanceRefusal, kTitle, MessageIcon::Exclamation);
        return std::nullopt;
    }
    fields.distance = trimmed(typed);
    return yards;
}

bool LoadHistorySession::addGroup(HistoryGroup g, const std::optional<RoundTexts>& round,
                                  const EntryFields& fields, SessionHost& host) {
    const auto key = roundKey(round, host);
    if (!key)
        return false;
    // The date, charge and note of the entry fields; the round's other values.
    HistoryGroup read = g;
    read.round = key->round;
    EntryFields f = fields;
    f.distance = generalNumber(g.distanceYd);
    if (f.note.empty())
        f.note = g.note;
    if (const Status status = readGroupFields(f, read); !status) {
        host.tell(status.refusal, kTitle, MessageIcon::Exclamation);
        return false;
    }
    HistoryDatabase* db = history(true, host);
    if (!db)
        return false;
    return afterChange(db->addGroup(key->description, read), key->description, host);
}

bool LoadHistorySession::addLastGroup(const std::optional<RoundTexts>& round, EntryFields& fields,
                                      const std::optional<LastGroup>& last, SessionHost& host) {
    if (!last) {
        host.tell("No group has been measured yet. Measure one with Do It! in the shot group "
                  "window (Tools > Range Measurements Calculator), then add it here.",
                  kTitle, MessageIcon::Exclamation);
        return false;
    }
    if (!roundKey(round, host))
        return false;
    const auto yards = askDistance(fields, host);
    if (!yards)
        return false;
    std::vector<Shot> shots;
    for (const auto& [x, y] : last->shots)
        shots.push_back({x, y});
    GroupMeasurement m;
    m.meanRadius = last->meanRadius;
    m.meanSpread = last->meanSpread;
    m.extremeSpread = last->extremeSpread;
    m.medianSpread = last->medianSpread;
    m.radii.assign(shots.size(), 0); // measured by Do It; only the statistics are kept
    const auto group = groupFromMeasurement(last->caliber, shots, m, *yards);
    if (!group) {
        host.tell(group.refusal, kTitle, MessageIcon::Exclamation);
        return false;
    }
    return addGroup(group.value, round, fields, host);
}

bool LoadHistorySession::importGroupFile(const std::optional<RoundTexts>& round,
                                         EntryFields& fields, SessionHost& host) {
    if (!roundKey(round, host))
        return false;
    const auto chosen = host.openFile({"Import group file", "Group File Format(.grp)|*.grp|", 1,
                                       userDataFolder(m_programFolder), {}});
    if (!chosen)
        return false;
    const auto yards = askDistance(fields, host);
    if (!yards)
        return false;
    const auto group = groupFromFile(*chosen, *yards);
    if (!group) {
        host.tell(fileName(*chosen) + " was not imported.\n" + group.refusal, kTitle,
                  MessageIcon::Exclamation);
        return false;
    }
    return addGroup(group.value, round, fields, host);
}

bool LoadHistorySession::saveEntry(bool isString, std::size_t row, const EntryFields& fields,
                                   SessionHost& host) {
    if (row >= (isString ? m_strings.size() : m_groups.size()))
        return false;
    HistoryDatabase* db = history(true, host);
    if (!db)
        return false;
    const std::string load = isString ? m_stringLoads[row] : m_groupLoads[row];
    VelocityString string = isString ? m_strings[row] : VelocityString{};
    HistoryGroup group = isString ? HistoryGroup{} : m_groups[row];
    const Status read =
        isString ? readStringFields(fields, string, true) : readGroupFields(fields, group);
    if (!read) {
        host.tell(read.refusal, kTitle, MessageIcon::Exclamation);
        return false;
    }
    const std::string question =
        std::string("Replace the ") + (isString ? "string" : "group") + " of " +
        (isString ? m_strings[row].date : m_groups[row].date) + " in the load \"" + load +
        "\" with the values of the entry fields?";
    if (!host.ask(question, "Change Entry", MessageIcon::Question))
        return false;
    return afterChange(isString ? db->updateString(string) : db->updateGroup(group), load, host);
}

bool LoadHistorySession::deleteEntry(bool isString, std::size_t row, SessionHost& host) {
    if (row >= (isString ? m_strings.size() : m_groups.size()))
        return false;
    HistoryDatabase* db = history(true, host);
    if (!db)
        return false;
    const std::string load = isString ? m_stringLoads[row] : m_groupLoads[row];
    const std::string what =
        isString ? "the string of " + m_strings[row].date + " (" +
                       std::to_string(m_strings[row].shotsFps.size()) + " shots)"
                 : "the group of " + m_groups[row].date + " at " +
                       generalNumber(m_groups[row].distanceYd) + " yd";
    if (!host.ask("Delete " + what + " from the load \"" + load + "\"? This cannot be undone.",
                  "Delete Entry", MessageIcon::Question))
        return false;
    return afterChange(
        isString ? db->deleteString(m_strings[row].id) : db->deleteGroup(m_groups[row].id), load,
        host);
}

std::vector<LoadHistory> LoadHistorySession::chosenLoads(SessionHost& host) {
    if (!m_selected.empty())
        return m_selected;
    std::vector<LoadHistory> all;
    if (m_history)
        for (const LoadSummary& summary : m_loads) {
            auto load = m_history->load(summary.id);
            if (!load) {
                host.tell(load.refusal, kTitle, MessageIcon::Exclamation);
                return {};
            }
            all.push_back(std::move(load.value));
        }
    if (all.empty())
        host.tell("The load history holds no loads yet.", kTitle, MessageIcon::Exclamation);
    return all;
}

std::string LoadHistorySession::reportHtml(const std::vector<LoadHistory>& loads, bool withChart,
                                           int chartWidth) const {
    std::vector<LoadSummary> summaries;
    for (const LoadHistory& load : loads)
        for (const LoadSummary& s : m_loads)
            if (s.id == load.id)
                summaries.push_back(s);
    std::string html = "<h2>Load History</h2>" + htmlTable(fendrel::loadsTable(summaries)) +
                       "<h3>Strings</h3>" + htmlTable(fendrel::stringsTable(loads)) +
                       "<h3>Groups</h3>" + htmlTable(fendrel::groupsTable(loads));
    if (withChart && m_comparison && !m_selected.empty()) {
        html += "<h3>Comparison by powder charge</h3>" + htmlTable(comparisonTable()) + "<p>" +
                escapedHtml(comparisonPlot().caption) + "</p>";
        html += "<p><img src=\"chart.png\" width=\"" + std::to_string(chartWidth) + "\"></p>";
    }
    return html;
}

std::optional<fs::path> LoadHistorySession::choosePdf(SessionHost& host) {
    if (chosenLoads(host).empty())
        return std::nullopt;
    const auto chosen = host.saveFile({"Save as PDF", "PDF file (.pdf)|*.pdf|", 1,
                                       userDataFolder(m_programFolder), "Load history.pdf"});
    if (!chosen)
        return std::nullopt;
    const fs::path file = withSuffix(*chosen, "pdf");
    if (const Status own = ownFileRefusal(m_programFolder, file); !own) {
        host.tell("The PDF file " + file.string() + " could not be saved: " + own.refusal, kTitle,
                  MessageIcon::Exclamation);
        return std::nullopt;
    }
    return file;
}

void LoadHistorySession::saveCsv(SessionHost& host) {
    const auto loads = chosenLoads(host);
    if (loads.empty())
        return;
    const auto chosen = host.saveFile({"Save as CSV", "CSV file (.csv)|*.csv|", 1,
                                       userDataFolder(m_programFolder), "Load history.csv"});
    if (!chosen)
        return;
    const fs::path file = withSuffix(*chosen, "csv");
    if (const Status saved = saveUserFile(m_programFolder, file, historyCsv(loads)); !saved)
        host.tell("The CSV file " + file.string() + " could not be saved: " + saved.refusal,
                  kTitle, MessageIcon::Exclamation);
}

} // namespace fendrel
