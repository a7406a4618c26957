// The main window's saves and loads, the selection list and the text editor, driven through
// their controls with scripted dialogs.
#include "TestApp.h"
#include "core/workbench/Databases.h"
#include "gui/workbench/frmRoundDevel.h"
#include "gui/workbench/frmSelect.h"
#include "gui/workbench/frmViewLogs.h"

#include <QPlainTextEdit>

using namespace fendrel;
using fendrel::test::TestApp;
using fendrel::test::whenShown;

namespace {

// Chooses a row of the selection list, or cancels it for a negative row.
void choose(int row) {
    whenShown<frmSelect>([row](frmSelect* d) {
        if (row >= 0)
            d->lstSelector->item(row)->setSelected(true);
        (row >= 0 ? d->cmdOK : d->cmdCancel)->click();
    });
}

} // namespace

class DatabaseWindows : public QObject {
    Q_OBJECT

    std::unique_ptr<TestApp> app;
    frmRoundDevel* w = nullptr;

    std::vector<Record> rounds() { return readAllRecords(app->folder / "rounds.dtb", kRoundFields); }

private slots:
    void init() {
        app = std::make_unique<TestApp>();
        w = app->windows.get<frmRoundDevel>();
        w->Timer1->stop();
        w->TmrValidate->stop();
        w->cmbCal->setCurrentIndex(w->cmbCal->findText(QStringLiteral(".308 Winchester")));
        w->txtDescription->setText(QStringLiteral("Test load"));
    }
    void cleanup() { app.reset(); }

    // Which records a replace keeps, and the refusal of a missing description, are the session's
    // rules; here, that the questions and the status line reach the window.
    void savingAskedAboutAsTheFieldsAndTheDatabaseRequire() {
        w->cmdSaveAs->click(); // cancelled: the description is cleared, nothing is saved
        const PromptRecord& as = app->prompts.asked[0];
        QCOMPARE(as.kind, QStringLiteral("input"));
        QCOMPARE(as.text, QStringLiteral("Please type a new description for this round:"));
        QCOMPARE(as.title, QStringLiteral("Save As..."));
        QCOMPARE(as.prefilled, QStringLiteral("Test load"));
        QCOMPARE(w->txtDescription->text(), QString());
        QVERIFY(rounds().empty());

        app->prompts.asked.clear();
        w->txtDescription->setText(QStringLiteral("Test load"));
        app->prompts.answers = {Answer::Yes}; // save the firearm too
        w->cmdSave->click();
        const PromptRecord& q = app->prompts.asked[0];
        QCOMPARE(q.text, QStringLiteral("Additionally would you like to separately save the "
                                        "firearm information?"));
        QCOMPARE(q.title, QStringLiteral("Question?"));
        QCOMPARE(q.icon, Icon::Question); // Yes: the status tells the firearm was saved too
        QCOMPARE(w->statusText(), QStringLiteral("Your firearm information has been saved...retrieve "
                                                 "it for later use by loading firearm info"));

        app->prompts.inputs = {QStringLiteral("Renamed")};
        app->prompts.answers = {Answer::No};
        w->cmdSaveAs->click();
        QCOMPARE(rounds().size(), size_t(2));
        QCOMPARE(rounds()[1][0], std::string("Renamed"));
        QCOMPARE(w->txtDescription->text(), QStringLiteral("Renamed"));
    }

    void loadingARoundOrAFirearmFillsItsFields() {
        for (const char* weight : {"150", "165"}) {
            w->txtBWt->setText(QString::fromLatin1(weight));
            app->prompts.answers = {Answer::No, Answer::No};
            w->cmdSave->click();
        }
        Record unknown(kRoundFields, "x");
        unknown[1] = ".277 Wildcat Improved";
        QVERIFY(saveRecord(app->state.programFolder, kRounds, unknown, false).ok());
        w->txtBWt->setText(QStringLiteral("1"));
        whenShown<frmSelect>([](frmSelect* d) {
            QCOMPARE(d->windowTitle(), QStringLiteral("Please select from this list..."));
            QCOMPARE(d->lstSelector->count(), 3);
            QVERIFY(d->lstSelector->item(0)->text().startsWith(QStringLiteral(" Test load .308")));
            d->lstSelector->item(1)->setSelected(true);
            d->cmdOK->click();
        });
        w->mnuFileLoadR->trigger();
        QCOMPARE(w->txtBWt->text(), QStringLiteral("165"));
        QCOMPARE(w->cmbCal->currentText(), QStringLiteral(".308 Winchester"));

        // Cancel leaves every field as it is.
        w->txtBWt->setText(QStringLiteral("2"));
        choose(-1);
        w->mnuFileLoadR->trigger();
        QCOMPARE(w->txtBWt->text(), QStringLiteral("2"));

        // A caliber missing from the list joins it.
        const int before = w->cmbCal->count();
        choose(2);
        w->mnuFileLoadR->trigger();
        QCOMPARE(w->cmbCal->count(), before + 1);
        QCOMPARE(w->cmbCal->currentText(), QStringLiteral(".277 Wildcat Improved"));

        // A firearm leaves the round alone.
        QVERIFY(saveRecord(app->state.programFolder, kFirearms,
                           {"Maker", "Model 7", "1988", "SN9", "22", "7.25"}, false)
                    .ok());
        choose(0);
        w->mnuFileLoadF->trigger();
        QCOMPARE(w->cmbMake->currentText(), QStringLiteral("Maker"));
        QCOMPARE(w->txtGunBBL->text(), QStringLiteral("22"));
        QCOMPARE(w->txtGunWt->text(), QStringLiteral("7.25"));
        QCOMPARE(w->txtDescription->text(), QStringLiteral("x"));
    }

