#include "Module1.h"

#include "AppContext.h"
#include "SharedState.h"
#include "WindowRegistry.h"
#include "engine/LastPath.h"
#include "workbench/frmRoundDevel.h"
#include "workbench/frmSplash.h"

namespace fendrel {

frmRoundDevel* startUp(AppContext& context) {
    // A fresh install remembers its own YourData folder for the first calculation's output.
    ensureLastPath(context.state.programFolder);
    auto* splash = context.windows.show<frmSplash>();
    splash->repaint();
    auto* main = new frmRoundDevel(context);
    context.windows.adopt(main);
    main->show();
    return main;
}

} // namespace fendrel
