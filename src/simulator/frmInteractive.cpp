#include "frmInteractive.h"

#include "RangeMapWidget.h"
#include "WindDial.h"
#include "WindDialWidget.h"
#include "app/AppContext.h"
#include "app/Encoding.h"
#include "app/Numbers.h"
#include "app/ProgramFolder.h"
#include "app/SharedState.h"
#include "app/TextFile.h"
#include "app/WindowRegistry.h"
#include "ui/Menus.h"
#include "ui/Geometry.h"
#include "ui/Printing.h"
#include "ui/Text.h"
#include "ui/Prompts.h"
#include "ui/UpDown.h"
#include "workbench/frmRoundDevel.h"

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
    return leadingNumber(toBytes(field->text()));
}

SimulatorTexts simulatorTexts(const QLineEdit* bc, const QLineEdit* fps, const QLineEdit* zero,
                              const QLineEdit* down, const QLineEdit* cross) {
    SimulatorTexts t;
    t.ballisticCoefficient = toBytes(bc->text());
    t.muzzleVelocity = toBytes(fps->text());
    t.zeroRange = toBytes(zero->text());
    t.downrangeWind = toBytes(down->text());
    t.crossWind = toBytes(cross->text());
    return t;
}

QColor colourOf(const TraceColour& c) {
    return QColor(c.red, c.green, c.blue);
}

// The marker over the dial until the first wind is set: a ring round the shooter at the centre.
class ShooterMarker : public QWidget {
public:
    explicit ShooterMarker(QWidget* parent) : QWidget(parent) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFixedSize(17, 17);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(200, 40, 24), 2));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(2, 2, 13, 13));
    }
};

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

QLabel* frmInteractive::addLabel(QWidget* parent, const char* name, const QString& caption) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

QLineEdit* frmInteractive::addField(QWidget* parent, const char* name, const QString& text) {
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setCursorPosition(0);
    return edit;
}

