// The main road on a fresh program folder, as a user walks it: fill a round, save it and its
// firearm, load both back through the selection list, calculate the ballistics into YourData,
// view the report and export it, graph it. Every dialog is answered by the scripted prompts.
#include "TestApp.h"
#include "app/Module1.h"
#include "app/Numbers.h"
#include "chart/frmViewChart.h"
#include "simulator/frmInteractive.h"
#include "engine/frmDialog.h"
#include "report/frmReport.h"
#include "report/ReportGridWidget.h"
#include "workbench/frmRoundDevel.h"
#include "workbench/frmSelect.h"
#include "workbench/frmSplash.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>
#include <functional>

using namespace fendrel;
using fendrel::test::TestApp;

namespace {

// Runs `drive` on the modal window of class W as soon as it shows.
template <typename W> void whenShown(std::function<void(W*)> drive, int triesLeft = 400) {
    QTimer::singleShot(5, [drive, triesLeft] {
        auto* w = qobject_cast<W*>(QApplication::activeModalWidget());
        if (!w && triesLeft > 0)
            return whenShown<W>(drive, triesLeft - 1);
        QVERIFY(w);
        drive(w);
    });
}

void type(QLineEdit* field, const QString& text) {
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, text);
}

} // namespace

class MainRoad : public QObject {
    Q_OBJECT

private slots:
    void walkTheMainRoad() {
        TestApp app;
        frmRoundDevel* w = startUp(app.context);
        w->Timer1->stop();
        w->TmrValidate->stop();
        QVERIFY(std::filesystem::exists(app.folder / "Lastpath.dat"));
        // The splash goes with a key press; then the main window takes the keyboard.
        auto* splash = app.windows.find<frmSplash>();
        QVERIFY(splash);
        QTest::keyClick(splash, Qt::Key_Space);
        QVERIFY(!app.windows.find<frmSplash>() || !splash->isVisible());
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));

        // Fill the round as typed.
        w->cmbCal->setCurrentIndex(w->cmbCal->findText(QStringLiteral(".308 Winchester")));
        type(w->txtBWt, QStringLiteral("150"));
        type(w->txtBC, QStringLiteral(".400"));
        type(w->txtSD, QStringLiteral(".226"));
        type(w->txtBMake, QStringLiteral("BrandB"));
        type(w->txtBStyle, QStringLiteral("spitzer boat tail"));
        type(w->txtLWt, QStringLiteral("46.5"));
        type(w->txtfps, QStringLiteral("2700"));
        QCOMPARE(w->txtDescription->text(), QStringLiteral(".308 Winchester: 150gr. BrandB"));
        w->cmbMake->setEditText(QStringLiteral("Maker, Inc."));
        type(w->txtGunModel, QStringLiteral("M700"));
        type(w->txtGunYr, QStringLiteral("1999"));
        type(w->txtGunSN, QStringLiteral("SN-1001"));
        w->TmrValidate_Timer();
        QVERIFY(w->cmdSave->isEnabled());

        // Save the round, and the firearm with it.
        app.prompts.answers = {Answer::Yes};
        w->cmdSave->click();
        const std::string round =
            "\".308 Winchester: 150gr. BrandB\",\".308 Winchester\",\"150\",\".400\",\".226\","
            "\"BrandB\",\"spitzer boat tail\",\"IMR 4831 Lot 12345\",\"46.5\",\"2700\","
            "\"CCI 250 Magnum rifle Lot 12345\",\"Federal Lot 12345\",\"Maker, Inc.\",\"M700\","
            "\"1999\",\"SN-1001\",\"24\",\"9.5\"\r\n";
        QCOMPARE(app.folder.read("rounds.dtb"), round);
        QCOMPARE(app.folder.read("Firearms.dtb"),
                 std::string("\"Maker, Inc.\",\"M700\",\"1999\",\"SN-1001\",\"24\",\"9.5\"\r\n"));

        // Change the window, then load both back through the selection list.
        type(w->txtBWt, QStringLiteral("999"));
        type(w->txtGunModel, QStringLiteral("other"));
        whenShown<frmSelect>([](frmSelect* d) {
            QCOMPARE(d->lstSelector->count(), 1);
            d->lstSelector->item(0)->setSelected(true);
            d->cmdOK->click();
        });
        w->mnuFileLoadR->trigger();
        QCOMPARE(w->txtBWt->text(), QStringLiteral("150"));
        type(w->txtGunModel, QStringLiteral("other"));
        whenShown<frmSelect>([](frmSelect* d) {
            d->lstSelector->item(0)->setSelected(true);
            d->cmdOK->click();
        });
        w->mnuFileLoadF->trigger();
        QCOMPARE(w->txtGunModel->text(), QStringLiteral("M700"));

        // Calculate ballistics into YourData.
        const QString output = app.path("YourData/road.csv");
        app.prompts.files = {output};
        whenShown<frmDialog>([](frmDialog* d) {
            d->optRange[1]->click();
            d->txtRInt->setText(QStringLiteral("100"));
            d->txtRMax->setText(QStringLiteral("500"));
            d->OKButton->click();
        });
        w->TmrValidate_Timer();
        QVERIFY(w->mnuToolsStats->isEnabled());
        w->mnuToolsStats->trigger();
        QCOMPARE(w->statusText(), QStringLiteral("Ballistic calculations completed."));
        const std::string out = app.folder.read("YourData/road.csv");
        QVERIFY(out.rfind(".308 WINCHESTER: 150GR. BRANDB\r\nRecoil for this round is ", 0) == 0);
        QVERIFY(out.find("\r\nRange(Y),Height,Deflection(in.),Velocity(fps),Time of travel(sec.)\r\n"
                         " 0,-1.5,0.0,2700,0.000\r\n") != std::string::npos);

        // View ballistics: the report over that file.
        w->mnuViewB->trigger();
        auto* report = app.windows.find<frmReport>();
        QVERIFY(report);
        report->Timer1_Timer();
        QVERIFY(report->loaded());
        QCOMPARE(report->grdResults->rowCount(), 7); // heading and six rows, 0 to 500

        // Save As html: the page the command line writes for the same file.
        const QString page = app.path("YourData/road.htm");
        app.prompts.files = {page};
        report->mnuSaveAs_Click();
        QProcess cli;
        const QString cliPage = app.path("YourData/cli.htm");
        cli.start(QStringLiteral(FENDREL_BIN_DIR "/fendrel-calc"),
                  {QStringLiteral("report"), QStringLiteral("--html"), cliPage, output,
                   QStringLiteral("--program-folder"), app.path("")});
        QVERIFY(cli.waitForFinished(30000));
        QCOMPARE(cli.exitCode(), 0);
        QCOMPARE(app.folder.read("YourData/road.htm"), app.folder.read("YourData/cli.htm"));

        // Graph ballistics: the line of sight and the file's trajectory.
        w->mnuGraphB->trigger();
        auto* chart = app.windows.find<frmViewChart>();
        QVERIFY(chart);
        chart->Timer1_Timer();
        QVERIFY(chart->loaded());
        QCOMPARE(chart->seriesCount(), 2);
        QCOMPARE(QString::fromStdString(app.state.currentDataFile), output);

        // The simulator: a 10 mph wind from 90 degrees gives the effective winds, which fill
        // the next run's dialog.
        w->mnuInteractive->trigger();
        auto* sim = app.windows.find<frmInteractive>();
        QVERIFY(sim);
        sim->txtBearing->setText(QStringLiteral("90"));
        sim->txtWindSpeed->setText(QStringLiteral("10"));
        sim->cmdApply->click();
        sim->cmdRefresh->click();
        QVERIFY(app.state.effectiveCrossWind != 0);
        app.prompts.files = {app.path("YourData/second.csv")};
        QString shownCross, shownDown;
        whenShown<frmDialog>([&](frmDialog* d) {
            shownDown = d->txtRangeWind->text();
            shownCross = d->txtCrossWind->text();
            d->CancelButton->click();
        });
        w->mnuToolsStats->trigger();
        QCOMPARE(shownCross, QString::fromStdString(generalNumber(app.state.effectiveCrossWind)));
        QCOMPARE(shownDown, QString::fromStdString(generalNumber(app.state.effectiveDownrangeWind)));
    }
};

QTEST_MAIN(MainRoad)
#include "tst_mainroad.moc"
