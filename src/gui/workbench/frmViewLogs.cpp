#include "frmViewLogs.h"

#include "gui/ui/ControlBuilder.h"
#include "core/workbench/EditSession.h"
#include "gui/ui/AppContext.h"
#include "core/common/Encoding.h"
#include "core/common/ProgramFolder.h"
#include "core/common/SharedState.h"
#include "core/common/TextFile.h"
#include "gui/ui/Menus.h"
#include "gui/ui/Geometry.h"
#include "gui/ui/Prompts.h"
#include "gui/ui/Text.h"

#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>

namespace fendrel {

frmViewLogs::frmViewLogs(AppContext& context) : m_context(context) {
    setObjectName(QStringLiteral("frmViewLogs"));
    setWindowTitle(QStringLiteral("View and Edit"));
    setAttribute(Qt::WA_DeleteOnClose);

    auto* central = new QWidget(this);
    central->setFixedSize(twips(6735), twips(5850));
    setCentralWidget(central);

    txt1 = new QPlainTextEdit(central);
    txt1->setObjectName(QStringLiteral("txt1"));
    txt1->setGeometry(twipsRect(0, 0, 6735, 5055));
    txt1->setLineWrapMode(QPlainTextEdit::NoWrap);
    txt1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txt1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txt1->setAccessibleName(QStringLiteral("File text"));
    txt1->setTabChangesFocus(true);
    QFont mono(QStringLiteral("DejaVu Sans Mono"));
    mono.setStyleHint(QFont::Monospace);
    mono.setPointSize(9);
    txt1->setFont(mono);

    cmdSave = ControlBuilder(central).button("cmdSave", QStringLiteral("&Save Changes"));
    cmdSave->setToolTip(QStringLiteral("Save edits/changes"));
    cmdSave->setGeometry(twipsRect(1560, 5160, 1695, 615));
    cmdCancel = ControlBuilder(central).button("cmdCancel", QStringLiteral("&Cancel"));
    cmdCancel->setToolTip(QStringLiteral("Close this window"));
    cmdCancel->setGeometry(twipsRect(3360, 5160, 1695, 615));
    setTabOrder(cmdSave, cmdCancel);
    setTabOrder(cmdCancel, txt1);

    mnuFile = addMenu(menuBar(), "mnuFile", QStringLiteral("&File"));
    mnuFileOpen = addEntry(mnuFile, "mnuFileOpen", QStringLiteral("Open"));
    mnuFileSave = addEntry(mnuFile, "mnuFileSave", QStringLiteral("Save"));
    mnuFileClose = addEntry(mnuFile, "mnuFileClose", QStringLiteral("Close"));

    connect(cmdSave, &QPushButton::clicked, this, &frmViewLogs::cmdSave_Click);
    connect(mnuFileSave, &QAction::triggered, this, &frmViewLogs::cmdSave_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmViewLogs::cmdCancel_Click);
    connect(mnuFileClose, &QAction::triggered, this, &frmViewLogs::cmdCancel_Click);
    connect(mnuFileOpen, &QAction::triggered, this, &frmViewLogs::mnuFileOpen_Click);
    auto* esc = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(esc, &QShortcut::activated, this, &frmViewLogs::cmdCancel_Click);

    adjustSize();
    setFixedSize(sizeHint());
}

void frmViewLogs::Form_Load() {
    if (!m_context.state.currentDataFile.empty())
        LoadText();
    else if (OpenFile())
        LoadText();
}

void frmViewLogs::loadOther() {
    if (txt1->document()->isModified() && !m_loaded.empty()) {
        const Answer a = m_context.prompts.message(
            this,
            QStringLiteral("Your changes to %1 have not been saved. Discard them and open %2?")
                .arg(fromPath(m_loaded), fromPath(m_context.state.currentDataFile)),
            QStringLiteral("View and Edit"), Icon::Question, Buttons::YesNo);
        if (a != Answer::Yes)
            return;
    }
    LoadText();
}

bool frmViewLogs::LoadText() {
    const std::filesystem::path file = m_context.state.currentDataFile;
    EditorLoad load = prepareEdit(m_context.state.programFolder, file);
    if (!load.ok) {
        m_context.prompts.message(this, utf8Text(load.error), QStringLiteral("View and Edit"),
                                  Icon::Exclamation, Buttons::Ok);
        return false;
    }
    txt1->setPlainText(utf8Text(load.text));
    txt1->document()->setModified(false);
    m_loaded = file;
    setWindowTitle(QStringLiteral("View and Edit"));
    return true;
}

bool frmViewLogs::OpenFile() {
    FileRequest request;
    request.title = QStringLiteral("Open");
    request.filter = QStringLiteral("text file (.txt)|*.txt| Comma-delimited files (.csv)|*.csv| "
                                    "Initialization files (.ini)|*.ini| Database files (.dtb)|*.dtb|");
    request.filterIndex = 2;
    request.startFolder = fromPath(m_context.state.programFolder);
    auto chosen = m_context.prompts.openFile(this, request);
    if (!chosen)
        return false;
    m_context.state.currentDataFile = toPath(*chosen);
    return true;
}

void frmViewLogs::mnuFileOpen_Click() {
    // A cancelled choice leaves the shown file as it is.
    if (OpenFile())
        loadOther();
}

void frmViewLogs::cmdSave_Click() {
    if (m_loaded.empty()) {
        m_context.prompts.message(this,
                                  QStringLiteral("No file is loaded, so there is nothing to save. "
                                                 "Open a file first."),
                                  QStringLiteral("Notice"), Icon::Exclamation, Buttons::Ok);
        return;
    }
    if (const Status saved = saveEdit(m_loaded, fromQt(txt1->toPlainText())); !saved) {
        m_context.prompts.message(this,
                                  QStringLiteral("The file %1 could not be saved: %2")
                                      .arg(fromPath(m_loaded), utf8Text(saved.refusal)),
                                  QStringLiteral("Error"), Icon::Error, Buttons::Ok);
        return;
    }
    txt1->document()->setModified(false);
    m_context.prompts.message(this, QStringLiteral("File saved as ") + fromPath(m_loaded),
                              QStringLiteral("Notice"), Icon::Information, Buttons::Ok);
}

void frmViewLogs::cmdCancel_Click() { close(); }

} // namespace fendrel
