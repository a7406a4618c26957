// The simulator window's controls and menus: the wind column, the round column and the range
// map with its scales.
#include "frmInteractive.h"
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
#include "gui/ui/ControlBuilder.h"

namespace fendrel {

namespace {

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

} // namespace

QWidget* frmInteractive::buildWindColumn() {
    auto* column = new QWidget(centralWidget());
    column->setObjectName(QStringLiteral("windColumn"));
    const int width = twips(3600);
    column->setFixedWidth(width);

    Label6 = ControlBuilder(column).label("Label6", QStringLiteral("Wind Sock"));
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

    Label27 = ControlBuilder(column).label("Label27", QStringLiteral("Wind direction (0-360)"));
    Label27->setToolTip(QStringLiteral(
        "Either click the graphic to indicate wind direction or type the wind direction (0-360 "
        "degrees) in the text box to the right."));
    txtBearing = ControlBuilder(column).textBox("txtBearing", QStringLiteral("0"));
    UpDownBearing = new UpDown(column, 0, 360);
    UpDownBearing->setObjectName(QStringLiteral("UpDownBearing"));
    UpDownBearing->setBuddy(txtBearing);
    Label26 = ControlBuilder(column).label("Label26", QStringLiteral("Actual Wind Velocity"));
    Label26->setToolTip(QStringLiteral("Enter actual wind velocity here (mph)"));
    txtWindSpeed = ControlBuilder(column).textBox("txtWindSpeed", QStringLiteral("0"));
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

    cmdApply = ControlBuilder(column).button("cmdApply", QStringLiteral("Apply &wind"));
    cmdApply->setToolTip(
        QStringLiteral("Calculate effective wind using current wind direction and velocity."));

    Label2 = ControlBuilder(column).label("Label2", QStringLiteral("Effective Downrange Wind Velocity"));
    Text2 = ControlBuilder(column).textBox("Text2", QStringLiteral("0"));
    Text2->setToolTip(QStringLiteral(
        "Based upon actual wind velocity and wind direction, the effective down range wind "
        "velocity (mph) is given here."));
    Label5 = ControlBuilder(column).label("Label5",
                      QStringLiteral("(+ values indicate a wind blowing from the shooter to the "
                                     "target)."));
    Label1 = ControlBuilder(column).label("Label1", QStringLiteral("Effective Cross Wind Velocity"));
    Text1 = ControlBuilder(column).textBox("Text1", QStringLiteral("0"));
    Text1->setToolTip(QStringLiteral(
        "Based upon actual wind velocity and wind direction, the effective cross wind velocity "
        "(mph) is given here."));
    Label3 = ControlBuilder(column).label("Label3",
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
    Label4 = ControlBuilder(column).label("Label4", QStringLiteral("Ballistic coefficient"));
    txtBC = ControlBuilder(column).textBox("txtBC", QStringLiteral(".421"));
    Label8 = ControlBuilder(column).label("Label8", QStringLiteral("Muzzle velocity in fps"));
    txtfps = ControlBuilder(column).textBox("txtfps", QStringLiteral("2800"));
    Label25 = ControlBuilder(column).label("Label25", QStringLiteral("Zero at (yards)"));
    Label25->setToolTip(QStringLiteral(
        "Enter the range of your zero or right click on a yardage using the graphic to the "
        "right."));
    txtZero = ControlBuilder(column).textBox("txtZero", QStringLiteral("200"));
    const std::pair<QLabel*, QLineEdit*> fields[] = {
        {Label4, txtBC}, {Label8, txtfps}, {Label25, txtZero}};

    cmdRefresh = ControlBuilder(column).button("cmdRefresh", QStringLiteral("&Refresh"));
    cmdRefresh->setToolTip(QStringLiteral(
        "Clear the current range map and then draw wind deflection using current settings."));
    cmdAdd = ControlBuilder(column).button("cmdAdd", QStringLiteral("Add to &graph"));
    cmdAdd->setToolTip(QStringLiteral("Add the current wind effect to the range map without "
                                      "first erasing existing wind deflection lines."));
    cmdAdd_color = ControlBuilder(column).button("cmdAdd_color", QStringLiteral("Add to graph with new &color"));
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

    Label15 = ControlBuilder(panel).label("Label15", QStringLiteral("Trajectory (in)"));
    Label16 = ControlBuilder(panel).label("Label16", QStringLiteral("MV (fps)"));
    Label16->setToolTip(QStringLiteral("Remaining velocity"));
    Label7 = ControlBuilder(panel).label("Label7", QStringLiteral("Range (yds)"));
    for (int k = 0; k < 6; ++k) {
        const std::string traj = "txtTraj(" + std::to_string(k) + ")";
        const std::string mv = "txtMV(" + std::to_string(k) + ")";
        txtTraj[k] = ControlBuilder(panel).textBox(traj.c_str(), QStringLiteral("0.0"));
        txtMV[k] = ControlBuilder(panel).textBox(mv.c_str(), QStringLiteral("0"));
        txtMV[k]->setToolTip(QStringLiteral("Remaining velocity"));
        for (QLineEdit* e : {txtTraj[k], txtMV[k]}) {
            e->setReadOnly(true);
            e->setAlignment(Qt::AlignRight);
        }
        const QString yards = QString::fromLatin1(std::to_string(100 * k).c_str());
        txtTraj[k]->setAccessibleName(QStringLiteral("Trajectory (in) at ") + yards);
        txtMV[k]->setAccessibleName(QStringLiteral("MV (fps) at ") + yards);
    }
    Label10 = ControlBuilder(panel).label("Label10", QStringLiteral("0"));
    Label14 = ControlBuilder(panel).label("Label14", QStringLiteral("100"));
    Label13 = ControlBuilder(panel).label("Label13", QStringLiteral("200"));
    Label12 = ControlBuilder(panel).label("Label12", QStringLiteral("300"));
    Label11 = ControlBuilder(panel).label("Label11", QStringLiteral("400"));
    Label9 = ControlBuilder(panel).label("Label9", QStringLiteral("500"));
    picRange = new RangeMapWidget(panel);
    picRange->setObjectName(QStringLiteral("picRange"));
    Picture1 = ControlBuilder(panel).label("Picture1", QString());
    Picture1->hide();

    Label19 = ControlBuilder(panel).label("Label19", QStringLiteral("24.0\""));
    Label18 = ControlBuilder(panel).label("Label18", QStringLiteral("12.0\""));
    Label17 = ControlBuilder(panel).label("Label17", QStringLiteral("0.0\""));
    Label20 = ControlBuilder(panel).label("Label20", QStringLiteral("12.0\""));
    Label21 = ControlBuilder(panel).label("Label21", QStringLiteral("24.0\""));
    Label24 = ControlBuilder(panel).label("Label24", QStringLiteral("Deflection (in.)"));
    Label22 = ControlBuilder(panel).label("Label22", QStringLiteral("Left"));
    Label23 = ControlBuilder(panel).label("Label23", QStringLiteral("Right"));

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

} // namespace fendrel
