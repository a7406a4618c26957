// The specifications dialog and the calculation run driven from the main window.
#include "TestApp.h"
#include "core/engine/LastPath.h"
#include "gui/app/Navigation.h"
#include "gui/engine/frmDialog.h"
#include "gui/report/frmReport.h"
#include "gui/ui/UpDown.h"
#include "core/workbench/Databases.h"
#include "gui/workbench/frmRoundDevel.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>
#include <functional>

using namespace fendrel;
using fendrel::test::TestApp;

namespace {

// Runs `drive` on the specifications dialog as soon as it shows modally (the run lets events
// run before the dialog opens, so wait for it).
void whenDialogShows(std::function<void(frmDialog*)> drive, int triesLeft = 200) {
    QTimer::singleShot(5, [drive, triesLeft] {
        auto* dialog = qobject_cast<frmDialog*>(QApplication::activeModalWidget());
        if (!dialog && triesLeft > 0)
            return whenDialogShows(drive, triesLeft - 1);
        QVERIFY(dialog);
        drive(dialog);
    });
}

const Record kRound = {"Test .308 load", ".308 Winchester", "150", ".400", ".226", "BrandA",
                       "Spitzer", "IMR 4064", "45", "2700", "CCI 200", "Federal", "Maker",
                       "M1", "2001", "(optional)", "24", "9.5"};

} // namespace

class SpecsAndRun : public QObject {
    Q_OBJECT

    std::unique_ptr<TestApp> app;

private slots:
    void init() {
        app = std::make_unique<TestApp>();
        ensureLastPath(app->state.programFolder); // as start-up does
    }
    void cleanup() { app.reset(); }

    void opensWithDefaultsMetersAndTheSimulatorsWinds() {
        app->state.effectiveDownrangeWind = 7.5;
        app->state.effectiveCrossWind = -3;
        frmDialog d(app->context, app->state.run);
        QCOMPARE(d.windowTitle(), QStringLiteral("Exterior Ballistics User Specs"));
        QVERIFY(d.optRange[0]->isChecked());
        for (QLabel* l : {d.Label1, d.Label2, d.Label7})
            QCOMPARE(l->text(), QStringLiteral("meters"));
        QCOMPARE(d.txtRInt->text(), QStringLiteral("50"));
        QCOMPARE(d.txtRMax->text(), QStringLiteral("500"));
        QCOMPARE(d.txtRZero->text(), QStringLiteral("200"));
        QCOMPARE(d.txtRHeight->text(), QStringLiteral("0"));
        QCOMPARE(d.txtRangeWind->text(), QStringLiteral("7.5"));
        QCOMPARE(d.txtCrossWind->text(), QStringLiteral("-3"));
        QCOMPARE(d.Label4->text(), QStringLiteral("(+ values indicate a crosswind blowing from left "
                                                  "to right perpendicular to the firing line."));

        d.optRange[1]->click();
        for (QLabel* l : {d.Label1, d.Label2, d.Label7})
            QCOMPARE(l->text(), QStringLiteral("yards"));
        d.optRange[0]->click();
        QCOMPARE(d.Label7->text(), QStringLiteral("meters"));
    }

    void okChecksThenStoresHalvesToEven() {
        frmDialog d(app->context, app->state.run);
        d.txtRInt->setText(QStringLiteral("501"));
        d.OKButton->click();
        QCOMPARE(app->prompts.last()->text,
                 QStringLiteral("The range interval must be less than maximum range"));
        QCOMPARE(app->prompts.last()->title, QStringLiteral("Error"));
        QCOMPARE(app->prompts.last()->icon, Icon::Information);

        d.txtRInt->setText(QStringLiteral("500"));
        d.txtRZero->setText(QStringLiteral("600"));
        d.OKButton->click();
        QCOMPARE(app->prompts.last()->text,
                 QStringLiteral("The range at zero must be less than maximum range"));
        QCOMPARE(app->state.run.maximumRange, std::int16_t(0)); // nothing stored yet

        d.optRange[1]->click();
        d.txtRInt->setText(QStringLiteral("100"));
        d.txtRZero->setText(QStringLiteral("12.5"));
        d.txtRangeWind->setText(QStringLiteral("13.5"));
        d.txtRHeight->setText(QStringLiteral("1.25"));
        d.OKButton->click();
        QCOMPARE(app->state.run.unitsCode, std::string("Y"));
        QCOMPARE(app->state.run.maximumRange, std::int16_t(500));
        QCOMPARE(app->state.run.rangeInterval, std::int16_t(100));
        QCOMPARE(app->state.run.zeroRange, std::int16_t(12));
        QCOMPARE(app->state.run.downrangeWind, std::int16_t(14));
        QCOMPARE(app->state.run.zeroHeight, 1.25);
        QCOMPARE(d.result(), int(QDialog::Accepted));
    }

    void valuesOutsideSixteenBitsAreRefused() {
        frmDialog d(app->context, app->state.run);
        d.txtRangeWind->setText(QStringLiteral("40000"));
        d.OKButton->click();
        QVERIFY(app->prompts.last()->text.contains(QStringLiteral("-32768")));
        QCOMPARE(app->state.run.maximumRange, std::int16_t(0));
    }

    void cancelStopsTheRunAndClearsThePaths() {
        app->state.lastOutputFile = "x.csv";
        app->state.currentDataFile = "y.csv";
        frmDialog d(app->context, app->state.run);
        d.CancelButton->click();
        QCOMPARE(d.result(), int(QDialog::Rejected));
        QVERIFY(app->state.lastOutputFile.empty());
        QVERIFY(app->state.currentDataFile.empty());
    }

