// The range card window driven through its controls: the round on screen, the remembered
// fields, refusals, the CSV against the command line, the last group, the load history and
// the hit probability panel.
#include "core/history/HistoryDatabase.h"
#include "core/rangecard/HitProbability.h"
#include "core/rangecard/RangeCardForm.h"
#include "gui/rangecard/frmDopeCard.h"
#include "gui/rangecard/frmRangeCard.h"
#include "support/TestApp.h"

#include <QAccessible>
#include <QChartView>
#include <QClipboard>
#include <QLineSeries>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>

using namespace fendrel;
using fendrel::test::child;
using fendrel::test::TestApp;

class tst_frmRangeCard : public QObject {
    Q_OBJECT

    std::unique_ptr<TestApp> app;
    test::ShownRound round;
    frmRangeCard* w = nullptr;

    void open() {
        w = app->windows.show<frmRangeCard>();
        QVERIFY(w->card().has_value());
    }
    void type(const char* name, const QString& text) { child<QLineEdit>(w, name)->setText(text); }
    QList<QPointF> curve(const char* chart) {
        auto* series = static_cast<QLineSeries*>(child<QChartView>(w, chart)->chart()->series()[0]);
        return series->points();
    }

private slots:
    void init() {
        app = std::make_unique<TestApp>();
        round.texts = {"308 Match 168", ".308 Winchester", "168", ".462", "", "", "", "2650", ""};
        app->context.mainWindow = &round;
    }
    void cleanup() { app.reset(); }

    // Tab walks the fields as the groups stand, the card is one stop, and the hit panel is
    // reached; the target's sizes are told apart from the bullet's by name.
    void theKeyboardReachesEveryPartInOrder() {
        open();
        const QStringList chain = test::focusChain(w, child<QLineEdit>(w, "txtBC"));
        const QStringList expected = {
            "txtBC", "txtBcBands", "txtVelocity", "txtWeight", "txtDiameter", "txtLength",
            "txtTwist", "cmbDrag", "cmdFromHistory", "txtSightHeight", "txtZero", "txtClick",
            "txtStep", "txtMaximum", "cmbClickUnit", "cmbUnits", "txtDangerHeight",
            "cmdPointBlank", "txtPressure", "txtTemperature", "txtHumidity", "txtAltitude",
            "txtWindSpeed", "txtWindFrom", "txtWindBrackets", "txtLookAngle",
            "txtLatitude", "txtAzimuth", "txtPowderTemperature", "txtVelocityTemperature",
            "txtSensitivity", "grdCard", "barLower", "optRectangle", "txtTargetWidth", "txtTargetHeight",
            "txtVelocitySd", "txtVelocitySdShots", "txtWindSd", "txtRangeSd", "txtDispersion",
            "txtDispersionShots", "cmdFromLastGroup", "grdHit"};
        QCOMPARE(chain, expected);
        auto name = [&](const char* field) {
            return QAccessible::queryAccessibleInterface(child<QWidget>(w, field))
                ->text(QAccessible::Name);
        };
        QCOMPARE(name("txtDiameter"), QStringLiteral("Diameter (in)"));
        QCOMPARE(name("txtTargetDiameter"), QStringLiteral("Target diameter (in)"));
        // Alt+F is the File menu's alone.
        QCOMPARE(child<QPushButton>(w, "cmdFromHistory")->text(),
                 QStringLiteral("From &history..."));
    }

    // The units follow the combo box; closing the window keeps the fields for the next.
    void fillsFromTheRoundAndRemembersTheRest() {
        open();
        QCOMPARE(child<QLineEdit>(w, "txtBC")->text(), QStringLiteral("0.462"));
        type("txtLength", QStringLiteral("1.215"));
        type("txtTwist", QStringLiteral("10"));
        child<QComboBox>(w, "cmbUnits")->setCurrentIndex(1);
        QCOMPARE(child<QLineEdit>(w, "txtVelocity")->text(), QStringLiteral("807.72"));
        QCOMPARE(child<QLabel>(w, "lblUnitVelocity")->text(), QStringLiteral("m/s"));
        QCOMPARE(child<QLineEdit>(w, "txtZero")->accessibleName(), QStringLiteral("Zero (m)"));
        w->close();
        QTRY_VERIFY(!app->windows.find<frmRangeCard>());
        open();
        QCOMPARE(child<QComboBox>(w, "cmbUnits")->currentIndex(), 1);
        QCOMPARE(child<QLineEdit>(w, "txtTwist")->text(), QStringLiteral("254"));
        QVERIFY(child<QLabel>(w, "lblSummary")->text().contains(QRegularExpression("Sg \\d")));
    }

