// The shot group window: coordinate entry, the target drawing, Do It and the group files it
// saves, opens and prints. The entry rules, the statistics and the file format are the core's.
#include "gui/groups/TargetWidget.h"
#include "gui/groups/frmMeasure.h"
#include "support/TestApp.h"
#include "gui/ui/UpDown.h"
#include "gui/workbench/frmRoundDevel.h"

#include <QTableWidget>
#include <QTextEdit>

using namespace fendrel;
using fendrel::test::TestApp;

namespace {

const QString kTitle = QStringLiteral("ex: 10-May-2003, 75F, light breeze, sunny");

} // namespace

class tst_frmMeasure : public QObject {
    Q_OBJECT

    std::unique_ptr<TestApp> app;
    frmMeasure* w = nullptr;

    void open() {
        if (!app)
            app = std::make_unique<TestApp>();
        w = app->windows.get<frmMeasure>();
        w->Timer1->stop(); // the tests tick it themselves
    }
    void accept(const QString& x, const QString& y) {
        w->txtX->setText(x);
        w->txtY->setText(y);
        w->cmdAccept_Click();
    }
    // Rounds (1,1), (2,2), ... up to `count`.
    void acceptDiagonal(int count) {
        for (int i = 1; i <= count; ++i)
            accept(QString::number(i), QString::number(i));
    }
    QStringList column(int c) const {
        QStringList out;
        for (int r = 1; r <= w->gridSpread->rowCount(); ++r)
            out << w->cell(r, c);
        return out;
    }
    void checkEntry(bool acceptOn, bool doItOn) {
        QCOMPARE(w->cmdAccept->isEnabled(), acceptOn);
        QCOMPARE(w->cmdAccept->toolTip(),
                 acceptOn ? QStringLiteral("Enter the X and Y coordinates for the center of each "
                                           "shot and then click 'Accept'.")
                          : QStringLiteral("All coordinates have been entered. Click the 'Do It' "
                                           "button or increase the total number of rounds in "
                                           "this group."));
        QCOMPARE(w->cmdDoIt->isEnabled(), doItOn);
    }

private slots:
    void cleanup() { app.reset(); }

    void opensWithTheMainWindowsCaliberAndAcceptFillsTheGrid() {
        app = std::make_unique<TestApp>();
        app->folder.write("calibers.ini", "\".22-250 Remington\"\r\n");
        app->windows.get<frmRoundDevel>()->cmbCal->setCurrentIndex(0);
        open();
        QCOMPARE(w->windowTitle(), QStringLiteral("Measures"));
        QCOMPARE(w->txtCal->text(), QStringLiteral("0.22"));
        QCOMPARE(w->txtTitle->text(), kTitle);
        QCOMPARE(w->lblCounter->text(), QStringLiteral("Round 1"));
        QCOMPARE((QStringList{w->cell(0, 0), w->cell(0, 1), w->cell(0, 2)}),
                 (QStringList{"Round", "X coord", "Y coord"}));
        QCOMPARE(column(0), (QStringList{"1", "2", "3", "4", "5"}));
        checkEntry(true, false);
        QVERIFY(!w->mnuFileSave->isEnabled() && !w->mnuFilePrint->isEnabled());
        QVERIFY(w->rtbDump->isHidden() && w->Picture1->isHidden());

        // Accept refuses (as the session's test tells) or fills the grid until the last round.
        accept("", "1");
        QCOMPARE(app->prompts.last()->title, QStringLiteral("Error"));
        QCOMPARE(app->prompts.last()->icon, Icon::Error);
        QCOMPARE(w->cell(1, 1), QString());

        accept("1", ".25");
        accept("2.12345", "-0.5");
        acceptDiagonal(3);
        QCOMPARE(column(1), (QStringList{"1.0", "2.123", "1.0", "2.0", "3.0"}));
        QCOMPARE(column(2), (QStringList{"0.25", "-0.5", "1.0", "2.0", "3.0"}));
        QCOMPARE(w->lblCounter->text(), QStringLiteral("Round 5"));
        checkEntry(false, true);
        w->Timer1_Timer();
        checkEntry(true, true);
    }