QWidget* frmInteractive::buildWindColumn() {
    auto* column = new QWidget(centralWidget());
    column->setObjectName(QStringLiteral("windColumn"));
    const int width = twips(3600);
    column->setFixedWidth(width);

    Label6 = addLabel(column, "Label6", QStringLiteral("Wind Sock"));
    Label6->setAlignment(Qt::AlignCenter);
    picWindDial = new WindDialWidget(column);
    picWindDial->setObjectName(QStringLiteral("picWindDial"));
    picWindDial->setToolTip(QStringLiteral(
        "Click to indicate wind direction.  Assume the wind is blowing FROM your click location "
        "(anywhere on the blue circle) TO the shooter."));
    Shape1 = new ShooterMarker(picWindDial);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->move(qRound(WindDial::kCentreX / WindDial::kTwipsPerPixel) - Shape1->width() / 2,
                 qRound(WindDial::kCentreY / WindDial::kTwipsPerPixel) - Shape1->height() / 2);

    Label27 = addLabel(column, "Label27", QStringLiteral("Wind direction (0-360)"));
    Label27->setToolTip(QStringLiteral(
        "Either click the graphic to indicate wind direction or type the wind direction (0-360 "
        "degrees) in the text box to the right."));
    txtBearing = addField(column, "txtBearing", QStringLiteral("0"));
    UpDownBearing = new UpDown(column, 0, 360);
    UpDownBearing->setObjectName(QStringLiteral("UpDownBearing"));
    UpDownBearing->setBuddy(txtBearing);
    Label26 = addLabel(column, "Label26", QStringLiteral("Actual Wind Velocity"));
    Label26->setToolTip(QStringLiteral("Enter actual wind velocity here (mph)"));
    txtWindSpeed = addField(column, "txtWindSpeed", QStringLiteral("0"));
    UpDownActual = new UpDown(column, 0, 100);
    UpDownActual->setObjectName(QStringLiteral("UpDownActual"));
    UpDownActual->setBuddy(txtWindSpeed);
    for (QLineEdit* e : {txtBearing, txtWindSpeed}) {
        e->setFixedWidth(twips(720));
        e->setAccessibleName(e == txtBearing ? QStringLiteral("Wind direction (0-360)")
                                             : QStringLiteral("Actual Wind Velocity"));
    }
    for (UpDown* u : {UpDownBearing, UpDownActual})
        u->setFixedSize(twips(240), txtBearing->sizeHint().height());
    Label27->setBuddy(txtBearing);
    Label26->setBuddy(txtWindSpeed);

    cmdApply = new QPushButton(QStringLiteral("Apply &wind"), column);
    cmdApply->setObjectName(QStringLiteral("cmdApply"));
    cmdApply->setToolTip(
        QStringLiteral("Calculate effective wind using current wind direction and velocity."));
    cmdApply->setAutoDefault(false);

    Label2 = addLabel(column, "Label2", QStringLiteral("Effective Downrange Wind Velocity"));
    Text2 = addField(column, "Text2", QStringLiteral("0"));
    Text2->setToolTip(QStringLiteral(
        "Based upon actual wind velocity and wind direction, the effective down range wind "
        "velocity (mph) is given here."));
    Label5 = addLabel(column, "Label5",
                      QStringLiteral("(+ values indicate a wind blowing from the shooter to the "
                                     "target)."));
    Label1 = addLabel(column, "Label1", QStringLiteral("Effective Cross Wind Velocity"));
    Text1 = addField(column, "Text1", QStringLiteral("0"));
    Text1->setToolTip(QStringLiteral(
        "Based upon actual wind velocity and wind direction, the effective cross wind velocity "
        "(mph) is given here."));
    Label3 = addLabel(column, "Label3",
                      QStringLiteral("(+ values indicate a crosswind blowing from left to right "
                                     "perpendicular to the firing line."));
    for (QLabel* note : {Label5, Label3}) {
        note->setWordWrap(true);
        QFont small = note->font();
        small.setPointSizeF(small.pointSizeF() * 0.9);
        note->setFont(small);
    }
    for (QLineEdit* e : {Text2, Text1})
        e->setFixedWidth(twips(1000));
    Label2->setBuddy(Text2);
    Label1->setBuddy(Text1);
    Text2->setAccessibleName(Label2->text());
    Text1->setAccessibleName(Label1->text());

    auto* layout = new QGridLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setHorizontalSpacing(twips(90));
    layout->setVerticalSpacing(twips(60));
    layout->addWidget(Label6, 0, 0, 1, 3);
    layout->addWidget(picWindDial, 1, 0, 1, 3, Qt::AlignHCenter);
    auto spinner = [](QLineEdit* field, UpDown* arrows) {
        auto* row = new QHBoxLayout;
        row->setSpacing(0);
        row->addWidget(field);
        row->addWidget(arrows);
        row->addStretch(1);
        return row;
    };
    layout->addWidget(Label27, 2, 0, 1, 2);
    layout->addLayout(spinner(txtBearing, UpDownBearing), 2, 2);
    layout->addWidget(Label26, 3, 0, 1, 2);
    layout->addLayout(spinner(txtWindSpeed, UpDownActual), 3, 2);
    layout->addWidget(cmdApply, 4, 0, 1, 3, Qt::AlignHCenter);
    layout->addItem(new QSpacerItem(0, twips(60)), 5, 0);
    layout->addWidget(Label2, 6, 0, 1, 2);
    layout->addWidget(Text2, 6, 2);
    layout->addWidget(Label5, 7, 0, 1, 3);
    layout->addWidget(Label1, 8, 0, 1, 2);
    layout->addWidget(Text1, 8, 2);
    layout->addWidget(Label3, 9, 0, 1, 3);
    layout->setColumnStretch(1, 1);
    return column;
}