    void showsARefusalAndNothingElse() {
        open();
        type("txtVelocity", QStringLiteral("fast"));
        QTRY_VERIFY(!w->card().has_value());
        QCOMPARE(child<QLabel>(w, "lblMessage")->text(),
                 QStringLiteral("The muzzle velocity must be a number, not 'fast'."));
        QCOMPARE(child<QTableWidget>(w, "grdCard")->rowCount(), 0);
        QVERIFY(curve("chtPath").isEmpty() && curve("chtHit").isEmpty());
        QVERIFY(!w->mnuFileCsv->isEnabled());
        QVERIFY(app->prompts.asked.isEmpty());
    }

    void savesTheSameCsvAsTheCommandLine() {
        open();
        type("txtWindSpeed", QStringLiteral("10"));
        type("txtTemperature", QStringLiteral("40"));
        type("txtLength", QStringLiteral("1.215"));
        type("txtTwist", QStringLiteral("-11"));
        child<QComboBox>(w, "cmbDrag")->setCurrentIndex(1);
        child<QComboBox>(w, "cmbClickUnit")->setCurrentIndex(1);
        QCOMPARE(child<QLineEdit>(w, "txtClick")->text(), QStringLiteral("0.1"));
        app->prompts.files.push_back(app->path("card"));
        w->mnuFileCsv->trigger();
        QCOMPARE(app->prompts.last()->kind, QStringLiteral("save"));

        const test::CalcRun cli = test::runCalc(
            "card --bc .462 --drag G7 --velocity 2650 --weight 168 --diameter .308 --length 1.215 "
            "--twist -11 --temperature 40 --wind-speed 10 --wind-from 90 --click-mil 0.1 "
            "--format csv");
        QCOMPARE(cli.status, 0);
        QCOMPARE(app->folder.read("card.csv"), cli.out);

        app->prompts.files.push_back(app->path("card"));
        w->mnuFilePdf->trigger();
        QVERIFY(app->folder.read("card.pdf").rfind("%PDF", 0) == 0);
        w->mnuFileCopy->trigger();
        QVERIFY(QGuiApplication::clipboard()->text().startsWith(QStringLiteral("Range card\n")));
    }

    // The buttons reach the last group and the history; what they take is the session's.
    void fromLastGroupAndFromHistoryFillTheFields() {
        open();
        app->state.lastGroup = LastGroup{};
        app->state.lastGroup->meanRadius = 0.8;
        app->prompts.inputs.push_back(QStringLiteral("200"));
        w->cmdFromLastGroup->click();
        QCOMPARE(app->prompts.last()->prefilled, QStringLiteral("100"));
        QCOMPARE(child<QLineEdit>(w, "txtDispersion")->text(),
                 QString::fromStdString(fieldNumber(rayleighSigmaMoa(0.8, 200), 3)));

        {
            auto history = HistoryDatabase::open(app->folder.path()).database;
            QVERIFY(history);
            VelocityString s;
            s.date = "2024-06-01";
            s.shotsFps = {2690, 2700, 2710};
            QVERIFY(history->addString(round.texts.description, s).ok());
        }
        app->prompts.inputs = {QStringLiteral("1")};
        w->cmdFromHistory->click();
        QCOMPARE(child<QLineEdit>(w, "txtVelocity")->text(), QStringLiteral("2700"));
        QTRY_COMPARE(w->card()->muzzleVelocity, 2700.0);
    }

