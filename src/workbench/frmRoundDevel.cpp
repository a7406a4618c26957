#include "frmRoundDevel.h"

#include "Companion.h"
#include "Databases.h"
#include "frmSelect.h"
#include "frmViewLogs.h"
#include "HelpLaunch.h"
#include "ReferenceList.h"
#include "RoundRecord.h"
#include "app/AppContext.h"
#include "app/Navigation.h"
#include "engine/frmDialog.h"
#include "app/Encoding.h"
#include "app/ProgramFolder.h"
#include "app/SharedState.h"
#include "app/WindowRegistry.h"
#include "backup/frmRestore.h"
#include "backup/frmUpgrade.h"
#include "groups/frmMeasure.h"
#include "help/frmHelp.h"
#include "simulator/frmInteractive.h"
#include "stabilizer/frmStabilizer.h"
#include "frmSplash.h"
#include "ui/ElidedLabel.h"
#include "ui/Menus.h"
#include "ui/Geometry.h"
#include "ui/Prompts.h"
#include "ui/Text.h"
#include "ui/UpDown.h"

#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>

namespace fendrel {

namespace {

// Selects from the caret to the end of the text when a text box gets the focus: all of it when
// the caret stands at the start.
class SelectOnFocus : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusIn && realFocusMove(event)) {
            auto* edit = static_cast<QLineEdit*>(watched);
            QTimer::singleShot(0, edit, [edit] {
                const int start = edit->hasSelectedText() ? edit->selectionStart()
                                                          : edit->cursorPosition();
                edit->setSelection(start, edit->text().length() - start);
            });
        }
        return false;
    }
};

} // namespace

