// The Load History window's wiring: selections and commands passed on to the session, its
// tables, chart and status shown, and the printed report.
#include "frmLoadHistory.h"

#include "HistoryChart.h"
#include "frmImportSeries.h"
#include "core/common/Numbers.h"
#include "core/common/SharedState.h"
#include "gui/ui/AppContext.h"
#include "gui/ui/Printing.h"
#include "gui/ui/Prompts.h"
#include "gui/ui/Text.h"

#include <QChartView>
#include <QDate>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QTextDocument>
#include <QUrl>
#include <algorithm>
#include <cmath>

namespace fendrel {

namespace {

// The rows selected in a table, in order.
std::vector<std::size_t> selectedRows(const QTableWidget* table) {
    std::vector<std::size_t> rows;
    for (const QModelIndex& index : table->selectionModel()->selectedRows())
        rows.push_back(static_cast<std::size_t>(index.row()));
    std::sort(rows.begin(), rows.end());
    return rows;
}

} // namespace

int frmLoadHistory::selectedRow(const QTableWidget* table) {
    const auto rows = selectedRows(table);
    return rows.size() == 1 ? static_cast<int>(rows.front()) : -1;
}

frmLoadHistory::frmLoadHistory(AppContext& context)
    : m_context(context), m_session(context.state.programFolder), m_host(context.prompts, this) {
    setObjectName(QStringLiteral("frmLoadHistory"));
    setWindowTitle(QString::fromLatin1(LoadHistorySession::kTitle));
    setAttribute(Qt::WA_DeleteOnClose);
    setAcceptDrops(true);
    buildControls();
    txtDate->setText(QDate::currentDate().toString(Qt::ISODate));
    if (const auto round = m_context.roundOnScreen()) {
        const double charge = roundKeyOf(*round).round.powderChargeGr;
        if (std::isfinite(charge))
            txtCharge->setText(utf8Text(generalNumber(charge)));
    }
    txtDistance->setText(QStringLiteral("100"));

    connect(lstLoads->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        m_session.selectLoads(selectedRows(lstLoads), m_host);
        showEntries();
    });
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
    connect(cmdCompare, &QPushButton::clicked, this, &frmLoadHistory::cmdCompare_Click);
    refresh();
}

frmLoadHistory::~frmLoadHistory() = default;

void frmLoadHistory::refresh() {
    m_session.refresh(m_host);
    showLoads();
    showEntries();
}

void frmLoadHistory::showLoads() {
    const QSignalBlocker blocker(lstLoads->selectionModel());
    fillTable(lstLoads, m_session.loadsTable());
    for (std::size_t row : m_session.selectedLoads())
        lstLoads->selectionModel()->select(lstLoads->model()->index(static_cast<int>(row), 0),
                                           QItemSelectionModel::Select |
                                               QItemSelectionModel::Rows);
    lblStatus->setText(utf8Text(m_session.status()));
    lblStatus->setVisible(!lblStatus->text().isEmpty());
}

void frmLoadHistory::showEntries() {
    {
        const QSignalBlocker strings(grdStrings->selectionModel());
        const QSignalBlocker groups(grdGroups->selectionModel());
        fillTable(grdStrings, m_session.stringsTable());
        fillTable(grdGroups, m_session.groupsTable());
    }
    fillTable(grdCompare, m_session.comparisonTable());
    const ComparisonPlot plot = m_session.comparisonPlot();
    lblSlope->setText(utf8Text(plot.caption));
    showComparisonChart(chtCompare, plot);
    enableEntryCommands();
}

void frmLoadHistory::entrySelected(bool isString) {
    QTableWidget* other = isString ? grdGroups : grdStrings;
    if (!selectedRows(isString ? grdStrings : grdGroups).empty()) {
        const QSignalBlocker blocker(other->selectionModel());
        other->clearSelection();
    }
    const int s = selectedRow(grdStrings), g = selectedRow(grdGroups);
    if (s >= 0 || g >= 0) {
        const EntryFields f = s >= 0 ? m_session.stringFields(static_cast<std::size_t>(s))
                                     : m_session.groupFields(static_cast<std::size_t>(g));
        txtDate->setText(utf8Text(f.date));
        txtCharge->setText(utf8Text(f.charge));
        txtNote->setText(utf8Text(f.note));
        if (s >= 0) {
            txtTemperature->setText(utf8Text(f.temperature));
            txtShots->setPlainText(utf8Text(f.shots));
        } else {
            txtDistance->setText(utf8Text(f.distance));
        }
    }
    enableEntryCommands();
}

void frmLoadHistory::enableEntryCommands() {
    const bool usable = m_session.usable();
    const bool entry = selectedRow(grdStrings) >= 0 || selectedRow(grdGroups) >= 0;
    for (QPushButton* b : {cmdAddString, cmdImportCsv, cmdAddGroup, cmdImportGroup})
        b->setEnabled(usable);
    cmdSaveEntry->setEnabled(usable && entry);
    cmdDelete->setEnabled(usable && entry);
}

EntryFields frmLoadHistory::fields() const {
    EntryFields f;
    f.date = fromQt(txtDate->text());
    f.temperature = fromQt(txtTemperature->text());
    f.charge = fromQt(txtCharge->text());
    f.distance = fromQt(txtDistance->text());
    f.note = fromQt(txtNote->text());
    f.shots = fromQt(txtShots->toPlainText());
    return f;
}

