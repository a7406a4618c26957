// Adding, correcting and deleting the entries of the Load History window: strings typed or
// imported from a chronograph, groups from the shot group window or a group file.
#include "frmLoadHistory.h"

#include "core/common/Numbers.h"
#include "core/common/SharedState.h"
#include "core/history/ChronographCsv.h"
#include "core/history/GroupImport.h"
#include "gui/ui/AppContext.h"
#include "gui/ui/Prompts.h"
#include "gui/ui/Text.h"

#include <QFileInfo>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableWidget>

namespace fendrel {

namespace {

const QString kDistanceRefusal =
    QStringLiteral("The distance must be a number of yards above 0 and up to 10000.");

} // namespace

std::optional<RoundKey> frmLoadHistory::roundOnScreen() {
    const auto round = m_context.roundOnScreen();
    if (!round) {
        refuse(QStringLiteral("Strings and groups are added to the round on the main window; "
                              "there is none open."));
        return std::nullopt;
    }
    RoundKey key = roundKeyOf(*round);
    if (const std::string why = checkDescription(key.description); !why.empty()) {
        refuse(utf8Text(why) + QStringLiteral(" Give the round on the main window a description."));
        return std::nullopt;
    }
    return key;
}

EntryFields frmLoadHistory::fields() const {
    EntryFields f;
    f.date = txtDate->text().toStdString();
    f.temperature = txtTemperature->text().toStdString();
    f.charge = txtCharge->text().toStdString();
    f.distance = txtDistance->text().toStdString();
    f.note = txtNote->text().toStdString();
    f.shots = txtShots->toPlainText().toStdString();
    return f;
}

void frmLoadHistory::afterChange(const Status& done, const std::string& description) {
    if (!done) {
        refuse(utf8Text(done.refusal));
        return;
    }
    // The load that changed stays in view, with the other selected loads when it is one of
    // them.
    refresh();
    for (size_t i = 0; i < m_loads.size(); ++i) {
        const QModelIndex index = lstLoads->model()->index(static_cast<int>(i), 0);
        if (m_loads[i].description != description)
            continue;
        if (!lstLoads->selectionModel()->isRowSelected(index.row(), {}))
            lstLoads->selectionModel()->select(
                index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        lstLoads->scrollTo(index);
    }
}

void frmLoadHistory::addString(VelocityString s, const RoundKey& key) {
    HistoryDatabase* db = history(true);
    if (!db) {
        showStatus();
        return;
    }
    const auto added = db->addString(key.description, s);
    afterChange(added, key.description);
}

void frmLoadHistory::cmdAddString_Click() {
    const auto key = roundOnScreen();
    if (!key)
        return;
    VelocityString s;
    s.round = key->round;
    if (const Status read = readStringFields(fields(), s, true); !read) {
        refuse(utf8Text(read.refusal));
        return;
    }
    addString(std::move(s), *key);
}

void frmLoadHistory::cmdImportCsv_Click() {
    const auto key = roundOnScreen();
    if (!key)
        return;
    VelocityString s;
    s.round = key->round;
    if (const Status read = readStringFields(fields(), s, false); !read) {
        refuse(utf8Text(read.refusal));
        return;
    }
    FileRequest request;
    request.title = QStringLiteral("Import chronograph CSV");
    request.filter = QStringLiteral("Chronograph export (.csv)|*.csv|All files|*|");
    request.startFolder = userDataFolder();
    const auto chosen = m_context.prompts.openFile(this, request);
    if (!chosen || chosen->isEmpty())
        return;
    const auto shots = readChronographFile(std::filesystem::path(toPath(*chosen)));
    if (!shots) {
        refuse(QStringLiteral("%1 was not imported.\n%2")
                   .arg(QFileInfo(*chosen).fileName(), utf8Text(shots.refusal)));
        return;
    }
    s.shotsFps = shots.value;
    if (s.note.empty())
        s.note = QFileInfo(*chosen).fileName().toStdString();
    addString(std::move(s), *key);
}

std::optional<double> frmLoadHistory::askDistance() {
    const QString typed = m_context.prompts.input(
        this, QStringLiteral("The distance this group was shot at, in yards:"),
        QStringLiteral("Add Group"), txtDistance->text());
    if (typed.trimmed().isEmpty())
        return std::nullopt; // cancelled
    const auto yards = typedNumber(typed.toStdString());
    if (!yards || !(*yards > 0) || *yards > kMaximumDistanceYd) {
        refuse(kDistanceRefusal);
        return std::nullopt;
    }
    txtDistance->setText(typed.trimmed());
    return yards;
}

void frmLoadHistory::addGroup(HistoryGroup g) {
    const auto key = roundOnScreen();
    if (!key)
        return;
    // The date, charge and note of the entry fields; the round's other values.
    HistoryGroup read = g;
    read.round = key->round;
    EntryFields f = fields();
    f.distance = generalNumber(g.distanceYd);
    if (f.note.empty())
        f.note = g.note;
    if (const Status status = readGroupFields(f, read); !status) {
        refuse(utf8Text(status.refusal));
        return;
    }
    HistoryDatabase* db = history(true);
    if (!db) {
        showStatus();
        return;
    }
    afterChange(db->addGroup(key->description, read), key->description);
}

void frmLoadHistory::cmdAddGroup_Click() {
    const auto& last = m_context.state.lastGroup;
    if (!last) {
        refuse(QStringLiteral("No group has been measured yet. Measure one with Do It! in the "
                              "shot group window (Tools > Range Measurements Calculator), then "
                              "add it here."));
        return;
    }
    if (!roundOnScreen())
        return;
    const auto yards = askDistance();
    if (!yards)
        return;
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
        refuse(utf8Text(group.refusal));
        return;
    }
    addGroup(group.value);
}

void frmLoadHistory::cmdImportGroup_Click() {
    if (!roundOnScreen())
        return;
    FileRequest request;
    request.title = QStringLiteral("Import group file");
    request.filter = QStringLiteral("Group File Format(.grp)|*.grp|");
    request.startFolder = userDataFolder();
    const auto chosen = m_context.prompts.openFile(this, request);
    if (!chosen || chosen->isEmpty())
        return;
    const auto yards = askDistance();
    if (!yards)
        return;
    const auto group = groupFromFile(std::filesystem::path(toPath(*chosen)), *yards);
    if (!group) {
        refuse(QStringLiteral("%1 was not imported.\n%2")
                   .arg(QFileInfo(*chosen).fileName(), utf8Text(group.refusal)));
        return;
    }
    addGroup(group.value);
}

void frmLoadHistory::cmdSaveEntry_Click() {
    const int s = selectedRow(grdStrings), g = selectedRow(grdGroups);
    HistoryDatabase* db = history(true);
    if ((s < 0 && g < 0) || !db)
        return;
    const bool isString = s >= 0;
    const size_t row = static_cast<size_t>(isString ? s : g);
    const std::string load = isString ? m_stringLoads[row] : m_groupLoads[row];
    VelocityString string = isString ? m_strings[row] : VelocityString{};
    HistoryGroup group = isString ? HistoryGroup{} : m_groups[row];
    const Status read = isString ? readStringFields(fields(), string, true)
                                        : readGroupFields(fields(), group);
    if (!read) {
        refuse(utf8Text(read.refusal));
        return;
    }
    const QString question =
        QStringLiteral("Replace the %1 of %2 in the load \"%3\" with the values of the entry "
                       "fields?")
            .arg(isString ? QStringLiteral("string") : QStringLiteral("group"),
                 utf8Text(isString ? m_strings[row].date : m_groups[row].date), utf8Text(load));
    if (m_context.prompts.message(this, question, QStringLiteral("Change Entry"), Icon::Question,
                                  Buttons::YesNo) != Answer::Yes)
        return;
    afterChange(isString ? db->updateString(string) : db->updateGroup(group), load);
}

void frmLoadHistory::cmdDelete_Click() {
    const int s = selectedRow(grdStrings), g = selectedRow(grdGroups);
    HistoryDatabase* db = history(true);
    if ((s < 0 && g < 0) || !db)
        return;
    const bool isString = s >= 0;
    const size_t row = static_cast<size_t>(isString ? s : g);
    const std::string load = isString ? m_stringLoads[row] : m_groupLoads[row];
    const QString what =
        isString ? QStringLiteral("the string of %1 (%2 shots)")
                       .arg(utf8Text(m_strings[row].date))
                       .arg(utf8Text(std::to_string(m_strings[row].shotsFps.size())))
                 : QStringLiteral("the group of %1 at %2 yd")
                       .arg(utf8Text(m_groups[row].date), utf8Text(generalNumber(m_groups[row].distanceYd)));
    const QString question =
        QStringLiteral("Delete %1 from the load \"%2\"? This cannot be undone.").arg(what, utf8Text(load));
    if (m_context.prompts.message(this, question, QStringLiteral("Delete Entry"), Icon::Question,
                                  Buttons::YesNo) != Answer::Yes)
        return;
    afterChange(isString ? db->deleteString(m_strings[row].id) : db->deleteGroup(m_groups[row].id),
                load);
}

} // namespace fendrel
