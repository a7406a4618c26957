// The chart window: the start-up load and its questions, Open and Add data, picking points and
// series with the mouse, View ballistics and printing. What a file plots, and which point a
// position hits, are the core's (ChartData, ChartGeometry).
#include "gui/chart/TrajectoryChartWidget.h"
#include "gui/app/Navigation.h"
#include "gui/chart/frmViewChart.h"
#include "support/TestApp.h"

#include <QFileInfo>
#include <QMouseEvent>
#include <QPointer>

using namespace fendrel;
using fendrel::test::TestApp;

namespace {

const QString kInstructions = QStringLiteral(
    "To determine the date for a data point, simply select one point with the mouse.");

std::string fixturePath(const char* name) {
    return test::fixture(std::string("chart/") + name).string();
}
QString fixtureText(const char* name) {
    return QString::fromStdString(fixturePath(name));
}

} // namespace

class tst_frmViewChart : public QObject {
    Q_OBJECT

    std::unique_ptr<TestApp> app;
    QPointer<frmViewChart> w;

    void open(const std::string& file = {}) {
        app = std::make_unique<TestApp>();
        app->state.currentDataFile = file;
        w = app->windows.show<frmViewChart>();
        w->Timer1->stop(); // the tests tick it themselves
    }
    // A chart over yards.csv, its start-up message answered.
    void openYards() {
        open(fixturePath("yards.csv"));
        w->Timer1_Timer();
        QVERIFY(w->loaded());
        app->prompts.asked.clear();
    }
    void add(const char* name) {
        app->prompts.files.push_back(fixtureText(name));
        w->mnuFileAdd_Click();
    }
    void mouse(QEvent::Type type, QPointF at, Qt::MouseButton button, Qt::MouseButtons buttons,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QMouseEvent event(type, at, w->MSChart1->mapToGlobal(at), button, buttons, modifiers);
        QApplication::sendEvent(w->MSChart1, &event);
    }
    void click(QPointF at, Qt::MouseButton button = Qt::LeftButton) {
        mouse(QEvent::MouseButtonPress, at, button, button);
        mouse(QEvent::MouseButtonRelease, at, button, Qt::NoButton);
    }
    QPointF point(int series, int row) const { return w->MSChart1->pointPosition(series, row); }
    QStringList titles() const {
        QStringList out;
        for (int s = 1; s <= w->MSChart1->seriesCount(); ++s)
            out << w->MSChart1->seriesTitle(s);
        return out;
    }
    QList<int> column(int series) const {
        QList<int> out;
        for (int r = 1; r <= w->MSChart1->rowCount(); ++r)
            out << w->MSChart1->value(series, r);
        return out;
    }
    void processDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

private slots:
    void cleanup() { app.reset(); }

    void opensWithItsMenusAndWithoutAFileAsksForOne() {
        open();
        QCOMPARE(w->windowTitle(), QStringLiteral("Trajectory Viewer"));
        QStringList entries;
        for (QAction* a : w->mnuFile->actions())
            entries << (a->isSeparator() ? QStringLiteral("-") : a->text());
        QCOMPARE(entries, (QStringList{"Open", "Add data", "Print", "-", "Exit"}));
        QVERIFY(!w->mnuFileAdd->isEnabled());
        // View is only a context menu.
        QCOMPARE(w->menuBar()->actions().size(), 1);
        QCOMPARE(w->mnuVTable->text(), QStringLiteral("View ballistics"));
        QVERIFY(!w->mnuVTable->isEnabled());
        QVERIFY(w->MSChart1->isHidden() && w->Picture1->isHidden());
        QCOMPARE(w->MSChart1->categoryTitle(), QStringLiteral("Range"));
        QCOMPARE(w->MSChart1->valueTitle(), QStringLiteral("Elevation (inches x 10)"));

        app->prompts.files.push_back(fixtureText("meters.csv"));
        w->Timer1_Timer();
        const PromptRecord& ask = app->prompts.asked.front();
        QCOMPARE(ask.kind, QStringLiteral("open"));
        QCOMPARE(ask.file.filter,
                 QStringLiteral("Text file (.txt)|*.txt|Comma-delimited files (.csv)|*.csv|"));
        QCOMPARE(ask.file.filterIndex, 2);
        QCOMPARE(QFileInfo(ask.file.startFolder).fileName().toLower(), QStringLiteral("yourdata"));
        QCOMPARE(ask.file.fileName, QString());
        QCOMPARE(app->state.currentDataFile, fixturePath("meters.csv"));
        QCOMPARE(w->seriesCount(), 2);
    }

