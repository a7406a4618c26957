// The report window: start-up, opening, export, copying, printing and its layout. Reading the
// file and the page it exports are the core's (ReportLoad, ReportPage).
#include "core/common/TextFile.h"
#include "gui/report/ReportGridWidget.h"
#include "core/report/ReportPage.h"
#include "gui/report/frmReport.h"
#include "support/TestApp.h"
#include "gui/ui/Geometry.h"

#include <QClipboard>

using namespace fendrel;
using fendrel::test::fixture;
using fendrel::test::TestApp;

class tst_frmReport : public QObject {
    Q_OBJECT

    std::unique_ptr<TestApp> app;
    frmReport* w = nullptr;

    std::string report21() { return *readFileBytes(fixture("report/report21.csv")); }

    // A file in the user data folder of the test's program folder.
    QString userFile(const std::string& name, const std::string& bytes) {
        app->folder.write("YourData/" + name, bytes);
        return app->path("YourData/" + name);
    }

    // The window as its opener shows it: the path set first, then the first timer tick.
    void openOn(const QString& path) {
        app->state.currentDataFile = path.toStdString();
        w = app->windows.show<frmReport>();
        w->Timer1->stop(); // the tests tick it themselves
        w->Timer1_Timer();
    }

    QString clipboard() { return QGuiApplication::clipboard()->text(); }

private slots:
    void init() { app = std::make_unique<TestApp>(); }
    void cleanup() { app.reset(); }

    void showsTheReportAndOpenReplacesIt() {
        openOn(userFile("run.csv", report21()));
        QCOMPARE(w->windowTitle(), QStringLiteral("Report Viewer"));
        QCOMPARE(w->Label1->text(), QStringLiteral(".308 WINCHESTER: 168GR. MATCH"));
        // On screen the atmosphere stands on top, the recoil line (line 2) at the bottom.
        QCOMPARE(w->lblHeader[0]->text(),
                 QStringLiteral("Recoil for this round is 15.53 ft. lbs."));
        QVERIFY(w->lblHeader[1]->y() < w->lblHeader[2]->y() &&
                w->lblHeader[2]->y() < w->lblHeader[0]->y());
        QCOMPARE(w->grdParameters->cellText(0, 5), QStringLiteral("Temp(°F)"));
        QCOMPARE(w->grdResults->cellText(20, 6), QStringLiteral("533.060"));
        QCOMPARE(w->lblFooter[8]->text(),
                 QStringLiteral("Ballistic Efficiency Index of this round out to  950Y = 11.49"));
        for (QWidget* shown : std::initializer_list<QWidget*>{w->Label1, w->Label4, w->lblFooter[8],
                                                              w->grdParameters, w->grdResults})
            QVERIFY2(shown->isVisible(), qPrintable(shown->objectName()));
        QVERIFY(!w->mnuEditACopy->isEnabled());
        QVERIFY(!w->menuBar()->actions().contains(w->mnuView->menuAction()));

        // A cancelled Open keeps the report; Graph follows the file opened last.
        std::string chart;
        connect(w, &frmReport::graphRequested, [&](const std::string& file) { chart = file; });
        app->prompts.files = {std::nullopt};
        w->mnuFileOpen->trigger();
        QCOMPARE(app->state.currentDataFile, std::string("[NONE]"));
        QCOMPARE(w->grdResults->cellText(20, 0), QStringLiteral("950"));
        QVERIFY(w->Label1->isVisible() && w->grdResults->isVisible());
        std::string second = report21();
        second.replace(0, 5, "OTHER");
        const QString path = userFile("second.csv", second);
        app->prompts.files = {path};
        w->mnuFileOpen->trigger();
        QCOMPARE(w->Label1->text(), QStringLiteral("OTHERWINCHESTER: 168GR. MATCH"));
        app->state.currentDataFile = "something else";
        w->mnuViewGraph->trigger();
        QCOMPARE(chart, path.toStdString());
        QVERIFY(app->prompts.messages().isEmpty());
    }

