// The program's help window: the pages of the help file with their contents beside them.
#pragma once

#include "core/help/HelpContents.h"

#include <QWidget>
#include <vector>

class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QTabWidget;
class QTextBrowser;
class QTreeWidget;
class QTreeWidgetItem;
class QUrl;

namespace fendrel {

struct AppContext;
class HelpBrowser;

class frmHelp : public QWidget {
    Q_OBJECT
public:
    explicit frmHelp(AppContext& context);
    // Opens the help file of the program folder; false when it cannot be read.
    bool loadHelpFile();

    // Shows a page of the help file ("simulator.htm", "groups.htm#stats").
    void showPage(const QString& local);

    QTabWidget* tabsNavigation;
    QTreeWidget* treeContents;
    QLineEdit* txtKeyword;
    QListWidget* lstIndex;
    QTextBrowser* txtPage;
    QPushButton* cmdBack;
    QPushButton* cmdForward;
    QPushButton* cmdPrint;

private:
    void fillContents(const std::vector<HelpTopic>& topics);
    void fillIndex(const std::vector<HelpTopic>& topics);
    void treeContents_CurrentChanged(QTreeWidgetItem* item);
    void txtKeyword_Edited(const QString& text);
    void openIndexEntry(QListWidgetItem* item);
    void page_SourceChanged(const QUrl& url);
    void cmdPrint_Click();

    AppContext& m_context;
    HelpFiles m_files;
    HelpBrowser* m_page;
    bool m_following = false; // the tree follows the page; do not navigate back
};

} // namespace fendrel
