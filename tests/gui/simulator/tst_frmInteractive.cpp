// The range simulator window: the dial, Apply wind, the traces and legends on the map, zeroing
// from a yardage label, printing and saving the map. The winds, the map's points and the
// legends' texts are the core's (WindDial, RangeMap).
#include "core/simulator/RangeMap.h"
#include "gui/simulator/RangeMapWidget.h"
#include "core/simulator/WindDial.h"
#include "gui/simulator/WindDialWidget.h"
#include "gui/simulator/frmInteractive.h"
#include "support/TestApp.h"
#include "gui/workbench/frmRoundDevel.h"

#include <cmath>

using namespace fendrel;
using fendrel::test::TestApp;

namespace {

const QColor kRed(255, 0, 0);

// The twips of the circle's point at a bearing.
QPointF circleAt(double bearing) {
    const double a = (bearing - 90) * M_PI / 180;
    return {WindDial::kCentreX + WindDial::kCircleRadius * std::cos(a),
            WindDial::kCentreY + WindDial::kCircleRadius * std::sin(a)};
}

QPoint pixelOf(QPointF twips) {
    return {static_cast<int>(twips.x() / 15), static_cast<int>(twips.y() / 15)};
}

// Whether a colour is found at a pixel or one of its eight neighbours.
bool colourNear(const QImage& image, QPoint at, const QColor& colour) {
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
            if (image.valid(at.x() + dx, at.y() + dy) &&
                image.pixelColor(at.x() + dx, at.y() + dy) == colour)
                return true;
    return false;
}

// Remembers whether the map's overlay was showing when the print dialog came up.
class WatchingPrompts : public ScriptedPrompts {
public:
    QWidget* overlay = nullptr;
    bool overlayShown = false;
    std::optional<PrintSetup> print(QWidget* parent, const PrintSetup& initial) override {
        overlayShown = overlay && overlay->isVisible();
        return ScriptedPrompts::print(parent, initial);
    }
};

} // namespace

class tst_frmInteractive : public QObject {
    Q_OBJECT

    std::unique_ptr<TestApp> app;
    frmInteractive* w = nullptr;

    void open() {
        app = std::make_unique<TestApp>();
        w = app->windows.show<frmInteractive>();
        w->seedColours(5);
    }
    void click(double bearing) { w->picWindDial_MouseDown(circleAt(bearing)); }
    QImage map() const { return w->picRange->image(); }
    bool red(const SimulatorRow& row) const {
        const auto p = mapPoint(row.range, row.drift);
        return p && colourNear(map(), QPoint(p->x, p->y), kRed);
    }

private slots:
    void cleanup() { app.reset(); }

    void opensWithTheMainWindowsRoundAndAYardageZeroes() {
        app = std::make_unique<TestApp>();
        auto* main = app->windows.get<frmRoundDevel>();
        main->txtBC->setText(QStringLiteral(".505"));
        main->txtfps->setText(QStringLiteral("2650"));
        w = app->windows.show<frmInteractive>();
        QCOMPARE(w->txtBC->text(), QStringLiteral(".505"));
        QCOMPARE(w->txtfps->text(), QStringLiteral("2650"));
        QVERIFY(w->Shape1->isVisible() && !w->Picture1->isVisible());
        QVERIFY(!w->menuBar()->actions().contains(w->mnuEdit->menuAction()));

        // A right click on a yardage offers to zero there.
        QTest::mousePress(w->Label13, Qt::LeftButton);
        QVERIFY(!w->mnuEdit->isVisible());
        QCOMPARE(w->selectedYardage(), 0);
        QTest::mousePress(w->Label10, Qt::RightButton);
        QVERIFY(!w->mnuEdit->isVisible());
        QTest::mousePress(w->Label12, Qt::RightButton);
        QCOMPARE(w->selectedYardage(), 300);
        QVERIFY(w->mnuEdit->isVisible());
        w->mnuEditZero->trigger();
        w->mnuEdit->hide();
        QCOMPARE(w->txtZero->text(), QStringLiteral("300"));
    }

    // A click counts when it lands on the circle's blue: every whole bearing must find it.
    void dialArtworkIsBlueOnTheCircle() {
        const QImage art = WindDialWidget::artwork();
        QCOMPARE(art.size(), QSize(167, 152));
        for (int b = 0; b < 360; ++b)
            QVERIFY2(art.pixelColor(pixelOf(circleAt(b))) == WindDialWidget::kCircleBlue,
                     qPrintable(QString::number(b)));
    }