frmRoundDevel::frmRoundDevel(AppContext& context) : m_context(context) {
    setObjectName(QStringLiteral("frmRoundDevel"));
    setWindowTitle(QStringLiteral("Round Development"));

    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("clientArea"));
    central->setFixedSize(twips(8685), twips(7920) - 24);
    setCentralWidget(central);

    const int left = 120, right = 4920, gun = 2160;

    // Round part.
    addLabel("Label1", QStringLiteral("Caliber"), QStringLiteral("Select the caliber of your firearm"),
             2160, 120, 3600);
    cmbCal = new QComboBox(central);
    cmbCal->setObjectName(QStringLiteral("cmbCal"));
    cmbCal->setGeometry(twipsRect(3600, 120, 2535, 315));
    cmbCal->setToolTip(QStringLiteral("Select the caliber"));
    cmbCal->setAccessibleDescription(QStringLiteral("Select the caliber of your firearm"));
    findChild<QLabel*>(QStringLiteral("Label1"))->setBuddy(cmbCal);

    addLabel("Label2", QStringLiteral("Bullet Information"), QStringLiteral("Enter projectile information"),
             left, 480, 3600);
    txtBWt = addTextBox("txtBWt", "Label3", QStringLiteral("Weight in grains"),
                        QStringLiteral("Enter bullet weight (MANDATORY)"), QStringLiteral("160"),
                        left, QRect(2160, 840, 1935, 285));
    txtBC = addTextBox("txtBC", "Label4", QStringLiteral("Ballistic coefficient"),
                       QStringLiteral("Enter ballistic coefficient (MANDATORY)"),
                       QStringLiteral(".421"), left, QRect(2160, 1200, 1935, 285));
    txtSD = addTextBox("txtSD", "Label5", QStringLiteral("Sectional Density"),
                       QStringLiteral("Enter sectional density (MANDATORY)"),
                       QStringLiteral(".552"), left, QRect(2160, 1560, 1935, 285));
    txtBMake = addTextBox("txtBMake", "Label15", QStringLiteral("Make"),
                          QStringLiteral("Manufacturer of your bullet"), QStringLiteral("BrandA"),
                          right, QRect(6360, 840, 1935, 285));
    txtBMake->setAccessibleName(QStringLiteral("Bullet make"));
    txtBStyle = addTextBox("txtBStyle", "Label16", QStringLiteral("Bullet Style"),
                           QStringLiteral("Enter bullet style description"),
                           QStringLiteral("Spitzer"), right, QRect(6360, 1200, 1935, 285));
    addLabel("Label6", QStringLiteral("Load Information"), QStringLiteral("Enter charge information"),
             left, 1920, 3600);
    txtLPwdr = addTextBox("txtLPwdr", "Label20", QStringLiteral("Powder used"),
                          QStringLiteral("Powder type used"),
                          QStringLiteral("IMR 4831 Lot 12345"), left,
                          QRect(2160, 2400, 1935, 285));
    txtLWt = addTextBox("txtLWt", "Label7", QStringLiteral("Powder charge in grains"),
                        QStringLiteral("Weight of powder charge used (MANDATORY)"),
                        QStringLiteral("60"), left, QRect(2160, 2760, 1935, 285));
    txtfps = addTextBox("txtfps", "Label8", QStringLiteral("Muzzle velocity in fps"),
                        QStringLiteral("Muzzle velocity (MANDATORY)"), QStringLiteral("2800"), left,
                        QRect(2160, 3120, 1935, 285));
    txtLPrmr = addTextBox("txtLPrmr", "Label18", QStringLiteral("Primer used"),
                          QStringLiteral("Primer manufacturer and type"),
                          QStringLiteral("CCI 250 Magnum rifle Lot 12345"), right,
                          QRect(6360, 2400, 1935, 285));
    txtLBrass = addTextBox("txtLBrass", "Label19", QStringLiteral("Brass used"),
                           QStringLiteral("Manufacturer of cases"),
                           QStringLiteral("Federal Lot 12345"), right,
                           QRect(6360, 2760, 1935, 285));

    // Firearm part.
    addLabel("Label9", QStringLiteral("Firearm Information"),
             QStringLiteral("Enter firearm information below"), gun, 3720, 4680);
    addLabel("Label10", QStringLiteral("Make"),
             QStringLiteral("Select or type the manufacturer of the firearm used for the above round"),
             gun, 4080, 4200);
    cmbMake = new QComboBox(central);
    cmbMake->setObjectName(QStringLiteral("cmbMake"));
    cmbMake->setEditable(true);
    cmbMake->setInsertPolicy(QComboBox::NoInsert);
    cmbMake->setGeometry(twipsRect(4200, 4080, 1935, 315));
    cmbMake->setAccessibleDescription(
        QStringLiteral("Select or type the manufacturer of the firearm used for the above round"));
    findChild<QLabel*>(QStringLiteral("Label10"))->setBuddy(cmbMake);
    // Both makes are captioned "Make"; a screen reader tells them apart by these names.
    cmbMake->setAccessibleName(QStringLiteral("Firearm make"));
    cmbMake->lineEdit()->setAccessibleName(QStringLiteral("Firearm make"));
    txtGunModel = addTextBox("txtGunModel", "Label11", QStringLiteral("Model"),
                             QStringLiteral("Firearm model"), QStringLiteral("BBR"), gun,
                             QRect(4200, 4440, 1935, 285));
    txtGunYr = addTextBox("txtGunYr", "Label12", QStringLiteral("Year of mfg."),
                          QStringLiteral("Enter the year when this firearm was built"), QString(),
                          gun, QRect(4200, 4800, 1095, 285));
    UpDown1 = new UpDown(central, 1700, 2500);
    UpDown1->setObjectName(QStringLiteral("UpDown1"));
    UpDown1->setGeometry(twipsRect(5295, 4800, 240, 285));
    UpDown1->setBuddy(txtGunYr);
    txtGunSN = addTextBox("txtGunSN", "Label13", QStringLiteral("Serial number"),
                          QStringLiteral("Enter this firearms serial number (for your records)"),
                          QStringLiteral("(optional)"), gun, QRect(4200, 5160, 1935, 285));
    txtGunBBL = addTextBox("txtGunBBL", "Label14", QStringLiteral("Barrel length in inches"),
                           QStringLiteral("Enter length of barrel (MANDATORY)"),
                           QStringLiteral("24"), gun, QRect(4200, 5520, 1935, 285));
    txtGunWt = addTextBox("txtGunWt", "Label21", QStringLiteral("Weight of firearm in lbs."),
                          QStringLiteral("Complete loaded weight of firearm (MANDATORY)"),
                          QStringLiteral("9.5"), gun, QRect(4200, 5880, 1935, 285));

    txtDescription = addTextBox(
        "txtDescription", "Label17", QStringLiteral("Round Description"),
        QStringLiteral("Enter a meaningful description of this round or use our suggested description"),
        QStringLiteral("(Type a description)"), left, QRect(1680, 6240, 6735, 285));
    txtDescription->setToolTip(
        QStringLiteral("Enter a meaningful description for this information (MANDATORY)"));
    txtDescription->setAccessibleDescription(txtDescription->toolTip());

    for (QWidget* heading : {findChild<QLabel*>(QStringLiteral("Label2")),
                             findChild<QLabel*>(QStringLiteral("Label6")),
                             findChild<QLabel*>(QStringLiteral("Label9"))}) {
        QFont bold = heading->font();
        bold.setBold(true);
        heading->setFont(bold);
    }

    auto makeButton = [&](const char* name, const QString& caption, QRect r) {
        auto* b = new QPushButton(caption, central);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(twipsRect(r.x(), r.y(), r.width(), r.height()));
        b->setAutoDefault(false);
        return b;
    };
    cmdSaveGun = makeButton("cmdSaveGun", QStringLiteral("Save this info"), QRect(4680, 3720, 1455, 315));
    cmdSave = makeButton("cmdSave", QStringLiteral("&Save"), QRect(1080, 6720, 2175, 615));
    cmdSaveAs = makeButton("cmdSaveAs", QStringLiteral("Save &As..."), QRect(3360, 6720, 2055, 615));
    cmdCancel = makeButton("cmdCancel", QStringLiteral("&Exit"), QRect(5520, 6720, 2175, 615));

    // Tab order.
    QList<QWidget*> order = {cmbCal,   txtBWt,      txtBC,    txtSD,      txtBMake,  txtBStyle,
                             txtLPwdr, txtLWt,      txtfps,   txtLPrmr,   txtLBrass, cmbMake,
                             txtGunModel, txtGunYr, txtGunSN, txtGunBBL,  txtGunWt,  cmdSaveGun,
                             txtDescription, cmdSave, cmdSaveAs, cmdCancel};
    for (int i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);

    // Select on focus for the fifteen text boxes.
    auto* selector = new SelectOnFocus(this);
    for (QLineEdit* e : {txtBC, txtBMake, txtBStyle, txtBWt, txtfps, txtGunBBL, txtGunModel,
                         txtGunSN, txtGunWt, txtGunYr, txtLBrass, txtLPrmr, txtLPwdr, txtLWt, txtSD})
        e->installEventFilter(selector);
    // The suggested description follows the caliber, weight and bullet make.
    for (QWidget* w : {static_cast<QWidget*>(cmbCal), static_cast<QWidget*>(txtBWt),
                       static_cast<QWidget*>(txtBMake)})
        w->installEventFilter(this);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    // A long message is drawn cut short: the window's width is fixed by its controls.
    m_status = new ElidedLabel(StatusBar1);
    m_status->setObjectName(QStringLiteral("StatusBar1Text"));
    m_status->setAccessibleDescription(QStringLiteral("Status line"));
    StatusBar1->addWidget(m_status, 1);
    setStatusBar(StatusBar1);

    buildMenus();

    connect(cmdCancel, &QPushButton::clicked, this, &frmRoundDevel::cmdCancel_Click);
    auto* esc = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(esc, &QShortcut::activated, this, &frmRoundDevel::cmdCancel_Click);
    connect(cmdSave, &QPushButton::clicked, this, &frmRoundDevel::cmdSave_Click);
    connect(cmdSaveAs, &QPushButton::clicked, this, &frmRoundDevel::cmdSaveAs_Click);
    connect(cmdSaveGun, &QPushButton::clicked, this, &frmRoundDevel::cmdSaveGun_Click);

    // Load step: the two lists, the year, the calculation command and the stop flag.
    const auto& folder = m_context.state.programFolder;
    for (const auto& entry : loadReferenceList(resolveName(folder, "calibers.ini")))
        cmbCal->addItem(fromBytes(entry));
    cmbCal->setCurrentIndex(-1);
    for (const auto& entry : loadReferenceList(resolveName(folder, "Makes.ini")))
        cmbMake->addItem(fromBytes(entry));
    cmbMake->setEditText(QStringLiteral("(type or select)"));
    const int year = QDate::currentDate().year();
    txtGunYr->setText(QString::number(year));
    UpDown1->setValue(year);
    mnuToolsStats->setEnabled(false);
    m_context.state.stop = false;

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setSingleShot(true);
    Timer1->setInterval(10);
    connect(Timer1, &QTimer::timeout, this, &frmRoundDevel::Timer1_Timer);
    Timer1->start();

    TmrValidate = new QTimer(this);
    TmrValidate->setObjectName(QStringLiteral("TmrValidate"));
    TmrValidate->setInterval(750);
    connect(TmrValidate, &QTimer::timeout, this, &frmRoundDevel::TmrValidate_Timer);
    TmrValidate->start();

    adjustSize();
    setFixedSize(sizeHint());
}

