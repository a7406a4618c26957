// The help window over the compiled help file. Reading the file is the core's (ChmArchive,
// HelpContents); here, that the window shows, links, finds and prints its pages.
#include "TestApp.h"
#include "gui/help/frmHelp.h"

#include <QTabWidget>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

namespace fs = std::filesystem;
using namespace fendrel;
using fendrel::test::TestApp;

namespace {

// A program folder with the help file in it, spelt in another case than the program asks for.
frmHelp* helpWindow(TestApp& app) {
    fs::create_directories(app.folder / "helpdocs");
    fs::copy_file(fs::path(FENDREL_BIN_DIR) / "HelpDocs" / "HELP-Fendrel.chm",
                  app.folder / "helpdocs" / "help-fendrel.chm");
    auto* w = app.windows.get<frmHelp>();
    return w->loadHelpFile() ? w : nullptr;
}

QTreeWidgetItem* topic(QTreeWidget* tree, const QString& name) {
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        if ((*it)->text(0) == name)
            return *it;
    return nullptr;
}

QString shownTopic(frmHelp* w) { return w->treeContents->currentItem()->text(0); }
QString page(frmHelp* w) { return w->txtPage->toPlainText(); }

} // namespace

class tst_frmHelp : public QObject {
    Q_OBJECT

    std::unique_ptr<TestApp> app;
    frmHelp* w = nullptr;

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() {
        app = std::make_unique<TestApp>();
        w = helpWindow(*app);
        QVERIFY(w);
    }
    void cleanup() { app.reset(); }

    void theContentsLinksAndIndexFollowEachOther() {
        QCOMPARE(w->windowTitle(), QStringLiteral("Fen-drel Help"));
        QVERIFY(!w->isModal());
        QVERIFY(w->treeContents->topLevelItemCount() >= 10);
        QVERIFY(page(w).contains(QStringLiteral("Welcome to Fen-drel")));
        QCOMPARE(shownTopic(w), QStringLiteral("Welcome to Fen-drel"));
        QTreeWidgetItem* dialog =
            topic(w->treeContents, QStringLiteral("Range, wind and zero dialog"));
        QCOMPARE(dialog->parent()->text(0), QStringLiteral("Calculate ballistics"));
        w->treeContents->setCurrentItem(
            topic(w->treeContents, QStringLiteral("Shot group calculator")));
        QVERIFY(page(w).contains(QStringLiteral("Median Spread")));

        emit w->txtPage->anchorClicked(QUrl(QStringLiteral("exterior.htm")));
        QVERIFY(page(w).contains(QStringLiteral("Range Maximum")));
        QCOMPARE(shownTopic(w), QStringLiteral("Range, wind and zero dialog"));
        // A part of a page selects the contents entry of that part, when there is one.
        emit w->txtPage->anchorClicked(QUrl(QStringLiteral("mainwindow.htm#orrin")));
        QCOMPARE(shownTopic(w), QStringLiteral("Orrin Calculator"));
        emit w->txtPage->anchorClicked(QUrl(QStringLiteral("#validation")));
        QCOMPARE(w->txtPage->source().path(), QStringLiteral("/mainwindow.htm"));
        QCOMPARE(shownTopic(w), QStringLiteral("The Round Development window"));

        w->cmdBack->click();
        w->cmdBack->click();
        QCOMPARE(shownTopic(w), QStringLiteral("Range, wind and zero dialog"));
        w->cmdForward->click();
        QCOMPARE(w->txtPage->source().fragment(), QStringLiteral("orrin"));

        emit w->txtPage->anchorClicked(QUrl(QStringLiteral("no-such-page.htm")));
        QVERIFY(
            page(w).contains(QStringLiteral("The page no-such-page.htm is not in the help file")));

        // The index finds keywords as they are typed, also inside a keyword.
        w->tabsNavigation->setCurrentIndex(1);
        QTest::keyClicks(w->txtKeyword, QStringLiteral("mean r"));
        QCOMPARE(w->lstIndex->currentItem()->text(), QStringLiteral("Mean radius"));
        QTest::keyClick(w->txtKeyword, Qt::Key_Return);
        QCOMPARE(w->txtPage->source(), QUrl(QStringLiteral("chm:/groups.htm#stats")));
        w->txtKeyword->clear();
        QTest::keyClicks(w->txtKeyword, QStringLiteral("Unknown"));
        QCOMPARE(w->lstIndex->currentItem()->text(), QStringLiteral("Bullet Style Unknown"));
    }

    // Pictures and style come from the help file. It is read whole: it can go away and the
    // pages still show; asking again then fails and leaves the window as it was, as a damaged
    // file does.
    void picturesComeFromTheFileWhichIsNotHeldOpen() {
        w->showPage(QStringLiteral("simulator.htm"));
        auto resource = [this](QTextDocument::ResourceType type, const char* name) {
            return w->txtPage->loadResource(type, QUrl(QString::fromLatin1(name)));
        };
        QImage image;
        QVERIFY(image.loadFromData(
            resource(QTextDocument::ImageResource, "images/bearing.png").toByteArray()));
        QCOMPARE(image.size(), QSize(360, 300));
        QVERIFY(resource(QTextDocument::StyleSheetResource, "help.css")
                    .toString()
                    .contains(QStringLiteral("font-family")));
        QVERIFY(!resource(QTextDocument::ImageResource, "none.png").isValid());
        w->showPage(QStringLiteral("stabilizer.htm"));
        QVERIFY(w->loadHelpFile());
        QCOMPARE(w->txtPage->source().path(), QStringLiteral("/stabilizer.htm"));
        fs::remove(app->folder / "helpdocs" / "help-fendrel.chm");
        w->showPage(QStringLiteral("troubleshooting.htm"));
        QVERIFY(page(w).contains(QStringLiteral("importing files by hand")));
        QVERIFY(!w->loadHelpFile());
        QVERIFY(page(w).contains(QStringLiteral("importing files by hand")));

        TestApp other;
        auto* empty = other.windows.get<frmHelp>();
        fs::create_directories(other.folder / "HelpDocs");
        other.folder.write("HelpDocs/HELP-Fendrel.chm", "this is not a help file");
        QVERIFY(!empty->loadHelpFile());
        QCOMPARE(empty->treeContents->topLevelItemCount(), 0);
        QVERIFY(!empty->cmdPrint->isEnabled());
    }

    void printsThePageAndTheKeyboardReachesContentsPageAndButtons() {
        app->prompts.prints = {test::printTo(app->path("page.pdf"))};
        w->cmdPrint->click();
        QVERIFY(fs::file_size(app->folder / "page.pdf") > 1000);

        test::activate(w);
        // Tab goes from the contents into the page, through its links, and out again.
        w->treeContents->setFocus();
        QTest::keyClick(w->treeContents, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(w->txtPage));
        for (int i = 0; i < 200 && QApplication::focusWidget() == w->txtPage; ++i)
            QTest::keyClick(w->txtPage, Qt::Key_Tab);
        QVERIFY(QApplication::focusWidget() != w->txtPage);

        w->treeContents->setFocus();
        QTest::keyClick(w->treeContents, Qt::Key_Down);
        QCOMPARE(w->txtPage->source().path(), QStringLiteral("/usinghelp.htm"));
        QTest::keyClick(w->treeContents, Qt::Key_Escape);
        QVERIFY(!w->isVisible());
        QCOMPARE(app->windows.get<frmHelp>(), w); // How-to brings the same window back
    }
};

QTEST_MAIN(tst_frmHelp)
#include "tst_frmHelp.moc"
