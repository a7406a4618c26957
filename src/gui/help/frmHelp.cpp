#include "frmHelp.h"

#include "gui/ui/ControlBuilder.h"
#include "core/help/ChmArchive.h"
#include "HelpBrowser.h"
#include "gui/ui/AppContext.h"
#include "core/common/Encoding.h"
#include "core/common/ProgramFolder.h"
#include "core/common/SharedState.h"
#include "gui/ui/Geometry.h"
#include "gui/ui/Printing.h"
#include "gui/ui/Text.h"
#include "gui/ui/Prompts.h"
#include "core/workbench/HelpLaunch.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLineEdit>
#include <QListWidget>
#include <QPrinter>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <QTabWidget>
#include <QTextDocument>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

namespace fendrel {

namespace {
constexpr int kLocalRole = Qt::UserRole;

// Two page addresses name the same page of the help file (letter case and fragment aside).
bool samePage(const QString& local, const QString& path) {
    const QString other = utf8Text(helpFilePath(fromQt(local)));
    return !path.isEmpty() && other.compare(path, Qt::CaseInsensitive) == 0;
}
} // namespace

frmHelp::frmHelp(AppContext& context) : QWidget(nullptr), m_context(context) {
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Fen-drel Help"));
    setAccessibleName(QStringLiteral("Fen-drel Help"));
    resize(twips(11400), twips(8400));

    treeContents = new QTreeWidget;
    treeContents->setObjectName(QStringLiteral("treeContents"));
    treeContents->setAccessibleName(QStringLiteral("Help contents"));
    treeContents->setAccessibleDescription(
        QStringLiteral("The topics of the help. Choose one to show its page."));
    treeContents->setHeaderHidden(true);
    treeContents->setColumnCount(1);
    treeContents->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    treeContents->header()->setStretchLastSection(false);

    txtKeyword = ControlBuilder(nullptr).textBox("txtKeyword");
    txtKeyword->setAccessibleName(QStringLiteral("Keyword"));
    txtKeyword->setPlaceholderText(QStringLiteral("Type a keyword"));
    txtKeyword->setClearButtonEnabled(true);

    lstIndex = new QListWidget;
    lstIndex->setObjectName(QStringLiteral("lstIndex"));
    lstIndex->setAccessibleName(QStringLiteral("Help index"));
    lstIndex->setAccessibleDescription(
        QStringLiteral("Keywords of the help. Press Enter to show the page of a keyword."));

    auto* indexPane = new QWidget;
    auto* indexLayout = new QVBoxLayout(indexPane);
    indexLayout->setContentsMargins(4, 4, 4, 4);
    indexLayout->addWidget(txtKeyword);
    indexLayout->addWidget(lstIndex, 1);

    tabsNavigation = new QTabWidget;
    tabsNavigation->setObjectName(QStringLiteral("tabsNavigation"));
    tabsNavigation->setAccessibleName(QStringLiteral("Contents and index"));
    tabsNavigation->addTab(treeContents, QStringLiteral("Con&tents"));
    tabsNavigation->addTab(indexPane, QStringLiteral("&Index"));

    m_page = new HelpBrowser;
    txtPage = m_page;
    txtPage->setObjectName(QStringLiteral("txtPage"));
    txtPage->setAccessibleName(QStringLiteral("Help page"));
    txtPage->setAccessibleDescription(
        QStringLiteral("The page of the chosen topic. Tab moves from link to link; Enter follows "
                       "a link."));
    txtPage->setFocusPolicy(Qt::StrongFocus);
    m_page->setFiles(&m_files);

    cmdBack = ControlBuilder(nullptr).button("cmdBack", QStringLiteral("&Back"));
    cmdBack->setToolTip(QStringLiteral("Show the page shown before this one (Alt+Left)"));
    cmdBack->setAccessibleName(QStringLiteral("Back"));
    cmdBack->setEnabled(false);
    cmdForward = ControlBuilder(nullptr).button("cmdForward", QStringLiteral("&Forward"));
    cmdForward->setToolTip(QStringLiteral("Show the next page again (Alt+Right)"));
    cmdForward->setAccessibleName(QStringLiteral("Forward"));
    cmdForward->setEnabled(false);
    cmdPrint = ControlBuilder(nullptr).button("cmdPrint", QStringLiteral("&Print"));
    cmdPrint->setToolTip(QStringLiteral("Print this page"));
    cmdPrint->setAccessibleName(QStringLiteral("Print page"));
    cmdPrint->setEnabled(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdBack);
    buttons->addWidget(cmdForward);
    buttons->addStretch(1);
    buttons->addWidget(cmdPrint);

    auto* pagePane = new QWidget;
    auto* pageLayout = new QVBoxLayout(pagePane);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    pageLayout->addLayout(buttons);
    pageLayout->addWidget(txtPage, 1);

    auto* splitter = new QSplitter(Qt::Horizontal);
    splitter->setObjectName(QStringLiteral("splitHelp"));
    splitter->addWidget(tabsNavigation);
    splitter->addWidget(pagePane);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({twips(3300), twips(8100)});
    splitter->setChildrenCollapsible(false);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(splitter);

    // Keyboard: the contents (or the index), then the page with its links, then the buttons.
    setTabOrder(treeContents, txtKeyword);
    setTabOrder(txtKeyword, lstIndex);
    setTabOrder(lstIndex, txtPage);
    setTabOrder(txtPage, cmdBack);
    setTabOrder(cmdBack, cmdForward);
    setTabOrder(cmdForward, cmdPrint);

    connect(treeContents, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* item) { treeContents_CurrentChanged(item); });
    connect(treeContents, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item) { treeContents_CurrentChanged(item); });
    connect(txtKeyword, &QLineEdit::textEdited, this, &frmHelp::txtKeyword_Edited);
    connect(txtKeyword, &QLineEdit::returnPressed, this,
            [this] { openIndexEntry(lstIndex->currentItem()); });
    connect(lstIndex, &QListWidget::itemActivated, this, &frmHelp::openIndexEntry);
    connect(lstIndex, &QListWidget::itemClicked, this, &frmHelp::openIndexEntry);
    connect(txtPage, &QTextBrowser::sourceChanged, this, &frmHelp::page_SourceChanged);
    connect(txtPage, &QTextBrowser::backwardAvailable, cmdBack, &QWidget::setEnabled);
    connect(txtPage, &QTextBrowser::forwardAvailable, cmdForward, &QWidget::setEnabled);
    connect(cmdBack, &QPushButton::clicked, txtPage, &QTextBrowser::backward);
    connect(cmdForward, &QPushButton::clicked, txtPage, &QTextBrowser::forward);
    connect(cmdPrint, &QPushButton::clicked, this, &frmHelp::cmdPrint_Click);

    auto* back = new QShortcut(QKeySequence::Back, this);
    connect(back, &QShortcut::activated, txtPage, &QTextBrowser::backward);
    auto* forward = new QShortcut(QKeySequence::Forward, this);
    connect(forward, &QShortcut::activated, txtPage, &QTextBrowser::forward);
    auto* print = new QShortcut(QKeySequence::Print, this);
    connect(print, &QShortcut::activated, this, [this] {
        if (cmdPrint->isEnabled())
            cmdPrint_Click();
    });
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);

    treeContents->setFocus();
}

