#include "frmRestore.h"

#include "gui/ui/ControlBuilder.h"
#include "core/backup/BackupPackage.h"
#include "core/backup/RestorePackage.h"
#include "gui/ui/AppContext.h"
#include "core/common/SharedState.h"
#include "gui/ui/Geometry.h"
#include "gui/ui/Prompts.h"
#include "gui/ui/Text.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPainterPath>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QToolButton>

namespace fs = std::filesystem;

namespace fendrel {

namespace {

// Restores of this many files or more show their progress.
constexpr size_t kManyRestoredFiles = 10;

// A path pasted from the read-me may bring blanks, a line end or an invisible byte order mark.
QString pastedPath(QString text) {
    text.remove(QChar(0xFEFF));
    return text.trimmed();
}

// The browse button's picture: an open yellow folder.
QIcon folderPicture() {
    QPixmap pixmap(32, 28);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QPen edge(QColor(140, 100, 20), 1.2);
    QPainterPath back;
    back.moveTo(3, 6);
    back.lineTo(11, 6);
    back.lineTo(14, 9);
    back.lineTo(26, 9);
    back.lineTo(26, 24);
    back.lineTo(3, 24);
    back.closeSubpath();
    p.setPen(edge);
    p.setBrush(QColor(222, 170, 60));
    p.drawPath(back);
    p.setPen(QPen(QColor(150, 150, 150), 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(7.5, 11.5, 15, 10));
    QPainterPath front;
    front.moveTo(3, 24);
    front.lineTo(8, 14);
    front.lineTo(30, 14);
    front.lineTo(26, 24);
    front.closeSubpath();
    p.setPen(edge);
    p.setBrush(QColor(250, 210, 100));
    p.drawPath(front);
    return QIcon(pixmap);
}

const char* const kRestoreFailed =
    "Your RESTORE PACKAGE has failed.  Use Fendrel's Help---Troubleshooting section to import "
    "files by hand.";

} // namespace

frmRestore::frmRestore(AppContext& context) : m_context(context), m_home(QDir::homePath()) {
    setObjectName(QStringLiteral("frmRestore"));
    setWindowTitle(QStringLiteral("Restore your Fendrel files"));
    setAttribute(Qt::WA_DeleteOnClose);

    Label1 = ControlBuilder(this).label("Label1", QStringLiteral("Give the location of your RESTORE PACKAGE (see "
                                       "Fendrel_ReadMe.txt on your desktop)."));

    txtRestorePackage = ControlBuilder(this).textBox("txtRestorePackage");
    txtRestorePackage->setAccessibleName(QStringLiteral("Restore package folder"));
    txtRestorePackage->setMinimumWidth(twips(6600));
    Label1->setBuddy(txtRestorePackage);

    cmdBrowse = new QToolButton(this);
    cmdBrowse->setObjectName(QStringLiteral("cmdBrowse"));
    cmdBrowse->setIcon(folderPicture());
    cmdBrowse->setIconSize(QSize(32, 28));
    cmdBrowse->setToolTip(QStringLiteral("Browse for a file inside your restore package"));
    cmdBrowse->setAccessibleName(QStringLiteral("Browse for the restore package"));

    filRestore = new QListWidget(this);
    filRestore->setObjectName(QStringLiteral("filRestore"));
    filRestore->hide();

    prgCopy = new QProgressBar(this);
    prgCopy->setObjectName(QStringLiteral("prgCopy"));
    prgCopy->setAccessibleName(QStringLiteral("Files restored"));
    prgCopy->setFormat(QStringLiteral("%v of %m files"));
    QSizePolicy keep = prgCopy->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    prgCopy->setSizePolicy(keep);
    prgCopy->hide();

    cmdRestore = ControlBuilder(this).button("cmdRestore", QStringLiteral("&Restore my files"));
    cmdRestore->setAutoDefault(false);
    cmdRestore->setMinimumWidth(twips(1800));
    cmdCancel = ControlBuilder(this).button("cmdCancel", QStringLiteral("&Cancel"));
    cmdCancel->setAutoDefault(false);
    cmdCancel->setMinimumWidth(twips(1800));

    auto* path = new QHBoxLayout;
    path->setSpacing(twips(60));
    path->addWidget(txtRestorePackage, 1);
    path->addWidget(cmdBrowse);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(prgCopy, 1);
    buttons->addSpacing(twips(240));
    buttons->addWidget(cmdRestore);
    buttons->addWidget(cmdCancel);

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(twips(240), twips(240), twips(240), twips(240));
    layout->setVerticalSpacing(twips(120));
    layout->addWidget(Label1, 0, 0);
    layout->addLayout(path, 1, 0);
    layout->addItem(new QSpacerItem(0, twips(120)), 2, 0);
    layout->addLayout(buttons, 3, 0);

    connect(cmdBrowse, &QToolButton::clicked, this, &frmRestore::cmdBrowse_Click);
    connect(cmdRestore, &QPushButton::clicked, this, &frmRestore::cmdRestore_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmRestore::cmdCancel_Click);
    connect(txtRestorePackage, &QLineEdit::returnPressed, this, &frmRestore::cmdRestore_Click);
    auto* esc = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(esc, &QShortcut::activated, this, &frmRestore::cmdCancel_Click);

    txtRestorePackage->setFocus();
    adjustSize();
}

bool frmRestore::OpenFile() {
    FileRequest request;
    request.title = QStringLiteral("Choose any file inside your restore package");
    request.filter = QStringLiteral("All files (*.*)|*.*|");
    request.filterIndex = 1;
    request.startFolder = m_home;
    const std::optional<QString> chosen = m_context.prompts.openFile(this, request);
    if (!chosen || chosen->isEmpty())
        return false;
    m_currentPath = fromPath(folderOfChosenFile(toPath(*chosen)));
    return true;
}

void frmRestore::cmdBrowse_Click() {
    if (m_busy)
        return;
    OpenFile();
    // Before any file has been chosen there is no folder to give, and what the user typed stays.
    if (m_currentPath)
        txtRestorePackage->setText(*m_currentPath);
}

void frmRestore::showProgress(size_t done, size_t total) {
    if (total >= kManyRestoredFiles) {
        if (prgCopy->isHidden()) {
            prgCopy->setRange(0, int(total));
            prgCopy->show();
        }
        prgCopy->setValue(int(done));
    }
    letEventsRun();
}

void frmRestore::cmdRestore_Click() {
    if (m_busy)
        return;
    // Pasted from the read-me, the path may bring a stray blank or line end along.
    const fs::path package =
        packageFolderPath(toPath(pastedPath(txtRestorePackage->text())), toPath(m_home));

    filRestore->clear();
    for (const std::string& name : packageDataFiles(package))
        filRestore->addItem(fromPath(name));

    // Everything is looked at before anything is copied.
    const RestorePlan plan = planRestore(package, m_context.state.programFolder);
    if (!plan.clashes.empty()) {
        QString names;
        for (const std::string& name : plan.clashes)
            names += QStringLiteral("\n") + fromPath(name);
        showRestoreFailure(fromPath(package.string()),
                           QStringLiteral("The package holds files whose names differ only in "
                                          "letter case; restoring both would replace one with "
                                          "the other:") + names,
                           0);
        return;
    }
    if (!plan.historyRefusal.empty())
        m_context.prompts.message(
            this,
            QStringLiteral("The load history in the restore package cannot be used: %1.\n\nYour "
                           "current load history is kept; the other files are restored.")
                .arg(fromPath(plan.historyRefusal)),
            QStringLiteral("Load history"), Icon::Exclamation, Buttons::Ok);
    std::vector<std::string> skipped;
    for (const DatabaseDoubt& doubt : plan.doubts) {
        const QString name = fromPath(doubt.name);
        if (m_context.prompts.message(
                this,
                QStringLiteral("The %1 in the restore package may not be a database you want: "
                               "%2.\n\nReplace your current %1 with it?")
                    .arg(name, fromPath(doubt.reason)),
                QStringLiteral("Restore %1?").arg(name), Icon::Exclamation,
                Buttons::YesNo) != Answer::Yes)
            skipped.push_back(doubt.name);
    }

    m_busy = true;
    setEnabled(false);
    prgCopy->hide();
    const RestoreResult result =
        carryOutRestore(plan, m_context.state.programFolder, skipped,
                        [this](size_t done, size_t total) { showProgress(done, total); });
    prgCopy->hide();
    setEnabled(true);
    m_busy = false;

    if (!result.ok) {
        showRestoreFailure(result.path.empty() ? QString() : fromPath(result.path),
                           fromPath(result.reason), result.copied);
        return;
    }
    m_context.prompts.message(
        this,
        QStringLiteral("Your RESTORE PACKAGE has been successfully imported.  It is now safe to "
                       "delete the restore package folder and the Fendrel_ReadMe.txt file on "
                       "your desktop."),
        QStringLiteral("Restore successful!"), Icon::Information, Buttons::Ok);
}

void frmRestore::showRestoreFailure(const QString& path, const QString& reason, size_t copied) {
    // The message keeps its fixed words; what went wrong, where, and how far the restore got
    // are in the details.
    QString details;
    if (!path.isEmpty())
        details += path + QStringLiteral("\n");
    details += reason;
    if (!details.endsWith(QLatin1Char('.')))
        details += QLatin1Char('.');
    details += QStringLiteral("\nFiles restored before it: %1.").arg(copied);
    m_context.prompts.message(this, QString::fromLatin1(kRestoreFailed), QStringLiteral("Error!"),
                              Icon::Information, Buttons::Ok, details);
}

void frmRestore::cmdCancel_Click() {
    close();
}

void frmRestore::closeEvent(QCloseEvent* event) {
    if (m_busy) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

} // namespace fendrel
