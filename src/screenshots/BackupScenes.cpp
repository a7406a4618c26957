// The backup and restore windows, with a user data folder worth backing up.
#include "Scenes.h"
#include "gui/ui/AppContext.h"
#include "core/common/SharedState.h"
#include "gui/ui/WindowRegistry.h"
#include "gui/backup/frmRestore.h"
#include "gui/backup/frmUpgrade.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QToolButton>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace fendrel::shots {
namespace {

void sampleDataFiles(AppContext& c) {
    const fs::path data = c.state.programFolder / "YourData";
    fs::create_directories(data);
    for (const char* name : {"308 Match loads.csv", "6.5 Creedmoor ladder.csv", "Varmint 223.csv",
                             "308 Match 168gr.htm", "Creedmoor 140gr hunting.html",
                             "Coyote 55gr.htm", "Group 2023-05-10.grp", "Group 2023-06-02.grp",
                             "Stability 308.txt", "Stability 6.5.txt"}) {
        std::ofstream(data / name, std::ios::binary) << "sample\r\n";
    }
}

frmUpgrade* upgradeWithChoices(Studio& s) {
    sampleDataFiles(s.context);
    auto* w = s.context.windows.show<frmUpgrade>();
    w->Form_Load();
    w->chkDTB->setChecked(true);
    w->filStep2[0]->item(0)->setSelected(true);
    w->filStep2[0]->item(1)->setSelected(true);
    w->cmdAdd2_Click(0);
    w->filStep2[1]->item(2)->setSelected(true);
    w->cmdAdd2_Click(1);
    w->filStep2[2]->item(0)->setSelected(true);
    w->cmdAdd2_Click(2);
    w->lstBak->item(1)->setSelected(true);
    return w;
}

SceneRegistrar upgrade("frmUpgrade", 80,
                       [](Studio& s) { return s.save(upgradeWithChoices(s), {}); });

SceneRegistrar upgradeCopying("frmUpgrade-progress", 81, [](Studio& s) {
    auto* w = upgradeWithChoices(s);
    w->prgCopy->setRange(0, 24);
    w->prgCopy->setValue(9);
    w->prgCopy->show();
    return s.save(w, "frmUpgrade-progress");
});

SceneRegistrar restore("frmRestore", 82, [](Studio& s) {
    auto* w = s.context.windows.show<frmRestore>();
    w->txtRestorePackage->setText(QStringLiteral("/home/shooter/FendrelFiles 45123.45"));
    return s.save(w, {});
});

} // namespace
} // namespace fendrel::shots
