// The report window's sheet: its labels, the two grids and the menus, and how they follow the
// window's size.
#include "frmReport.h"
#include "gui/ui/ControlBuilder.h"
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

// Designer geometry, in twips.
constexpr int kClientWidth = 8685;
constexpr int kClientHeight = 8175;
constexpr int kParametersWidth = 8415;
constexpr int kParameterHeadingHeight = 600;
constexpr std::array<int, kParameterColumns> kParameterWidths = {700, 500,  750, 775, 1100,
                                                                 800, 1100, 850, 800, 800};
constexpr std::array<int, kResultColumns> kResultWidths = {800, 750, 1200, 1100, 1500, 900, 1000};
// Room for the vertical scroll bar beside the seven columns.
constexpr int kResultsWidth = 800 + 750 + 1200 + 1100 + 1500 + 900 + 1000 + 200;
constexpr int kResultsTop = 3000;

struct FooterPlace {
    int left, top, width, height;
};
constexpr std::array<FooterPlace, kFooterLines> kFooterPlaces = {{{120, 6240, 8535, 375},
                                                                  {120, 6480, 4215, 255},
                                                                  {4440, 6480, 4095, 255},
                                                                  {120, 6720, 8655, 255},
                                                                  {120, 7200, 8775, 255},
                                                                  {120, 7440, 4575, 255},
                                                                  {4440, 7440, 4215, 255},
                                                                  {120, 7680, 8775, 255},
                                                                  {120, 7920, 8775, 375}}};

QFont boldFont(qreal points) {
    QFont f = QApplication::font();
    f.setPointSizeF(points);
    f.setBold(true);
    return f;
}

// A left edge that centres a width in another, in pixels; negative when it does not fit.
int centredLeft(int outerTwips, int innerTwips) {
    return twips(static_cast<int>(std::lround((outerTwips - innerTwips) / 2.0)));
}

} // namespace

void frmReport::buildControls() {
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("clientArea"));
    setCentralWidget(central);

    // The white sheet of the report; everything else lies on top of it.
    shpBak = new QWidget(central);
    shpBak->setObjectName(QStringLiteral("shpBak"));
    shpBak->setGeometry(twipsRect(0, 0, 8655, 8175));
    shpBak->setAutoFillBackground(true);
    {
        QPalette p = shpBak->palette();
        p.setColor(QPalette::Window, QColor(255, 255, 255));
        shpBak->setPalette(p);
    }

    Label1 = addLabel("Label1", 0, 0, 8535, 495);
    Label1->setFont(boldFont(13.5));
    const int headerTops[3] = {840, 360, 600};
    for (int i = 0; i < 3; ++i) {
        lblHeader[i] = addLabel(QStringLiteral("lblHeader(%1)").arg(i).toLatin1().constData(), 0,
                                headerTops[i], 8535, 255);
    }

    Label2 = addLabel("Label2", 120, 1080, 8415, 375);
    Label2->setText(QString::fromLatin1(kConditionParameters));
    Label2->setToolTip(QStringLiteral("Assumed environmental conditions"));
    Label2->setFont(boldFont(12));

    const QColor window = QApplication::palette().color(QPalette::Base);
    const QColor windowText = QApplication::palette().color(QPalette::Text);
    grdParameters = new ReportGridWidget(
        1, 0,
        {QColor(0, 0, 255), QColor(255, 255, 255), window, QColor(0, 0, 0), QColor(255, 255, 0),
         QColor(0, 0, 0), QColor(224, 224, 224), QColor(192, 192, 192), QColor(0, 0, 0)},
        central);
    grdParameters->setObjectName(QStringLiteral("grdParameters"));
    grdParameters->setAccessibleName(QString::fromLatin1(kConditionParameters));
    grdParameters->setColumnCount(kParameterColumns);
    grdParameters->setRows(2);
    grdParameters->setGeometry(twipsRect(120, 1440, kParametersWidth, 1095));

    Label3 = addLabel("Label3", 120, 2640, 8415, 375);
    Label3->setText(QString::fromLatin1(kExteriorBallisticsTable));
    Label3->setToolTip(QStringLiteral("Range, velocity, trajectory, and terminal ballistics such "
                                      "as energy of bullet, forward momentum, and penetration "
                                      "indices. "));
    Label3->setFont(boldFont(12));

    grdResults = new ReportGridWidget(1, 1,
                                      {QColor(0, 0, 192), QColor(255, 255, 255), window, windowText,
                                       QColor(255, 255, 0), QColor(0, 0, 0), QColor(224, 224, 224),
                                       QColor(192, 192, 192), QColor(0, 0, 0)},
                                      central);
    grdResults->setObjectName(QStringLiteral("grdResults"));
    grdResults->setAccessibleName(QString::fromLatin1(kExteriorBallisticsTable));
    grdResults->setColumnCount(kResultColumns);
    grdResults->setRows(static_cast<int>(m_report.results.size()));
    grdResults->setGeometry(twipsRect(840, kResultsTop, kResultsWidth, 3135));
    grdResults->setContextMenuPolicy(Qt::CustomContextMenu);

    // The row heights follow the font, but never fall below the grid's usual 240 twips.
    const int rowHeight = std::max(twips(240), grdResults->fontMetrics().height() + 6);
    for (ReportGridWidget* grid : {grdParameters, grdResults})
        grid->verticalHeader()->setDefaultSectionSize(rowHeight);
    for (size_t c = 0; c < kParameterColumns; ++c)
        grdParameters->setColumnWidth(static_cast<int>(c), twips(kParameterWidths[c]));
    grdParameters->setRowHeight(0, twips(kParameterHeadingHeight));
    for (size_t c = 0; c < kResultColumns; ++c)
        grdResults->setColumnWidth(static_cast<int>(c), twips(kResultWidths[c]));

    for (size_t i = 0; i < kFooterLines; ++i) {
        const FooterPlace& f = kFooterPlaces[i];
        lblFooter[i] = addLabel(QStringLiteral("lblFooter(%1)").arg(i).toLatin1().constData(),
                                f.left, f.top, f.width, f.height);
        lblFooter[i]->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }

    Label4 = addLabel("Label4", 0, 6960, 8655, 255);
    Label4->setText(QString::fromLatin1(kTerminalBallistics));
    Label4->setToolTip(QStringLiteral("Ballistics in the target"));
    Label4->setFont(boldFont(12));

    Picture1 = ControlBuilder(central).label("Picture1", QString());
    Picture1->hide();
    Picture2 = ControlBuilder(central).label("Picture2", QString());
    Picture2->hide();

}

