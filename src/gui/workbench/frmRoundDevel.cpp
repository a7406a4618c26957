#include "frmRoundDevel.h"

#include "core/workbench/Companion.h"
#include "core/workbench/Databases.h"
#include "frmSelect.h"
#include "frmViewLogs.h"
#include "core/workbench/HelpLaunch.h"
#include "core/workbench/ReferenceList.h"
#include "core/workbench/RoundRecord.h"
#include "gui/ui/AppContext.h"
#include "gui/engine/frmDialog.h"
#include "core/common/Encoding.h"
#include "core/common/ProgramFolder.h"
#include "core/common/SharedState.h"
#include "gui/ui/WindowRegistry.h"
#include "gui/help/frmHelp.h"
#include "frmSplash.h"
#include "gui/ui/ElidedLabel.h"
#include "gui/ui/Menus.h"
#include "gui/ui/Geometry.h"
#include "gui/ui/Prompts.h"
#include "gui/ui/Text.h"
#include "gui/ui/UpDown.h"

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
    buildControls();
    buildMenus();

    auto* selector = new SelectOnFocus(this);
    for (QLineEdit* e : {txtBC, txtBMake, txtBStyle, txtBWt, txtfps, txtGunBBL, txtGunModel,
                         txtGunSN, txtGunWt, txtGunYr, txtLBrass, txtLPrmr, txtLPwdr, txtLWt, txtSD})
        e->installEventFilter(selector);
    // The suggested description follows the caliber, weight and bullet make.
    for (QWidget* w : {static_cast<QWidget*>(cmbCal), static_cast<QWidget*>(txtBWt),
                       static_cast<QWidget*>(txtBMake)})
        w->installEventFilter(this);

    connect(cmdCancel, &QPushButton::clicked, this, &frmRoundDevel::cmdCancel_Click);
    auto* esc = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(esc, &QShortcut::activated, this, &frmRoundDevel::cmdCancel_Click);
    connect(cmdSave, &QPushButton::clicked, this, &frmRoundDevel::cmdSave_Click);
    connect(cmdSaveAs, &QPushButton::clicked, this, &frmRoundDevel::cmdSaveAs_Click);
    connect(cmdSaveGun, &QPushButton::clicked, this, &frmRoundDevel::cmdSaveGun_Click);
    connect(mnuFileClose, &QAction::triggered, this, &frmRoundDevel::cmdCancel_Click);
    connect(mnuOrrin, &QAction::triggered, this, &frmRoundDevel::mnuOrrin_Click);
    connect(mnuHelpHowto, &QAction::triggered, this, &frmRoundDevel::mnuHelpHowto_Click);
    connect(mnuViewB, &QAction::triggered, this, &frmRoundDevel::mnuViewB_Click);
    connect(mnuGraphB, &QAction::triggered, this, &frmRoundDevel::mnuGraphB_Click);
    connect(mnuFileLoadR, &QAction::triggered, this, &frmRoundDevel::mnuFileLoadR_Click);
    connect(mnuFileLoadF, &QAction::triggered, this, &frmRoundDevel::mnuFileLoadF_Click);
    connect(mnuToolsEditDTB, &QAction::triggered, this, &frmRoundDevel::mnuToolsEditDTB_Click);
    connect(mnuToolsStats, &QAction::triggered, this, &frmRoundDevel::mnuToolsStats_Click);

    // Load step: the two lists, the year and the calculation command.
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
    m_context.mainWindow = this;
}

frmRoundDevel::~frmRoundDevel() {
    if (m_context.mainWindow == this)
        m_context.mainWindow = nullptr;
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
    emit viewBallisticsRequested();
}

void frmRoundDevel::mnuGraphB_Click() {
    m_context.state.currentDataFile = m_context.state.lastOutputFile;
    emit graphBallisticsRequested();
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
        return dialog.exec() == QDialog::Accepted;
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

RoundTexts frmRoundDevel::roundOnScreen() const {
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
    const RunResult result = m_engine.runCommand(m_context.state, roundOnScreen(), host);
    if (result.completed())
        mnuViewB->setEnabled(true);
}

} // namespace fendrel