    void selectionListRules() {
        const auto list = app->folder / "editlist.txt";
        frmSelect d(list, 1);
        QVERIFY(d.lstSelector->count() >= 4);
        d.cmdOK->click();
        QCOMPARE(d.chosen(), std::nullopt); // nothing marked

        frmSelect d2(list, 1);
        d2.lstSelector->item(1)->setSelected(true);
        d2.lstSelector->item(3)->setSelected(true);
        d2.cmdOK->click();
        QCOMPARE(d2.chosen(), std::optional<int>(3)); // the last mark wins

        frmSelect d3(list, 1);
        d3.show();
        d3.lstSelector->item(0)->setSelected(true);
        d3.close(); // by the frame: Cancel
        QCOMPARE(d3.chosen(), std::nullopt);
    }

    void editDatabasesMakesABackupAndSavesTrimmed() {
        choose(-1);
        w->mnuToolsEditDTB->trigger();
        QVERIFY(!app->windows.find<frmViewLogs>());

        app->folder.write("rounds.dtb", "\r\n\"a\"\r\n");
        choose(0); // rounds.dtb
        w->mnuToolsEditDTB->trigger();
        auto* editor = app->windows.find<frmViewLogs>();
        QVERIFY(editor);
        QCOMPARE(editor->windowTitle(), QStringLiteral("View and Edit"));
        QCOMPARE(editor->txt1->toPlainText(), QStringLiteral("\"a\"")); // as the session reads it

        editor->txt1->setPlainText(QStringLiteral("   \"b\"\n\"c\"  "));
        editor->cmdSave->click();
        QCOMPARE(app->folder.read("rounds.dtb"), std::string("\"b\"\r\n\"c\"\r\n"));
        QCOMPARE(app->prompts.last()->text,
                 QStringLiteral("File saved as ") + app->path("rounds.dtb"));
        QCOMPARE(app->prompts.last()->title, QStringLiteral("Notice"));

        // Another file chosen while the editor is open: asked first when there are changes.
        editor->txt1->clear();
        QTest::keyClicks(editor->txt1, QStringLiteral("changed"));
        app->prompts.answers = {Answer::No};
        choose(1);
        w->mnuToolsEditDTB->trigger();
        QCOMPARE(app->windows.find<frmViewLogs>(), editor);
        QCOMPARE(editor->txt1->toPlainText(), QStringLiteral("changed"));
        QCOMPARE(editor->loadedFile(), app->folder / "rounds.dtb");
        app->prompts.answers = {Answer::Yes};
        choose(1);
        w->mnuToolsEditDTB->trigger();
        QCOMPARE(editor->loadedFile(), app->folder / "Firearms.dtb");
    }

    void editorOpenUsesTheFilterAndRefusesSavingNothing() {
        app->state.currentDataFile.clear();
        auto* editor = app->windows.show<frmViewLogs>();
        editor->Form_Load(); // no path: asks for a file, cancelled
        QCOMPARE(test::fileRequest(*app->prompts.last()),
                 "open 2 " + QString::fromStdString(app->folder.path().string()) +
                     " text file (.txt)|*.txt| Comma-delimited files (.csv)|*.csv| "
                     "Initialization files (.ini)|*.ini| Database files (.dtb)|*.dtb|");
        editor->txt1->setPlainText(QStringLiteral("nothing loaded"));
        editor->cmdSave->click();
        QVERIFY(app->prompts.last()->text.startsWith(QStringLiteral("No file is loaded")));
    }
};

QTEST_MAIN(DatabaseWindows)
#include "tst_databases.moc"