    void redrawsTheHitProbabilityAsTheUserTypes() {
        open();
        const QList<QPointF> before = curve("chtHit");
        QCOMPARE(before.size(), 20);
        QCOMPARE(before.first().x(), 100.0);
        QCOMPARE(before.last().x(), 1000.0);
        for (int i = 1; i < before.size(); ++i)
            QVERIFY(before[i].y() <= before[i - 1].y() + 1);

        child<QRadioButton>(w, "optCircle")->click();
        QVERIFY(!child<QLineEdit>(w, "txtTargetWidth")->isEnabled());
        type("txtTargetDiameter", QStringLiteral("30"));
        QTRY_VERIFY(curve("chtHit").last().y() > before.last().y() + 10);

        // The shots behind both spreads give the band, shaded and in the table.
        type("txtVelocitySdShots", QStringLiteral("5"));
        type("txtDispersionShots", QStringLiteral("10"));
        QTRY_COMPARE(child<QChartView>(w, "chtHit")->chart()->series().size(), 2);
        QVERIFY(child<QTableWidget>(w, "grdHit")->item(19, 1)->text().contains(QChar(0x2013)));
        type("txtDispersionShots", QString());
        QTRY_VERIFY(child<QLabel>(w, "lblHitMessage")->text().contains(QLatin1String("both")));

        type("txtTargetDiameter", QStringLiteral("0"));
        QTRY_VERIFY(curve("chtHit").isEmpty());
        QVERIFY(!child<QLabel>(w, "lblHitMessage")->text().isEmpty());
        QVERIFY(w->card().has_value());
    }

    // The truing page: corrections typed into the table (a new row appears for the next one),
    // the fit with its residuals before and after, Use into the card.
    void truesTheVelocityOnItsPage() {
        open();
        w->tabLower->setCurrentIndex(1);
        auto* table = w->grdObservations;
        QCOMPARE(table->horizontalHeaderItem(1)->text(), QStringLiteral("Correction (MOA)"));
        const char* typed[][2] = {{"300", "4.5"}, {"500", "11"}};
        for (int r = 0; r < 2; ++r)
            for (int c = 0; c < 2; ++c)
                table->item(r, c)->setText(QString::fromLatin1(typed[r][c]));
        QCOMPARE(table->rowCount(), 3);
        QVERIFY(!w->cmdUseTruing->isEnabled());
        w->cmdFitVelocity->click();
        QVERIFY2(w->lblTruing->text().startsWith(QStringLiteral("Muzzle velocity ")),
                 qPrintable(w->lblTruing->text()));
        QCOMPARE(child<QChartView>(w, "chtResiduals")->chart()->series().size(), 2);
        w->cmdUseTruing->click();
        QVERIFY(child<QLineEdit>(w, "txtVelocity")->text() != QStringLiteral("2650"));
        QVERIFY(child<QLabel>(w, "lblSummary")->text().contains(QLatin1String("Trued: velocity")));
    }

    // Brackets and the danger space add columns to the card; MPBR sets the zero; File > Print
    // DOPE card... previews the card and saves it as PDF.
    void fieldCardColumnsZeroAndDopeCard() {
        open();
        type("txtWindBrackets", QStringLiteral("5, 10"));
        type("txtDangerHeight", QStringLiteral("18"));
        w->calculate();
        auto* card = child<QTableWidget>(w, "grdCard");
        QCOMPARE(card->horizontalHeaderItem(card->columnCount() - 1)->text(),
                 QStringLiteral("Danger\nyd"));
        app->prompts.inputs.push_back(QStringLiteral("6"));
        w->cmdPointBlank->click();
        QVERIFY(child<QLineEdit>(w, "txtZero")->text() != QStringLiteral("100"));

        test::whenShown<frmDopeCard>([this](frmDopeCard* d) {
            QVERIFY(d->cmdPdf->isEnabled());
            d->txtEvery->setText(QStringLiteral("10"));
            QVERIFY(d->lblMessage->text().contains(QLatin1String("at most 12 rows")));
            QVERIFY(!d->cmdPdf->isEnabled());
            d->txtEvery->setText(QStringLiteral("100"));
            app->prompts.files.push_back(app->path("dope"));
            d->cmdPdf->click();
            d->cmdClose->click();
        });
        w->mnuFileDope->trigger();
        QVERIFY(app->folder.read("dope.pdf").rfind("%PDF-", 0) == 0);
    }
};

QTEST_MAIN(tst_frmRangeCard)
#include "tst_frmRangeCard.moc"
