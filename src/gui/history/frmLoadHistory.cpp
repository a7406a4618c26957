// The Load History window: opening the history, the list of loads and the entries of the
// selected ones.
#include "frmLoadHistory.h"

#include "core/common/Numbers.h"
#include "core/common/ProgramFolder.h"
#include "core/common/SharedState.h"
#include "gui/ui/AppContext.h"
#include "gui/ui/Prompts.h"
#include "gui/ui/Text.h"

#include <QDate>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <algorithm>
#include <cmath>
#include <set>

namespace fendrel {

namespace {

const QString kTitle = QStringLiteral("Load History");

// The rows selected in a table, in order.
std::vector<int> selectedRows(const QTableWidget* table) {
    std::vector<int> rows;
    for (const QModelIndex& index : table->selectionModel()->selectedRows())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

} // namespace

int frmLoadHistory::selectedRow(const QTableWidget* table) {
    const auto rows = selectedRows(table);
    return rows.size() == 1 ? rows.front() : -1;
}

frmLoadHistory::frmLoadHistory(AppContext& context) : m_context(context) {
    setObjectName(QStringLiteral("frmLoadHistory"));
    setWindowTitle(kTitle);
    setAttribute(Qt::WA_DeleteOnClose);
    buildControls();
    txtDate->setText(QDate::currentDate().toString(Qt::ISODate));
    if (const auto round = m_context.roundOnScreen()) {
        const double charge = roundKeyOf(*round).round.powderChargeGr;
        if (std::isfinite(charge))
            txtCharge->setText(utf8Text(generalNumber(charge)));
    }
    txtDistance->setText(QStringLiteral("100"));

    connect(lstLoads->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &frmLoadHistory::loadsSelected);
    connect(grdStrings->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { entrySelected(true); });
    connect(grdGroups->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { entrySelected(false); });
    connect(cmdAddString, &QPushButton::clicked, this, &frmLoadHistory::cmdAddString_Click);
    connect(cmdImportCsv, &QPushButton::clicked, this, &frmLoadHistory::cmdImportCsv_Click);
    connect(cmdAddGroup, &QPushButton::clicked, this, &frmLoadHistory::cmdAddGroup_Click);
    connect(cmdImportGroup, &QPushButton::clicked, this, &frmLoadHistory::cmdImportGroup_Click);
    connect(cmdSaveEntry, &QPushButton::clicked, this, &frmLoadHistory::cmdSaveEntry_Click);
    connect(cmdDelete, &QPushButton::clicked, this, &frmLoadHistory::cmdDelete_Click);
    refresh();
}

frmLoadHistory::~frmLoadHistory() = default;

HistoryDatabase* frmLoadHistory::history(bool forChange) {
    if (!m_history) {
        // A file of a newer version or another program is refused here, untouched; a missing
        // one is created only for a change.
        auto opened = HistoryDatabase::open(m_context.state.programFolder,
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
            showStatus();
            enableEntryCommands();
            return nullptr;
        }
        m_checked = true;
    }
    return m_history.get();
}

void frmLoadHistory::showStatus() {
    if (!m_refusal.empty()) {
        lblStatus->setText(utf8Text(m_refusal) +
                           QStringLiteral(" This window changes nothing in it."));
        if (m_told != m_refusal)
            m_context.prompts.message(this, utf8Text(m_refusal), kTitle, Icon::Error, Buttons::Ok);
        m_told = m_refusal;
    } else if (!m_history) {
        lblStatus->setText(QStringLiteral("No load history yet: it begins with the first string "
                                          "or group you add."));
    } else {
        lblStatus->setText(
            QStringLiteral("%1 %2. Select several loads of one caliber and bullet to compare "
                           "them.")
                .arg(utf8Text(std::to_string(m_loads.size())),
                     m_loads.size() == 1 ? QStringLiteral("load") : QStringLiteral("loads")));
    }
    lblStatus->setVisible(!lblStatus->text().isEmpty());
}

void frmLoadHistory::refresh() {
    std::set<std::int64_t> selected;
    for (int row : selectedRows(lstLoads))
        selected.insert(m_loads[static_cast<size_t>(row)].id);
    m_loads.clear();
    if (HistoryDatabase* db = history(false)) {
        auto loads = db->loads();
        if (loads)
            m_loads = std::move(loads.value);
        else
            m_refusal = loads.refusal;
    }
    {
        const QSignalBlocker blocker(lstLoads->selectionModel());
        fillTable(lstLoads, loadsTable(m_loads));
        for (size_t i = 0; i < m_loads.size(); ++i)
            if (selected.count(m_loads[i].id))
                lstLoads->selectionModel()->select(
                    lstLoads->model()->index(static_cast<int>(i), 0),
                    QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    showStatus();
    loadsSelected();
}

void frmLoadHistory::loadsSelected() {
    m_selected.clear();
    m_strings.clear();
    m_stringLoads.clear();
    m_groups.clear();
    m_groupLoads.clear();
    HistoryDatabase* db = m_history.get();
    for (int row : selectedRows(lstLoads)) {
        if (!db)
            break;
        auto load = db->load(m_loads[static_cast<size_t>(row)].id);
        if (!load) {
            refuse(utf8Text(load.refusal));
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
    {
        const QSignalBlocker strings(grdStrings->selectionModel());
        const QSignalBlocker groups(grdGroups->selectionModel());
        fillTable(grdStrings, stringsTable(m_selected));
        fillTable(grdGroups, groupsTable(m_selected));
    }
    showComparison();
    enableEntryCommands();
}

void frmLoadHistory::entrySelected(bool isString) {
    QTableWidget* other = isString ? grdGroups : grdStrings;
    if (selectedRow(isString ? grdStrings : grdGroups) >= 0) {
        const QSignalBlocker blocker(other->selectionModel());
        other->clearSelection();
    }
    const int s = selectedRow(grdStrings), g = selectedRow(grdGroups);
    std::optional<EntryFields> f;
    if (s >= 0)
        f = fieldsOf(m_strings[static_cast<size_t>(s)]);
    else if (g >= 0)
        f = fieldsOf(m_groups[static_cast<size_t>(g)]);
    if (f) {
        txtDate->setText(utf8Text(f->date));
        txtCharge->setText(utf8Text(f->charge));
        txtNote->setText(utf8Text(f->note));
        if (s >= 0) {
            txtTemperature->setText(utf8Text(f->temperature));
            txtShots->setPlainText(utf8Text(f->shots));
        } else {
            txtDistance->setText(utf8Text(f->distance));
        }
    }
    enableEntryCommands();
}

void frmLoadHistory::enableEntryCommands() {
    const bool usable = m_refusal.empty();
    const bool entry = selectedRow(grdStrings) >= 0 || selectedRow(grdGroups) >= 0;
    for (QPushButton* b : {cmdAddString, cmdImportCsv, cmdAddGroup, cmdImportGroup})
        b->setEnabled(usable);
    cmdSaveEntry->setEnabled(usable && entry);
    cmdDelete->setEnabled(usable && entry);
}

void frmLoadHistory::refuse(const QString& message) {
    m_context.prompts.message(this, message, kTitle, Icon::Exclamation, Buttons::Ok);
}

QString frmLoadHistory::userDataFolder() const {
    return fromPath(resolveName(m_context.state.programFolder, "YourData"));
}

} // namespace fendrel