QLabel* frmRoundDevel::addLabel(const char* name, const QString& caption, const QString& tip,
                                int left, int top, int right) {
    auto* label = new QLabel(caption, centralWidget());
    label->setObjectName(QString::fromLatin1(name));
    label->setToolTip(tip);
    label->setGeometry(twipsRect(left, top, right - left - 60, 285));
    return label;
}

QLineEdit* frmRoundDevel::addTextBox(const char* name, const char* labelName,
                                     const QString& caption, const QString& tip,
                                     const QString& defaultText, int labelLeft, QRect field) {
    QLabel* label = addLabel(labelName, caption, tip, labelLeft, field.y(), field.x());
    auto* edit = new QLineEdit(defaultText, centralWidget());
    edit->setObjectName(QString::fromLatin1(name));
    edit->setGeometry(twipsRect(field.x(), field.y(), field.width(), field.height()));
    edit->setCursorPosition(0);
    edit->setAccessibleDescription(tip);
    label->setBuddy(edit);
    return edit;
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

    mnuHelp = addMenu(menuBar(), "mnuHelp", QStringLiteral("&Help"));
    mnuHelpHowto = addEntry(mnuHelp, "mnuHelpHowto", QStringLiteral("How-to..."));

    connect(mnuFileClose, &QAction::triggered, this, &frmRoundDevel::cmdCancel_Click);
    connect(mnuOrrin, &QAction::triggered, this, &frmRoundDevel::mnuOrrin_Click);
    connect(mnuHelpHowto, &QAction::triggered, this, &frmRoundDevel::mnuHelpHowto_Click);
    connect(mnuViewB, &QAction::triggered, this, &frmRoundDevel::mnuViewB_Click);
    connect(mnuGraphB, &QAction::triggered, this, &frmRoundDevel::mnuGraphB_Click);
    connect(mnuFileLoadR, &QAction::triggered, this, &frmRoundDevel::mnuFileLoadR_Click);
    connect(mnuFileLoadF, &QAction::triggered, this, &frmRoundDevel::mnuFileLoadF_Click);
    connect(mnuToolsEditDTB, &QAction::triggered, this, &frmRoundDevel::mnuToolsEditDTB_Click);
    connect(mnuToolsStabCalc, &QAction::triggered, this,
            [this] { m_context.windows.show<frmStabilizer>(); });
    connect(mnuRangeMeas, &QAction::triggered, this,
            [this] { m_context.windows.show<frmMeasure>(); });
    connect(mnuFileUpgrade, &QAction::triggered, this,
            [this] { m_context.windows.show<frmUpgrade>(); });
    connect(mnuFileRestore, &QAction::triggered, this,
            [this] { m_context.windows.show<frmRestore>(); });
    connect(mnuToolsStats, &QAction::triggered, this, &frmRoundDevel::mnuToolsStats_Click);
    connect(mnuInteractive, &QAction::triggered, this,
            [this] { m_context.windows.show<frmInteractive>(); });
}

