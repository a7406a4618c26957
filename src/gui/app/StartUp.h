// Start-up: the splash window first, then the main window.
#pragma once

namespace fendrel {

struct AppContext;
class frmRoundDevel;

// Shows the splash window, then loads and shows the main window, and returns it.
frmRoundDevel* startUp(AppContext& context);

} // namespace fendrel