bool frmHelp::loadHelpFile() {
    const auto file = resolveName(m_context.state.programFolder, kHelpFileName);
    // The file is read whole and closed again, so that no file stays open between commands.
    ChmArchive archive;
    if (!archive.open(file))
        return false;
    HelpFiles files = archive.readAll();
    archive.close();
    const HelpBook book = readHelpBook(files);
    if (book.startPage.empty())
        return false; // nothing in it that could be shown; what is on screen stays

    // Opening help again keeps the page the user was reading, when the file still has it.
    const QString reading = HelpBrowser::pathOf(txtPage->source());
    m_files = std::move(files);
    fillContents(book.contents);
    fillIndex(book.index);
    cmdPrint->setEnabled(true);

    const bool keep = !reading.isEmpty() && m_files.find(fromQt(reading));
    const QUrl start =
        keep ? txtPage->source() : HelpBrowser::pageUrl(utf8Text(book.startPage));
    txtPage->clearHistory();
    if (txtPage->source() == start)
        txtPage->reload();
    else
        txtPage->setSource(start);
    page_SourceChanged(txtPage->source());
    return true;
}

void frmHelp::showPage(const QString& local) {
    const QUrl url = HelpBrowser::pageUrl(local);
    if (url != txtPage->source())
        txtPage->setSource(url);
}

