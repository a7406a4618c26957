// Start-up windows.
#include "Scenes.h"
#include "app/AppContext.h"
#include "app/WindowRegistry.h"
#include "workbench/frmRoundDevel.h"
#include "workbench/frmSplash.h"

#include <QComboBox>
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

} // namespace
} // namespace fendrel::shots