QString frmRoundDevel::statusText() const { return m_status->text(); }

void frmRoundDevel::setStatusText(const QString& text) { m_status->setText(text); }

std::string frmRoundDevel::fieldBytes(const QLineEdit* field) {
    return utf8ToCp1252(field->text().toStdString());
}

std::string frmRoundDevel::fieldBytes(const QComboBox* field) {
    return utf8ToCp1252(field->currentText().toStdString());
}

void frmRoundDevel::Timer1_Timer() {
    // Keep the splash window in front of the main window that appeared after it.
    if (auto* splash = m_context.windows.find<frmSplash>()) {
        splash->raise();
        splash->activateWindow();
        splash->setFocus();
    }
    Timer1->setInterval(0);
    Timer1->stop();
}

void frmRoundDevel::TmrValidate_Timer() {
    RecordNumbers n;
    n.caliber = fieldBytes(cmbCal);
    n.bulletWeight = fieldBytes(txtBWt);
    n.ballisticCoefficient = fieldBytes(txtBC);
    n.sectionalDensity = fieldBytes(txtSD);
    n.powderCharge = fieldBytes(txtLWt);
    n.muzzleVelocity = fieldBytes(txtfps);
    n.firearmWeight = fieldBytes(txtGunWt);
    const ValidationResult r = validateRecord(n);
    if (r.changesStatus)
        setStatusText(QString::fromStdString(r.status));
    mnuToolsStats->setEnabled(r.valid);
    cmdSave->setEnabled(r.valid);
    cmdSaveAs->setEnabled(r.valid);
}

