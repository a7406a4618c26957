// The load history window's import of chronograph and e-target exports: the file or folder
// read, the list of its series, and the series the user ticked stored in one step.
#include "LoadHistorySession.h"

#include "core/common/Numbers.h"
#include "core/common/Strings.h"
#include "core/common/UserFiles.h"

#include <algorithm>
#include <cmath>

namespace fs = std::filesystem;

namespace fendrel {

namespace {

// The bullet's diameter in inches when the caliber's name starts with it (".308 Winchester");
// 0, which measures an e-target group centre to centre, when it does not ("6.5 Creedmoor").
double caliberInches(const std::string& caliber) {
    const double v = leadingNumber(caliber);
    return std::isfinite(v) && v > 0 && v < 1 ? v : 0;
}

std::string joined(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& line : lines)
        out += (out.empty() ? "" : "\n") + line;
    return out;
}

} // namespace

std::optional<fs::path> LoadHistorySession::chooseImportFile(SessionHost& host) const {
    return host.openFile({"Import chronograph or e-target export",
                          "Chronograph and e-target exports (*.csv, *.txt)|*.csv;*.txt|"
                          "All files (*)|*|",
                          1, userDataFolder(m_programFolder), {}});
}

std::optional<LoadHistorySession::ImportPlan>
LoadHistorySession::readImport(const fs::path& source, const std::optional<RoundTexts>& round,
                               const EntryFields& fields, SessionHost& host) {
    ImportPlan plan;
    plan.source = source;
    if (round) {
        RoundKey key = roundKeyOf(*round);
        if (checkDescription(key.description).empty())
            plan.round = std::move(key);
    }
    // The date, air temperature and charge typed are those of every series without its own.
    VelocityString typed;
    if (plan.round)
        typed.round = plan.round->round;
    if (const Status read = readStringFields(fields, typed, false); !read) {
        host.tell(read.refusal, kTitle, MessageIcon::Exclamation);
        return std::nullopt;
    }
    if (plan.round)
        plan.round->round = typed.round;
    plan.options.fallbackDate = typed.date;
    plan.options.temperatureF = typed.temperatureF;

    auto read = readChronographSource(source);
    if (!read) {
        host.tell(source.filename().string() + " was not imported.\n" + read.refusal, kTitle,
                  MessageIcon::Exclamation);
        return std::nullopt;
    }
    plan.read = std::move(read.value);

    // The loads offered: the round's, then those selected, then the rest.
    if (plan.round)
        plan.loads.push_back(plan.round->description);
    for (std::size_t row : selectedLoads())
        plan.loads.push_back(m_loads[row].description);
    for (const LoadSummary& l : m_loads)
        plan.loads.push_back(l.description);
    std::vector<std::string> unique;
    for (const std::string& l : plan.loads)
        if (std::find(unique.begin(), unique.end(), l) == unique.end())
            unique.push_back(l);
    plan.loads = std::move(unique);
    plan.load = plan.loads.empty() ? std::string() : plan.loads.front();
    if (plan.load.empty()) {
        roundKey(round, host); // tells why there is no load to import into
        return std::nullopt;
    }
    plan.options.round = plan.round ? plan.round->round : RoundSnapshot{};
    plan.options.caliberIn = caliberInches(plan.options.round.caliber);

    const HistoryDatabase* db = history(false, host);
    if (db) {
        auto previews = db->previewSeries(plan.read.series, plan.options);
        if (!previews) {
            host.tell(previews.refusal, kTitle, MessageIcon::Exclamation);
            return std::nullopt;
        }
        plan.previews = std::move(previews.value);
    } else {
        for (const ChronographSeries& s : plan.read.series)
            plan.previews.push_back(previewOf(s, plan.options));
    }
    plan.table = importTable(plan.previews, plan.read.series);
    for (const SeriesPreview& p : plan.previews) {
        plan.duplicate.push_back(p.duplicateOf != 0);
        plan.ticked.push_back(p.duplicateOf == 0);
    }
    plan.choose = plan.previews.size() > 1;
    return plan;
}

bool LoadHistorySession::importSeries(const ImportPlan& plan, const std::vector<bool>& ticked,
                                      const std::string& loadTyped, SessionHost& host) {
    const std::string load = trimmed(loadTyped);
    if (const std::string why = checkDescription(load); !why.empty()) {
        host.tell(why + " Choose the load to import into.", kTitle, MessageIcon::Exclamation);
        return false;
    }
    // An existing load keeps its own round values; a new one takes the round's.
    SeriesImportOptions options = plan.options;
    const auto existing = std::find_if(m_loads.begin(), m_loads.end(),
                                       [&](const LoadSummary& l) { return l.description == load; });
    if (existing != m_loads.end() && !(plan.round && plan.round->description == load)) {
        options.round = existing->latest;
    } else if (!plan.round) {
        host.tell("A new load takes the round values of the round on the main window, and there "
                  "is none open. Choose one of the loads of the history.",
                  kTitle, MessageIcon::Exclamation);
        return false;
    }
    options.caliberIn = caliberInches(options.round.caliber);

    std::vector<ChronographSeries> chosen;
    for (std::size_t i = 0; i < plan.read.series.size(); ++i)
        if (i < ticked.size() && ticked[i])
            chosen.push_back(plan.read.series[i]);
    if (chosen.empty()) {
        host.tell("No series is ticked, so nothing was imported.", kTitle,
                  MessageIcon::Information);
        return false;
    }
    HistoryDatabase* db = history(true, host);
    if (!db)
        return false;
    const auto stored = db->importSeries(load, chosen, options);
    if (!stored) {
        host.tell(stored.refusal, kTitle, MessageIcon::Exclamation);
        return false;
    }
    std::vector<std::string> notices = plan.read.notices;
    notices.insert(notices.end(), stored.value.notices.begin(), stored.value.notices.end());
    const auto strings = std::count_if(stored.value.stringIds.begin(),
                                       stored.value.stringIds.end(),
                                       [](std::int64_t id) { return id != 0; });
    const auto groups = std::count_if(stored.value.groupIds.begin(), stored.value.groupIds.end(),
                                      [](std::int64_t id) { return id != 0; });
    if (!notices.empty() || chosen.size() > 1 || groups > 0) {
        std::string summary = "Imported into \"" + load + "\": " + std::to_string(strings) +
                              (strings == 1 ? " string" : " strings");
        if (groups > 0)
            summary += " and " + std::to_string(groups) + (groups == 1 ? " group" : " groups");
        summary += ".";
        if (!notices.empty())
            summary += "\n\n" + joined(notices);
        host.tell(summary, kTitle, MessageIcon::Information);
    }
    if (strings == 0)
        return false;
    return afterChange(Status::done(), load, host);
}

} // namespace fendrel
