#include "frmViewChart.h"

#include "gui/ui/ControlBuilder.h"
#include "TrajectoryChartWidget.h"
#include "gui/ui/AppContext.h"
#include "core/common/Encoding.h"
#include "core/common/ProgramFolder.h"
#include "core/common/SharedState.h"
#include "gui/ui/Menus.h"
#include "gui/ui/Text.h"
#include "gui/ui/Geometry.h"
#include "gui/ui/Printing.h"
#include "gui/ui/Prompts.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QStatusBar>
#include <QTimer>
#include <algorithm>

namespace fendrel {

namespace {

const QString kTitle = QStringLiteral("Trajectory Viewer");
const QString kInstructions = QStringLiteral(
    "To determine the date for a data point, simply select one point with the mouse.");
const QString kFilter =
    QStringLiteral("Text file (.txt)|*.txt|Comma-delimited files (.csv)|*.csv|");

// The busy pointer while a file loads.
class BusyPointer {
public:
    BusyPointer() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyPointer() { QApplication::restoreOverrideCursor(); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
};

} // namespace

frmViewChart::frmViewChart(AppContext& context) : m_context(context) {
    setObjectName(QStringLiteral("frmViewChart"));
    setWindowTitle(kTitle);
    setAttribute(Qt::WA_DeleteOnClose);

    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("clientArea"));
    central->setAutoFillBackground(true);
    setCentralWidget(central);

    MSChart1 = new TrajectoryChartWidget(central);
    MSChart1->setObjectName(QStringLiteral("MSChart1"));
    MSChart1->setAxisTitles(QStringLiteral("Range"), QStringLiteral("Elevation (inches x 10)"));
    MSChart1->setGeometry(twipsRect(120, 120, 9000, 5400));
    MSChart1->hide(); // shown once there is something to plot

    Picture1 = ControlBuilder(central).label("Picture1", QString());
    Picture1->setScaledContents(true);
    Picture1->hide();

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    m_status = ControlBuilder(StatusBar1).label("StatusBar1Text", QString());
    m_status->setAccessibleDescription(QStringLiteral("Status line"));
    StatusBar1->addWidget(m_status, 1);
    setStatusBar(StatusBar1);

    buildMenus();

    connect(MSChart1, &TrajectoryChartWidget::pointSelected, this,
            &frmViewChart::MSChart1_PointSelected);
    connect(MSChart1, &TrajectoryChartWidget::seriesSelected, this,
            &frmViewChart::MSChart1_SeriesSelected);
    connect(MSChart1, &TrajectoryChartWidget::contextMenuRequested, this,
            &frmViewChart::MSChart1_ContextMenu);

    // Nothing to add to before the first file is plotted.
    mnuFileAdd->setEnabled(false);
    mnuVTable->setEnabled(false);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(10);
    connect(Timer1, &QTimer::timeout, this, &frmViewChart::Timer1_Timer);
    Timer1->start();

