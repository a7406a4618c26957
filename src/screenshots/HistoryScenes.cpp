// The Load History window over a powder ladder of a .308 load (five charges, a string and a
// group at each) and a 6.5 mm load, with the ladder compared and one string picked.
#include "Scenes.h"
#include "core/common/Numbers.h"
#include "core/common/SharedState.h"
#include "core/groups/GroupStatistics.h"
#include "core/history/GroupImport.h"
#include "core/history/HistoryDatabase.h"
#include "core/common/UserFiles.h"
#include "core/history/LoadHistorySession.h"
#include "gui/history/frmImportSeries.h"
#include "gui/history/frmLoadHistory.h"
#include "gui/ui/PromptsHost.h"
#include "gui/ui/ScriptedPrompts.h"
#include "gui/ui/AppContext.h"
#include "gui/ui/WindowRegistry.h"

#include <QItemSelectionModel>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
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

// An e-target export of three strings; the first is in the history already.
std::string eTargetExport() {
    std::string out = "ShotMarker Archived Data (generated May 18 2024)\r\n"
                      "Exported 3 strings from May 18 of 3 total in archive\r\n";
    const char* header = ",time,id,tags,score,x (mm),y (mm),x (inch),y (inch),x (moa),y (moa),"
                         "x (mil),y (mil),v (m/s),v (fps),yaw (deg), pitch (deg),quality\r\n";
    const struct {
        const char* name;
        const char* distance;
        double speeds[5];
    } strings[] = {{"Ladder 42.5 at 600", "600y", {820.4, 821.9, 819.6, 822.3, 820.8}},
                   {"Ladder 43.0 at 600", "600y", {827.1, 829.8, 826.0, 828.4, 830.2}},
                   {"Seating depth test", "300m", {818.2, 817.5, 819.9, 818.8, 817.1}}};
    for (const auto& s : strings) {
        out += "\r\nMay 18 2024," + std::string(s.name) + ",1," + s.distance + ",49-3X\r\n\r\n";
        out += header;
        for (int i = 0; i < 5; ++i) {
            const double x = 0.4 * (i - 2), y = 0.3 * ((i * 3) % 5 - 2);
            out += ",10:0" + std::to_string(i) + ":00 am," + std::to_string(i + 1) + ",,X,0,0," +
                   formatPattern(x, "0.0") + "," + formatPattern(y, "0.0") + ",0,0,0,0," +
                   formatPattern(s.speeds[i], "0.0") + "," +
                   formatPattern(s.speeds[i] / 0.3048, "0") + ",-1.0,-2.0,,\r\n";
        }
    }
    return out;
}

// In a folder of its own, so that the other windows never see its history or its file.
SceneRegistrar import("frmImportSeries", 76, [](Studio& s) {
    QTemporaryDir scratch;
    const std::filesystem::path folder = scratch.path().toStdString();
    if (!scratch.isValid() || !fillHistory(folder))
        return false;
    const std::filesystem::path file = folder / "ShotMarker May 18.csv";
    if (!writeChosenFile(file, eTargetExport()))
        return false;
    static Round round;
    s.context.mainWindow = &round;
    PromptsHost host(s.prompts, nullptr);
    LoadHistorySession session(folder);
    session.refresh(host);
    EntryFields fields;
    fields.date = "2024-05-18";
    fields.charge = "42.5";
    auto first = session.readImport(file, round.roundOnScreen(), fields, host);
    if (!first || !session.importSeries(*first, {true, false, false}, first->load, host))
        return false;
    const auto plan = session.readImport(file, round.roundOnScreen(), fields, host);
    if (!plan)
        return false;
    frmImportSeries dialog(*plan);
    dialog.show();
    settle();
    return s.save(&dialog, {});
});

// Compare on two charges of the ladder: the verdict as the message box shows it.
SceneRegistrar compare("frmLoadHistory-compare", 77, [](Studio& s) {
    QTemporaryDir scratch;
    const std::filesystem::path folder = scratch.path().toStdString();
    if (!scratch.isValid() || !fillHistory(folder))
        return false;
    s.context.state.programFolder = folder;
    static Round round;
    s.context.mainWindow = &round;
    auto* w = s.context.windows.show<frmLoadHistory>();
    settle();
    for (int row : {2, 3})
        w->lstLoads->selectionModel()->select(
            w->lstLoads->model()->index(row, 0),
            QItemSelectionModel::Select | QItemSelectionModel::Rows);
    w->cmdCompare->click();
    const PromptRecord* told = s.prompts.last();
    if (!told)
        return false;
    QMessageBox box(QMessageBox::Information, told->title, told->text, QMessageBox::Ok, w);
    box.show();
    settle();
    return s.save(&box, "frmLoadHistory-compare");
});

} // namespace
} // namespace fendrel::shots
