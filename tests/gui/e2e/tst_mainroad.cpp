// The main road on a fresh program folder, as a user walks it: fill a round, save it and its
// firearm, load both back through the selection list, calculate the ballistics, view the report
// and export it, graph it, edit a file, save stability results and a group, back up and restore.
// The program folder and the output folder carry letters outside ASCII and blanks in their
// names, as a user's home folder does. Every dialog is answered by the scripted prompts.
#include "TestApp.h"
#include "gui/app/StartUp.h"
#include "core/common/Encoding.h"
#include "core/common/Numbers.h"
#include "gui/chart/frmViewChart.h"
#include "gui/simulator/frmInteractive.h"
#include "gui/engine/frmDialog.h"
#include "gui/report/frmReport.h"
#include "gui/report/ReportGridWidget.h"
#include "gui/ui/Text.h"
#include "gui/workbench/frmRoundDevel.h"
#include "gui/workbench/frmSelect.h"
#include "gui/workbench/frmSplash.h"
#include "gui/workbench/frmViewLogs.h"
#include "gui/stabilizer/frmStabilizer.h"
#include "gui/groups/frmMeasure.h"
#include "gui/backup/frmUpgrade.h"
#include "gui/backup/frmRestore.h"

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QRadioButton>

using namespace fendrel;
using fendrel::test::TestApp;
using fendrel::test::whenShown;

namespace {

void type(QLineEdit* field, const QString& text) {
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, text);
}

// Folder names a user may well have: German and Russian letters, blanks.
const std::string kProgramFolderName =
    " Schie\xC3\x9F" "en \xC3\xBC \xD0\x9F\xD1\x80\xD0\xB8\xD1\x81\xD1\x82";
const std::string kOutput = "YourData/Ausgabe \xC3\x9F \xD0\x9E\xD1\x82\xD1\x87\xD1\x91\xD1\x82";

} // namespace

