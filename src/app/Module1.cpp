#include "Module1.h"

#include "AppContext.h"
#include "WindowRegistry.h"
#include "workbench/frmRoundDevel.h"
#include "workbench/frmSplash.h"

namespace fendrel {

frmRoundDevel* startUp(AppContext& context) {
    auto* splash = context.windows.show<frmSplash>();
    splash->repaint();
    auto* main = new frmRoundDevel(context);
    context.windows.adopt(main);
    main->show();
    return main;
}

} // namespace fendrel
