// The main window's controls and menus: where each stands, its caption and tip, and the tab
// order. What they do is in frmRoundDevel.cpp.
#include "frmRoundDevel.h"

#include "gui/ui/ControlBuilder.h"
#include "gui/ui/ElidedLabel.h"
#include "gui/ui/Geometry.h"
#include "gui/ui/Menus.h"
#include "gui/ui/UpDown.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>

namespace fendrel {

namespace {

// The main window's captions stand on the field's line, from `left` to just before the field.
struct Captions {
    ControlBuilder& make;
    QLabel* heading(const char* name, const QString& caption, const QString& tip, int left,
                    int top, int right) const {
        QLabel* label = make.label(name, caption, QRect(left, top, right - left - 60, 285));
        label->setToolTip(tip);
        return label;
    }
    QLineEdit* field(const char* name, const char* labelName, const QString& caption,
                     const QString& tip, const QString& text, int labelLeft,
                     const QRect& box) const {
        QLineEdit* edit =
            make.captionedTextBox(name, labelName, caption, text,
                                  QRect(labelLeft, box.y(), box.x() - labelLeft - 60, 285), box);
        edit->parentWidget()->findChild<QLabel*>(QString::fromLatin1(labelName))->setToolTip(tip);
        edit->setAccessibleDescription(tip);
        return edit;
    }
};

} // namespace

void frmRoundDevel::buildControls() {
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("clientArea"));
    central->setFixedSize(twips(8685), twips(7920) - 24);
    setCentralWidget(central);
    ControlBuilder make(central);
    const Captions at{make};
    const int left = 120, right = 4920, gun = 2160;

    // Round part.
    QLabel* caliber = at.heading("Label1", QStringLiteral("Caliber"),
                                 QStringLiteral("Select the caliber of your firearm"), 2160, 120,
                                 3600);
    cmbCal = make.make<QComboBox>("cmbCal", QRect(3600, 120, 2535, 315));
    cmbCal->setToolTip(QStringLiteral("Select the caliber"));
    cmbCal->setAccessibleDescription(QStringLiteral("Select the caliber of your firearm"));
    caliber->setBuddy(cmbCal);

    QLabel* bullet = at.heading("Label2", QStringLiteral("Bullet Information"),
                                QStringLiteral("Enter projectile information"), left, 480, 3600);
    txtBWt = at.field("txtBWt", "Label3", QStringLiteral("Weight in grains"),
                      QStringLiteral("Enter bullet weight (MANDATORY)"), QStringLiteral("160"), left,
                      QRect(2160, 840, 1935, 285));
    txtBC = at.field("txtBC", "Label4", QStringLiteral("Ballistic coefficient"),
                     QStringLiteral("Enter ballistic coefficient (MANDATORY)"),
                     QStringLiteral(".421"), left, QRect(2160, 1200, 1935, 285));
    txtSD = at.field("txtSD", "Label5", QStringLiteral("Sectional Density"),
                     QStringLiteral("Enter sectional density (MANDATORY)"), QStringLiteral(".552"),
                     left, QRect(2160, 1560, 1935, 285));
    txtBMake = at.field("txtBMake", "Label15", QStringLiteral("Make"),
                        QStringLiteral("Manufacturer of your bullet"), QStringLiteral("BrandA"),
                        right, QRect(6360, 840, 1935, 285));
    // Both makes are captioned "Make"; a screen reader tells them apart by these names.
    txtBMake->setAccessibleName(QStringLiteral("Bullet make"));
    txtBStyle = at.field("txtBStyle", "Label16", QStringLiteral("Bullet Style"),
                         QStringLiteral("Enter bullet style description"),
                         QStringLiteral("Spitzer"), right, QRect(6360, 1200, 1935, 285));
    QLabel* load = at.heading("Label6", QStringLiteral("Load Information"),
                              QStringLiteral("Enter charge information"), left, 1920, 3600);
    txtLPwdr = at.field("txtLPwdr", "Label20", QStringLiteral("Powder used"),
                        QStringLiteral("Powder type used"), QStringLiteral("IMR 4831 Lot 12345"),
                        left, QRect(2160, 2400, 1935, 285));
    txtLWt = at.field("txtLWt", "Label7", QStringLiteral("Powder charge in grains"),
                      QStringLiteral("Weight of powder charge used (MANDATORY)"),
                      QStringLiteral("60"), left, QRect(2160, 2760, 1935, 285));
    txtfps = at.field("txtfps", "Label8", QStringLiteral("Muzzle velocity in fps"),
                      QStringLiteral("Muzzle velocity (MANDATORY)"), QStringLiteral("2800"), left,
                      QRect(2160, 3120, 1935, 285));
    txtLPrmr = at.field("txtLPrmr", "Label18", QStringLiteral("Primer used"),
                        QStringLiteral("Primer manufacturer and type"),
                        QStringLiteral("CCI 250 Magnum rifle Lot 12345"), right,
                        QRect(6360, 2400, 1935, 285));
    txtLBrass = at.field("txtLBrass", "Label19", QStringLiteral("Brass used"),
                         QStringLiteral("Manufacturer of cases"),
                         QStringLiteral("Federal Lot 12345"), right, QRect(6360, 2760, 1935, 285));

