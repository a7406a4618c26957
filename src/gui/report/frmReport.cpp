#include "frmReport.h"

#include "ReportGridWidget.h"
#include "core/report/ReportPage.h"
#include "gui/ui/AppContext.h"
#include "core/common/Encoding.h"
#include "core/common/ProgramFolder.h"
#include "core/common/SharedState.h"
#include "gui/ui/Menus.h"
#include "gui/ui/Text.h"
#include "gui/ui/Geometry.h"
#include "gui/ui/Printing.h"
#include "gui/ui/Prompts.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPrinter>
#include <QStyle>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <filesystem>

namespace fendrel {


namespace {

const char* const kNoFile = "[NONE]";
const char* const kOpenFilter = "Text file (.txt)|*.txt|Comma-delimited files (.csv)|*.csv|";
const char* const kHtmlFilter =
    "Hypertext mark-up file (.htm)|*.htm| Hypertext mark-up language (.html)|*.html|";

} // namespace

frmReport::frmReport(AppContext& context) : m_context(context), m_report(emptyReport()) {
    setObjectName(QStringLiteral("frmReport"));
    setWindowTitle(QStringLiteral("Report Viewer"));
    setAttribute(Qt::WA_DeleteOnClose);

    buildControls();
    buildMenus();
    connect(grdResults, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { mnuView->popup(grdResults->viewport()->mapToGlobal(at)); });

    // On load: nothing of the report is shown until a file is loaded.
    showReport();
    mnuEditACopy->setEnabled(false);
    m_loaded = false;

    resize(clientSize() + QSize(0, menuBar()->sizeHint().height()));

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(10);
    connect(Timer1, &QTimer::timeout, this, &frmReport::Timer1_Timer);
    Timer1->start();
}

void frmReport::showReport() {
    const Report& r = m_report;
    Label1->setText(utf8Text(r.title));
    for (size_t i = 0; i < lblHeader.size(); ++i)
        lblHeader[i]->setText(utf8Text(r.headers[i]));
    for (size_t i = 0; i < lblFooter.size(); ++i)
        lblFooter[i]->setText(utf8Text(r.footers[i]));

    for (int row = 0; row < 2; ++row)
        for (size_t c = 0; c < kParameterColumns; ++c)
            grdParameters->setCellText(row, static_cast<int>(c), utf8Text(r.parameters[row][c]));

    grdResults->setRows(static_cast<int>(r.results.size()));
    for (size_t row = 0; row < r.results.size(); ++row)
        for (size_t c = 0; c < kResultColumns; ++c)
            grdResults->setCellText(static_cast<int>(row), static_cast<int>(c),
                                    utf8Text(r.results[row][c]));
    placeResultsGrid();

    grdParameters->setVisible(r.parametersVisible);
    grdResults->setVisible(r.resultsVisible);
    for (QLabel* label : {Label1, Label2, Label3, Label4})
        label->setVisible(r.labelsVisible);
    for (QLabel* label : lblHeader)
        label->setVisible(r.labelsVisible);
    for (QLabel* label : lblFooter)
        label->setVisible(r.labelsVisible);
}

void frmReport::LoadReport() {
    const std::string& path = m_context.state.currentDataFile;
    if (path.empty() || path == kNoFile)
        return;
    loadReportFile(std::filesystem::path(path), m_report);
    showReport();
}

void frmReport::OpenFile() {
    FileRequest request;
    request.filter = QString::fromLatin1(kOpenFilter);
    request.filterIndex = 2;
    std::error_code ec;
    const auto yourData = resolveName(m_context.state.programFolder, "YourData");
    if (std::filesystem::is_directory(yourData, ec))
        request.startFolder = fromPath(yourData);
    const std::optional<QString> chosen = m_context.prompts.openFile(this, request);
    if (!chosen || chosen->isEmpty()) {
        m_context.state.currentDataFile = kNoFile;
        return;
    }
    m_context.state.currentDataFile = toPath(*chosen);
    m_context.state.lastOutputFile = m_context.state.currentDataFile;
}

void frmReport::Timer1_Timer() {
    if (!m_loaded && !m_starting) {
        // The dialog of File > Open lets this timer tick again: the start-up step runs once.
        m_starting = true;
        if (m_context.state.currentDataFile.empty())
            mnuFileOpen_Click();
        m_starting = false;
        if (m_context.state.currentDataFile == kNoFile) {
            Timer1->stop();
            close();
            return;
        }
        m_loaded = true;
        LoadReport();
    }
    if (!m_accumulator.isEmpty())
        mnuEditACopy->setEnabled(true);
}

void frmReport::mnuFileOpen_Click() {
    OpenFile();
    LoadReport();
}

void frmReport::mnuSaveAs_Click() {
    letEventsRun();
    FileRequest request;
    request.filter = QString::fromLatin1(kHtmlFilter);
    request.filterIndex = 1;
    std::error_code ec;
    const auto yourData = resolveName(m_context.state.programFolder, "YourData");
    if (std::filesystem::is_directory(yourData, ec))
        request.startFolder = fromPath(yourData);
    const std::optional<QString> chosen = m_context.prompts.saveFile(this, request);
    if (!chosen || chosen->isEmpty())
        return;
    m_context.state.outputFile = toPath(*chosen);

    // A page that cannot be written ends the command quietly; the user sees no success note.
    if (!writeReportPage(std::filesystem::path(m_context.state.outputFile), m_report,
                         m_context.state.programFolder)
             .empty())
        return;
    // Writing went through every cell: each grid ends on its last one.
    grdParameters->setCurrentCell(grdParameters->rowCount() - 1, grdParameters->columnCount() - 1);
    grdResults->setCurrentCell(grdResults->rowCount() - 1, grdResults->columnCount() - 1);
    m_context.prompts.message(this, *chosen + QStringLiteral(" written successfully."),
                              QStringLiteral("HTML Export Complete"), Icon::Information,
                              Buttons::Ok);
}

void frmReport::mnuFilePrint_Click() {
    const std::optional<PrintSetup> setup = m_context.prompts.print(this, PrintSetup{});
    if (!setup)
        return;

    // The grids go onto the page as pictures of themselves, laid exactly over them.
    const std::pair<QLabel*, ReportGridWidget*> pairs[] = {{Picture1, grdParameters},
                                                           {Picture2, grdResults}};
    for (const auto& [picture, grid] : pairs) {
        if (!grid->isVisible())
            continue;
        picture->setGeometry(grid->geometry());
        picture->setPixmap(grid->grab());
        picture->show();
        picture->raise();
    }
    const QPixmap image = centralWidget()->grab();
    for (const auto& [picture, grid] : pairs) {
        picture->hide();
        picture->clear();
    }

    // One page per copy: the client area at its size on screen, shrunk only to fit the page.
    printImage(*setup, image, logicalDpiX());
}

void frmReport::mnuFileExit_Click() {
    close();
}

QString frmReport::focusedRange(bool& found) const {
    QWidget* focused = focusWidget();
    found = focused != nullptr;
    if (!focused)
        return {};
    return focused == grdResults ? grdResults->rangeText() : grdParameters->rangeText();
}

void frmReport::mnuEditCopy_Click() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    m_accumulator.clear();
    bool found = false;
    m_copyText = focusedRange(found);
    if (!found)
        return;
    clipboard->setText(m_copyText);
    m_accumulator = clipboard->text();
}

void frmReport::mnuEditACopy_Click() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    bool found = false;
    m_copyText = focusedRange(found);
    if (!found)
        return;
    clipboard->setText(m_copyText);
    m_accumulator += QStringLiteral("\r\n") + clipboard->text();
    clipboard->clear();
    clipboard->setText(m_accumulator);
}

void frmReport::mnuViewGraph_Click() { emit graphRequested(m_context.state.lastOutputFile); }

void frmReport::closeEvent(QCloseEvent* event) {
    Timer1->stop();
    QMainWindow::closeEvent(event);
}

} // namespace fendrel