    void enterAcceptsFocusEmptiesTheFieldAndAClickSelectsARound() {
        open();
        test::activate(w);
        w->txtX->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(w->txtX->text(), QString());
        w->txtX->setText(QStringLiteral("2"));
        w->txtY->setText(QStringLiteral("3"));
        QTest::keyClick(w->txtX, Qt::Key_Return);
        QCOMPARE(w->cell(1, 2), QStringLiteral("3.0"));
        w->txtY->setFocus(Qt::MouseFocusReason);
        QTRY_COMPARE(w->txtY->text(), QString());

        acceptDiagonal(4);
        const QRect row3 = w->gridSpread->visualRect(w->gridSpread->model()->index(2, 1));
        QTest::mouseClick(w->gridSpread->viewport(), Qt::LeftButton, {}, row3.center());
        QCOMPARE(w->lblCounter->text(), QStringLiteral("Round 3"));
        accept("6", "6");
        QCOMPARE(column(1), (QStringList{"2.0", "1.0", "6.0", "3.0", "4.0"}));
        QCOMPARE(w->currentRound(), 4);
    }

    // Which rounds may be entered is the core's rule; here, that the grid follows the field and
    // Clear and Do It reach the entry.
    void theRoundsFieldResizesTheGridAndClearEmptiesIt() {
        open();
        acceptDiagonal(5);
        w->UpDown1->stepUp();
        QCOMPARE(w->txtTtlRounds->text(), QStringLiteral("6"));
        checkEntry(true, false);
        QCOMPARE(column(1), (QStringList{"1.0", "2.0", "3.0", "4.0", "5.0", ""}));
        w->UpDown1->stepDown();
        w->UpDown1->stepDown();
        QCOMPARE(column(1), (QStringList{"1.0", "2.0", "3.0", "4.0"}));
        w->Timer1_Timer();
        checkEntry(false, true);

        w->cmdDisplay_Click();
        w->cmdClear_Click();
        QCOMPARE(column(1) + column(2), QStringList(8, QString()));
        QCOMPARE(w->lblCounter->text(), QStringLiteral("Round 1"));
        QVERIFY(!w->displayed());
        w->Timer1_Timer(); // still offers Do It, which refuses the empty rounds
        QVERIFY(w->cmdDoIt->isEnabled());
        w->cmdDoIt_Click();
        QCOMPARE(app->lastMessage(), QStringLiteral("Round 1 has no coordinates yet: enter its X "
                                                    "and Y before measuring the group."));
        QVERIFY(!QFile::exists(app->path("ES_dist.dmp")));

        for (const char* bad : {"abc", "182"}) {
            w->txtTtlRounds->setText(QString::fromLatin1(bad));
            QCOMPARE(w->gridSpread->rowCount(), 4);
        }
        w->cmdDoIt_Click();
        w->cmdDisplay_Click();
        accept("2", "2");
        QCOMPARE(app->prompts.messages().mid(1),
                 QStringList(3, QStringLiteral(
                                    "The number of rounds must be a whole number from 2 to 181.")));
        QCOMPARE(w->cell(1, 1), QString());
    }

    // The scale and hole size are the core's; here, that the target shows them.
    void displayDrawsHolesRescalesALargeGroupAndClearTheTargetErasesThem() {
        open();
        w->txtCal->setText(QStringLiteral("0.308"));
        w->txtTtlRounds->setText(QStringLiteral("3"));
        accept("1", "2");
        accept("6", "0.5");
        w->cmdDisplay_Click();
        QVERIFY(app->prompts.asked.isEmpty()); // within 6 inches: no re-scaling
        const auto& holes = w->picTarget->holes();
        QCOMPARE(holes.size(), size_t(3));
        QCOMPARE(holes[0].centre, QPointF(510, 1014));
        QCOMPARE(holes[0].radius, 78.0);
        QVERIFY(w->lblCaption->text().endsWith(QStringLiteral("cell is 1.00 inch in size).")));
        w->cmdCLS_Click();
        QVERIFY(w->picTarget->holes().empty() && !w->displayed());

        accept("10", "4");
        w->cmdDisplay_Click();
        QCOMPARE(app->prompts.last()->title, QStringLiteral("Re-Scaling"));
        QCOMPARE(app->prompts.last()->text,
                 QStringLiteral("Your coordinates will fall outside the target graphic.  "
                                "Fen-drel will re-scale your group to fit."));
        QVERIFY(w->lblCaption->text().endsWith(QStringLiteral("cell is 2.00 inch in size).")));
        QCOMPARE(w->picTarget->holes()[2].centre, QPointF(2550, 1014));
    }