QWidget* frmInteractive::buildRoundColumn() {
    auto* column = new QWidget(centralWidget());
    column->setObjectName(QStringLiteral("roundColumn"));
    Label4 = addLabel(column, "Label4", QStringLiteral("Ballistic coefficient"));
    txtBC = addField(column, "txtBC", QStringLiteral(".421"));
    Label8 = addLabel(column, "Label8", QStringLiteral("Muzzle velocity in fps"));
    txtfps = addField(column, "txtfps", QStringLiteral("2800"));
    Label25 = addLabel(column, "Label25", QStringLiteral("Zero at (yards)"));
    Label25->setToolTip(QStringLiteral(
        "Enter the range of your zero or right click on a yardage using the graphic to the "
        "right."));
    txtZero = addField(column, "txtZero", QStringLiteral("200"));
    const std::pair<QLabel*, QLineEdit*> fields[] = {
        {Label4, txtBC}, {Label8, txtfps}, {Label25, txtZero}};

    cmdRefresh = new QPushButton(QStringLiteral("&Refresh"), column);
    cmdRefresh->setObjectName(QStringLiteral("cmdRefresh"));
    cmdRefresh->setToolTip(QStringLiteral(
        "Clear the current range map and then draw wind deflection using current settings."));
    cmdAdd = new QPushButton(QStringLiteral("Add to &graph"), column);
    cmdAdd->setObjectName(QStringLiteral("cmdAdd"));
    cmdAdd->setToolTip(QStringLiteral("Add the current wind effect to the range map without "
                                      "first erasing existing wind deflection lines."));
    cmdAdd_color = new QPushButton(QStringLiteral("Add to graph with new &color"), column);
    cmdAdd_color->setObjectName(QStringLiteral("cmdAdd_color"));
    cmdAdd_color->setToolTip(QStringLiteral(
        "Add the current wind effect to the range map (using a unique color) without first "
        "erasing existing wind deflection lines.  Also, add a color coded legend."));

    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, twips(240), 0, 0);
    layout->setSpacing(twips(45));
    for (const auto& [label, field] : fields) {
        field->setFixedWidth(twips(1100));
        field->setAccessibleName(label->text());
        label->setBuddy(field);
        layout->addWidget(label);
        layout->addWidget(field);
        layout->addSpacing(twips(120));
    }
    layout->addSpacing(twips(360));
    for (QPushButton* b : {cmdRefresh, cmdAdd, cmdAdd_color}) {
        b->setAutoDefault(false);
        layout->addWidget(b);
        layout->addSpacing(twips(60));
    }
    layout->addStretch(1);
    return column;
}

