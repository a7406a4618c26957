#include "RangeCardSession.h"

#include "RangeCardColumns.h"
#include "RangeCardSources.h"
#include "core/common/Encoding.h"
#include "core/common/UserFiles.h"
#include "core/history/HistoryDatabase.h"
#include "core/history/LoadComparison.h"

namespace fs = std::filesystem;

namespace fendrel {

namespace {

constexpr const char* kHistoryTitle = "From history";
constexpr const char* kGroupTitle = "From last group";

// "X could not be written: reason" for a file the user chose.
std::string notWritten(const fs::path& file, const Status& why) {
    return file.string() + " could not be written: " + why.refusal;
}

} // namespace

RangeCardSession::RangeCardSession(fs::path programFolder, const std::optional<RoundTexts>& round)
    : m_programFolder(std::move(programFolder)), m_form(RangeCardForm::read(m_programFolder)) {
    if (round)
        m_form.takeRound(*round);
}

std::string RangeCardSession::unit(CardField f) const {
    return cardFieldUnit(f, m_form.metric, m_form.clickUnit);
}

void RangeCardSession::changed() {
    m_dirty = true;
    m_current = false;
    m_truing.reset(); // it was fitted to the card as it was
}

void RangeCardSession::setText(CardField f, const std::string& text) {
    if (m_form[f] == text)
        return;
    m_form[f] = text;
    changed();
}

void RangeCardSession::setDragModel(DragModel model) {
    if (m_form.dragModel != model) {
        m_form.dragModel = model;
        changed();
    }
}

void RangeCardSession::setDragFile(const std::string& path) {
    if (m_form.dragFile != path) {
        m_form.dragFile = path;
        changed();
    }
}

void RangeCardSession::setShape(TargetShape shape) {
    if (m_form.shape != shape) {
        m_form.shape = shape;
        changed();
    }
}

void RangeCardSession::setMetric(bool metric) {
    if (m_form.metric != metric) {
        m_form.setMetric(metric);
        changed();
    }
}

void RangeCardSession::setClickUnit(ClickUnit unit) {
    if (m_form.clickUnit != unit) {
        m_form.setClickUnit(unit);
        changed();
    }
}

void RangeCardSession::recompute() {
    m_current = true;
    RangeCardInput input;
    RangeCardResult result;
    m_refusal = m_form.cardInput(m_programFolder, input);
    if (m_refusal.empty())
        m_refusal = computeRangeCard(input, result);
    m_hit.clear();
    m_hitRefusal.clear();
    m_danger.clear();
    if (!m_refusal.empty()) {
        m_card.reset();
        return;
    }
    m_input = input;
    m_card = std::move(result);
    computeDanger(input);

    HitInput hit;
    std::vector<HitRow> rows;
    m_hitRefusal = m_form.hitInput(input, kHitRanges, hit);
    if (m_hitRefusal.empty())
        m_hitRefusal = computeHitProbability(hit, rows);
    m_hitInput = hit;
    if (m_hitRefusal.empty())
        m_hit = std::move(rows);
}

std::string RangeCardSession::summary() const {
    if (!m_card)
        return {};
    const std::string trued = truedText();
    return rangeCardSummary(*m_card) + (trued.empty() ? "" : "    " + trued);
}

std::string RangeCardSession::cardText() const {
    return m_card ? rangeCardText(*m_card, m_input) : std::string();
}

std::string RangeCardSession::hitAssumptions() const {
    return m_hit.empty() ? std::string() : hitSummary(m_hitInput);
}

std::string RangeCardSession::csv() const {
    return m_card ? rangeCardCsv(*m_card) : std::string();
}

std::optional<fs::path> RangeCardSession::saveCsv(SessionHost& host) {
    if (!m_current)
        recompute();
    if (!m_card)
        return std::nullopt;
    FileChoice choice{"Save the range card as CSV", "CSV file (*.csv)|*.csv|", 1,
                      userDataFolder(m_programFolder), "Range card.csv"};
    const auto chosen = host.saveFile(choice);
    if (!chosen)
        return std::nullopt;
    const fs::path file = withSuffix(*chosen, "csv");
    if (const Status saved = saveUserFile(m_programFolder, file, csv()); !saved) {
        host.tell(notWritten(file, saved), kTitle, MessageIcon::Exclamation);
        return std::nullopt;
    }
    return file;
}

std::optional<fs::path> RangeCardSession::choosePdf(SessionHost& host) {
    if (!m_current)
        recompute();
    if (!m_card)
        return std::nullopt;
    FileChoice choice{"Save the range card as PDF", "PDF file (*.pdf)|*.pdf|", 1,
                      userDataFolder(m_programFolder), "Range card.pdf"};
    const auto chosen = host.saveFile(choice);
    if (!chosen)
        return std::nullopt;
    const fs::path file = withSuffix(*chosen, "pdf");
    if (const Status own = ownFileRefusal(m_programFolder, file); !own) {
        host.tell(notWritten(file, own), kTitle, MessageIcon::Exclamation);
        return std::nullopt;
    }
    return file;
}

void RangeCardSession::chooseDragFile(SessionHost& host) {
    FileChoice choice{"Drag file", "Drag files (*.csv, *.txt)|*.csv;*.txt|All files (*)|*|", 1,
                      m_programFolder, {}};
    if (const auto chosen = host.openFile(choice))
        setDragFile(chosen->string());
}

void RangeCardSession::takeLastGroup(const std::optional<LastGroup>& group, SessionHost& host) {
    if (!group) {
        host.tell("No group has been measured yet. Measure one in the shot group window "
                  "(Tools > Range Measurements Calculator, then Do It!) and try again.",
                  kGroupTitle, MessageIcon::Information);
        return;
    }
    const std::string distance =
        host.input("The last group's mean radius is " + fieldNumber(group->meanRadius, 4) +
                       " in. At what distance was it shot, in yards?",
                   kGroupTitle, "100");
    if (distance.empty())
        return;
    if (const std::string refusal = takeGroupDispersion(m_form, *group, distance);
        !refusal.empty()) {
        host.tell(refusal, kGroupTitle, MessageIcon::Exclamation);
        return;
    }
    changed();
}

void RangeCardSession::takeFromHistory(const std::optional<RoundTexts>& round, SessionHost& host) {
    const auto tell = [&](const std::string& text) {
        host.tell(text, kHistoryTitle, MessageIcon::Information);
    };
    if (!round || round->description.empty()) {
        tell("The load history is kept by the round's description: show the round in the main "
             "window first.");
        return;
    }
    const std::string& description = round->description;
    LoadHistory load;
    {
        const auto opening = HistoryDatabase::openReadOnly(m_programFolder);
        if (opening.absent) {
            tell("No load history has been kept yet.");
            return;
        }
        if (!opening.database) {
            tell(opening.refusal);
            return;
        }
        const auto id = opening.database->findLoad(description);
        const auto found =
            id.ok() && id.value ? opening.database->load(id.value) : Result<LoadHistory>{};
        if (!id.ok() || (id.value && !found.ok())) {
            tell(id.ok() ? found.refusal : id.refusal);
            return;
        }
        load = found.value;
    }
    if (load.strings.empty() && load.groups.empty() && load.truings.empty()) {
        tell("The load history holds nothing for \"" + description + "\".");
        return;
    }
    bool took = false;
    const auto ask = [&](const std::string& question, const std::string& offer,
                         const char* answer, auto take) {
        const std::string chosen = host.input(question + "\n\n" + offer, kHistoryTitle, answer);
        if (chosen.empty())
            return true;
        if (const std::string refusal = take(m_form, load, chosen); !refusal.empty()) {
            host.tell(refusal, kHistoryTitle, MessageIcon::Exclamation);
            return false;
        }
        took = true;
        return true;
    };
    const bool stringTaken =
        load.strings.empty() ||
        ask("Take the velocity and its SD from which string of \"" + description +
                "\"? 1 is the latest.",
            offerStrings(load, m_form.metric), "1", takeHistoryString);
    const bool groupsTaken =
        stringTaken &&
        (load.groups.empty() ||
         ask("Pool the dispersion from which groups? Type all, or their numbers separated by "
             "commas.",
             offerGroups(load), "all", takeHistoryGroups));
    // The load's latest truing, offered to the card.
    if (groupsTaken && !load.truings.empty()) {
        const TruingSession& latest = load.truings.back();
        if (host.ask("Use the latest truing of \"" + description + "\", of " + latest.date +
                         ": " + describeTruing(latest, m_form.metric) + "?",
                     kHistoryTitle, MessageIcon::Question) &&
            takeTruing(latest))
            took = true;
    }
    // The load's strings at two temperatures or more tell how its velocity follows them.
    if (groupsTaken) {
        if (const auto t = sensitivityOfLoad(load, kDefaultConfidence);
            t && host.ask("Take the temperature sensitivity of \"" + description + "\"?\n\n" +
                              offerSensitivity(t.value, m_form.metric, kDefaultConfidence),
                          kHistoryTitle, MessageIcon::Question)) {
            takeSensitivity(m_form, t.value);
            took = true;
        }
    }
    if (took)
        changed();
}

Status RangeCardSession::saveSettings() {
    if (!m_dirty)
        return {};
    m_dirty = false;
    return m_form.write(m_programFolder);
}

} // namespace fendrel