QSize frmReport::clientSize() const { return {twips(kClientWidth), twips(kClientHeight)}; }

QLabel* frmReport::addLabel(const char* name, int left, int top, int width, int height) {
    auto* label = ControlBuilder(centralWidget()).label(name, QString());
    label->setGeometry(twipsRect(left, top, width, height));
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setTextFormat(Qt::PlainText);
    return label;
}

void frmReport::buildMenus() {
    const auto action = [this](QMenu* menu, const char* name, const char* caption,
                               void (frmReport::*slot)()) {
        QAction* a = menu->addAction(QString::fromLatin1(caption));
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, slot);
        return a;
    };

    mnuFile = addMenu(menuBar(), "mnuFile", QStringLiteral("&File"));
    mnuFileOpen = action(mnuFile, "mnuFileOpen", "Open", &frmReport::mnuFileOpen_Click);
    mnuSaveAs = action(mnuFile, "mnuSaveAs", "Save As html", &frmReport::mnuSaveAs_Click);
    mnuFilePrint = action(mnuFile, "mnuFilePrint", "Print", &frmReport::mnuFilePrint_Click);
    mnuFileSep1 = addSeparator(mnuFile, "mnuFileSep1");
    mnuFileExit = action(mnuFile, "mnuFileExit", "Exit", &frmReport::mnuFileExit_Click);

    mnuEdit = addMenu(menuBar(), "mnuEdit", QStringLiteral("&Edit"));
    mnuEditCopy = action(mnuEdit, "mnuEditCopy", "Copy", &frmReport::mnuEditCopy_Click);
    mnuEditACopy = action(mnuEdit, "mnuEditACopy", "Append Copy", &frmReport::mnuEditACopy_Click);

    // The View menu stays out of the menu bar: it is the results grid's context menu.
    mnuView = new QMenu(QStringLiteral("&View"), this);
    mnuView->setObjectName(QStringLiteral("mnuView"));
    mnuViewGraph =
        action(mnuView, "mnuViewGraph", "Graph ballistics", &frmReport::mnuViewGraph_Click);
}

QSize frmReport::outerSizeTwips() const {
    // The outer size counts the window's frame and title bar. Where the platform reports less
    // (no window manager, or not shown yet), a usual frame is counted instead, so that the
    // sheet still covers the client area.
    const int border = 4;
    const int title = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
    const QSize frame = frameGeometry().size();
    const int width = std::max(frame.width(), geometry().width() + 2 * border);
    const int height = std::max(frame.height(), geometry().height() + title + 2 * border);
    return {toTwips(width), toTwips(height)};
}

void frmReport::Form_Resize() {
    const QSize outer = outerSizeTwips();
    const int sheetWidth = outer.width() - 100;
    const int sheetHeight = outer.height() - 500;
    // A size below nothing is simply not applied; the next rule still runs.
    if (sheetWidth >= 0)
        m_sheetWidth = sheetWidth;
    if (sheetHeight >= 0)
        m_sheetHeight = sheetHeight;
    shpBak->resize(twips(m_sheetWidth), twips(m_sheetHeight));

    const int width = m_sheetWidth;
    for (QLabel* label : lblHeader)
        label->resize(twips(width), label->height());
    for (size_t i = 0; i + 1 < lblFooter.size(); ++i)
        lblFooter[i]->resize(twips(width), lblFooter[i]->height());
    for (size_t i : {1, 2, 5, 6})
        lblFooter[i]->resize(twips(width / 2), lblFooter[i]->height());
    for (QLabel* label : {Label1, Label2, Label3, Label4})
        label->resize(twips(width), label->height());

    grdParameters->move(centredLeft(width, kParametersWidth), grdParameters->y());
    grdResults->move(centredLeft(outer.width(), kResultsWidth), grdResults->y());
}

void frmReport::placeResultsGrid() {
    grdResults->move(centredLeft(outerSizeTwips().width(), kResultsWidth), twips(kResultsTop));
}

void frmReport::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

} // namespace fendrel
