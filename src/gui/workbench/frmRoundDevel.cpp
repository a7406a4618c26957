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

frmRoundDevel::frmRoundDevel(AppContext& context)
    : m_context(context), m_records(context.state), m_host(context.prompts, this) {
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
    for (const std::string& entry : m_records.calibers())
        cmbCal->addItem(utf8Text(entry));
    cmbCal->setCurrentIndex(-1);
    for (const std::string& entry : m_records.makes())
        cmbMake->addItem(utf8Text(entry));
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
    const ValidationResult r = RoundRecordSession::validate(recordFields());
    if (r.changesStatus)
        setStatusText(utf8Text(r.status));
    mnuToolsStats->setEnabled(r.valid);
    cmdSave->setEnabled(r.valid);
    cmdSaveAs->setEnabled(r.valid);
}

void frmRoundDevel::rebuildDescription() {
    txtDescription->setText(utf8Text(RoundRecordSession::suggestedDescription(
        fromQt(cmbCal->currentText()), fromQt(txtBWt->text()), fromQt(txtBMake->text()))));
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
    if (!m_records.chooseFileToEdit(
            [this](const std::filesystem::path& file, int count) { return pickRecord(file, count); }))
        return;
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
    if (!QProcess::startDetached(fromPath(path), {}))
        m_context.prompts.message(this, utf8Text(companionMissingMessage()),
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

void frmRoundDevel::mnuViewB_Click() { emit viewBallisticsRequested(m_context.state.lastOutputFile); }

void frmRoundDevel::mnuGraphB_Click() {
    emit graphBallisticsRequested(m_context.state.lastOutputFile);
}

namespace {

// What the calculation run asks of the main window: its status line and its dialogs.
class WindowRunHost : public RunHost {
public:
    WindowRunHost(frmRoundDevel& window, AppContext& context)
        : m_window(window), m_context(context) {}

    void status(const std::string& text) override {
        m_window.setStatusText(utf8Text(text));
        letEventsRun();
    }
    void message(const std::string& text, const std::string& title, MessageIcon icon,
                 const std::string& details) override {
        m_context.prompts.message(&m_window, utf8Text(text), utf8Text(title), promptIcon(icon),
                                  Buttons::Ok, utf8Text(details));
    }
    bool specifications(RunSettings& settings) override {
        frmDialog dialog(m_context, settings, &m_window);
        return dialog.exec() == QDialog::Accepted;
    }
    std::string input(const std::string& prompt, const std::string& title,
                      const std::string& prefilled) override {
        return fromQt(m_context.prompts.input(&m_window, utf8Text(prompt), utf8Text(title),
                                              utf8Text(prefilled)));
    }
    std::optional<std::string> saveFile(const std::string& filter, int filterIndex,
                                        const std::filesystem::path& startFolder) override {
        FileRequest request;
        request.title = QStringLiteral("Save the ballistics as");
        request.filter = utf8Text(filter);
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
    return RoundRecordSession::roundTexts(recordFields());
}

RecordFields frmRoundDevel::recordFields() const {
    RecordFields f;
    f.push_back(fromQt(txtDescription->text()));
    f.push_back(fromQt(cmbCal->currentText()));
    for (const QLineEdit* e : {txtBWt, txtBC, txtSD, txtBMake, txtBStyle, txtLPwdr, txtLWt, txtfps,
                               txtLPrmr, txtLBrass})
        f.push_back(fromQt(e->text()));
    f.push_back(fromQt(cmbMake->currentText()));
    for (const QLineEdit* e : {txtGunModel, txtGunYr, txtGunSN, txtGunBBL, txtGunWt})
        f.push_back(fromQt(e->text()));
    return f;
}

namespace {
void setField(QLineEdit* field, const std::string& text) {
    field->setText(utf8Text(text));
    field->setCursorPosition(0);
}
} // namespace

void frmRoundDevel::showFirearm(const RecordFields& r, std::size_t first) {
    cmbMake->setEditText(utf8Text(r[first]));
    QLineEdit* firearm[] = {txtGunModel, txtGunYr, txtGunSN, txtGunBBL, txtGunWt};
    for (std::size_t i = 0; i < std::size(firearm); ++i)
        setField(firearm[i], r[first + 1 + i]);
}

void frmRoundDevel::showRound(const RecordFields& r) {
    setField(txtDescription, r[0]);
    // A stored caliber missing from the list joins the list rather than being lost.
    const QString caliber = utf8Text(r[1]);
    int at = cmbCal->findText(caliber, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (at < 0) {
        std::vector<std::string> entries;
        for (int i = 0; i < cmbCal->count(); ++i)
            entries.push_back(fromQt(cmbCal->itemText(i)));
        at = static_cast<int>(RoundRecordSession::caliberPosition(entries, r[1]));
        cmbCal->insertItem(at, caliber);
    }
    cmbCal->setCurrentIndex(at);
    QLineEdit* round[] = {txtBWt, txtBC, txtSD, txtBMake, txtBStyle, txtLPwdr, txtLWt, txtfps,
                          txtLPrmr, txtLBrass};
    for (std::size_t i = 0; i < std::size(round); ++i)
        setField(round[i], r[2 + i]);
    showFirearm(r, 12);
}

std::optional<std::size_t> frmRoundDevel::pickRecord(const std::filesystem::path& file,
                                                     int fieldCount) {
    const std::optional<int> chosen = frmSelect::run(file, fieldCount, this);
    if (!chosen || *chosen < 0)
        return std::nullopt;
    return static_cast<std::size_t>(*chosen);
}

void frmRoundDevel::cmdSave_Click() {
    if (const auto status = m_records.saveRound(recordFields(), m_host))
        setStatusText(utf8Text(*status));
}

void frmRoundDevel::cmdSaveAs_Click() {
    txtDescription->setText(
        utf8Text(RoundRecordSession::askDescription(fromQt(txtDescription->text()), m_host)));
    if (!txtDescription->text().isEmpty())
        cmdSave_Click();
}

void frmRoundDevel::cmdSaveGun_Click() {
    if (const auto status = m_records.saveFirearm(recordFields(), m_host))
        setStatusText(utf8Text(*status));
}

void frmRoundDevel::mnuFileLoadR_Click() {
    if (const auto record = m_records.loadRound(m_host, [this](const auto& file, int count) {
            return pickRecord(file, count);
        }))
        showRound(*record);
}

void frmRoundDevel::mnuFileLoadF_Click() {
    if (const auto record = m_records.loadFirearm(m_host, [this](const auto& file, int count) {
            return pickRecord(file, count);
        }))
        showFirearm(*record, 0);
}

void frmRoundDevel::mnuToolsStats_Click() {
    WindowRunHost host(*this, m_context);
    const RunResult result = m_engine.runCommand(m_context.state, roundOnScreen(), host);
    if (result.completed())
        mnuViewB->setEnabled(true);
}

} // namespace fendrel