    // Firearm part.
    QLabel* firearm = at.heading("Label9", QStringLiteral("Firearm Information"),
                                 QStringLiteral("Enter firearm information below"), gun, 3720,
                                 4680);
    const QString makeTip =
        QStringLiteral("Select or type the manufacturer of the firearm used for the above round");
    QLabel* make_ = at.heading("Label10", QStringLiteral("Make"), makeTip, gun, 4080, 4200);
    cmbMake = make.make<QComboBox>("cmbMake", QRect(4200, 4080, 1935, 315));
    cmbMake->setEditable(true);
    cmbMake->setInsertPolicy(QComboBox::NoInsert);
    cmbMake->setAccessibleDescription(makeTip);
    make_->setBuddy(cmbMake);
    cmbMake->setAccessibleName(QStringLiteral("Firearm make"));
    cmbMake->lineEdit()->setAccessibleName(QStringLiteral("Firearm make"));
    txtGunModel = at.field("txtGunModel", "Label11", QStringLiteral("Model"),
                           QStringLiteral("Firearm model"), QStringLiteral("BBR"), gun,
                           QRect(4200, 4440, 1935, 285));
    txtGunYr = at.field("txtGunYr", "Label12", QStringLiteral("Year of mfg."),
                        QStringLiteral("Enter the year when this firearm was built"), QString(),
                        gun, QRect(4200, 4800, 1095, 285));
    UpDown1 = new UpDown(central, 1700, 2500);
    UpDown1->setObjectName(QStringLiteral("UpDown1"));
    UpDown1->setGeometry(twipsRect(5295, 4800, 240, 285));
    UpDown1->setBuddy(txtGunYr);
    txtGunSN = at.field("txtGunSN", "Label13", QStringLiteral("Serial number"),
                        QStringLiteral("Enter this firearms serial number (for your records)"),
                        QStringLiteral("(optional)"), gun, QRect(4200, 5160, 1935, 285));
    txtGunBBL = at.field("txtGunBBL", "Label14", QStringLiteral("Barrel length in inches"),
                         QStringLiteral("Enter length of barrel (MANDATORY)"), QStringLiteral("24"),
                         gun, QRect(4200, 5520, 1935, 285));
    txtGunWt = at.field("txtGunWt", "Label21", QStringLiteral("Weight of firearm in lbs."),
                        QStringLiteral("Complete loaded weight of firearm (MANDATORY)"),
                        QStringLiteral("9.5"), gun, QRect(4200, 5880, 1935, 285));

    txtDescription = at.field(
        "txtDescription", "Label17", QStringLiteral("Round Description"),
        QStringLiteral("Enter a meaningful description of this round or use our suggested description"),
        QStringLiteral("(Type a description)"), left, QRect(1680, 6240, 6735, 285));
    txtDescription->setToolTip(
        QStringLiteral("Enter a meaningful description for this information (MANDATORY)"));
    txtDescription->setAccessibleDescription(txtDescription->toolTip());

    for (QLabel* heading : {bullet, load, firearm}) {
        QFont bold = heading->font();
        bold.setBold(true);
        heading->setFont(bold);
    }