    void clicksOnTheCircleSetTheBearingAndApplyDrawsIt() {
        open();
        click(180);
        QCOMPARE(w->txtBearing->text(), QStringLiteral("180"));
        QVERIFY(!w->Shape1->isVisible());
        QVERIFY(colourNear(w->picWindDial->image(), QPoint(84, 110), Qt::black)); // the line
        // A real mouse press, any button, on the circle's pixel at the right end.
        QTest::mousePress(w->picWindDial, Qt::RightButton, {}, QPoint(154, 76));
        QCOMPARE(w->clickColour(), WindDialWidget::kCircleBlue);
        QVERIFY(std::fabs(w->windBearing() - 90) < 1);

        // Off the circle: the bearing stays, the box is rewritten, the old line is gone.
        click(60);
        w->txtBearing->setText(QStringLiteral("123"));
        QTest::mousePress(w->picWindDial, Qt::LeftButton, {}, QPoint(100, 60));
        QCOMPARE(w->txtBearing->text(), QStringLiteral("60"));
        const QPointF c(WindDial::kCentreX, WindDial::kCentreY);
        const QPointF at = circleAt(60);
        QVERIFY(!colourNear(w->picWindDial->image(), pixelOf((c + at) / 2), Qt::black));

        // Apply wind draws the line of bearing 60 through the clicked point.
        w->txtWindSpeed->setText(QStringLiteral("10"));
        w->cmdApply->click();
        QVERIFY(colourNear(w->picWindDial->image(), pixelOf((c + at) / 2), Qt::black));
        QVERIFY(colourNear(w->picWindDial->image(), pixelOf(c + (at - c) * 0.9), Qt::black));

        // Apply wind fills the effective winds; a refused speed changes nothing.
        w->txtBearing->setText(QStringLiteral("180"));
        w->cmdApply->click();
        QCOMPARE(w->Text1->text(), QStringLiteral("0.02"));
        QCOMPARE(w->Text2->text(), QStringLiteral("-10.02"));
        QVERIFY(std::fabs(app->state.effectiveCrossWind - 0.02) < 1e-9);
        QVERIFY(std::fabs(app->state.effectiveDownrangeWind + 10.02) < 1e-9);

        w->txtWindSpeed->setText(QStringLiteral("1e400"));
        w->cmdApply->click();
        QCOMPARE(app->prompts.last()->title, QStringLiteral("User error!"));
        QCOMPARE(w->Text1->text(), QStringLiteral("0.02"));
    }

    void refreshDrawsTheRedTraceAddKeepsItAndNewColoursCarryALegend() {
        open();
        w->Text1->setText(QStringLiteral("7.07"));
        w->cmdRefresh->click();
        QVERIFY(app->prompts.asked.isEmpty());
        const SimulatorRow windy = w->simulator().row(11);
        for (int i = 1; i <= 11; ++i)
            QVERIFY2(red(w->simulator().row(i)), qPrintable(QString::number(i)));
        QVERIFY(windy.drift > 5);
        QCOMPARE(w->txtTraj[0]->text(), QStringLiteral("-1.5"));
        QCOMPARE(w->txtMV[0]->text(), QStringLiteral("2,800"));
        QCOMPARE(w->txtTraj[5]->text(), QString::fromStdString(trajectoryText(windy.drop)));
        QCOMPARE(w->txtMV[5]->text(), QString::fromStdString(velocityText(windy.velocity)));

        w->Text1->setText(QStringLiteral("-3"));
        w->cmdAdd->click();
        QVERIFY(red(windy));
        QVERIFY(red(w->simulator().row(11)));
        w->cmdRefresh->click();
        QVERIFY(!red(windy));
        QVERIFY(red(w->simulator().row(11)));

        // A new colour's trace carries a legend, on the side the wind blows from.
        w->cmdRefresh->click();
        std::mt19937 same(5);
        const TraceColour first = randomTraceColour(same);
        w->Text1->setText(QStringLiteral("0"));
        w->cmdAdd_color->click(); // no wind: on the left
        QCOMPARE(w->drawMode(), std::uint8_t(3));
        QCOMPARE(w->traceColour().red, first.red);
        QCOMPARE(w->traceColour().blue, first.blue);
        const auto muzzle = mapPoint(0, 0);
        QVERIFY(colourNear(map(), QPoint(muzzle->x, muzzle->y - 1),
                           QColor(first.red, first.green, first.blue)));

        w->Text1->setText(QStringLiteral("2.5"));
        w->cmdAdd_color->click(); // a positive cross wind: on the right, one line lower
        const auto& legends = w->picRange->legends();
        QCOMPARE(int(legends.size()), 2);
        QCOMPARE(legends[0].dot, QPoint(20, 200));
        QCOMPARE(legends[1].dot, QPoint(170, 212));
        QCOMPARE(legends[1].text, QStringLiteral("2.5  mph"));
        // Text that would run off the right edge is moved left onto the map.
        QVERIFY(legends[1].textAt.x() < 170 && legends[1].textAt.x() > 100);
        QVERIFY(colourNear(map(), legends[1].dot, legends[1].colour));

        w->cmdRefresh->click(); // clears the map but not the legend line
        w->cmdAdd_color->click();
        QCOMPARE(int(legends.size()), 1);
        QCOMPARE(legends[0].dot, QPoint(170, 224));
    }

