// The Load History window driven through its controls: strings typed and imported, groups
// added, entries changed and deleted, loads compared and saved, and a newer history refused.
#include "TestApp.h"
#include "core/history/HistoryDatabase.h"
#include "gui/history/frmImportSeries.h"
#include "gui/history/frmLoadHistory.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <sqlite3.h>

using namespace fendrel;
using fendrel::test::TestApp;

namespace {

VelocityString string(std::vector<double> shots, double charge) {
    VelocityString s;
    s.date = "2024-05-01";
    s.shotsFps = std::move(shots);
    s.round = {".308 Winchester", 168, 0.462, charge};
    return s;
}

} // namespace

class tst_frmLoadHistory : public QObject {
    Q_OBJECT

    std::unique_ptr<TestApp> app;
    test::ShownRound round;
    frmLoadHistory* w = nullptr;

    void open() {
        round.texts = {"308 Ladder", ".308 Winchester", "168", ".462", "", "", "42.5", "", ""};
        app->context.mainWindow = &round;
        w = app->windows.get<frmLoadHistory>();
        w->txtDate->setText(QStringLiteral("2024-05-10"));
    }
    QString cell(QTableWidget* t, int row, const char* header) const {
        for (int c = 0; c < t->columnCount(); ++c)
            if (t->horizontalHeaderItem(c)->text().replace(QLatin1Char('\n'), QLatin1Char(' ')) ==
                QString::fromUtf8(header))
                return t->item(row, c)->text();
        return QStringLiteral("(no column %1)").arg(QString::fromUtf8(header));
    }
    void selectLoads(std::initializer_list<int> rows) {
        w->lstLoads->clearSelection();
        for (int r : rows)
            w->lstLoads->selectionModel()->select(
                w->lstLoads->model()->index(r, 0),
                QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }

private slots:
    void init() { app = std::make_unique<TestApp>(false); }
    void cleanup() { app.reset(); }

    // Every list is one Tab stop; the shots box hands Tab on rather than taking it; the counts
    // read as words do.
    void theKeyboardWalksEveryPartOnce() {
        open();
        const QStringList chain = test::focusChain(w, w->lstLoads);
        QCOMPARE(chain, (QStringList{"lstLoads", "grdStrings", "grdGroups", "txtDate",
                                     "txtTemperature", "txtCharge", "txtDistance", "txtNote",
                                     "txtShots", "cmdAddString", "cmdImportCsv", "cmdAddGroup",
                                     "cmdImportGroup", "cmdCompare", "grdCompare"}));
        const VelocityString s = string({2690, 2695}, 42.5);
        QVERIFY(HistoryDatabase::open(app->folder.path()).database->addString("308", s));
        w->refresh();
        QCOMPARE(w->lblStatus->text().left(8), QStringLiteral("1 load. "));
    }

    void stringsTypedImportedAndRefused() {
        open();
        QCOMPARE(w->lstLoads->rowCount(), 0);
        w->txtTemperature->setText(QStringLiteral("68"));
        w->txtShots->setPlainText(QStringLiteral("2700.5, 2710\n2695.5"));
        w->cmdAddString->click();
        QVERIFY2(app->prompts.messages().isEmpty(), qPrintable(app->lastMessage()));
        QCOMPARE(w->lstLoads->rowCount(), 1);
        QCOMPARE(cell(w->lstLoads, 0, "Load"), QStringLiteral("308 Ladder"));
        QCOMPARE(cell(w->grdStrings, 0, "Mean (ft/s)"), QStringLiteral("2702.0 \u00B1 18.3"));
        QCOMPARE(cell(w->grdStrings, 0, "Air (\u00B0F)"), QStringLiteral("68"));

        app->folder.write("chrono.csv", "Test 1\r\nShot,Speed (FPS),Energy\r\n1,2721.5,x\r\n"
                                        "2,2731.5,x\r\n-,-,-\r\nAVERAGE SPEED,2726.5,\r\n");
        app->prompts.files.push_back(app->path("chrono.csv"));
        w->cmdImportCsv->click();
        QCOMPARE(w->grdStrings->rowCount(), 2);
        QCOMPARE(cell(w->grdStrings, 1, "Shots"), QStringLiteral("2"));
        QCOMPARE(cell(w->grdStrings, 1, "Note"), QStringLiteral("Test 1"));

        // A string corrected through the entry fields, after a Yes.
        w->grdStrings->selectRow(0);
        QCOMPARE(w->txtShots->toPlainText(), QStringLiteral("2700.5, 2710, 2695.5"));
        w->txtNote->setText(QStringLiteral("new primer"));
        app->prompts.answers.push_back(Answer::Yes);
        w->cmdSaveEntry->click();
        QCOMPARE(app->prompts.last()->buttons, Buttons::YesNo);
        QCOMPARE(cell(w->grdStrings, 0, "Note"), QStringLiteral("new primer"));
    }

    // A file of several series shows them to be ticked and given a load; an e-target string
    // dropped on the window becomes a string and its group.
    void exportsOfSeveralSeriesAndDroppedETargetStrings() {
        open();
        test::whenShown<frmImportSeries>([](frmImportSeries* d) {
            QCOMPARE(d->grdSeries->rowCount(), 2);
            QCOMPARE(d->grdSeries->item(0, 0)->text(), QStringLiteral("Series 1"));
            QCOMPARE(d->cmbLoad->currentText(), QStringLiteral("308 Ladder"));
            QCOMPARE(d->lblLoad->buddy(), d->cmbLoad);
            d->cmdNone->click();
            d->grdSeries->item(1, 0)->setCheckState(Qt::Checked);
            d->cmbLoad->setCurrentText(QStringLiteral("MagnetoSpeed ladder"));
            d->cmdImport->click();
        });
        app->prompts.files.push_back(
            QString::fromStdString(test::fixture("history/magnetospeed-log.csv").string()));
        w->cmdImportCsv->click();
        QCOMPARE(w->grdStrings->rowCount(), 1);
        QCOMPARE(cell(w->grdStrings, 0, "Load"), QStringLiteral("MagnetoSpeed ladder"));
        QCOMPARE(cell(w->grdStrings, 0, "Note"), QStringLiteral("Series 3"));

        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(
            QString::fromStdString(test::fixture("history/shotmarker.csv").string()))});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(w, &enter);
        QVERIFY(enter.isAccepted());
        test::whenShown<frmImportSeries>([](frmImportSeries* d) {
            QCOMPARE(d->grdSeries->item(1, 6)->text(), QStringLiteral("A group at 328 yd as well"));
            d->grdSeries->item(1, 0)->setCheckState(Qt::Unchecked);
            d->cmdImport->click();
        });
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(w, &drop);
        QVERIFY2(app->lastMessage().contains(QLatin1String("1 string and 1 group")),
                 qPrintable(app->lastMessage()));
        QCOMPARE(cell(w->lstLoads, 0, "Load"), QStringLiteral("308 Ladder"));
        QCOMPARE(w->grdGroups->rowCount(), 1);
        QCOMPARE(cell(w->grdGroups, 0, "Distance (yd)"), QStringLiteral("600"));
    }

    void lastGroupAddedAndDeletedAfterYes() {
        open();
        app->state.lastGroup = LastGroup{0.308, {{1, 1}, {1, 2}, {2, 1}}, 0.471, 1.25, 1.722, 1.3};
        app->prompts.inputs.push_back(QStringLiteral("200"));
        w->cmdAddGroup->click();
        QCOMPARE(w->grdGroups->rowCount(), 1);
        QCOMPARE(cell(w->grdGroups, 0, "Distance (yd)"), QStringLiteral("200"));
        QCOMPARE(cell(w->grdGroups, 0, "Extreme spread (in)"), QStringLiteral("1.722"));

        w->grdGroups->selectRow(0);
        app->prompts.answers.push_back(Answer::Yes);
        w->cmdDelete->click();
        QCOMPARE(w->lstLoads->rowCount(), 0); // the load left with its last entry
    }

    void loadsComparedAndSavedAsCsv() {
        {
            auto db = HistoryDatabase::open(app->folder.path()).database;
            db->addString("Ladder 42", string({2600, 2610}, 42));
            db->addString("Ladder 43", string({2650, 2660}, 43));
            auto other = string({3100}, 25);
            other.round.caliber = ".223 Remington";
            db->addString("Varmint", other);
        }
        open();
        QCOMPARE(w->lstLoads->rowCount(), 3);
        selectLoads({0, 1});
        QVERIFY(w->comparison());
        QCOMPARE(w->grdCompare->rowCount(), 2);
        QVERIFY2(w->lblSlope->text().contains(QLatin1String("50.0 ft/s per grain")),
                 qPrintable(w->lblSlope->text()));
        // Velocity, its line and the SD, each charge with its interval's bar.
        QCOMPARE(w->chtCompare->chart()->series().size(), 7);
        QVERIFY(w->lblSlope->text().contains(QLatin1String("No flat spot is shown")));
        w->cmdCompare->click();
        QCOMPARE(app->prompts.last()->title, QStringLiteral("Compare"));
        QVERIFY2(app->lastMessage().contains(QLatin1String("B is 50.0 ft/s faster than A")),
                 qPrintable(app->lastMessage()));

        app->prompts.files = {app->path("ladder"), app->path("ladder")};
        w->mnuFileCsv->trigger();
        QVERIFY(app->folder.read("ladder.csv").find("Ladder 43,String") != std::string::npos);
        w->mnuFilePdf->trigger();
        QVERIFY(app->folder.read("ladder.pdf").rfind("%PDF", 0) == 0);

        selectLoads({1, 2});
        QVERIFY(!w->comparison() && w->chtCompare->chart()->series().isEmpty());
        QVERIFY(w->lblSlope->text().contains(QLatin1String("share one caliber and bullet")));
    }

    void newerHistoryIsRefusedAndLeftAsItIs() {
        {
            auto db = HistoryDatabase::open(app->folder.path()).database;
            db->addString("Ladder 42", string({2600}, 42));
        }
        sqlite3* db = nullptr;
        sqlite3_open((app->folder / "history.sqlite").c_str(), &db);
        sqlite3_exec(db, "PRAGMA user_version = 99; PRAGMA journal_mode = DELETE", nullptr,
                     nullptr, nullptr);
        sqlite3_close(db);
        const std::string before = app->folder.read("history.sqlite");
        open();
        QVERIFY2(app->lastMessage().contains(QLatin1String("newer")),
                 qPrintable(app->lastMessage()));
        QCOMPARE(app->prompts.last()->icon, Icon::Error);
        QCOMPARE(w->lstLoads->rowCount(), 0);
        QVERIFY(!w->cmdAddString->isEnabled());
        QVERIFY(app->folder.read("history.sqlite") == before);
    }
};

QTEST_MAIN(tst_frmLoadHistory)
#include "tst_frmLoadHistory.moc"
