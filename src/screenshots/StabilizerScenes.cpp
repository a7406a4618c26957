// The bullet stabilization calculator, before and after a computation.
#include "Scenes.h"
#include "gui/ui/AppContext.h"
#include "gui/ui/WindowRegistry.h"
#include "gui/stabilizer/frmStabilizer.h"

#include <QLineEdit>
#include <QPushButton>

namespace fendrel::shots {
namespace {

frmStabilizer* calculator(Studio& s, const char* caliber, const char* twist) {
    auto* w = s.context.windows.show<frmStabilizer>();
    w->txtCal->setText(QString::fromLatin1(caliber));
    w->txtTwist->setText(QString::fromLatin1(twist));
    return w;
}

SceneRegistrar opened("frmStabilizer", 60, [](Studio& s) {
    auto* w = s.context.windows.show<frmStabilizer>();
    return s.save(w, {});
});

SceneRegistrar computed("frmStabilizer-results", 61, [](Studio& s) {
    auto* w = calculator(s, "0.308", "10");
    w->cmdDoIt->click();
    return s.save(w, "frmStabilizer-results");
});

SceneRegistrar warned("frmStabilizer-warning", 62, [](Studio& s) {
    auto* w = calculator(s, "0.1", "1");
    w->cmdDoIt->click();
    return s.save(w, "frmStabilizer-warning");
});

} // namespace
} // namespace fendrel::shots