void frmLoadHistory::afterCommand(bool changed) {
    if (!changed) {
        // A refused change may have found the history unusable.
        lblStatus->setText(utf8Text(m_session.status()));
        lblStatus->setVisible(!lblStatus->text().isEmpty());
        enableEntryCommands();
        return;
    }
    showLoads();
    showEntries();
    if (const auto row = m_session.loadRow(m_session.changedLoad()))
        lstLoads->scrollTo(lstLoads->model()->index(static_cast<int>(*row), 0));
}

void frmLoadHistory::cmdAddString_Click() {
    afterCommand(m_session.addString(m_context.roundOnScreen(), fields(), m_host));
}

void frmLoadHistory::cmdCompare_Click() {
    m_session.compare(selectedRows(grdStrings), selectedRows(grdGroups), m_host);
}

void frmLoadHistory::cmdImportCsv_Click() {
    if (const auto chosen = m_session.chooseImportFile(m_host))
        importFrom(*chosen);
}

void frmLoadHistory::mnuFileImportFolder_Click() {
    const auto chosen = m_context.prompts.chooseFolder(
        this, QStringLiteral("Import LabRadar folder (LBR or SRnnnn)"),
        fromPath(m_context.state.programFolder));
    if (chosen)
        importFrom(toPath(*chosen));
}

void frmLoadHistory::importFrom(const std::filesystem::path& source) {
    auto plan = m_session.readImport(source, m_context.roundOnScreen(), fields(), m_host);
    if (!plan)
        return afterCommand(false);
    std::vector<bool> ticked = plan->ticked;
    std::string load = plan->load;
    if (plan->choose) {
        frmImportSeries dialog(*plan, this);
        if (dialog.exec() != QDialog::Accepted)
            return;
        ticked = dialog.ticked();
        load = dialog.load();
    }
    afterCommand(m_session.importSeries(*plan, ticked, load, m_host));
}

void frmLoadHistory::dragEnterEvent(QDragEnterEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() == 1 && urls.front().isLocalFile())
        event->acceptProposedAction();
}

void frmLoadHistory::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() != 1 || !urls.front().isLocalFile())
        return;
    event->acceptProposedAction();
    importFrom(toPath(urls.front().toLocalFile()));
}

void frmLoadHistory::cmdAddGroup_Click() {
    EntryFields f = fields();
    const bool changed =
        m_session.addLastGroup(m_context.roundOnScreen(), f, m_context.state.lastGroup, m_host);
    txtDistance->setText(utf8Text(f.distance));
    afterCommand(changed);
}

void frmLoadHistory::cmdImportGroup_Click() {
    EntryFields f = fields();
    const bool changed = m_session.importGroupFile(m_context.roundOnScreen(), f, m_host);
    txtDistance->setText(utf8Text(f.distance));
    afterCommand(changed);
}

void frmLoadHistory::cmdSaveEntry_Click() {
    const int s = selectedRow(grdStrings), g = selectedRow(grdGroups);
    if (s < 0 && g < 0)
        return;
    afterCommand(m_session.saveEntry(s >= 0, static_cast<std::size_t>(s >= 0 ? s : g), fields(), m_host));
}

void frmLoadHistory::cmdDelete_Click() {
    const int s = selectedRow(grdStrings), g = selectedRow(grdGroups);
    if (s < 0 && g < 0)
        return;
    afterCommand(m_session.deleteEntry(s >= 0, static_cast<std::size_t>(s >= 0 ? s : g), m_host));
}

void frmLoadHistory::printDocument(QTextDocument& document,
                                   const std::vector<LoadHistory>& loads) {
    const int width = std::min(chtCompare->width(), 900);
    const qreal ratio = 2;
    QPixmap picture(chtCompare->size() * ratio);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::white);
    chtCompare->QWidget::render(&picture);
    document.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("chart.png")),
                         picture.toImage());
    QFont font = this->font();
    font.setPointSizeF(8);
    document.setDefaultFont(font);
    document.setHtml(utf8Text(m_session.reportHtml(loads, true, width)));
}

void frmLoadHistory::mnuFilePrint_Click() {
    const auto loads = m_session.chosenLoads(m_host);
    if (loads.empty())
        return;
    PrintSetup initial;
    initial.landscape = true;
    const auto setup = m_context.prompts.print(this, initial);
    if (!setup)
        return;
    QTextDocument document;
    printDocument(document, loads);
    printCopies(*setup, [&](QPrinter& printer) { document.print(&printer); });
}

void frmLoadHistory::mnuFilePdf_Click() {
    const auto file = m_session.choosePdf(m_host);
    if (!file)
        return;
    QTextDocument document;
    printDocument(document, m_session.chosenLoads(m_host));
    PrintSetup setup;
    setup.landscape = true;
    setup.outputFile = fromPath(*file);
    if (const std::string why =
            printCopies(setup, [&](QPrinter& printer) { document.print(&printer); });
        !why.empty())
        m_host.tell("The PDF file " + file->string() + " could not be saved: " + why,
                    LoadHistorySession::kTitle, MessageIcon::Exclamation);
}

void frmLoadHistory::mnuFileCsv_Click() { m_session.saveCsv(m_host); }

} // namespace fendrel
