// The specifications dialog and the calculation run driven from the main window. The dialog's
// checks and rounding are the core's (RunSettingsEntry); here, that the dialog applies them.
#include "TestApp.h"
#include "core/engine/LastPath.h"
#include "gui/engine/frmDialog.h"
#include "core/workbench/Databases.h"
#include "gui/workbench/frmRoundDevel.h"
#include "gui/workbench/frmSelect.h"

#include <QRadioButton>

using namespace fendrel;
using fendrel::test::TestApp;
using fendrel::test::whenShown;

class SpecsAndRun : public QObject {
    Q_OBJECT

    std::unique_ptr<TestApp> app;

private slots:
    void init() {
        app = std::make_unique<TestApp>();
        ensureLastPath(app->state.programFolder); // as start-up does
    }
    void cleanup() { app.reset(); }

    void storesWhatItAcceptsAndCancelStopsTheRun() {
        app->state.effectiveDownrangeWind = 7.5;
        app->state.effectiveCrossWind = -3;
        frmDialog d(app->context, app->state.run);
        QCOMPARE(d.windowTitle(), QStringLiteral("Exterior Ballistics User Specs"));
        QVERIFY(d.optRange[0]->isChecked());
        QCOMPARE(d.txtRMax->text(), QStringLiteral("500"));
        QCOMPARE(d.txtRangeWind->text(), QStringLiteral("7.5"));
        QCOMPARE(d.txtCrossWind->text(), QStringLiteral("-3"));
        QCOMPARE(d.Label4->text(), QStringLiteral("(+ values indicate a crosswind blowing from left "
                                                  "to right perpendicular to the firing line."));
        for (QLabel* l : {d.Label1, d.Label2, d.Label7})
            QCOMPARE(l->text(), QStringLiteral("meters"));
        d.optRange[1]->click();
        for (QLabel* l : {d.Label1, d.Label2, d.Label7})
            QCOMPARE(l->text(), QStringLiteral("yards"));

        d.txtRInt->setText(QStringLiteral("501"));
        d.OKButton->click();
        QCOMPARE(app->prompts.last()->text, // its title and icon are RunSettingsEntry's
                 QStringLiteral("The range interval must be less than maximum range"));
        QCOMPARE(app->state.run.maximumRange, std::int16_t(0)); // nothing stored yet

        d.txtRInt->setText(QStringLiteral("100"));
        d.txtRZero->setText(QStringLiteral("12.5"));
        d.OKButton->click();
        QCOMPARE(app->state.run.unitsCode, std::string("Y"));
        QCOMPARE(app->state.run.maximumRange, std::int16_t(500));
        QCOMPARE(app->state.run.zeroRange, std::int16_t(12));
        QCOMPARE(app->state.run.downrangeWind, std::int16_t(8));
        QCOMPARE(d.result(), int(QDialog::Accepted));

        // Cancel stops the run and clears the paths.
        app->state.lastOutputFile = "x.csv";
        app->state.currentDataFile = "y.csv";
        frmDialog again(app->context, app->state.run);
        again.CancelButton->click();
        QCOMPARE(again.result(), int(QDialog::Rejected));
        QVERIFY(app->state.lastOutputFile.empty() && app->state.currentDataFile.empty());
    }

    void windowRunWritesTheSameBytesAsTheCommandLineAndCancelStopsIt() {
        const Record round = {"Test .308 load", ".308 Winchester", "150", ".400", ".226",
                              "BrandA", "Spitzer", "IMR 4064", "45", "2700", "CCI 200", "Federal",
                              "Maker", "M1", "2001", "(optional)", "24", "9.5"};
        QVERIFY(saveRecord(app->state.programFolder, kRounds, round, false).ok());
        auto* w = app->windows.get<frmRoundDevel>();
        w->Timer1->stop();
        w->TmrValidate->stop();
        w->mnuToolsStats->setEnabled(true);
        whenShown<frmSelect>([](frmSelect* d) {
            d->lstSelector->item(0)->setSelected(true);
            d->cmdOK->click();
        });
        w->mnuFileLoadR->trigger();

        const QString out = app->path("YourData/window.csv");
        app->prompts.asked.clear();
        app->prompts.files = {out};
        app->prompts.inputs = {QStringLiteral("3")}; // "Spitzer" is not a style it knows
        whenShown<frmDialog>([](frmDialog* d) {
            d->optRange[1]->click();
            d->txtRInt->setText(QStringLiteral("100"));
            d->txtRMax->setText(QStringLiteral("1000"));
            d->txtCrossWind->setText(QStringLiteral("10"));
            d->OKButton->click();
        });
        w->mnuToolsStats->trigger();
        QCOMPARE(app->prompts.messages(), QStringList());
        QCOMPARE(app->prompts.asked[1].kind, QStringLiteral("input"));
        QCOMPARE(app->prompts.asked[1].title, QStringLiteral("Bullet Style Unknown"));
        QCOMPARE(w->statusText(), QStringLiteral("Ballistic calculations completed."));
        QCOMPARE(test::fileRequest(app->prompts.asked[0]),
                 "save 2 " + app->path("YourData/") +
                     " On-Line Test (.txt)|*.txt|Comma-delimited file (.csv)|*.csv|");
        QCOMPARE(QString::fromStdString(app->state.lastOutputFile), out);
        QCOMPARE(app->folder.read("Lastpath.dat"),
                 (app->folder / "YourData").string() + "/\r\n");

        const std::string folder = app->folder.path().string();
        const test::CalcRun cli = test::runCalc(
            "ballistics --round 0 --units Y --interval 100 --max 1000 --cross-wind 10 "
            "--style-answer 3 --output '" + folder + "/YourData/cli.csv' --program-folder '" +
            folder + "'");
        QCOMPARE(cli.status, 0);
        const std::string windowBytes = app->folder.read("YourData/window.csv");
        QVERIFY(windowBytes.size() > 500);
        QCOMPARE(app->folder.read("YourData/cli.csv"), windowBytes);

        // A cancelled file choice stops the run.
        w->mnuToolsStats->trigger();
        QCOMPARE(w->statusText(), QStringLiteral("Ballistic calculations stopped."));

        // Cancel in the settings dialog stops it too; RunStops pins what the file keeps.
        w->setStatusText(QString());
        w->cmbCal->setCurrentIndex(0);
        app->prompts.files = {app->path("YourData/cancel.csv")};
        whenShown<frmDialog>([](frmDialog* d) { d->CancelButton->click(); });
        w->mnuToolsStats->trigger();
        QCOMPARE(w->statusText(), QStringLiteral("Ballistic calculations stopped."));
    }
};

QTEST_MAIN(SpecsAndRun)
#include "tst_frmDialog.moc"