    void startUpPlotsTheCurrentFile() {
        open(fixturePath("yards.csv"));
        w->Timer1_Timer();
        QCOMPARE(titles(), (QStringList{"Line of Sight", ".308 WINCHESTER: 168GR. MATCH"}));
        QCOMPARE(w->MSChart1->rowCount(), 6);
        QCOMPARE(column(2), (QList<int>{-15, 21, -16, -89, -257, -519}));
        QVERIFY(w->MSChart1->legendVisible() && w->MSChart1->isVisible());
        QVERIFY(w->windowState() & Qt::WindowMaximized);
        QVERIFY(w->mnuFileAdd->isEnabled());
        QCOMPARE(w->statusText(), kInstructions);

        QCOMPARE(app->prompts.asked.size(), 1);
        const PromptRecord& m = app->prompts.asked.front();
        QCOMPARE(m.title, QStringLiteral("Check It Out!!"));
        QCOMPARE(m.text, QStringLiteral("Hold down the Control button (CTRL) while dragging your "
                                        "mouse cursor across the graph..."));
        QCOMPARE(m.icon, Icon::Information);

        // Later ticks load nothing again.
        w->Timer1_Timer();
        QCOMPARE(app->prompts.asked.size(), 1);
    }

    void aRefusedFileAtStartUpIsToldThenAnotherIsAskedFor() {
        open();
        app->folder.write("huge.csv", "HUGE\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\nRange(Y)\r\n"
                                      " 0,-1.5,0,3000,0\r\n 100,5000.0,0,2800,.1\r\nMaximum\r\n");
        app->state.currentDataFile = (app->folder / "huge.csv").string();
        w->Timer1_Timer();
        QCOMPARE(app->prompts.asked.size(), 1);
        const PromptRecord& m = app->prompts.asked.front();
        QCOMPARE(m.icon, Icon::Error);
        QCOMPARE(m.title, QStringLiteral("Trajectory Viewer"));
        QVERIFY2(
            m.text.contains(QStringLiteral("huge.csv\" cannot be charted: the height on line 11 "
                                           "(5000.0 inches) lies outside what the chart holds")),
            qPrintable(m.text));
        QVERIFY(!w->loaded() && w->isVisible());
        // The next tick asks for a file; cancelling it closes the window.
        w->Timer1_Timer();
        QCOMPARE(app->prompts.asked.back().kind, QStringLiteral("open"));
        processDeletes();
        QVERIFY(w.isNull() && !app->windows.find<frmViewChart>());
    }

    void pointsAndSeriesAreSelectedWithTheMouseForViewBallistics() {
        openYards();
        click(point(2, 3)); // the status tells the point as ChartData's pointText does
        QCOMPARE(w->selectedSeries(), 2);
        QCOMPARE(w->MSChart1->selectedRow(), 3);
        QVERIFY(w->mnuVTable->isEnabled());
        // The line of sight reads zero everywhere and has no report.
        click(point(1, 5));
        QCOMPARE(w->statusText(), QStringLiteral("Range =  400  yards Trajectory = 0 inches."));
        QCOMPARE(w->selectedSeries(), 1);
        QVERIFY(!w->mnuVTable->isEnabled());

        // Ctrl and a drag pick the point nearest the cursor; a plain click does not reach as far.
        const QPointF near2 = point(2, 2) + QPointF(0, -40);
        const QString before = w->statusText();
        click(near2);
        QCOMPARE(w->statusText(), before);
        mouse(QEvent::MouseButtonPress, near2, Qt::LeftButton, Qt::LeftButton, Qt::ControlModifier);
        QCOMPARE(w->MSChart1->selectedRow(), 2);
        QCOMPARE(w->statusText(), QStringLiteral("Range =  100  yards Trajectory = 2.1 inches."));
        mouse(QEvent::MouseMove, point(2, 5) + QPointF(3, 2), Qt::NoButton, Qt::LeftButton,
              Qt::ControlModifier);
        QCOMPARE(w->MSChart1->selectedRow(), 5);
        mouse(QEvent::MouseMove, point(2, 6), Qt::NoButton, Qt::LeftButton); // without Ctrl
        QCOMPARE(w->MSChart1->selectedRow(), 5);
        mouse(QEvent::MouseButtonRelease, point(2, 6), Qt::LeftButton, Qt::NoButton);

        // A legend entry selects its series.
        add("short.csv");
        click(w->MSChart1->legendEntry(3).center());
        QCOMPARE(w->selectedSeries(), 3);
        QCOMPARE(w->MSChart1->selectedRow(), 0);
        w->Timer1_Timer();
        QVERIFY(w->mnuVTable->isEnabled());

        // The right button offers View ballistics for a file's series only.
        click(point(2, 4), Qt::RightButton);
        QCOMPARE(w->selectedSeries(), 2);
        QVERIFY(w->mnuView->isVisible());
        w->mnuView->hide();
        click(point(1, 4), Qt::RightButton);
        QVERIFY(!w->mnuView->isVisible());

        // View ballistics opens the report of the selected file; the line of sight has none.
        std::string reported;
        int calls = 0;
        connect(w, &frmViewChart::reportRequested, [&](const std::string& file) {
            reported = file;
            ++calls;
        });
        click(point(3, 2));
        w->Timer1_Timer();
        w->mnuVTable->trigger();
        QCOMPARE(calls, 1);
        QCOMPARE(reported, fixturePath("short.csv"));
        QVERIFY(w->windowState() & Qt::WindowMinimized);
        click(point(1, 2));
        w->mnuVTable_Click();
        QCOMPARE(calls, 1);
    }