    void invalidInputsOrMissingSettingsDrawNothingAndSaveWritesTheMap() {
        open();
        w->cmdRefresh->click();
        const QImage before = map();
        const TraceColour colour = w->traceColour();
        const QString mv = w->txtMV[5]->text();
        w->txtBC->setText(QStringLiteral("1.2"));
        w->cmdAdd_color->click(); // refused as checkSimulatorInputs says
        QCOMPARE(app->prompts.last()->title, QStringLiteral("User error!"));
        QCOMPARE(w->drawMode(), std::uint8_t(0));
        QCOMPARE(w->traceColour().green, colour.green);
        QCOMPARE(w->legendLine(), 200);
        QCOMPARE(map(), before);

        w->txtBC->setText(QStringLiteral(".421"));
        w->txtfps->setText(QStringLiteral("3000"));
        const std::string settings = app->folder.read("parameters.ini");
        std::filesystem::remove(app->folder / "parameters.ini");
        w->cmdRefresh->click();
        QVERIFY(app->prompts.last()->text.contains(QStringLiteral("parameters.ini")));
        QCOMPARE(map(), before);
        QCOMPARE(w->txtMV[5]->text(), mv);

        app->folder.write("parameters.ini", settings); // and the map saved as a bitmap
        app->prompts.asked.clear();
        w->Text1->setText(QStringLiteral("5"));
        w->cmdAdd_color->click();
        const QString path = app->path("YourData/map.bmp");
        app->prompts.files = {path, std::nullopt, app->path("no/such/folder/map.bmp")};
        w->mnuFileSave->trigger();
        QCOMPARE(test::fileRequest(app->prompts.asked[0]),
                 "save 1 " + app->path("YourData") + " Windows BitMap (.BMP)|*.bmp|");
        QCOMPARE(QString::fromStdString(app->state.outputFile), path);
        QVERIFY(app->folder.read("YourData/map.bmp").rfind("BM", 0) == 0);
        QCOMPARE(QImage(path).convertToFormat(QImage::Format_RGB32), map());

        // Cancel empties the shared path; an unwritable one is passed over in silence.
        w->mnuFileSave->trigger();
        QCOMPARE(app->state.outputFile, std::string());
        w->mnuFileSave->trigger();
        QCOMPARE(app->prompts.messages().size(), 0);
    }

    void printShowsTheMapThroughTheOverlay() {
        app = std::make_unique<TestApp>();
        WatchingPrompts prompts;
        AppContext context{app->state, prompts, app->windows};
        app->windows.setContext(&context);
        w = app->windows.show<frmInteractive>();
        prompts.overlay = w->Picture1;
        w->Text1->setText(QStringLiteral("-2"));
        w->cmdRefresh->click();

        prompts.prints = {test::printTo(app->path("map.pdf")), std::nullopt};
        w->mnuFilePrint->trigger();
        QVERIFY(prompts.overlayShown);
        QVERIFY(!w->Picture1->isVisible());
        QVERIFY(QFileInfo(app->path("map.pdf")).size() > 0);
        const QImage scratch(app->path("Windtemp.bmp"));
        QCOMPARE(scratch.convertToFormat(QImage::Format_RGB32), map());

        // Cancelled: nothing printed, the overlay hidden again, later traces visible.
        w->mnuFilePrint->trigger();
        QVERIFY(!w->Picture1->isVisible());
        w->Text1->setText(QStringLiteral("2"));
        w->cmdAdd->click();
        QVERIFY(red(w->simulator().row(11)));
        QVERIFY(prompts.messages().isEmpty());
        app->windows.closeAll();
    }
};

QTEST_MAIN(tst_frmInteractive)
#include "tst_frmInteractive.moc"