    cmdSaveGun = make.button("cmdSaveGun", QStringLiteral("Save this info"),
                             QRect(4680, 3720, 1455, 315));
    cmdSave = make.button("cmdSave", QStringLiteral("&Save"), QRect(1080, 6720, 2175, 615));
    cmdSaveAs = make.button("cmdSaveAs", QStringLiteral("Save &As..."), QRect(3360, 6720, 2055, 615));
    cmdCancel = make.button("cmdCancel", QStringLiteral("&Exit"), QRect(5520, 6720, 2175, 615));

    const QList<QWidget*> order = {cmbCal,   txtBWt,      txtBC,    txtSD,      txtBMake,
                                   txtBStyle, txtLPwdr,   txtLWt,   txtfps,     txtLPrmr,
                                   txtLBrass, cmbMake,    txtGunModel, txtGunYr, txtGunSN,
                                   txtGunBBL, txtGunWt,   cmdSaveGun, txtDescription, cmdSave,
                                   cmdSaveAs, cmdCancel};
    for (int i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);

    // The status line is a label in the status bar, so that hovering a menu cannot clear it; a
    // long message is drawn cut short, and the window's width stays fixed by its controls.
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    m_status = new ElidedLabel(StatusBar1);
    m_status->setObjectName(QStringLiteral("StatusBar1Text"));
    m_status->setAccessibleDescription(QStringLiteral("Status line"));
    StatusBar1->addWidget(m_status, 1);
    setStatusBar(StatusBar1);
}

void frmRoundDevel::buildMenus() {
    mnuFile = addMenu(menuBar(), "mnuFile", QStringLiteral("&File"));
    mnuFileLoadR = addEntry(mnuFile, "mnuFileLoadR", QStringLiteral("Load round info"));
    mnuFileLoadF = addEntry(mnuFile, "mnuFileLoadF", QStringLiteral("Load firearm info"));
    mnuFileUpgrade = addEntry(mnuFile, "mnuFileUpgrade", QStringLiteral("Prepare for upgrade"));
    mnuFileRestore = addEntry(mnuFile, "mnuFileRestore", QStringLiteral("Restore backup package"));
    mnuFileSep1 = addSeparator(mnuFile, "mnuFileSep1");
    mnuFileClose = addEntry(mnuFile, "mnuFileClose", QStringLiteral("Close"));

    mnuTools = addMenu(menuBar(), "mnuTools", QStringLiteral("&Tools"));
    mnuInteractive = addEntry(mnuTools, "mnuInteractive", QStringLiteral("Interactive Range Simulator"));
    mnuToolsStabCalc = addEntry(mnuTools, "mnuToolsStabCalc", QStringLiteral("Bullet Stabilization Calculator"));
    mnuRangeMeas = addEntry(mnuTools, "mnuRangeMeas", QStringLiteral("Range Measurements Calculator"));
    mnuOrrin = addEntry(mnuTools, "mnuOrrin", QStringLiteral("Orrin Calculator"));
    mnuSep1 = addSeparator(mnuTools, "mnuSep1");
    mnuToolsStats = addEntry(mnuTools, "mnuToolsStats", QStringLiteral("Calculate ballistics"));
    mnuViewB = addEntry(mnuTools, "mnuViewB", QStringLiteral("View ballistics"));
    mnuGraphB = addEntry(mnuTools, "mnuGraphB", QStringLiteral("Graph ballistics"));
    mnuSep2 = addSeparator(mnuTools, "mnuSep2");
    mnuToolsEditDTB = addEntry(mnuTools, "mnuToolsEditDTB", QStringLiteral("Edit Databases"));

    // Beside the menus the program has always had: the range card and the load history.
    mnuRange = addMenu(menuBar(), "mnuRange", QStringLiteral("&Range"));
    mnuRangeCard = addEntry(mnuRange, "mnuRangeCard", QStringLiteral("Range Card..."));
    mnuLoadHistory = addEntry(mnuRange, "mnuLoadHistory", QStringLiteral("Load History..."));

    mnuHelp = addMenu(menuBar(), "mnuHelp", QStringLiteral("&Help"));
    mnuHelpHowto = addEntry(mnuHelp, "mnuHelpHowto", QStringLiteral("How-to..."));

}

} // namespace fendrel