    void addAndOpenReplaceOrKeepTheChartPrintingAndExit() {
        openYards();
        add("short.csv");
        add("long.csv");
        QCOMPARE(w->seriesCount(), 4);
        QCOMPARE(w->MSChart1->rowCount(), 6);
        QCOMPARE(titles().mid(2), (QStringList{".223 REMINGTON: 55GR. VARMINT",
                                               QStringLiteral("7MM REM MAG: 160GR. \u00C9LITE")}));

        // Cancelled or refused: no empty series.
        app->prompts.files.push_back(std::nullopt);
        w->mnuFileAdd_Click();
        QCOMPARE(w->MSChart1->seriesCount(), 4);
        QCOMPARE(app->state.currentDataFile, std::string());
        app->folder.write("empty.csv", "LOAD\r\nRecoil for this round is 15.53 ft. lbs.\r\n");
        app->prompts.files.push_back(app->path("empty.csv"));
        w->mnuFileAdd_Click();
        QCOMPARE(w->seriesCount(), 4);
        QCOMPARE(app->prompts.messages(), QStringList{app->prompts.messages().value(0)});
        QVERIFY(app->prompts.messages()[0].endsWith(
            QStringLiteral("cannot be charted: it holds no trajectory rows.")));

        // Graph ballistics again shows the open chart as it is.
        w->show();
        app->state.currentDataFile = fixturePath("yards.csv");
        openChart(app->context);
        QCOMPARE(app->windows.find<frmViewChart>(), w.data());
        QCOMPARE(w->seriesCount(), 4);

        // A cancelled Open keeps the chart; Open replaces every plotted file.
        click(point(3, 2));
        app->prompts.files.push_back(std::nullopt);
        w->mnuFileOpen_Click();
        QCOMPARE(w->MSChart1->seriesCount(), 4);
        app->prompts.files.push_back(fixtureText("long.csv"));
        w->mnuFileOpen_Click();
        QCOMPARE(w->seriesCount(), 2);
        QCOMPARE(w->MSChart1->rowCount(), 9);
        QCOMPARE(titles().last(), QStringLiteral("7MM REM MAG: 160GR. \u00C9LITE"));
        QCOMPARE(w->selectedSeries(), 0);
        QCOMPARE(w->statusText(), kInstructions);
        QVERIFY(!w->mnuVTable->isEnabled());

        app->prompts.asked.clear();
        app->prompts.prints = {test::printTo(app->path("chart.pdf")), std::nullopt};
        w->mnuFilePrint_Click();
        QVERIFY(QFileInfo(app->path("chart.pdf")).size() > 1000);
        QVERIFY(w->Picture1->isHidden());
        w->mnuFilePrint_Click(); // cancelled
        QVERIFY(app->prompts.messages().isEmpty());

        w->mnuFileExit->trigger();
        processDeletes();
        QVERIFY(w.isNull());
    }
};

QTEST_MAIN(tst_frmViewChart)
#include "tst_frmViewChart.moc"
