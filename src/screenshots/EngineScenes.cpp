// The specifications dialog of a calculation run.
#include "Scenes.h"
#include "app/AppContext.h"
#include "app/SharedState.h"
#include "engine/frmDialog.h"

namespace fendrel::shots {
namespace {

SceneRegistrar dialog("frmDialog", 45, [](Studio& s) {
    frmDialog d(s.context, s.context.state.run);
    d.show();
    return s.save(&d, {});
});

} // namespace
} // namespace fendrel::shots
