// The shot group window's controls and menu: where each stands, its caption, and the tab order.
#include "frmMeasure.h"

#include "TargetWidget.h"
#include "core/groups/GroupStatistics.h"
#include "gui/ui/ControlBuilder.h"
#include "gui/ui/Geometry.h"
#include "gui/ui/Menus.h"
#include "gui/ui/UpDown.h"

#include <QFontDatabase>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTextEdit>

namespace fendrel {

namespace {

// The stated sizes of the window's special fonts were chosen for a smaller default font; ours
// grow with the layout.
constexpr double kFontScale = 1.25;

} // namespace

void frmMeasure::buildControls() {
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("clientArea"));
    central->setFixedSize(twips(8190), twips(6090));
    setCentralWidget(central);
    ControlBuilder make(central);
    // The window's labels wrap and stand at the top of their place.
    const auto label = [&make](const char* name, const QString& caption, const QRect& twips) {
        QLabel* l = make.label(name, caption, twips);
        l->setWordWrap(true);
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return l;
    };

    Label1 = label("Label1",
                      QStringLiteral("This module will evaluate a shot grouping for precision.  "
                                     "Fen-drel will calculate mean radius, mean spread, and "
                                     "extreme spread."),
                      QRect(120, 0, 4695, 615));
    Label7 = label("Label7", QStringLiteral("Title:"), QRect(240, 720, 615, 375));
    txtTitle = make.textBox("txtTitle", QStringLiteral("ex: 10-May-2003, 75F, light breeze, sunny"),
                          QRect(720, 720, 4095, 285));
    txtTitle->setToolTip(QStringLiteral(
        "Add free-form text to aid yourself in recalling this shot-grouping at a later time."));
    Label6 = label("Label6", QStringLiteral("Caliber (in inches, e.g, 0.224)"),
                      QRect(240, 1080, 2055, 375));
    txtCal = make.textBox("txtCal", QString(), QRect(2520, 1080, 780, 345));
    Label2 = label("Label2", QStringLiteral("No. of rounds in this group"),
                      QRect(240, 1560, 2175, 255));
    txtTtlRounds = make.textBox("txtTtlRounds", QStringLiteral("5"), QRect(2520, 1440, 600, 375));
    UpDown1 = new UpDown(central, kMinimumRounds, kMaximumRounds);
    UpDown1->setObjectName(QStringLiteral("UpDown1"));
    UpDown1->setGeometry(twipsRect(3120, 1440, 195, 375));
    UpDown1->setBuddy(txtTtlRounds);
    UpDown1->setValue(5);
    Label5 = label("Label5",
                      QStringLiteral("Using the Fen-drel graph overlay, enter the X and Y "
                                     "coordinates for the center of each round in this group, "
                                     "then press the 'Accept' button."),
                      QRect(120, 1800, 4695, 615));
    lblCounter = label("lblCounter", QStringLiteral("Round 1"), QRect(240, 2520, 3255, 255));
    QFont counterFont = lblCounter->font();
    counterFont.setBold(true);
    counterFont.setPointSizeF(9.75 * kFontScale);
    lblCounter->setFont(counterFont);
    lblCounter->setWordWrap(false);

    Label3 = label("Label3", QStringLiteral("X:"), QRect(240, 2880, 375, 375));
    Label4 = label("Label4", QStringLiteral("Y:"), QRect(1440, 2880, 495, 375));
    for (QLabel* axis : {Label3, Label4}) {
        QFont f = axis->font();
        f.setBold(true);
        f.setItalic(true);
        f.setPointSizeF(12 * kFontScale);
        axis->setFont(f);
        axis->setWordWrap(false);
    }
    txtX = make.textBox("txtX", QStringLiteral("0"), QRect(600, 2880, 735, 375));
    txtY = make.textBox("txtY", QStringLiteral("0"), QRect(1800, 2880, 855, 375));
    Label3->setBuddy(txtX);
    Label4->setBuddy(txtY);
    Label7->setBuddy(txtTitle);
    Label6->setBuddy(txtCal);
    Label2->setBuddy(txtTtlRounds);
    cmdAccept = make.button("cmdAccept", QStringLiteral("&Accept"), QRect(2760, 2880, 1095, 375));
    cmdClear = make.button("cmdClear", QStringLiteral("Clear"), QRect(3960, 2880, 975, 375));

