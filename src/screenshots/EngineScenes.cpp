// The specifications dialog of a calculation run.
#include "Scenes.h"
#include "gui/ui/AppContext.h"
#include "core/common/SharedState.h"
#include "gui/engine/frmDialog.h"

namespace fendrel::shots {
namespace {

SceneRegistrar dialog("frmDialog", 45, [](Studio& s) {
    frmDialog d(s.context, s.context.state.run);
    d.show();
    return s.save(&d, {});
});

} // namespace
} // namespace fendrel::shots
