#include "StartUp.h"

#include "gui/ui/AppContext.h"
#include "core/common/SharedState.h"
#include "gui/ui/WindowRegistry.h"
#include "core/engine/LastPath.h"
#include "gui/workbench/frmRoundDevel.h"
#include "gui/workbench/frmSplash.h"
#include "Navigation.h"

namespace fendrel {

frmRoundDevel* startUp(AppContext& context) {
    // A fresh install remembers its own YourData folder for the first calculation's output.
    ensureLastPath(context.state.programFolder);
    auto* splash = context.windows.show<frmSplash>();
    splash->repaint();
    connectWindows(context);
    auto* main = new frmRoundDevel(context);
    context.windows.adopt(main);
    connectMainWindow(main, context);
    main->show();
    return main;
}

} // namespace fendrel