    gridSpread = new QTableWidget(0, 3, central);
    gridSpread->setObjectName(QStringLiteral("gridSpread"));
    gridSpread->setAccessibleName(QStringLiteral("Rounds of this group"));
    gridSpread->setGeometry(twipsRect(120, 3360, 4815, 2055));
    gridSpread->setHorizontalHeaderLabels(
        {QStringLiteral("Round"), QStringLiteral("X coord"), QStringLiteral("Y coord")});
    gridSpread->verticalHeader()->hide();
    gridSpread->setEditTriggers(QAbstractItemView::NoEditTriggers);
    gridSpread->setSelectionBehavior(QAbstractItemView::SelectRows);
    gridSpread->setSelectionMode(QAbstractItemView::SingleSelection);
    gridSpread->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Fixed);
    gridSpread->setColumnWidth(0, twips(1095));
    gridSpread->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    gridSpread->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    gridSpread->verticalHeader()->setDefaultSectionSize(gridSpread->fontMetrics().height() + 6);

    rtbDump = new QTextEdit(central);
    rtbDump->setObjectName(QStringLiteral("rtbDump"));
    rtbDump->setGeometry(gridSpread->geometry());
    rtbDump->setReadOnly(true);
    rtbDump->setLineWrapMode(QTextEdit::WidgetWidth);
    rtbDump->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    rtbDump->hide();

    cmdDoIt = make.button("cmdDoIt", QStringLiteral("&Do It!"), QRect(1320, 5520, 1335, 375));
    cmdCancel = make.button("cmdCancel", QStringLiteral("&Close"), QRect(2760, 5520, 1335, 375));

    picTarget = new TargetWidget(central, 3060, 3045);
    picTarget->setObjectName(QStringLiteral("picTarget"));
    picTarget->setGeometry(twipsRect(5040, 600, 3060, 3045));
    lblCaption = label("lblCaption",
                          QStringLiteral("Illustration of your target and group (note each square "
                                         "cell is 1 inch in size)."),
                          QRect(5040, 3720, 3015, 495));
    cmdDisplay =
        make.button("cmdDisplay", QStringLiteral("Display the group"), QRect(5640, 4200, 1815, 495));
    cmdCLS = make.button("cmdCLS", QStringLiteral("Clear the target"), QRect(5640, 4800, 1815, 495));

    Picture1 = ControlBuilder(central).label("Picture1", QString());
    Picture1->setGeometry(twipsRect(5040, 5520, 495, 495));
    Picture1->setScaledContents(true);
    Picture1->hide();

    buildMenu();

    const QList<QWidget*> order = {txtTitle, txtCal,     txtTtlRounds, txtX,      txtY,       cmdAccept,
                             cmdClear, gridSpread, cmdDoIt,      cmdCancel, cmdDisplay, cmdCLS};
    for (int i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);

}

void frmMeasure::buildMenu() {
    mnuFile = addMenu(menuBar(), "mnuFile", QStringLiteral("&File"));
    auto entry = [this](const char* name, const QString& caption) {
        QAction* a = mnuFile->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };
    mnuFileGroup = entry("mnuFileGroup", QStringLiteral("Open Group file"));
    mnuFileSave = entry("mnuFileSave", QStringLiteral("Save Group file"));
    mnuFilePrint = entry("mnuFilePrint", QStringLiteral("Print Group file"));
    mnuFileSep = addSeparator(mnuFile, "mnuFileSep");
    mnuFileClose = entry("mnuFileClose", QStringLiteral("Close"));
    connect(mnuFileGroup, &QAction::triggered, this, &frmMeasure::mnuFileGroup_Click);
    connect(mnuFileSave, &QAction::triggered, this, &frmMeasure::mnuFileSave_Click);
    connect(mnuFilePrint, &QAction::triggered, this, &frmMeasure::mnuFilePrint_Click);
    connect(mnuFileClose, &QAction::triggered, this, &frmMeasure::cmdCancel_Click);
}

} // namespace fendrel
