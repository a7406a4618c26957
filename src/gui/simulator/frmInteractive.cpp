#include "frmInteractive.h"
#include "core/common/UserFiles.h"

#include "RangeMapWidget.h"
#include "core/simulator/WindDial.h"
#include "WindDialWidget.h"
#include "gui/ui/AppContext.h"
#include "core/common/Encoding.h"
#include "core/common/Numbers.h"
#include "core/common/ProgramFolder.h"
#include "core/common/SharedState.h"
#include "core/common/TextFile.h"
#include "gui/ui/WindowRegistry.h"
#include "gui/ui/Menus.h"
#include "gui/ui/Geometry.h"
#include "gui/ui/Printing.h"
#include "gui/ui/Text.h"
#include "gui/ui/Prompts.h"
#include "gui/ui/UpDown.h"

#include <QBuffer>
#include <QEvent>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <stdexcept>

namespace fendrel {

namespace {

double valueOf(const QLineEdit* field) {
    return leadingNumber(fromQt(field->text()));
}

SimulatorTexts simulatorTexts(const QLineEdit* bc, const QLineEdit* fps, const QLineEdit* zero,
                              const QLineEdit* down, const QLineEdit* cross) {
    SimulatorTexts t;
    t.ballisticCoefficient = fromQt(bc->text());
    t.muzzleVelocity = fromQt(fps->text());
    t.zeroRange = fromQt(zero->text());
    t.downrangeWind = fromQt(down->text());
    t.crossWind = fromQt(cross->text());
    return t;
}

QColor colourOf(const TraceColour& c) {
    return QColor(c.red, c.green, c.blue);
}

// The map as a Windows bitmap.
QByteArray bitmapBytes(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

const char* const kBitmapFilter = "Windows BitMap (.BMP)|*.bmp|";

} // namespace

frmInteractive::frmInteractive(AppContext& context) : m_context(context) {
    setObjectName(QStringLiteral("frmInteractive"));
    setWindowTitle(QStringLiteral("Interactive Range Simulator"));
    setAttribute(Qt::WA_DeleteOnClose);

    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("clientArea"));
    setCentralWidget(central);

    QWidget* wind = buildWindColumn();
    QWidget* round = buildRoundColumn();
    QWidget* map = buildMapPanel();

    auto* layout = new QHBoxLayout(central);
    layout->setContentsMargins(twips(180), twips(120), twips(180), twips(180));
    layout->setSpacing(twips(300));
    layout->addWidget(wind, 0, Qt::AlignTop);
    layout->addWidget(round, 0, Qt::AlignTop);
    layout->addWidget(map, 0, Qt::AlignTop);

    for (QLineEdit* e : {txtBC, txtBearing, txtfps, txtWindSpeed, txtZero})
        selectAllOnFocus(e);

    setTabOrder(txtBearing, txtWindSpeed);
    setTabOrder(txtWindSpeed, cmdApply);
    setTabOrder(cmdApply, Text2);
    setTabOrder(Text2, Text1);
    setTabOrder(Text1, txtBC);
    setTabOrder(txtBC, txtfps);
    setTabOrder(txtfps, txtZero);
    setTabOrder(txtZero, cmdRefresh);
    setTabOrder(cmdRefresh, cmdAdd);
    setTabOrder(cmdAdd, cmdAdd_color);

    buildMenus();

    connect(picWindDial, &WindDialWidget::pressed, this, &frmInteractive::picWindDial_MouseDown);
    connect(cmdApply, &QPushButton::clicked, this, &frmInteractive::cmdApply_Click);
    connect(cmdRefresh, &QPushButton::clicked, this, &frmInteractive::cmdRefresh_Click);
    connect(cmdAdd, &QPushButton::clicked, this, &frmInteractive::cmdAdd_Click);
    connect(cmdAdd_color, &QPushButton::clicked, this, &frmInteractive::cmdAdd_color_Click);