    // An empty path asks for a file: here one that ends early (no "Maximum" line), which shows
    // only what it reached. Cancelling the question closes the window, without a word.
    void anEmptyPathAsksForAFileAndCancellingClosesTheWindow() {
        const std::string full = report21();
        size_t end = 0;
        for (int line = 0; line < 14; ++line)
            end = full.find('\n', end) + 1;
        const QString path = userFile("cut.csv", full.substr(0, end));
        app->prompts.files = {path};
        openOn(QString());
        QCOMPARE(test::fileRequest(app->prompts.asked.at(0)),
                 "open 2 " + app->path("YourData") +
                     " Text file (.txt)|*.txt|Comma-delimited files (.csv)|*.csv|");
        QCOMPARE(app->state.lastOutputFile, path.toStdString());
        QVERIFY(w->grdParameters->isVisible() && !w->grdResults->isVisible());
        QVERIFY(!w->Label1->isVisible() && !w->lblFooter[0]->isVisible());
        QVERIFY(app->prompts.messages().isEmpty());

        app = std::make_unique<TestApp>();
        openOn(QString());
        QCOMPARE(app->state.currentDataFile, std::string("[NONE]"));
        QTRY_VERIFY(!app->windows.find<frmReport>());
        QVERIFY(app->prompts.messages().isEmpty());
    }

    void saveAsHtmlWritesThePageOverAnExistingFile() {
        std::string bytes = report21();
        bytes.replace(bytes.find("ICAO STANDARD ATMOSPHERE"), 4, "<B>&amp; ICAO");
        openOn(userFile("run.csv", bytes));
        const QString page = userFile("page.htm", std::string(50000, 'x'));
        app->prompts.files = {page};
        w->mnuSaveAs->trigger();

        const PromptRecord& asked = app->prompts.asked.at(0);
        QCOMPARE(test::fileRequest(asked), "save 1 " + app->path("YourData") +
                                               " Hypertext mark-up file (.htm)|*.htm| "
                                               "Hypertext mark-up language (.html)|*.html|");
        QVERIFY(asked.file.fileName.isEmpty());
        QCOMPARE(app->prompts.last()->title, QStringLiteral("HTML Export Complete"));
        QCOMPARE(app->prompts.last()->icon, Icon::Information);
        QCOMPARE(app->prompts.last()->text, page + QStringLiteral(" written successfully."));
        QCOMPARE(app->state.outputFile, page.toStdString());

        const std::string written = app->folder.read("YourData/page.htm");
        QCOMPARE(written, reportPage(w->report(), reportPageLinks(app->folder.path())));
        QVERIFY(written.find("\">"
                             "<B>&amp; ICAO STANDARD ATMOSPHERE</A></P>\r\n") != std::string::npos);
        // Writing read every cell: each grid ends on its last one.
        QCOMPARE(w->grdResults->currentRow(), 20);
        QCOMPARE(w->grdResults->currentColumn(), 6);
        QCOMPARE(w->grdParameters->currentRow(), 1);
        QCOMPARE(w->grdParameters->currentColumn(), 9);

        // Cancel: nothing written, nothing said.
        const auto asks = app->prompts.asked.size();
        app->prompts.files = {std::nullopt};
        app->state.outputFile = "kept";
        w->mnuSaveAs->trigger();
        QCOMPARE(app->prompts.asked.size(), asks + 1);
        QCOMPARE(app->state.outputFile, std::string("kept"));
    }