void frmHelp::fillContents(const std::vector<HelpTopic>& topics) {
    m_following = true;
    treeContents->clear();
    std::vector<QTreeWidgetItem*> parents; // the last entry at each depth
    for (const auto& topic : topics) {
        const std::size_t depth = std::min<std::size_t>(topic.depth, parents.size());
        parents.resize(depth);
        auto* item =
            depth == 0 ? new QTreeWidgetItem(treeContents) : new QTreeWidgetItem(parents.back());
        item->setText(0, utf8Text(topic.name));
        item->setData(0, kLocalRole, utf8Text(topic.local));
        if (!topic.local.empty())
            item->setToolTip(0, utf8Text(topic.name));
        parents.push_back(item);
    }
    treeContents->expandAll();
    m_following = false;
}

void frmHelp::fillIndex(const std::vector<HelpTopic>& topics) {
    lstIndex->clear();
    for (const auto& topic : topics) {
        auto* item =
            new QListWidgetItem(QString(topic.depth * 4, QLatin1Char(' ')) + utf8Text(topic.name));
        item->setData(kLocalRole, utf8Text(topic.local));
        lstIndex->addItem(item);
    }
    if (lstIndex->count() > 0)
        lstIndex->setCurrentRow(0);
    const bool any = lstIndex->count() > 0;
    tabsNavigation->setTabEnabled(1, any);
}

void frmHelp::treeContents_CurrentChanged(QTreeWidgetItem* item) {
    if (m_following || !item)
        return;
    const QString local = item->data(0, kLocalRole).toString();
    if (!local.isEmpty())
        showPage(local);
}

void frmHelp::txtKeyword_Edited(const QString& text) {
    const QString wanted = text.trimmed();
    if (wanted.isEmpty())
        return;
    QListWidgetItem* found = nullptr;
    for (int i = 0; i < lstIndex->count() && !found; ++i)
        if (lstIndex->item(i)->text().trimmed().startsWith(wanted, Qt::CaseInsensitive))
            found = lstIndex->item(i);
    for (int i = 0; i < lstIndex->count() && !found; ++i)
        if (lstIndex->item(i)->text().contains(wanted, Qt::CaseInsensitive))
            found = lstIndex->item(i);
    if (found) {
        lstIndex->setCurrentItem(found);
        lstIndex->scrollToItem(found, QAbstractItemView::PositionAtTop);
    }
}

void frmHelp::openIndexEntry(QListWidgetItem* item) {
    if (!item)
        return;
    const QString local = item->data(kLocalRole).toString();
    if (!local.isEmpty())
        showPage(local);
}

void frmHelp::page_SourceChanged(const QUrl& url) {
    // The contents follow the page, also when it was reached by a link or by Back.
    const QString path = HelpBrowser::pathOf(url);
    QTreeWidgetItem* match = nullptr;
    QTreeWidgetItem* exact = nullptr;
    for (QTreeWidgetItemIterator it(treeContents); *it; ++it) {
        const QString local = (*it)->data(0, kLocalRole).toString();
        if (!samePage(local, path))
            continue;
        if (!match)
            match = *it;
        const qsizetype hash = local.indexOf(QLatin1Char('#'));
        const QString fragment = hash >= 0 ? local.mid(hash + 1) : QString();
        if (!exact && fragment == url.fragment())
            exact = *it;
    }
    if (exact)
        match = exact;
    if (match && match != treeContents->currentItem()) {
        m_following = true;
        treeContents->setCurrentItem(match);
        treeContents->scrollToItem(match);
        m_following = false;
    }
}

void frmHelp::cmdPrint_Click() {
    const auto setup = m_context.prompts.print(this, PrintSetup{});
    if (!setup)
        return;
    printCopies(*setup, [this](QPrinter& printer) { txtPage->document()->print(&printer); });
}

} // namespace fendrel