void frmRoundDevel::rebuildDescription() {
    txtDescription->setText(fromBytes(
        suggestedDescription(fieldBytes(cmbCal), fieldBytes(txtBWt), fieldBytes(txtBMake))));
}

bool frmRoundDevel::eventFilter(QObject* watched, QEvent* event) {
    // Only a real move out of the field rebuilds the description: opening a menu or a dialog
    // over it must not overwrite what the user typed.
    if (event->type() == QEvent::FocusOut && realFocusMove(event) &&
        (watched == cmbCal || watched == txtBWt || watched == txtBMake))
        rebuildDescription();
    return QMainWindow::eventFilter(watched, event);
}

std::vector<std::string> frmRoundDevel::roundRecord() const {
    return {fieldBytes(txtDescription), fieldBytes(cmbCal),   fieldBytes(txtBWt),
            fieldBytes(txtBC),          fieldBytes(txtSD),    fieldBytes(txtBMake),
            fieldBytes(txtBStyle),      fieldBytes(txtLPwdr), fieldBytes(txtLWt),
            fieldBytes(txtfps),         fieldBytes(txtLPrmr), fieldBytes(txtLBrass),
            fieldBytes(cmbMake),        fieldBytes(txtGunModel), fieldBytes(txtGunYr),
            fieldBytes(txtGunSN),       fieldBytes(txtGunBBL), fieldBytes(txtGunWt)};
}

std::vector<std::string> frmRoundDevel::firearmRecord() const {
    return {fieldBytes(cmbMake),  fieldBytes(txtGunModel), fieldBytes(txtGunYr),
            fieldBytes(txtGunSN), fieldBytes(txtGunBBL),   fieldBytes(txtGunWt)};
}

namespace {
void setField(QLineEdit* field, const std::string& bytes) {
    field->setText(fromBytes(bytes));
    field->setCursorPosition(0);
}
} // namespace

void frmRoundDevel::showFirearm(const std::vector<std::string>& r, size_t first) {
    cmbMake->setEditText(fromBytes(r[first]));
    setField(txtGunModel, r[first + 1]);
    setField(txtGunYr, r[first + 2]);
    setField(txtGunSN, r[first + 3]);
    setField(txtGunBBL, r[first + 4]);
    setField(txtGunWt, r[first + 5]);
}