    resize(twips(9600), twips(8000));
}

void frmViewChart::buildMenus() {
    mnuFile = addMenu(menuBar(), "mnuFile", QStringLiteral("&File"));
    auto entry = [this](QMenu* menu, const char* name, const QString& caption) {
        QAction* a = menu->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };
    mnuFileOpen = entry(mnuFile, "mnuFileOpen", QStringLiteral("Open"));
    mnuFileAdd = entry(mnuFile, "mnuFileAdd", QStringLiteral("Add data"));
    mnuFilePrint = entry(mnuFile, "mnuFilePrint", QStringLiteral("Print"));
    mnuFileSep = addSeparator(mnuFile, "mnuFileSep");
    mnuFileExit = entry(mnuFile, "mnuFileExit", QStringLiteral("Exit"));

    // Not added to the menu bar: it pops up over the chart.
    mnuView = new QMenu(QStringLiteral("&View"), this);
    mnuView->setObjectName(QStringLiteral("mnuView"));
    mnuVTable = entry(mnuView, "mnuVTable", QStringLiteral("View ballistics"));

    connect(mnuFileOpen, &QAction::triggered, this, &frmViewChart::mnuFileOpen_Click);
    connect(mnuFileAdd, &QAction::triggered, this, &frmViewChart::mnuFileAdd_Click);
    connect(mnuFilePrint, &QAction::triggered, this, &frmViewChart::mnuFilePrint_Click);
    connect(mnuFileExit, &QAction::triggered, this, &frmViewChart::mnuFileExit_Click);
    connect(mnuVTable, &QAction::triggered, this, &frmViewChart::mnuVTable_Click);
}

QString frmViewChart::statusText() const {
    return m_status->text();
}

void frmViewChart::setStatusText(const QString& text) {
    m_status->setText(text);
}

void frmViewChart::Timer1_Timer() {
    // The start-up load shows dialogs; ticks that come while one is open wait for it.
    if (m_inTimer)
        return;
    m_inTimer = true;
    if (!m_loaded) {
        std::string& file = m_context.state.currentDataFile;
        if (file.empty())
            OpenFile();
        if (file.empty()) {
            m_inTimer = false;
            Timer1->stop();
            close();
            return;
        }
        m_loaded = true;
        if (LoadArray(true)) {
            DrawChart();
            mnuFileAdd->setEnabled(true);
            m_context.prompts.message(
                this,
                QStringLiteral("Hold down the Control button (CTRL) while dragging your mouse "
                               "cursor across the graph..."),
                QStringLiteral("Check It Out!!"), Icon::Information, Buttons::Ok);
            setStatusText(kInstructions);
        } else {
            // The file was refused with a message: the next tick asks for another one.
            m_loaded = false;
            file.clear();
        }
    }
    mnuVTable->setEnabled(m_selectedSeries >= ChartData::kFirstFile);
    m_inTimer = false;
}

bool frmViewChart::LoadArray(bool newChart) {
    const std::string path = m_context.state.currentDataFile;
    TableRead read;
    {
        BusyPointer busy;
        read = loadTrajectoryTable(std::filesystem::path(path));
    }
    if (!read.table) {
        m_context.prompts.message(this,
                                  QStringLiteral("The file \"%1\" cannot be charted: %2.")
                                      .arg(fromPath(path), utf8Text(read.refusal)),
                                  kTitle, Icon::Error, Buttons::Ok);
        return false;
    }
    if (newChart) {
        m_data.start(*read.table, path);
        m_selectedSeries = 0;
        mnuVTable->setEnabled(false);
        return true;
    }
    return m_data.add(*read.table, path);
}

void frmViewChart::DrawChart() {
    QStringList titles;
    std::vector<std::vector<int>> values;
    for (int s = 1; s <= m_data.seriesCount(); ++s) {
        titles << utf8Text(m_data.title(s));
        std::vector<int> column;
        for (int r = 1; r <= m_data.rows(); ++r)
            column.push_back(m_data.point(s, r).height);
        values.push_back(std::move(column));
    }
    QStringList labels;
    for (const std::string& label : m_data.rowLabels())
        labels << utf8Text(label);

    // A redrawn chart keeps what was selected in it when the series are still there.
    const int series = MSChart1->selectedSeries();
    const int row = MSChart1->selectedRow();
    MSChart1->setChart(titles, values, labels);
    if (m_selectedSeries >= 1 && series == m_selectedSeries)
        MSChart1->setSelection(series, row);

    MSChart1->setLegendVisible(true);
    MSChart1->show();
    showMaximized();
}

bool frmViewChart::OpenFile() {
    FileRequest request;
    request.title = QStringLiteral("Open");
    request.filter = kFilter;
    request.filterIndex = 2;
    request.startFolder =
        fromPath(resolveName(m_context.state.programFolder, "YourData"));
    const auto chosen = m_context.prompts.openFile(this, request);
    if (!chosen || chosen->isEmpty()) {
        m_context.state.currentDataFile.clear();
        return false;
    }
    m_context.state.currentDataFile = toPath(*chosen);
    return true;
}

void frmViewChart::mnuFileOpen_Click() {
    // A cancelled choice keeps the chart on screen.
    if (!OpenFile())
        return;
    if (m_data.seriesCount() >= ChartData::kFirstFile && m_loaded && !m_adding) {
        if (LoadArray(true)) {
            DrawChart();
            setStatusText(kInstructions);
        }
    }
}

void frmViewChart::mnuFileAdd_Click() {
    if (!m_loaded || m_data.seriesCount() < ChartData::kFirstFile)
        return;
    if (m_data.full()) {
        m_context.prompts.message(
            this,
            QStringLiteral("The chart already shows %1 files, as many as it can hold.")
                .arg(ChartData::kMaxSeries - 1),
            kTitle, Icon::Information, Buttons::Ok);
        return;
    }
    m_adding = true;
    if (OpenFile() && LoadArray(false))
        DrawChart();
    m_adding = false;
}

void frmViewChart::mnuFilePrint_Click() {
    const auto setup = m_context.prompts.print(this, PrintSetup{});
    if (!setup)
        return;

    // The chart's picture stands over the chart while the pages print.
    Picture1->setPixmap(MSChart1->grab());
    Picture1->setGeometry(MSChart1->geometry());
    Picture1->show();
    Picture1->raise();

    // Drawn at three times the screen's detail, so that the page stays sharp.
    const QImage picture = MSChart1->picture(3.0);
    const double screenDpi = std::max(1, MSChart1->logicalDpiX());
    printCopies(*setup, [&](QPrinter& printer) {
        QPainter painter;
        if (!painter.begin(&printer))
            return;
        // The picture at its size on screen, made smaller only when the page is smaller.
        const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
        double width = MSChart1->width() / screenDpi * printer.resolution();
        double height = MSChart1->height() / screenDpi * printer.resolution();
        const double fit = std::min({1.0, page.width() / width, page.height() / height});
        width *= fit;
        height *= fit;
        painter.drawImage(QRectF(0, 0, width, height), picture);
        painter.end();
    });
    Picture1->hide();
}

void frmViewChart::mnuFileExit_Click() {
    close();
}

void frmViewChart::mnuVTable_Click() {
    if (m_selectedSeries < ChartData::kFirstFile || m_selectedSeries > m_data.seriesCount())
        return;
    emit reportRequested(m_data.path(m_selectedSeries));
    showMinimized();
    letEventsRun();
}

void frmViewChart::MSChart1_PointSelected(int series, int row) {
    setStatusText(utf8Text(m_data.pointText(series, row)));
}

void frmViewChart::MSChart1_SeriesSelected(int series) {
    m_selectedSeries = series;
    mnuVTable->setEnabled(m_selectedSeries >= ChartData::kFirstFile);
}

void frmViewChart::MSChart1_ContextMenu(const QPoint& globalPos) {
    // The line of sight has no file to report on.
    if (m_selectedSeries >= ChartData::kFirstFile)
        mnuView->popup(globalPos);
}

void frmViewChart::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

void frmViewChart::Form_Resize() {
    // The chart follows the window, leaving room for the menu and status bars; a window too
    // small for that leaves the chart's size as it was.
    const QRect outer = frameGeometry();
    const int height = toTwips(outer.height()) - 2000;
    const int width = toTwips(outer.width()) - 400;
    QRect chart = MSChart1->geometry();
    if (height >= 0)
        chart.setHeight(twips(height));
    if (width >= 0)
        chart.setWidth(twips(width));
    MSChart1->setGeometry(chart);
}

} // namespace fendrel
