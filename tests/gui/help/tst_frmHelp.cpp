// The help window over the compiled help file.
#include "gui/help/frmHelp.h"

#include "TestApp.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QtTest>

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

QString shownTopic(frmHelp* w) {
    return w->treeContents->currentItem()->text(0);
}
QString page(frmHelp* w) {
    return w->txtPage->toPlainText();
}

} // namespace

class tst_frmHelp : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void opensWithContentsAndShowsTheChosenTopic() {
        TestApp app;
        frmHelp* w = helpWindow(app);
        QVERIFY(w);
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
        QVERIFY(w->cmdBack->isEnabled());
    }

    void picturesAndStyleComeFromTheHelpFile() {
        TestApp app;
        frmHelp* w = helpWindow(app);
        QVERIFY(w);
        w->showPage(QStringLiteral("simulator.htm"));
        QImage image;
        QVERIFY(image.loadFromData(w->txtPage
                                       ->loadResource(QTextDocument::ImageResource,
                                                      QUrl(QStringLiteral("images/bearing.png")))
                                       .toByteArray()));
        QCOMPARE(image.size(), QSize(360, 300));
        QVERIFY(
            w->txtPage
                ->loadResource(QTextDocument::StyleSheetResource, QUrl(QStringLiteral("help.css")))
                .toString()
                .contains(QStringLiteral("font-family")));
        QVERIFY(!w->txtPage
                     ->loadResource(QTextDocument::ImageResource, QUrl(QStringLiteral("none.png")))
                     .isValid());
    }

    void linksAreFollowedAndTheContentsFollowThePage() {
        TestApp app;
        frmHelp* w = helpWindow(app);
        QVERIFY(w);
        w->showPage(QStringLiteral("simulator.htm"));
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
    }

    void theIndexFindsKeywordsAsYouType() {
        TestApp app;
        frmHelp* w = helpWindow(app);
        QVERIFY(w);
        w->tabsNavigation->setCurrentIndex(1);
        QTest::keyClicks(w->txtKeyword, QStringLiteral("mean r"));
        QCOMPARE(w->lstIndex->currentItem()->text(), QStringLiteral("Mean radius"));
        QTest::keyClick(w->txtKeyword, Qt::Key_Return);
        QCOMPARE(w->txtPage->source(), QUrl(QStringLiteral("chm:/groups.htm#stats")));
        w->txtKeyword->clear();
        QTest::keyClicks(w->txtKeyword, QStringLiteral("Unknown")); // found inside a keyword
        QCOMPARE(w->lstIndex->currentItem()->text(), QStringLiteral("Bullet Style Unknown"));
    }

    void openingAgainKeepsThePageAndTheFileIsNotHeldOpen() {
        TestApp app;
        frmHelp* w = helpWindow(app);
        QVERIFY(w);
        w->showPage(QStringLiteral("stabilizer.htm"));
        QVERIFY(w->loadHelpFile());
        QCOMPARE(w->txtPage->source().path(), QStringLiteral("/stabilizer.htm"));

        // Read whole: the file can go away and the pages still show; asking again then fails
        // and leaves the window as it was.
        fs::remove(app.folder / "helpdocs" / "help-fendrel.chm");
        w->showPage(QStringLiteral("troubleshooting.htm"));
        QVERIFY(page(w).contains(QStringLiteral("importing files by hand")));
        QVERIFY(!w->loadHelpFile());
        QVERIFY(page(w).contains(QStringLiteral("importing files by hand")));
    }

    void aMissingOrDamagedHelpFileGivesFalse() {
        TestApp app;
        auto* w = app.windows.get<frmHelp>();
        QVERIFY(!w->loadHelpFile());
        fs::create_directories(app.folder / "HelpDocs");
        app.folder.write("HelpDocs/HELP-Fendrel.chm", "this is not a help file");
        QVERIFY(!w->loadHelpFile());
        QCOMPARE(w->treeContents->topLevelItemCount(), 0);
        QVERIFY(!w->cmdPrint->isEnabled());
    }

    void keyboardReachesContentsPageAndButtons() {
        TestApp app;
        frmHelp* w = helpWindow(app);
        QVERIFY(w);
        w->show();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        for (QWidget* c : w->findChildren<QWidget*>())
            if (c->focusPolicy() & Qt::TabFocus &&
                !c->objectName().startsWith(QStringLiteral("qt_")))
                QVERIFY2(!c->accessibleName().isEmpty(), qPrintable(c->objectName()));

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
        QCOMPARE(app.windows.get<frmHelp>(), w); // How-to brings the same window back
    }

    void printsThePageOnceForEveryCopy() {
        TestApp app;
        frmHelp* w = helpWindow(app);
        QVERIFY(w);
        PrintSetup setup;
        setup.copies = 2;
        setup.outputFile = app.path("page.pdf");
        app.prompts.prints.push_back(setup);
        w->cmdPrint->click();
        QVERIFY(fs::file_size(app.folder / "page.pdf") > 1000);
        QVERIFY(fs::exists(app.folder / "page-2.pdf"));
        w->cmdPrint->click(); // cancelled
        QVERIFY(!fs::exists(app.folder / "page-3.pdf"));
    }
};

QTEST_MAIN(tst_frmHelp)
#include "tst_frmHelp.moc"