QWidget* frmInteractive::buildMapPanel() {
    auto* panel = new QWidget(centralWidget());
    panel->setObjectName(QStringLiteral("mapPanel"));
    const QFontMetrics fm(panel->font());
    const int gap = twips(90);

    Label15 = addLabel(panel, "Label15", QStringLiteral("Trajectory (in)"));
    Label16 = addLabel(panel, "Label16", QStringLiteral("MV (fps)"));
    Label16->setToolTip(QStringLiteral("Remaining velocity"));
    Label7 = addLabel(panel, "Label7", QStringLiteral("Range (yds)"));
    for (int k = 0; k < 6; ++k) {
        const std::string traj = "txtTraj(" + std::to_string(k) + ")";
        const std::string mv = "txtMV(" + std::to_string(k) + ")";
        txtTraj[k] = addField(panel, traj.c_str(), QStringLiteral("0.0"));
        txtMV[k] = addField(panel, mv.c_str(), QStringLiteral("0"));
        txtMV[k]->setToolTip(QStringLiteral("Remaining velocity"));
        for (QLineEdit* e : {txtTraj[k], txtMV[k]}) {
            e->setReadOnly(true);
            e->setAlignment(Qt::AlignRight);
        }
        const QString yards = QString::fromLatin1(std::to_string(100 * k).c_str());
        txtTraj[k]->setAccessibleName(QStringLiteral("Trajectory (in) at ") + yards);
        txtMV[k]->setAccessibleName(QStringLiteral("MV (fps) at ") + yards);
    }
    Label10 = addLabel(panel, "Label10", QStringLiteral("0"));
    Label14 = addLabel(panel, "Label14", QStringLiteral("100"));
    Label13 = addLabel(panel, "Label13", QStringLiteral("200"));
    Label12 = addLabel(panel, "Label12", QStringLiteral("300"));
    Label11 = addLabel(panel, "Label11", QStringLiteral("400"));
    Label9 = addLabel(panel, "Label9", QStringLiteral("500"));
    picRange = new RangeMapWidget(panel);
    picRange->setObjectName(QStringLiteral("picRange"));
    Picture1 = new QLabel(panel);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->hide();

    Label19 = addLabel(panel, "Label19", QStringLiteral("24.0\""));
    Label18 = addLabel(panel, "Label18", QStringLiteral("12.0\""));
    Label17 = addLabel(panel, "Label17", QStringLiteral("0.0\""));
    Label20 = addLabel(panel, "Label20", QStringLiteral("12.0\""));
    Label21 = addLabel(panel, "Label21", QStringLiteral("24.0\""));
    Label24 = addLabel(panel, "Label24", QStringLiteral("Deflection (in.)"));
    Label22 = addLabel(panel, "Label22", QStringLiteral("Left"));
    Label23 = addLabel(panel, "Label23", QStringLiteral("Right"));

    // Columns: trajectory, velocity, the yardages, then the map. Each box stands level with
    // the yardage line it belongs to.
    const int fieldHeight = txtTraj[0]->sizeHint().height();
    const int fieldWidth = std::max(twips(780), fm.horizontalAdvance(QStringLiteral("-999.9")) +
                                                    fm.averageCharWidth() * 2);
    const int trajWidth = std::max(fieldWidth, fm.horizontalAdvance(Label15->text()));
    const int mvWidth = std::max(fieldWidth, fm.horizontalAdvance(Label16->text()));
    const int yardWidth = fm.horizontalAdvance(Label7->text());
    const int trajX = 0;
    const int mvX = trajX + trajWidth + gap;
    const int yardX = mvX + mvWidth + gap;
    const int mapX = yardX + yardWidth + gap;
    const int headerHeight = fm.height();
    const int mapTop = headerHeight + gap + std::max(0, fieldHeight / 2 - mapY(500));

    Label15->setGeometry(trajX, 0, trajWidth, headerHeight);
    Label16->setGeometry(mvX, 0, mvWidth, headerHeight);
    Label7->setGeometry(yardX, 0, yardWidth, headerHeight);
    for (QLabel* l : {Label15, Label16})
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QLabel* yardLabels[6] = {Label10, Label14, Label13, Label12, Label11, Label9};
    for (int k = 0; k < 6; ++k) {
        const int y = mapTop + mapY(100 * k);
        txtTraj[k]->setGeometry(trajX + trajWidth - fieldWidth, y - fieldHeight / 2, fieldWidth,
                                fieldHeight);
        txtMV[k]->setGeometry(mvX + mvWidth - fieldWidth, y - fieldHeight / 2, fieldWidth,
                              fieldHeight);
        yardLabels[k]->setGeometry(yardX, y - headerHeight / 2, yardWidth, headerHeight);
        yardLabels[k]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    picRange->move(mapX, mapTop);

    // The deflection scale under the map: each value under the x it stands for, 5 pixels to
    // the inch from the line of fire.
    const int scaleTop = mapTop + RangeMap::kHeight + twips(30);
    const std::pair<QLabel*, int> scale[] = {
        {Label19, -24}, {Label18, -12}, {Label17, 0}, {Label20, 12}, {Label21, 24}};
    int right = mapX + RangeMap::kWidth;
    for (const auto& [label, inches] : scale) {
        const int w = fm.horizontalAdvance(label->text()) + 2;
        const int centre = mapX + RangeMap::kMuzzleX + RangeMap::kPixelsPerInch * inches;
        label->setGeometry(centre - w / 2, scaleTop, w, headerHeight);
        label->setAlignment(Qt::AlignCenter);
        right = std::max(right, centre - w / 2 + w);
    }
    const int wordsTop = scaleTop + headerHeight;
    auto underAt = [&](QLabel* label, int centre) {
        const int w = fm.horizontalAdvance(label->text()) + 2;
        label->setGeometry(centre - w / 2, wordsTop, w, headerHeight);
        label->setAlignment(Qt::AlignCenter);
        right = std::max(right, centre - w / 2 + w);
    };
    underAt(Label22, mapX + RangeMap::kMuzzleX - 18 * RangeMap::kPixelsPerInch);
    underAt(Label24, mapX + RangeMap::kMuzzleX);
    underAt(Label23, mapX + RangeMap::kMuzzleX + 18 * RangeMap::kPixelsPerInch);
    panel->setFixedSize(right, wordsTop + headerHeight);

    // Zero at a yardage: a right click on its label.
    for (QLabel* l : {Label14, Label13, Label12, Label11, Label9})
        l->installEventFilter(this);
    return panel;
}

void frmInteractive::buildMenus() {
    mnuFile = addMenu(menuBar(), "mnuFile", QStringLiteral("&File"));
    mnuFileSave = addEntry(mnuFile, "mnuFileSave", QStringLiteral("Save as..."));
    mnuFilePrint = addEntry(mnuFile, "mnuFilePrint", QStringLiteral("Print"));
    mnuFileSep1 = addSeparator(mnuFile, "mnuFileSep1");
    mnuFileExit = addEntry(mnuFile, "mnuFileExit", QStringLiteral("Exit"));

    // The yardage labels' pop-up, never part of the menu bar.
    mnuEdit = new QMenu(QStringLiteral("&Edit"), this);
    mnuEdit->setObjectName(QStringLiteral("mnuEdit"));
    mnuEditZero = addEntry(mnuEdit, "mnuEditZero", QStringLiteral("Zero at this range"));

    connect(mnuFileSave, &QAction::triggered, this, &frmInteractive::mnuFileSave_Click);
    connect(mnuFilePrint, &QAction::triggered, this, &frmInteractive::mnuFilePrint_Click);
    connect(mnuFileExit, &QAction::triggered, this, &frmInteractive::mnuFileExit_Click);
    connect(mnuEditZero, &QAction::triggered, this, &frmInteractive::mnuEditZero_Click);
}

void frmInteractive::takeOpeningValues() {
    // The simulator starts from the round on the main window, when there is one.
    auto* main = m_context.windows.find<frmRoundDevel>();
    if (!main)
        return;
    txtBC->setText(main->txtBC->text());
    txtfps->setText(main->txtfps->text());
    txtBC->setCursorPosition(0);
    txtfps->setCursorPosition(0);
}

void frmInteractive::showMessage(const SimulatorMessage& message) {
    m_context.prompts.message(this, fromBytes(message.text), fromBytes(message.title),
                              promptIcon(message.icon), Buttons::Ok);
}

void frmInteractive::TrapIt() {
    const auto refusal = checkSimulatorInputs(simulatorTexts(txtBC, txtfps, txtZero, Text2, Text1));
    if (!refusal)
        return;
    showMessage(*refusal);
    m_drawMode = 0;
}

bool frmInteractive::CalcIt() {
    const auto refusal = m_simulator.calculate(m_context.state.programFolder,
                                               simulatorTexts(txtBC, txtfps, txtZero, Text2, Text1),
                                               m_context.state.run);
    if (!refusal)
        return true;
    // A calculation that cannot be made leaves the map and its boxes as they were.
    showMessage(*refusal);
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
            txtTraj[k]->setText(fromBytes(trajectoryText(row.drop)));
        } catch (const std::exception&) {
        }
        txtMV[k]->setText(fromBytes(velocityText(row.velocity)));
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
        text = fromBytes(legendText(cross));
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
    txtBearing->setText(fromBytes(generalNumber(m_windBearing)));
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
    Text1->setText(fromBytes(generalNumber(wind.cross)));
    Text2->setText(fromBytes(generalNumber(wind.downrange)));
}

bool frmInteractive::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        auto* label = qobject_cast<QLabel*>(watched);
        if (label && mouse->button() == Qt::RightButton) {
            m_selectedYardage = toInt16(leadingNumber(toBytes(label->text())));
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
    const auto yourData = resolveName(folder, "yourdata");
    if (std::filesystem::is_directory(yourData, ec))
        request.startFolder = fromPath(yourData);

    // Cancel leaves the shared output file path empty; nothing is written and nothing is said.
    const std::optional<QString> chosen = m_context.prompts.saveFile(this, request);
    const QString path = chosen.value_or(QString());
    m_context.state.outputFile = toPath(path);
    if (path.isEmpty())
        return;
    const QByteArray bytes = bitmapBytes(picRange->image());
    (void)writeFileAtomic(std::filesystem::path(toPath(path)),
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
    if (writeFileAtomic(scratch,
                        std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())))
            .empty()) {
        QImage loaded;
        if (loaded.load(QString::fromStdString(scratch.string()), "BMP"))
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