    void windowRunWritesTheSameBytesAsTheCommandLine() {
        QVERIFY(saveRecord(app->state.programFolder, kRounds, kRound, false).ok);
        auto* w = new frmRoundDevel(app->context);
        app->windows.adopt(w);
        w->Timer1->stop();
        w->TmrValidate->stop();
        // The window shows the saved round.
        w->cmbCal->setCurrentIndex(w->cmbCal->findText(QStringLiteral(".308 Winchester")));
        w->txtDescription->setText(QStringLiteral("Test .308 load"));
        w->txtBWt->setText(QStringLiteral("150"));
        w->txtBC->setText(QStringLiteral(".400"));
        w->txtSD->setText(QStringLiteral(".226"));
        w->txtLWt->setText(QStringLiteral("45"));
        w->txtfps->setText(QStringLiteral("2700"));
        w->txtLPwdr->setText(QStringLiteral("IMR 4064"));
        w->txtLPrmr->setText(QStringLiteral("CCI 200"));
        w->txtLBrass->setText(QStringLiteral("Federal"));
        w->cmbMake->setEditText(QStringLiteral("Maker"));
        w->txtGunModel->setText(QStringLiteral("M1"));
        w->txtGunYr->setText(QStringLiteral("2001"));

        const QString out = app->path("YourData/window.csv");
        app->prompts.files = {out};
        app->prompts.inputs = {QStringLiteral("3")}; // "Spitzer" is not a style it knows
        whenDialogShows([](frmDialog* d) {
            d->optRange[1]->click();
            d->txtRInt->setText(QStringLiteral("100"));
            d->txtRMax->setText(QStringLiteral("1000"));
            d->txtCrossWind->setText(QStringLiteral("10"));
            d->OKButton->click();
        });
        w->mnuToolsStats->setEnabled(true);
        w->mnuToolsStats->trigger();
        QCOMPARE(app->prompts.messages(), QStringList());
        QCOMPARE(app->prompts.asked[1].kind, QStringLiteral("input"));
        QCOMPARE(app->prompts.asked[1].title, QStringLiteral("Bullet Style Unknown"));
        QCOMPARE(w->statusText(), QStringLiteral("Ballistic calculations completed."));
        QCOMPARE(app->prompts.asked[0].kind, QStringLiteral("save"));
        QCOMPARE(app->prompts.asked[0].file.filter,
                 QStringLiteral("On-Line Test (.txt)|*.txt|Comma-delimited file (.csv)|*.csv|"));
        QCOMPARE(app->prompts.asked[0].file.filterIndex, 2);
        QCOMPARE(QString::fromStdString(app->state.lastOutputFile), out);
        QCOMPARE(app->folder.read("Lastpath.dat"),
                 (app->folder / "YourData").string() + "/\r\n");

        const QString cli = app->path("YourData/cli.csv");
        QProcess p;
        p.start(QStringLiteral(FENDREL_BIN_DIR "/fendrel-calc"),
                {QStringLiteral("ballistics"), QStringLiteral("--round"), QStringLiteral("0"),
                 QStringLiteral("--units"), QStringLiteral("Y"), QStringLiteral("--interval"),
                 QStringLiteral("100"), QStringLiteral("--max"), QStringLiteral("1000"),
                 QStringLiteral("--cross-wind"), QStringLiteral("10"),
                 QStringLiteral("--style-answer"), QStringLiteral("3"), QStringLiteral("--output"),
                 cli, QStringLiteral("--program-folder"), app->path("")});
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitCode(), 0);
        const std::string windowBytes = app->folder.read("YourData/window.csv");
        QVERIFY(windowBytes.size() > 500);
        QCOMPARE(app->folder.read("YourData/cli.csv"), windowBytes);

        // View ballistics opens the report over that file.
        connectMainWindow(w, app->context);
        w->mnuViewB->trigger();
        auto* report = app->windows.find<frmReport>();
        QVERIFY(report);
        QCOMPARE(QString::fromStdString(app->state.currentDataFile), out);
    }

    void cancelledFileChoiceStopsBeforeWritingAnything() {
        auto* w = new frmRoundDevel(app->context);
        app->windows.adopt(w);
        w->Timer1->stop();
        w->TmrValidate->stop();
        w->mnuToolsStats->setEnabled(true);
        w->mnuToolsStats->trigger(); // the save dialog is cancelled
        QCOMPARE(w->statusText(), QStringLiteral("Ballistic calculations stopped."));
    }

    void cancelledSpecificationsLeaveOnlyTheRecoilLines() {
        auto* w = new frmRoundDevel(app->context);
        app->windows.adopt(w);
        w->Timer1->stop();
        w->TmrValidate->stop();
        w->cmbCal->setCurrentIndex(0);
        app->prompts.files = {app->path("YourData/cancel.csv")};
        whenDialogShows([](frmDialog* d) { d->CancelButton->click(); });
        w->mnuToolsStats->setEnabled(true);
        w->mnuToolsStats->trigger();
        QCOMPARE(w->statusText(), QStringLiteral("Ballistic calculations stopped."));
        const std::string bytes = app->folder.read("YourData/cancel.csv");
        QCOMPARE(std::count(bytes.begin(), bytes.end(), '\n'), 2L);
        QVERIFY(bytes.rfind("(TYPE A DESCRIPTION)\r\nRecoil for this round is ", 0) == 0);
    }
};

QTEST_MAIN(SpecsAndRun)
#include "tst_frmDialog.moc"
