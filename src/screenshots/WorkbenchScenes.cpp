// Start-up windows.
#include "Scenes.h"
#include "gui/ui/AppContext.h"
#include "gui/ui/WindowRegistry.h"
#include "core/common/SharedState.h"
#include "core/workbench/Databases.h"
#include "gui/workbench/frmRoundDevel.h"
#include "gui/workbench/frmSelect.h"
#include "gui/workbench/frmViewLogs.h"
#include "gui/workbench/frmSplash.h"

#include <QComboBox>
#include <QListWidget>
#include <QTimer>

namespace fendrel::shots {
namespace {

SceneRegistrar splash("frmSplash", 10, [](Studio& s) {
    auto* w = s.context.windows.show<frmSplash>();
    return s.save(w, {});
});

SceneRegistrar main("frmRoundDevel", 20, [](Studio& s) {
    auto* w = new frmRoundDevel(s.context);
    s.context.windows.adopt(w);
    w->Timer1->stop();
    w->show();
    w->cmbCal->setCurrentIndex(w->cmbCal->findText(QStringLiteral(".308 Winchester")));
    w->TmrValidate_Timer();
    return s.save(w, {});
});

void sampleRounds(AppContext& c) {
    const char* rows[][3] = {{".308 Winchester: 168gr. Match", ".308 Winchester", "168"},
                             {".264 6.5 Creedmoor: 140gr. Hunting", ".264 6.5 Creedmoor", "140"},
                             {".224 .223 Remington: 55gr. Varmint", ".224 .223 Remington", "55"}};
    for (const auto& row : rows)
        saveRecord(c.state.programFolder, kRounds,
                   {row[0], row[1], row[2], ".462", ".253", "BrandA", "Spitzer",
                    "IMR 4064 Lot 2231", "42.5", "2650", "CCI 200", "Federal", "Savage", "110",
                    "2019", "(optional)", "24", "8.5"},
                   false);
}

SceneRegistrar select("frmSelect", 30, [](Studio& s) {
    sampleRounds(s.context);
    frmSelect dialog(s.context.state.programFolder / "rounds.dtb", kRoundFields);
    dialog.show();
    dialog.lstSelector->item(1)->setSelected(true);
    return s.save(&dialog, {});
});

SceneRegistrar editor("frmViewLogs", 40, [](Studio& s) {
    sampleRounds(s.context);
    s.context.state.currentDataFile = (s.context.state.programFolder / "calibers.ini").string();
    auto* w = s.context.windows.show<frmViewLogs>();
    w->Form_Load();
    return s.save(w, {});
});

} // namespace
} // namespace fendrel::shots