    void clicksSelectCopyCollectsPrintsOneJobPerCopyResizesAndExits() {
        openOn(userFile("run.csv", report21()));
        // A click on a heading selects its column, on a range its row.
        w->grdResults->scrollToTop();
        const QRect heading = w->grdResults->visualRect(w->grdResults->model()->index(0, 3));
        QTest::mouseClick(w->grdResults->viewport(), Qt::LeftButton, {}, heading.center());
        QString column;
        for (int r = 1; r <= 20; ++r)
            column += (r > 1 ? QStringLiteral("\r") : QString()) + w->grdResults->cellText(r, 3);
        QCOMPARE(w->grdResults->rangeText(), column);
        const QString row2 = QStringLiteral("1.0\t0.0\t2552\t0.058\t4.122\t2433.677");
        const QRect range = w->grdResults->visualRect(w->grdResults->model()->index(2, 0));
        QTest::mouseClick(w->grdResults->viewport(), Qt::LeftButton, {}, range.center());
        QCOMPARE(w->grdResults->rangeText(), row2);
        // The right button keeps the selection and offers the View menu.
        QTest::mouseClick(w->grdResults->viewport(), Qt::RightButton, {}, heading.center());
        QCOMPARE(w->grdResults->rangeText(), row2);
        emit w->grdResults->customContextMenuRequested(range.center());
        QTRY_VERIFY(w->mnuView->isVisible());
        w->mnuView->close();

        w->grdResults->setFocus();
        w->grdResults->selectBlock(1, 1, 2, 2);
        w->mnuEditCopy->trigger();
        QCOMPARE(clipboard(), QStringLiteral("-1.5\t0.0\r1.0\t0.0"));
        // A second Copy replaces the first; a single cell is just its text.
        w->grdResults->selectBlock(3, 3, 3, 3);
        w->mnuEditCopy->trigger();
        QCOMPARE(clipboard(), QStringLiteral("2457"));
        QCOMPARE(w->copyAccumulator(), QStringLiteral("2457"));
        QVERIFY(!w->mnuEditACopy->isEnabled());
        w->Timer1_Timer();
        QVERIFY(w->mnuEditACopy->isEnabled());

        // Any focused control other than the results grid copies from the parameters.
        w->grdParameters->setFocus();
        w->grdParameters->selectBlock(1, 8, 1, 9);
        w->mnuEditACopy->trigger();
        w->grdResults->setFocus();
        w->grdResults->selectBlock(20, 5, 20, 6);
        w->mnuEditACopy->trigger();
        const QString all = QStringLiteral("2457\r\n200\t0\r\n1.930\t533.060");
        QCOMPARE(clipboard(), all);
        QCOMPARE(w->copyAccumulator(), all);
        w->mnuEditCopy->trigger(); // Copy starts over
        QCOMPARE(clipboard(), QStringLiteral("1.930\t533.060"));

        // One job per copy; the sheet follows the window, the grids stay centred, even past
        // the left edge.
        app->prompts.prints = {
            PrintSetup{.copies = 2, .landscape = true, .printerName = {}, .outputFile = app->path("print.pdf")},
            std::nullopt};
        w->mnuFilePrint->trigger();
        QVERIFY(QFileInfo(app->path("print-2.pdf")).size() > 0);
        QVERIFY(!QFileInfo::exists(app->path("print-3.pdf")));
        const std::string pdf = app->folder.read("print.pdf");
        QVERIFY(pdf.find("/MediaBox [0 0 842") != std::string::npos); // landscape A4
        QVERIFY(!w->Picture1->isVisible() && !w->Picture2->isVisible());
        w->mnuFilePrint->trigger(); // cancelled
        QVERIFY(app->prompts.messages().isEmpty());

        w->resize(twips(12000), twips(9000));
        QVERIFY(toTwips(w->shpBak->width()) >= 12000 - 100);
        QCOMPARE(w->lblHeader[0]->width(), w->shpBak->width());
        QVERIFY(qAbs(w->grdResults->geometry().center().x() - w->width() / 2) <= twips(100));
        w->resize(200, 300);
        QVERIFY(w->grdResults->x() < 0 && w->grdParameters->x() < 0);

        w->mnuFileExit->trigger();
        QTRY_VERIFY(!app->windows.find<frmReport>());
    }
};

QTEST_MAIN(tst_frmReport)
#include "tst_frmReport.moc"