    void doItMeasuresAndTheSavedGroupReopensWithItsDrawing() {
        open();
        w->txtCal->setText(QStringLiteral("0.308"));
        w->txtTtlRounds->setText(QStringLiteral("2"));
        accept("1", "1");
        accept("1", "2.125");
        w->cmdDisplay_Click();
        w->cmdDoIt_Click(); // No: nothing saved
        const PromptRecord q = *app->prompts.last();
        QCOMPARE(q.title, QStringLiteral("Calculations Complete"));
        QCOMPARE(q.icon, Icon::Question);
        QCOMPARE(q.buttons, Buttons::YesNo);
        QCOMPARE(app->prompts.asked.size(), 1);
        QVERIFY(w->mnuFileSave->isEnabled());

        const QString file = app->path("YourData/first.grp");
        app->prompts.answers.push_back(Answer::Yes);
        app->prompts.files.push_back(file);
        w->cmdDoIt_Click();
        QVERIFY(w->mnuFilePrint->isEnabled());
        const std::string saved = kTitle.toStdString() + "\r\n0.308\r\n2\r\n1,1\r\n1,2.125\r\n";
        QCOMPARE(app->folder.read("YourData/first.grp").substr(0, saved.size()), saved);

        app->windows.closeAll();
        open();
        app->prompts.files.push_back(file);
        w->mnuFileGroup_Click();
        QCOMPARE(w->txtTitle->text(), kTitle);
        QCOMPARE(w->txtCal->text(), QStringLiteral("0.308"));
        QCOMPARE(column(1) + column(2), (QStringList{"1", "1", "1", "2.125"}));
        QCOMPARE(w->picTarget->holes().size(), size_t(2));
        QCOMPARE(w->picTarget->holes()[1].centre, QPointF(510, 2.125 * 507));
        QVERIFY(w->mnuFileSave->isEnabled() && w->mnuFilePrint->isEnabled());
        w->Timer1_Timer(); // round 3 of 2: entry is over
        checkEntry(false, true);
    }

    void saveBeforeDoItPrintAndOpenABadFile() {
        open();
        acceptDiagonal(5);
        w->mnuFilePrint_Click();
        QVERIFY(app->lastMessage().startsWith(QStringLiteral("There is no group file to print.")));
        const QString file = app->path("YourData/early"); // the extension is added
        app->prompts.files.push_back(file);
        w->mnuFileSave_Click();
        QCOMPARE(QString::fromStdString(w->groupFilePath().string()), file + QStringLiteral(".grp"));
        QVERIFY(app->folder.read("YourData/early.grp").ends_with("5,5\r\n\r\n 0\r\n"));

        w->mnuFilePrint_Click(); // its print dialog is cancelled: silently back as it was
        QCOMPARE(app->prompts.last()->kind, QStringLiteral("print"));
        QVERIFY(w->rtbDump->isHidden() && w->Picture1->isHidden());

        app->prompts.prints = {test::printTo(app->path("page.pdf"))};
        w->mnuFilePrint_Click();
        QVERIFY(QFile(app->path("page.pdf")).size() > 1000);
        QCOMPARE(w->rtbDump->toPlainText(), QStringLiteral("1,1\n2,2\n3,3\n4,4\n5,5\n"));
        QVERIFY(w->rtbDump->isHidden());

        w->mnuFileSave_Click(); // cancelled: no file, but Print stays on
        QVERIFY(w->groupFilePath().empty());
        QVERIFY(w->mnuFilePrint->isEnabled());

        // Opening a missing file changes nothing; a bad one keeps what was read.
        app->prompts.asked.clear();
        app->folder.write("YourData/bad.grp", "Cut short\r\n0.224\r\n3\r\n9,9\r\n");
        app->prompts.files.push_back(app->path("YourData/missing.grp"));
        app->prompts.files.push_back(app->path("YourData/bad.grp"));
        w->mnuFileGroup_Click();
        QCOMPARE(w->txtTitle->text(), kTitle);
        w->mnuFileGroup_Click();
        QVERIFY(app->prompts.messages().isEmpty());
        QCOMPARE(w->txtTitle->text(), QStringLiteral("Cut short"));
        QCOMPARE(column(1), (QStringList{"9", "2.0", "3.0"}));
        QVERIFY(w->groupFilePath().empty());
    }
};

QTEST_MAIN(tst_frmMeasure)
#include "tst_frmMeasure.moc"
