// The stabilization calculator window: opening values, computing, saving and printing. The
// results and the form a file name chooses are the core's (Stability, StabilityFiles).
#include "core/stabilizer/Stability.h"
#include "gui/stabilizer/frmStabilizer.h"
#include "support/TestApp.h"
#include "gui/ui/UpDown.h"
#include "gui/workbench/frmRoundDevel.h"

#include <QPlainTextEdit>

using namespace fendrel;
using fendrel::test::TestApp;

class tst_frmStabilizer : public QObject {
    Q_OBJECT

    std::unique_ptr<TestApp> app;
    frmStabilizer* w = nullptr;

    void open() {
        app = std::make_unique<TestApp>();
        w = app->windows.show<frmStabilizer>();
    }
    void compute(const char* caliber, const char* velocity, const char* twist) {
        w->txtCal->setText(QString::fromLatin1(caliber));
        w->txtMuzzlefps->setText(QString::fromLatin1(velocity));
        w->txtTwist->setText(QString::fromLatin1(twist));
        w->cmdDoIt->click();
    }
    int textX(const QString& needle) {
        QTextCursor c(w->txtResults->document());
        c.setPosition(w->txtResults->toPlainText().indexOf(needle));
        return w->txtResults->cursorRect(c).x();
    }

private slots:
    void cleanup() { app.reset(); }

    void opensWithDefaultsDoItShowsResultsOrARefusalAndTheMainWindowsRound() {
        open();
        QCOMPARE(w->txtCal->text(), QStringLiteral("-none selected-"));
        QVERIFY(!w->mnuFileSave->isEnabled() && !w->mnuFilePrint->isEnabled());

        // The twist arrows step within 1..16.
        w->txtTwist->setText(QStringLiteral("16"));
        w->UpDown_twist->stepUp();
        QCOMPARE(w->txtTwist->text(), QStringLiteral("16"));
        w->txtTwist->setText(QStringLiteral("1"));
        w->UpDown_twist->stepDown();
        QCOMPARE(w->txtTwist->text(), QStringLiteral("1"));

        // Do It shows the results in columns; a refusal keeps them.
        compute("0.308", "2800", "10");
        QCOMPARE(w->txtResults->toPlainText(),
                 QString::fromStdString(computeStability({"0.308", "2800", "10"}).text)
                     .replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        QVERIFY(w->mnuFileSave->isEnabled() && w->mnuFilePrint->isEnabled());
        // The columns line up under their headings.
        const int slack = QFontMetrics(w->txtResults->font()).averageCharWidth();
        QVERIFY(qAbs(textX(QStringLiteral("1.42")) - textX(QStringLiteral("Standard"))) <= slack);
        QVERIFY(qAbs(textX(QStringLiteral("1.71")) - textX(QStringLiteral("Modified"))) <= slack);

        const QString before = w->txtResults->toPlainText();
        compute("1.0001", "2800", "10");
        QCOMPARE(app->prompts.last()->title, QStringLiteral("User error!"));
        QCOMPARE(app->prompts.last()->icon, Icon::Information);
        QVERIFY(app->prompts.last()->text.startsWith(QStringLiteral("The caliber you entered")));
        QCOMPARE(w->txtResults->toPlainText(), before);
        QVERIFY(w->mnuFileSave->isEnabled() && w->mnuFilePrint->isEnabled());

        // Another window opens with the round on the main window.
        app = std::make_unique<TestApp>();
        auto* main = app->windows.get<frmRoundDevel>();
        main->cmbCal->setCurrentIndex(main->cmbCal->findText(QStringLiteral(".308 Winchester")));
        main->txtfps->setText(QStringLiteral("3,100"));
        w = app->windows.show<frmStabilizer>();
        QCOMPARE(w->txtCal->text(), QStringLiteral("0.308"));
        QCOMPARE(w->txtMuzzlefps->text(), QStringLiteral("3,100"));
    }

    void printSaveAsksThenWritesTheFormItsNameAsksAndExitCloses() {
        open();
        compute("0.308", "2800", "10");
        app->prompts.prints = {test::printTo(app->path("print.pdf")), std::nullopt};
        w->mnuFilePrint->trigger();
        QVERIFY(QFileInfo(app->path("print.pdf")).size() > 0);
        w->mnuFilePrint->trigger(); // cancelled
        QVERIFY(app->prompts.messages().isEmpty());

        app->prompts.asked.clear();
        w->txtCal->setText(QStringLiteral("0.30"));
        const QString txt = app->path("YourData/stab.txt");
        app->prompts.files = {txt, std::nullopt};
        w->mnuFileSave->trigger();
        QCOMPARE(test::fileRequest(app->prompts.asked[0]),
                 "save 2 " + app->path("YourData") +
                     " ASCII Text file (*.txt)|*.txt| Hypertext mark-up file (.htm)|*.htm| "
                     "Hypertext mark-up language (.html)|*.html|");
        QCOMPARE(app->prompts.last()->text, txt + QStringLiteral(" written successfully."));
        QCOMPARE(app->prompts.last()->title, QStringLiteral("HTML Export Complete"));
        QCOMPARE(QString::fromStdString(app->state.outputFile), txt);
        // The caliber line follows the field as it stands now; the results do not.
        QVERIFY(app->folder.read("YourData/stab.txt").find("Caliber: 0.30\r\n") !=
                std::string::npos);

        // Cancel writes nothing and leaves the shared path alone.
        const auto asks = app->prompts.asked.size();
        w->mnuFileSave->trigger();
        QCOMPARE(app->prompts.asked.size(), asks + 1); // the dialog, and no message after it
        QCOMPARE(QString::fromStdString(app->state.outputFile), txt);

        w->cmdCancel->click();
        QTRY_VERIFY(!app->windows.find<frmStabilizer>());
        w = app->windows.show<frmStabilizer>();
        w->mnuFileExit->trigger();
        QTRY_VERIFY(!app->windows.find<frmStabilizer>());
    }
};

QTEST_MAIN(tst_frmStabilizer)
#include "tst_frmStabilizer.moc"
