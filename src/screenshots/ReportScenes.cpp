// The report window over a 1000-yard calculation, and with a block of the table selected.
#include "Scenes.h"
#include "gui/ui/AppContext.h"
#include "core/common/SharedState.h"
#include "gui/ui/WindowRegistry.h"
#include "core/engine/BallisticsEngine.h"
#include "gui/report/ReportGridWidget.h"
#include "gui/report/frmReport.h"

#include <QTimer>
#include <cstdio>

namespace fendrel::shots {
namespace {

// A run without dialogs: the settings are given, nothing is asked.
class QuietRun : public RunHost {
public:
    void status(const std::string&) override {}
    void message(const std::string& text, const std::string&, MessageIcon,
                 const std::string&) override {
        std::printf("calculation message: %s\n", text.c_str());
    }
    bool specifications(RunSettings&) override { return true; }
    std::string input(const std::string&, const std::string&, const std::string&) override {
        return "3";
    }
};

// Calculates a .308 load out to 1000 yards into the user data folder and opens the report on it.
frmReport* reportOn1000Yards(Studio& s) {
    RoundTexts round;
    round.description = ".308 Winchester: 168gr. Match";
    round.caliber = ".308 Winchester";
    round.bulletWeight = "168";
    round.ballisticCoefficient = ".462";
    round.sectionalDensity = ".253";
    round.bulletStyle = "spitzer boat tail";
    round.powderCharge = "42.5";
    round.muzzleVelocity = "2650";
    round.firearmWeight = "8.5";
    RunSettings settings;
    settings.unitsCode = "Y";
    settings.rangeInterval = 100;
    settings.maximumRange = 1000;
    settings.zeroRange = 200;
    const auto output = s.context.state.programFolder / "YourData" / "308-1000yd.csv";
    QuietRun host;
    BallisticsEngine engine;
    if (!engine.calculate(s.context.state.programFolder, round, settings, output, host).completed())
        return nullptr;

    s.context.state.currentDataFile = output.string();
    s.context.state.lastOutputFile = output.string();
    auto* w = s.context.windows.show<frmReport>();
    w->Timer1->stop();
    w->Timer1_Timer();
    return w->loaded() ? w : nullptr;
}

SceneRegistrar report("frmReport", 50, [](Studio& s) {
    frmReport* w = reportOn1000Yards(s);
    return w && s.save(w, {});
});

SceneRegistrar selected("frmReport-selection", 51, [](Studio& s) {
    frmReport* w = reportOn1000Yards(s);
    if (!w)
        return false;
    w->grdResults->setFocus();
    w->grdResults->selectBlock(3, 1, 6, 3);
    return s.save(w, "frmReport-selection");
});

} // namespace
} // namespace fendrel::shots