void frmRoundDevel::showRound(const std::vector<std::string>& r) {
    setField(txtDescription, r[0]);
    // A stored caliber missing from the list joins the list rather than being lost.
    const QString caliber = fromBytes(r[1]);
    int at = cmbCal->findText(caliber, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (at < 0) {
        std::vector<std::string> entries;
        for (int i = 0; i < cmbCal->count(); ++i)
            entries.push_back(utf8ToCp1252(cmbCal->itemText(i).toStdString()));
        at = static_cast<int>(insertSorted(entries, r[1]));
        cmbCal->insertItem(at, caliber);
    }
    cmbCal->setCurrentIndex(at);
    QLineEdit* round[] = {txtBWt, txtBC, txtSD, txtBMake, txtBStyle, txtLPwdr, txtLWt, txtfps,
                          txtLPrmr, txtLBrass};
    for (size_t i = 0; i < std::size(round); ++i)
        setField(round[i], r[2 + i]);
    showFirearm(r, 12);
}

bool frmRoundDevel::saveToDatabase(bool rounds, const std::vector<std::string>& record,
                                   bool replace) {
    const SaveResult res = saveRecord(m_context.state.programFolder, rounds ? kRounds : kFirearms,
                                      record, replace);
    if (!res.ok)
        m_context.prompts.message(
            this,
            QStringLiteral("%1 could not be saved: %2. The database on disk is unchanged.")
                .arg(QString::fromLatin1(rounds ? kRounds.fileName : kFirearms.fileName),
                     fromBytes(res.error)),
            QStringLiteral("Error"), Icon::Error, Buttons::Ok);
    return res.ok;
}

void frmRoundDevel::cmdSave_Click() {
    if (txtDescription->text() == QLatin1String(kDescriptionPlaceholder)) {
        m_context.prompts.message(this, QStringLiteral("You must specify a DESCRIPTION"),
                                  QStringLiteral("Error"), Icon::Error, Buttons::Ok);
        return;
    }
    const auto record = roundRecord();
    const auto db = resolveName(m_context.state.programFolder, kRounds.fileName);
    bool replace = false;
    if (containsKey(db, kRounds, record[kRoundKey]))
        replace = m_context.prompts.message(
                      this,
                      QStringLiteral("A load with this description already exists in your "
                                     "database. Do you want to replace it with this information?"),
                      QStringLiteral("Database Integrity Conflict"), Icon::Error,
                      Buttons::YesNo) == Answer::Yes;
    if (!saveToDatabase(true, record, replace))
        return;
    setStatusText(QStringLiteral(
        "All round developement data on this page has been saved.  Retrieve it for later use by "
        "loading round info and selecting this rounds DESCRIPTION."));
    if (m_context.prompts.message(
            this,
            QStringLiteral("Additionally would you like to separately save the firearm information?"),
            QStringLiteral("Question?"), Icon::Question, Buttons::YesNo) == Answer::Yes)
        cmdSaveGun_Click();
}

void frmRoundDevel::cmdSaveAs_Click() {
    const QString typed =
        m_context.prompts.input(this, QStringLiteral("Please type a new description for this round:"),
                                QStringLiteral("Save As..."), txtDescription->text());
    txtDescription->setText(typed);
    if (!txtDescription->text().isEmpty())
        cmdSave_Click();
}

void frmRoundDevel::cmdSaveGun_Click() {
    const auto record = firearmRecord();
    bool replace = false;
    if (txtGunSN->text() != QLatin1String("(optional)")) {
        const auto db = resolveName(m_context.state.programFolder, kFirearms.fileName);
        if (containsKey(db, kFirearms, record[kFirearmKey]))
            replace = m_context.prompts.message(
                          this,
                          QStringLiteral("A firearm with this Serial Number already exists in your "
                                         "database.  Do you want to replace it with this "
                                         "information?"),
                          QStringLiteral("Database Integrity Conflict"), Icon::Error,
                          Buttons::YesNo) == Answer::Yes;
    }
    if (!saveToDatabase(false, record, replace))
        return;
    setStatusText(QStringLiteral(
        "Your firearm information has been saved...retrieve it for later use by loading firearm info"));
}

int frmRoundDevel::pickRecord(const std::string& file, int fieldCount) {
    m_context.state.currentDataFile = file;
    m_context.state.recordFieldCount = static_cast<std::uint8_t>(fieldCount);
    const int chosen = frmSelect::run(m_context, this);
    return chosen < 0 ? -1 : chosen;
}

bool frmRoundDevel::databaseUsable(const DatabaseKind& kind) {
    const auto db = resolveName(m_context.state.programFolder, kind.fileName);
    const QString name = QString::fromLatin1(kind.fileName);
    if (const std::string why = databaseUnreadable(db); !why.empty()) {
        m_context.prompts.message(
            this, QStringLiteral("%1 cannot be read: %2.").arg(name, fromBytes(why)),
            QStringLiteral("Error"), Icon::Error, Buttons::Ok);
        return false;
    }
    // Records saved by earlier versions with a typed quote doubled: offered once a session.
    bool& asked = &kind == &kRounds ? m_askedRoundsRepair : m_askedFirearmsRepair;
    const auto bytes = readFileBytes(db);
    const size_t count = bytes ? doubledQuoteRecords(*bytes, kind) : 0;
    if (count == 0 || asked)
        return true;
    asked = true;
    const QString text =
        QStringLiteral("%1 holds %2 saved by an earlier version of this program, which stored a "
                       "double quote typed into a field as two. As they stand they load with "
                       "text missing or in the wrong fields.\n\nRewrite %3 so that %4 load as "
                       "typed? Nothing else in the file changes.")
            .arg(name, count == 1 ? QStringLiteral("1 record") : QStringLiteral("%1 records").arg(count),
                 count == 1 ? QStringLiteral("it") : QStringLiteral("them"),
                 count == 1 ? QStringLiteral("it will") : QStringLiteral("they will"));
    if (m_context.prompts.message(this, text, QStringLiteral("Repair the database?"),
                                  Icon::Question, Buttons::YesNo) != Answer::Yes)
        return true;
    const SaveResult repaired = repairDatabase(m_context.state.programFolder, kind);
    if (!repaired.ok)
        m_context.prompts.message(
            this,
            QStringLiteral("%1 could not be repaired: %2. The database on disk is unchanged.")
                .arg(name, fromBytes(repaired.error)),
            QStringLiteral("Error"), Icon::Error, Buttons::Ok);
    return true;
}

void frmRoundDevel::mnuFileLoadR_Click() {
    if (!databaseUsable(kRounds))
        return;
    const auto db = resolveName(m_context.state.programFolder, kRounds.fileName);
    const int chosen = pickRecord(db.string(), kRoundFields);
    if (chosen < 0)
        return;
    m_context.state.recordCounter = 0;
    if (auto record = recordAt(db, kRoundFields, static_cast<size_t>(chosen)))
        showRound(*record);
}

void frmRoundDevel::mnuFileLoadF_Click() {
    if (!databaseUsable(kFirearms))
        return;
    const auto db = resolveName(m_context.state.programFolder, kFirearms.fileName);
    const int chosen = pickRecord(db.string(), kFirearmFields);
    if (chosen < 0)
        return;
    m_context.state.recordCounter = 0;
    if (auto record = recordAt(db, kFirearmFields, static_cast<size_t>(chosen)))
        showFirearm(*record, 0);
}

void frmRoundDevel::mnuToolsEditDTB_Click() {
    const auto list = resolveName(m_context.state.programFolder, "editlist.txt");
    const int chosen = pickRecord(list.string(), 1);
    if (chosen < 0)
        return;
    auto name = recordAt(list, 1, static_cast<size_t>(chosen));
    if (!name)
        return;
    m_context.state.currentDataFile = resolveName(m_context.state.programFolder, (*name)[0]).string();
    if (auto* open = m_context.windows.find<frmViewLogs>()) {
        open->loadOther();
        WindowRegistry::bringForward(open);
        return;
    }
    auto* editor = m_context.windows.show<frmViewLogs>();
    editor->Form_Load();
}

void frmRoundDevel::cmdCancel_Click() {
    // The program ends at once: nothing is asked and nothing is saved.
    QApplication::closeAllWindows();
    QApplication::quit();
}

void frmRoundDevel::mnuOrrin_Click() {
    const auto path = resolveName(m_context.state.programFolder, kCompanionFileName);
    if (!QProcess::startDetached(QString::fromStdString(path.string()), {}))
        m_context.prompts.message(this, QString::fromStdString(companionMissingMessage()),
                                  QStringLiteral("Cannot find Orrin extension"), Icon::Error,
                                  Buttons::Ok);
}

void frmRoundDevel::mnuHelpHowto_Click() {
    const HelpDecision d = helpViewerFor(kLinuxFamily, {});
    switch (d.action) {
    case HelpAction::UndefinedSystem:
        m_context.prompts.message(this, QStringLiteral("Help cannot be launched because your OS is undefined."),
                                  QStringLiteral("FYI"), Icon::Information, Buttons::Ok);
        return;
    case HelpAction::OwnViewer: {
        auto* help = m_context.windows.get<frmHelp>();
        if (!help->loadHelpFile()) {
            m_context.prompts.message(this, QStringLiteral("An Error occurred attempting to launch Help."),
                                      QStringLiteral("Error!"), Icon::Information, Buttons::Ok);
            return;
        }
        WindowRegistry::bringForward(help);
        return;
    }
    case HelpAction::StartViewer:
    case HelpAction::Nothing:
        return;
    }
}

void frmRoundDevel::mnuViewB_Click() {
    m_context.state.currentDataFile = m_context.state.lastOutputFile;
    openReport(m_context);
}

void frmRoundDevel::mnuGraphB_Click() {
    m_context.state.currentDataFile = m_context.state.lastOutputFile;
    openChart(m_context);
}

namespace {

// What the calculation run asks of the main window: its status line and its dialogs.
class WindowRunHost : public RunHost {
public:
    WindowRunHost(frmRoundDevel& window, AppContext& context)
        : m_window(window), m_context(context) {}

    void status(const std::string& text) override {
        m_window.setStatusText(fromBytes(text));
        letEventsRun();
    }
    void message(const std::string& text, const std::string& title, MessageIcon icon,
                 const std::string& details) override {
        m_context.prompts.message(&m_window, fromBytes(text), fromBytes(title), promptIcon(icon),
                                  Buttons::Ok, fromBytes(details));
    }
    bool specifications(RunSettings& settings) override {
        frmDialog dialog(m_context, settings, &m_window);
        dialog.exec();
        return !m_context.state.stop;
    }
    std::string input(const std::string& prompt, const std::string& title,
                      const std::string& prefilled) override {
        return utf8ToCp1252(m_context.prompts
                                .input(&m_window, fromBytes(prompt), fromBytes(title),
                                       fromBytes(prefilled))
                                .toStdString());
    }
    std::optional<std::string> saveFile(const std::string& filter, int filterIndex,
                                        const std::filesystem::path& startFolder) override {
        FileRequest request;
        request.title = QStringLiteral("Save the ballistics as");
        request.filter = fromBytes(filter);
        request.filterIndex = filterIndex;
        request.startFolder = fromPath(startFolder);
        auto chosen = m_context.prompts.saveFile(&m_window, request);
        if (!chosen)
            return std::nullopt;
        return toPath(*chosen);
    }

private:
    frmRoundDevel& m_window;
    AppContext& m_context;
};

} // namespace

RoundTexts frmRoundDevel::roundTexts() const {
    RoundTexts r;
    r.description = fieldBytes(txtDescription);
    r.caliber = fieldBytes(cmbCal);
    r.bulletWeight = fieldBytes(txtBWt);
    r.ballisticCoefficient = fieldBytes(txtBC);
    r.sectionalDensity = fieldBytes(txtSD);
    r.bulletStyle = fieldBytes(txtBStyle);
    r.powderCharge = fieldBytes(txtLWt);
    r.muzzleVelocity = fieldBytes(txtfps);
    r.firearmWeight = fieldBytes(txtGunWt);
    return r;
}

void frmRoundDevel::mnuToolsStats_Click() {
    WindowRunHost host(*this, m_context);
    const RunResult result = m_engine.runCommand(m_context.state, roundTexts(), host);
    if (result.completed())
        mnuViewB->setEnabled(true);
}

} // namespace fendrel