    takeOpeningValues();
    adjustSize();
}

void frmInteractive::takeOpeningValues() {
    // The simulator starts from the round on the main window, when there is one.
    const auto round = m_context.roundOnScreen();
    if (!round)
        return;
    txtBC->setText(utf8Text(round->ballisticCoefficient));
    txtfps->setText(utf8Text(round->muzzleVelocity));
    txtBC->setCursorPosition(0);
    txtfps->setCursorPosition(0);
}

void frmInteractive::showMessage(const Status& refused) {
    m_context.prompts.message(this, utf8Text(refused.refusal), utf8Text(refused.title),
                              promptIcon(refused.icon), Buttons::Ok);
}

void frmInteractive::TrapIt() {
    const Status checked =
        checkSimulatorInputs(simulatorTexts(txtBC, txtfps, txtZero, Text2, Text1));
    if (checked)
        return;
    showMessage(checked);
    m_drawMode = 0;
}

bool frmInteractive::CalcIt() {
    const Status done = m_simulator.calculate(m_context.state.programFolder,
                                              simulatorTexts(txtBC, txtfps, txtZero, Text2, Text1),
                                              m_context.state.run);
    if (done)
        return true;
    // A calculation that cannot be made leaves the map and its boxes as they were.
    showMessage(done);
    return false;
}

void frmInteractive::DrawIt() {
    if (m_drawMode == 1)
        picRange->clearDrawings();
    const QColor colour = m_drawMode == 3 ? colourOf(m_traceColour) : QColor(255, 0, 0);
    // From 500 yards back to the muzzle. A point beyond the map's numbers is skipped.
    std::optional<MapPoint> previous;
    for (int i = RangeSimulator::kRows; i >= 1; --i) {
        const SimulatorRow& row = m_simulator.row(i);
        const std::optional<MapPoint> point = mapPoint(row.range, row.drift);
        if (!point)
            continue;
        if (!previous)
            previous = point;
        picRange->drawLine(QPoint(point->x, point->y), QPoint(previous->x, previous->y), colour);
        previous = point;
    }
    for (int k = 0; k < 6; ++k) {
        const SimulatorRow& row = m_simulator.row(2 * k + 1);
        try {
            txtTraj[k]->setText(utf8Text(trajectoryText(row.drop)));
        } catch (const std::exception&) {
        }
        txtMV[k]->setText(utf8Text(velocityText(row.velocity)));
    }
}

void frmInteractive::calculateAndDraw(std::uint8_t mode) {
    m_drawMode = mode;
    TrapIt();
    if (m_drawMode != 0 && CalcIt())
        DrawIt();
}

void frmInteractive::cmdRefresh_Click() {
    calculateAndDraw(1);
}

void frmInteractive::cmdAdd_Click() {
    calculateAndDraw(2);
}

void frmInteractive::cmdAdd_color_Click() {
    m_drawMode = 3;
    TrapIt();
    if (m_drawMode == 0)
        return;
    m_traceColour = randomTraceColour(m_random);
    if (!CalcIt())
        return;
    DrawIt();

    // The legend: the cross wind in the trace's colour, on the side it blows from.
    const double cross = valueOf(Text1);
    QString text;
    try {
        text = utf8Text(legendText(cross));
    } catch (const std::exception&) {
    }
    picRange->drawLegend(QPoint(legendX(cross), m_legendLine), text, colourOf(m_traceColour));
    m_legendLine += RangeMap::kLegendStep;
}

void frmInteractive::redrawDial() {
    Shape1->hide();
    picWindDial->clearDrawings();
    picWindDial->drawCircle(4);
}

void frmInteractive::picWindDial_MouseDown(QPointF twips) {
    m_clickColour = picWindDial->colourAt(twips);
    m_clickPoint = twips;
    redrawDial();
    if (m_clickColour == WindDialWidget::kCircleBlue) {
        picWindDial->drawLine(QPointF(WindDial::kCentreX, WindDial::kCentreY), twips,
                              picWindDial->foreground(), 1);
        m_windBearing = clickBearing(twips.x(), twips.y());
    }
    txtBearing->setText(utf8Text(generalNumber(m_windBearing)));
}

void frmInteractive::cmdApply_Click() {
    const double bearing = valueOf(txtBearing);
    const double speed = valueOf(txtWindSpeed);
    const EffectiveWind wind = effectiveWind(bearing, speed);
    if (!std::isfinite(wind.cross) || !std::isfinite(wind.downrange)) {
        m_context.prompts.message(
            this, QStringLiteral("The wind direction and velocity are too large to compute with."),
            QStringLiteral("User error!"), Icon::Exclamation, Buttons::Ok);
        return;
    }
    redrawDial();
    const DialPoint end = windLineEnd(bearing);
    picWindDial->drawLine(QPointF(end.x, end.y), QPointF(WindDial::kCentreX, WindDial::kCentreY),
                          picWindDial->foreground(), 1);
    m_context.state.effectiveCrossWind = wind.cross;
    m_context.state.effectiveDownrangeWind = wind.downrange;
    Text1->setText(utf8Text(generalNumber(wind.cross)));
    Text2->setText(utf8Text(generalNumber(wind.downrange)));
}

bool frmInteractive::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        auto* label = qobject_cast<QLabel*>(watched);
        if (label && mouse->button() == Qt::RightButton) {
            m_selectedYardage = toInt16(leadingNumber(fromQt(label->text())));
            mnuEdit->popup(mouse->globalPosition().toPoint());
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmInteractive::mnuEditZero_Click() {
    txtZero->setText(QString::fromLatin1(std::to_string(m_selectedYardage).c_str()));
}

void frmInteractive::mnuFileSave_Click() {
    const auto& folder = m_context.state.programFolder;
    FileRequest request;
    request.filter = QString::fromLatin1(kBitmapFilter);
    request.filterIndex = 1;
    std::error_code ec;
    const auto yourData = userDataFolder(folder);
    if (std::filesystem::is_directory(yourData, ec))
        request.startFolder = fromPath(yourData);

    // Cancel leaves the shared output file path empty; nothing is written and nothing is said.
    const std::optional<QString> chosen = m_context.prompts.saveFile(this, request);
    const QString path = chosen.value_or(QString());
    m_context.state.outputFile = toPath(path);
    if (path.isEmpty())
        return;
    const QByteArray bytes = bitmapBytes(picRange->image());
    // Errors are ignored: the map is not saved, and nothing is said.
    (void)saveUserFile(folder, toPath(path),
                       std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
}

void frmInteractive::mnuFilePrint_Click() {
    // The map is shown through Picture1 while the window is printed, laid exactly over it; a
    // copy goes to Windtemp.bmp in the program folder. When that file cannot be written or read
    // back, the copy in memory serves.
    Picture1->setGeometry(picRange->geometry());
    const QImage map = picRange->image();
    QImage shown = map;
    const auto scratch = resolveName(m_context.state.programFolder, "Windtemp.bmp");
    const QByteArray bytes = bitmapBytes(map);
    if (saveUserFile(m_context.state.programFolder, scratch,
                     std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())))) {
        QImage loaded;
        if (loaded.load(fromPath(scratch), "BMP"))
            shown = loaded;
    }
    Picture1->setPixmap(QPixmap::fromImage(shown));
    Picture1->show();
    Picture1->raise();

    bool failed = false;
    if (const std::optional<PrintSetup> setup = m_context.prompts.print(this, PrintSetup{})) {
        // One page per copy: the window as it stands, at its size on screen, shrunk to fit
        // the page when it is larger.
        failed = !printImage(*setup, grab(), logicalDpiX());
    }
    Picture1->hide();
    if (failed)
        m_context.prompts.message(this, QStringLiteral("The printer could not be started."),
                                  QStringLiteral("Print"), Icon::Exclamation, Buttons::Ok);
}

void frmInteractive::mnuFileExit_Click() {
    close();
}

} // namespace fendrel
