#include "frmUpgrade.h"

#include "gui/ui/ControlBuilder.h"
#include "gui/ui/AppContext.h"
#include "core/common/ProgramFolder.h"
#include "core/common/SharedState.h"
#include "gui/ui/Geometry.h"
#include "gui/ui/Prompts.h"
#include "gui/ui/Text.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPainterPath>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardPaths>
#include <QToolButton>
#include <QVBoxLayout>

namespace fs = std::filesystem;

namespace fendrel {

namespace {

// Copies of this many files or more show their progress.
constexpr size_t kManyCopiedFiles = 10;

QString desktopFromSettings() {
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (desktop.isEmpty() || !QFileInfo(desktop).isDir())
        return {};
    return desktop;
}

// The add button's picture: a page with a green arrow that carries it across to the backup list.
QIcon addPicture() {
    QPixmap pixmap(40, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath page;
    page.moveTo(3.5, 3.5);
    page.lineTo(14.5, 3.5);
    page.lineTo(19.5, 8.5);
    page.lineTo(19.5, 26.5);
    page.lineTo(3.5, 26.5);
    page.closeSubpath();
    p.setPen(QPen(QColor(90, 90, 90), 1));
    p.setBrush(Qt::white);
    p.drawPath(page);
    p.drawLine(QPointF(14.5, 3.5), QPointF(14.5, 8.5));
    p.drawLine(QPointF(14.5, 8.5), QPointF(19.5, 8.5));
    p.setPen(QPen(QColor(160, 160, 160), 1));
    for (int y = 12; y <= 22; y += 3)
        p.drawLine(QPointF(6.5, y + 0.5), QPointF(16.5, y + 0.5));
    QPainterPath arrow;
    arrow.moveTo(14, 14);
    arrow.lineTo(27, 14);
    arrow.lineTo(27, 8);
    arrow.lineTo(38, 18);
    arrow.lineTo(27, 28);
    arrow.lineTo(27, 22);
    arrow.lineTo(14, 22);
    arrow.closeSubpath();
    p.setPen(QPen(QColor(20, 100, 30), 1.2));
    p.setBrush(QColor(60, 170, 70));
    p.drawPath(arrow);
    return QIcon(pixmap);
}

} // namespace

frmUpgrade::frmUpgrade(AppContext& context)
    : m_context(context), m_desktopLookup(desktopFromSettings), m_home(QDir::homePath()) {
    setObjectName(QStringLiteral("frmUpgrade"));
    setWindowTitle(QStringLiteral("Prepare your Fen-drel files for upgrade"));
    setAttribute(Qt::WA_DeleteOnClose);

    auto label = [this](const char* name, const QString& text) {
        auto* l = ControlBuilder(this).label(name, text);
        return l;
    };
    auto stepLabel = [&](const char* name, const QString& text) {
        QLabel* l = label(name, text);
        QFont bold = l->font();
        bold.setBold(true);
        l->setFont(bold);
        return l;
    };

    Label1 = stepLabel("Label1", QStringLiteral("Step 1:"));
    chkDTB = ControlBuilder(this).checkBox("chkDTB", QStringLiteral("Backup Fen-drel Databases"));

    Label2 = stepLabel("Label2", QStringLiteral("Step 2:"));
    Label4 = label("Label4", QStringLiteral("Locate all round development data files (*.csv)"));
    Label5 = stepLabel("Label5", QStringLiteral("Step 3:"));
    Label6 = label("Label6", QStringLiteral("Locate all ballistic report files (*.htm or *.html)"));
    Label7 = stepLabel("Label7", QStringLiteral("Step 4:"));
    Label8 = label("Label8", QStringLiteral("Locate all group files (*.grp)"));
    Label9 = stepLabel("Label9", QStringLiteral("Step 5:"));
    Label10 = label("Label10", QStringLiteral("Locate all bullet stabilization files (*.txt)"));
    QLabel* stepLabels[4] = {Label2, Label5, Label7, Label9};
    QLabel* textLabels[4] = {Label4, Label6, Label8, Label10};

    const QIcon picture = addPicture();
    for (int i = 0; i < 4; ++i) {
        auto* list = new QListWidget(this);
        list->setObjectName(QStringLiteral("filStep2(%1)").arg(i));
        list->setSelectionMode(QAbstractItemView::ExtendedSelection);
        list->setAccessibleName(textLabels[i]->text());
        list->setFixedSize(twips(4200), twips(1100));
        textLabels[i]->setBuddy(list);
        filStep2[size_t(i)] = list;

        auto* add = new QToolButton(this);
        add->setObjectName(QStringLiteral("cmdAdd2(%1)").arg(i));
        add->setIcon(picture);
        add->setIconSize(QSize(40, 32));
        add->setToolTip(QStringLiteral("Add the selected files to the backup list"));
        add->setAccessibleName(QStringLiteral("Add the selected files to the backup list"));
        cmdAdd2[size_t(i)] = add;
        connect(add, &QToolButton::clicked, this, [this, i] { cmdAdd2_Click(i); });
        // A double click adds the file at once, as picking it and pressing the button would.
        connect(list, &QListWidget::itemDoubleClicked, this, [this, i] { cmdAdd2_Click(i); });
    }

    Label11 = label("Label11", QStringLiteral("Backup Processor Window:"));
    lstBak = new QListWidget(this);
    lstBak->setObjectName(QStringLiteral("lstBak"));
    lstBak->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lstBak->setAccessibleName(QStringLiteral("Backup Processor Window"));
    lstBak->setMinimumWidth(twips(4200));
    Label11->setBuddy(lstBak);

    prgCopy = new QProgressBar(this);
    prgCopy->setObjectName(QStringLiteral("prgCopy"));
    prgCopy->setAccessibleName(QStringLiteral("Files copied"));
    prgCopy->setFormat(QStringLiteral("%v of %m files"));
    // Keeps its place while hidden, so the window does not jump when a long copy starts.
    QSizePolicy keep = prgCopy->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    prgCopy->setSizePolicy(keep);
    prgCopy->hide();

    cmdRemove = ControlBuilder(this).button("cmdRemove", QStringLiteral("Remove selected files from the list"));
    cmdRemove->setAutoDefault(false);
    cmdBackup = ControlBuilder(this).button("cmdBackup", QStringLiteral("&Back up my data!"));
    cmdBackup->setAutoDefault(false);
    cmdBackup->setMinimumHeight(cmdRemove->sizeHint().height() * 3 / 2);
    QFont strong = cmdBackup->font();
    strong.setBold(true);
    cmdBackup->setFont(strong);

    Label3 = label("Label3",
                   QStringLiteral("Note: use this utility to back-up all data files that exist in "
                                  "the Fen-drel program file folder(s) before you upgrade or "
                                  "re-install the software.  If you have stored your files in "
                                  "another location you do NOT need to use steps 2-5 of this "
                                  "utliity."));
    Label3->setWordWrap(true);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(twips(180), twips(180), twips(180), twips(180));
    grid->setHorizontalSpacing(twips(120));
    grid->setVerticalSpacing(twips(60));
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(chkDTB, 0, 1, 1, 2);
    int row = 1;
    for (int i = 0; i < 4; ++i) {
        grid->addItem(new QSpacerItem(0, twips(90)), row++, 0);
        grid->addWidget(stepLabels[i], row, 0);
        grid->addWidget(textLabels[i], row++, 1, 1, 2);
        grid->addWidget(filStep2[size_t(i)], row, 1);
        grid->addWidget(cmdAdd2[size_t(i)], row++, 2, Qt::AlignLeft | Qt::AlignVCenter);
    }
    const int lastRow = row - 1;

    auto* right = new QVBoxLayout;
    right->setSpacing(twips(90));
    right->addWidget(Label11);
    right->addWidget(lstBak, 1);
    right->addWidget(prgCopy);
    right->addWidget(cmdRemove);
    right->addSpacing(twips(90));
    right->addWidget(cmdBackup);
    grid->addItem(new QSpacerItem(twips(240), 0), 0, 3);
    grid->addLayout(right, 0, 4, lastRow + 1, 1);
    grid->addItem(new QSpacerItem(0, twips(120)), lastRow + 1, 0);
    grid->addWidget(Label3, lastRow + 2, 0, 1, 5);
    grid->setColumnStretch(4, 1);

    connect(cmdRemove, &QPushButton::clicked, this, &frmUpgrade::cmdRemove_Click);
    connect(cmdBackup, &QPushButton::clicked, this, &frmUpgrade::cmdBackup_Click);

    Form_Load();
    adjustSize();
}

void frmUpgrade::Form_Load() {
    m_list.clear();
    showBackupList();
    const fs::path dataFolder = resolveName(m_context.state.programFolder, "yourdata");
    for (size_t i = 0; i < 4; ++i) {
        m_shown[i] = listFiles(dataFolder, kDataFilePatterns[i]);
        filStep2[i]->clear();
        for (const std::string& name : m_shown[i])
            filStep2[i]->addItem(fromPath(name));
    }
}

void frmUpgrade::showBackupList() {
    lstBak->clear();
    for (const std::string& name : m_list.names())
        lstBak->addItem(fromPath(name));
}

void frmUpgrade::cmdAdd2_Click(int index) {
    if (index < 0 || index > 3 || m_busy)
        return;
    QListWidget* list = filStep2[size_t(index)];
    std::vector<bool> selected(m_shown[size_t(index)].size());
    for (int i = 0; i < list->count() && size_t(i) < selected.size(); ++i)
        selected[size_t(i)] = list->item(i)->isSelected();
    m_list.addSelected(m_shown[size_t(index)], selected);
    showBackupList();
    if (lstBak->count() > 0)
        lstBak->scrollToBottom();
}

void frmUpgrade::cmdRemove_Click() {
    if (m_busy)
        return;
    std::vector<bool> selected(m_list.names().size());
    for (int i = 0; i < lstBak->count() && size_t(i) < selected.size(); ++i)
        selected[size_t(i)] = lstBak->item(i)->isSelected();
    m_list.removeSelected(selected);
    showBackupList();
}

QString frmUpgrade::GetDesktopPath() {
    QString desktop = m_desktopLookup ? m_desktopLookup() : QString();
    if (!desktop.isEmpty())
        return desktop;
    const Answer browse = m_context.prompts.message(
        this,
        QStringLiteral("Unable to find Desktop folder. Would you like to browse to find it "
                       "yourself?"),
        QStringLiteral("Find Desktop?"), Icon::Question, Buttons::YesNo);
    if (browse != Answer::Yes)
        return {};
    return m_context.prompts
        .chooseFolder(this, QStringLiteral("Please locate your Desktop folder."), m_home)
        .value_or(QString());
}

void frmUpgrade::showProgress(size_t done, size_t total) {
    if (total >= kManyCopiedFiles) {
        if (prgCopy->isHidden()) {
            prgCopy->setRange(0, int(total));
            prgCopy->show();
        }
        prgCopy->setValue(int(done));
    }
    letEventsRun();
}

void frmUpgrade::failed(const QString& text) {
    m_context.prompts.message(this, text, QStringLiteral("Backup failed"), Icon::Exclamation,
                              Buttons::Ok);
}

void frmUpgrade::cmdBackup_Click() {
    if (m_busy)
        return;
    const std::string home = toPath(m_home);
    const QString proposed = fromPath(defaultPackageFolder(home, secondsSinceMidnight()));
    const QString answer = m_context.prompts.input(
        this,
        QStringLiteral("The files and databases you have selected will be saved to the following "
                       "location (please make note of this for import into the upgraded "
                       "version)."),
        QStringLiteral("Preparing to backup..."), proposed);
    if (answer.trimmed().isEmpty())
        return;

    BackupOrder order;
    order.programFolder = m_context.state.programFolder;
    order.packageFolder = packageFolderPath(toPath(answer.trimmed()), home);
    order.databases = chkDTB->isChecked();
    order.files = m_list.names();
    const QString package = fromPath(order.packageFolder);

    // The window stays put while the files are copied: events run between files, and a second
    // backup or closing the window must wait until this one is done.
    m_busy = true;
    setEnabled(false);
    prgCopy->hide();
    const BackupResult result =
        makePackage(order, [this](size_t done, size_t total) { showProgress(done, total); });
    prgCopy->hide();
    setEnabled(true);
    m_busy = false;

    switch (result.failure) {
    case BackupResult::Failure::Folder:
        failed(QStringLiteral("The package folder could not be created.\r\n\r\nFolder: ") +
               fromPath(result.path) + QStringLiteral("\r\nReason: ") + fromPath(result.reason) +
               QStringLiteral("\r\n\r\nNothing was copied."));
        return;
    case BackupResult::Failure::Copy:
        failed(QStringLiteral("A file could not be copied into the package.\r\n\r\nFile: ") +
               fromPath(result.path) + QStringLiteral("\r\nReason: ") + fromPath(result.reason) +
               QStringLiteral("\r\n\r\n") +
               (result.copied == 0 ? QStringLiteral("Nothing was copied.")
                                   : QStringLiteral("The files copied before it (") +
                                         fromPath(std::to_string(result.copied)) +
                                         QStringLiteral(") are in ") + package + QLatin1Char('.')));
        return;
    case BackupResult::Failure::None:
        break;
    }

    QString readmeFolder = GetDesktopPath();
    const bool inHome = readmeFolder.isEmpty();
    if (inHome)
        readmeFolder = m_home;
    fs::path readme;
    const std::string reason =
        appendReadme(toPath(readmeFolder), order.packageFolder.string(), &readme);
    if (!reason.empty()) {
        failed(QStringLiteral("Your files have been copied to the package folder\r\n") + package +
               QStringLiteral("\r\nbut the read-me could not be written.\r\n\r\nFile: ") +
               fromPath(readme) + QStringLiteral("\r\nReason: ") + fromPath(reason) +
               QStringLiteral("\r\n\r\nPlease make a note of the package folder."));
        return;
    }

    QString text = QStringLiteral("Your files have been copied successfully.\r\nUse "
                                  "FILE---RESTORE BACKUP PACKAGE after completing your upgrade");
    if (inHome)
        text += QStringLiteral("\r\n\r\nWithout a Desktop folder the read-me went to your home "
                               "folder: ") +
                fromPath(readme);
    m_context.prompts.message(this, text, QStringLiteral("Backup successfull"), Icon::Information,
                              Buttons::Ok);
}

void frmUpgrade::closeEvent(QCloseEvent* event) {
    if (m_busy) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

} // namespace fendrel
