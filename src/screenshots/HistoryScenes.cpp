// The Load History window over a powder ladder of a .308 load (five charges, a string and a
// group at each) and a 6.5 mm load, with the ladder compared and one string picked.
#include "Scenes.h"
#include "core/common/Numbers.h"
#include "core/common/SharedState.h"
#include "core/groups/GroupStatistics.h"
#include "core/history/GroupImport.h"
#include "core/history/HistoryDatabase.h"
#include "gui/history/frmLoadHistory.h"
#include "gui/ui/AppContext.h"
#include "gui/ui/WindowRegistry.h"

#include <QItemSelectionModel>
#include <QTableWidget>

namespace fendrel::shots {
namespace {

struct Round : RoundOnScreen {
    RoundTexts roundOnScreen() const override {
        return {".308 168 SMK 42.5 Varget", ".308 Winchester", "168", ".462", "", "", "42.5",
                "", ""};
    }
};

struct Step {
    double charge;
    const char* date;
    double temperature;
    std::vector<double> speeds;
    std::vector<Shot> holes;
};

const Step kLadder[] = {
    {41.5, "2024-05-04", 64, {2641.2, 2652.8, 2638.9, 2660.1, 2647.5},
     {{1.1, 1.4}, {1.9, 2.2}, {1.3, 2.4}, {2.2, 1.2}, {1.6, 1.8}}},
    {42.0, "2024-05-04", 64, {2668.3, 2675.9, 2671.2, 2680.4, 2664.7},
     {{1.3, 1.5}, {1.9, 1.9}, {1.4, 2.2}, {2.0, 1.3}, {1.6, 1.8}}},
    {42.5, "2024-05-04", 65, {2690.1, 2694.6, 2688.7, 2696.3, 2692.0},
     {{1.5, 1.6}, {1.8, 1.8}, {1.5, 1.9}, {1.8, 1.5}, {1.7, 1.7}}},
    {43.0, "2024-05-11", 71, {2714.8, 2731.5, 2709.9, 2726.2, 2720.4},
     {{1.2, 1.5}, {2.0, 2.0}, {1.4, 2.3}, {2.1, 1.3}, {1.6, 1.7}}},
    {43.5, "2024-05-11", 72, {2742.0, 2760.7, 2735.3, 2755.9, 2748.8},
     {{1.0, 1.3}, {2.1, 2.3}, {1.2, 2.5}, {2.3, 1.1}, {1.7, 1.9}}},
};

bool fillHistory(const std::filesystem::path& folder) {
    auto opened = HistoryDatabase::open(folder);
    if (!opened.database)
        return false;
    HistoryDatabase& db = *opened.database;
    bool ok = true;
    for (const Step& step : kLadder) {
        const RoundSnapshot round{".308 Winchester", 168, 0.462, step.charge};
        const std::string load = ".308 168 SMK " + formatPattern(step.charge, "0.0") + " Varget";
        VelocityString s;
        s.date = step.date;
        s.temperatureF = step.temperature;
        s.shotsFps = step.speeds;
        s.round = round;
        ok = ok && db.addString(load, s);
        auto g = groupFromMeasurement(0.308, step.holes, measureGroup(0.308, step.holes), 100);
        g.value.date = step.date;
        g.value.round = round;
        g.value.note = "calm";
        ok = ok && g && db.addGroup(load, g.value);
    }
    VelocityString creedmoor;
    creedmoor.date = "2024-04-20";
    creedmoor.shotsFps = {2701.4, 2695.2, 2708.8};
    creedmoor.note = "new brass";
    creedmoor.round = {"6.5 Creedmoor", 140, 0.61, 41};
    ok = ok && db.addString("6.5 CM 140 ELD 41.0 H4350", creedmoor);
    return ok;
}

SceneRegistrar history("frmLoadHistory", 75, [](Studio& s) {
    if (!fillHistory(s.context.state.programFolder))
        return false;
    static Round round;
    s.context.mainWindow = &round;
    auto* w = s.context.windows.show<frmLoadHistory>();
    settle();
    // The five charges of the ladder (the 6.5 mm load is the last row).
    for (int row = 0; row < 5; ++row)
        w->lstLoads->selectionModel()->select(
            w->lstLoads->model()->index(row, 0),
            QItemSelectionModel::Select | QItemSelectionModel::Rows);
    w->grdStrings->selectRow(2);
    settle();
    return s.save(w, {});
});

} // namespace
} // namespace fendrel::shots
