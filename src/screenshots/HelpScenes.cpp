// The help window.
#include "Scenes.h"
#include "gui/ui/AppContext.h"
#include "gui/ui/WindowRegistry.h"
#include "gui/help/frmHelp.h"

#include <QTabWidget>

namespace fendrel::shots {
namespace {

SceneRegistrar help("frmHelp", 90, [](Studio& s) {
    auto* w = s.context.windows.get<frmHelp>();
    if (!w->loadHelpFile())
        return false;
    w->show();
    if (!s.save(w, {}))
        return false;
    // A page with a picture, reached from the contents.
    w->showPage(QStringLiteral("simulator.htm"));
    if (!s.save(w, "frmHelp-simulator"))
        return false;
    w->tabsNavigation->setCurrentIndex(1);
    w->showPage(QStringLiteral("groups.htm#stats"));
    return s.save(w, "frmHelp-index");
});

} // namespace
} // namespace fendrel::shots