class MainRoad : public QObject {
    Q_OBJECT

private slots:
    void walkTheMainRoad() {
        TestApp app(true, kProgramFolderName);
        std::filesystem::create_directories(app.folder / kOutput);
        frmRoundDevel* w = startUp(app.context);
        w->Timer1->stop();
        w->TmrValidate->stop();
        QVERIFY(std::filesystem::exists(app.folder / "Lastpath.dat"));
        // The splash goes with a key press; then the main window takes the keyboard.
        QTest::keyClick(app.windows.find<frmSplash>(), Qt::Key_Space);
        test::activate(w);

        // Fill the round as typed.
        w->cmbCal->setCurrentIndex(w->cmbCal->findText(QStringLiteral(".308 Winchester")));
        for (auto [field, text] : {std::pair{w->txtBWt, "150"}, {w->txtBC, ".400"},
                                   {w->txtSD, ".226"}, {w->txtBMake, "BrandB"},
                                   {w->txtBStyle, "spitzer boat tail"}, {w->txtLWt, "46.5"},
                                   {w->txtfps, "2700"}})
            type(field, QString::fromLatin1(text));
        w->cmbMake->setEditText(QStringLiteral("Maker, Inc."));
        for (auto [field, text] :
             {std::pair{w->txtGunModel, "M700"}, {w->txtGunYr, "1999"}, {w->txtGunSN, "SN-1001"}})
            type(field, QString::fromLatin1(text));
        w->TmrValidate_Timer();

        // Save the round, its description made from what was typed, and the firearm with it.
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
        const auto chooseTheOnlyOne = [](frmSelect* d) {
            QCOMPARE(d->lstSelector->count(), 1);
            d->lstSelector->item(0)->setSelected(true);
            d->cmdOK->click();
        };
        whenShown<frmSelect>(chooseTheOnlyOne);
        w->mnuFileLoadR->trigger();
        QCOMPARE(w->txtBWt->text(), QStringLiteral("150"));
        type(w->txtGunModel, QStringLiteral("other"));
        whenShown<frmSelect>(chooseTheOnlyOne);
        w->mnuFileLoadF->trigger();
        QCOMPARE(w->txtGunModel->text(), QStringLiteral("M700"));

        // Calculate ballistics into the output folder.
        const QString output = app.path(kOutput + "/road.csv");
        app.prompts.files = {output};
        whenShown<frmDialog>([](frmDialog* d) {
            d->optRange[1]->click();
            d->txtRInt->setText(QStringLiteral("100"));
            d->txtRMax->setText(QStringLiteral("500"));
            d->OKButton->click();
        });
        w->TmrValidate_Timer();
        w->mnuToolsStats->trigger();
        const std::string out = app.folder.read(kOutput + "/road.csv");
        // The folder is remembered so that it reads back as itself.
        QCOMPARE(app.folder.read("Lastpath.dat"),
                 pathToFileText((app.folder / kOutput).string() + "/") + "\r\n");
        QVERIFY(out.rfind(".308 WINCHESTER: 150GR. BRANDB\r\nRecoil for this round is ", 0) == 0);
        QVERIFY(out.find("\r\nRange(Y),Height,Deflection(in.),Velocity(fps),Time of travel(sec.)\r\n"
                         " 0,-1.5,0.0,2700,0.000\r\n") != std::string::npos);

        // View ballistics: the report over that file.
        w->mnuViewB->trigger();
        auto* report = app.windows.find<frmReport>();
        QVERIFY(report);
        report->Timer1_Timer();
        QCOMPARE(report->grdResults->rowCount(), 7); // heading and six rows, 0 to 500

        // Save As html: the page the command line writes for the same file.
        const QString page = app.path(kOutput + "/road.htm");
        app.prompts.files = {page};
        report->mnuSaveAs_Click();
        const std::string dir = (app.folder / kOutput).string();
        const test::CalcRun cli =
            test::runCalc("report --html '" + dir + "/cli.htm' '" + dir + "/road.csv' " +
                          "--program-folder '" + app.folder.path().string() + "'");
        QCOMPARE(cli.status, 0);
        QCOMPARE(app.folder.read(kOutput + "/road.htm"), app.folder.read(kOutput + "/cli.htm"));

        // Graph ballistics: the line of sight and the file's trajectory.
        w->mnuGraphB->trigger();
        auto* chart = app.windows.find<frmViewChart>();
        QVERIFY(chart);
        chart->Timer1_Timer();
        QCOMPARE(chart->seriesCount(), 2);
        QCOMPARE(fromPath(app.state.currentDataFile), output);

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
        app.prompts.files = {app.path(kOutput + "/second.csv")};
        QString shownCross, shownDown;
        whenShown<frmDialog>([&](frmDialog* d) {
            shownDown = d->txtRangeWind->text();
            shownCross = d->txtCrossWind->text();
            d->CancelButton->click();
        });
        w->mnuToolsStats->trigger();
        QCOMPARE(shownCross, QString::fromStdString(generalNumber(app.state.effectiveCrossWind)));
        QCOMPARE(shownDown, QString::fromStdString(generalNumber(app.state.effectiveDownrangeWind)));
        QCOMPARE(app.prompts.asked.last().file.startFolder, app.path(kOutput + "/"));

        // The editor: File > Open a file of the output folder, change it, save it in place.
        app.folder.write(kOutput + "/notes.txt", "first\r\n");
        auto* editor = app.windows.show<frmViewLogs>();
        app.prompts.files = {app.path(kOutput + "/notes.txt")};
        editor->mnuFileOpen_Click();
        QCOMPARE(editor->txt1->toPlainText(), QStringLiteral("first"));
        editor->txt1->setPlainText(QStringLiteral("second \u00DF"));
        editor->cmdSave_Click();
        QCOMPARE(app.folder.read(kOutput + "/notes.txt"), std::string("second \xDF\r\n"));

        // Stability results and a group file saved into the output folder.
        auto* stab = app.windows.show<frmStabilizer>();
        stab->txtCal->setText(QStringLiteral("0.308"));
        stab->txtMuzzlefps->setText(QStringLiteral("2700"));
        stab->txtTwist->setText(QStringLiteral("10"));
        stab->cmdDoIt->click();
        app.prompts.files = {app.path(kOutput + "/stab.htm")};
        stab->mnuFileSave->trigger();
        QVERIFY(app.folder.read(kOutput + "/stab.htm").rfind("<HTML>", 0) == 0);
        auto* group = app.windows.get<frmMeasure>();
        group->Timer1->stop();
        group->txtTtlRounds->setText(QStringLiteral("2"));
        for (const char* xy : {"1", "2"}) {
            group->txtX->setText(QString::fromLatin1(xy));
            group->txtY->setText(QString::fromLatin1(xy));
            group->cmdAccept_Click();
        }
        group->cmdDoIt_Click();
        app.prompts.files = {app.path(kOutput + "/g.grp")};
        group->mnuFileSave_Click();
        QVERIFY(std::filesystem::file_size(app.folder / kOutput / "g.grp") > 0);

        // Back up the databases into a package with such a name, lose them, restore them.
        const std::string rounds = app.folder.read("rounds.dtb");
        auto* backup = app.windows.show<frmUpgrade>();
        test::TestFolder desktop(false, kProgramFolderName);
        backup->setDesktopLookup([&] { return fromPath(desktop.path()); });
        backup->chkDTB->setChecked(true);
        const std::filesystem::path package = desktop.path() / "Paket \xC3\xBC \xD0\x9F";
        app.prompts.inputs = {fromPath(package)};
        backup->cmdBackup->click();
        QCOMPARE(app.prompts.asked.last().title, QStringLiteral("Backup successfull"));
        const std::string readme = desktop.read("FENDREL_README.TXT");
        QVERIFY(readme.find("\r\n" + package.string() + "\r\n") != std::string::npos);
        app.folder.write("rounds.dtb", "");
        auto* restore = app.windows.show<frmRestore>();
        restore->txtRestorePackage->setText(fromPath(package));
        app.prompts.answers = {Answer::Yes};
        restore->cmdRestore->click();
        QCOMPARE(app.prompts.asked.last().title, QStringLiteral("Restore successful!"));
        QCOMPARE(app.folder.read("rounds.dtb"), rounds);
    }
};

QTEST_MAIN(MainRoad)
#include "tst_mainroad.moc"
