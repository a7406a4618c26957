// The shot group window: a five-shot group drawn on the target, and the same group measured
// with its results shown over the grid as they are printed.
#include "Scenes.h"
#include "gui/ui/AppContext.h"
#include "core/common/SharedState.h"
#include "gui/ui/WindowRegistry.h"
#include "gui/groups/TargetWidget.h"
#include "gui/groups/frmMeasure.h"
#include "gui/ui/ScriptedPrompts.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace fendrel::shots {
namespace {

frmMeasure* fiveShotGroup(Studio& s) {
    auto* w = s.context.windows.show<frmMeasure>();
    w->Timer1->stop();
    w->txtCal->setText(QStringLiteral("0.308"));
    const double shots[5][2] = {
        {2.75, 2.5}, {3.125, 2.875}, {2.5, 3.25}, {3.375, 3.5}, {3, 3.0625}};
    for (const auto& shot : shots) {
        w->txtX->setText(QString::number(shot[0]));
        w->txtY->setText(QString::number(shot[1]));
        w->cmdAccept_Click();
    }
    w->Timer1_Timer();
    w->cmdDisplay_Click();
    return w;
}

SceneRegistrar entered("frmMeasure", 70, [](Studio& s) {
    auto* w = fiveShotGroup(s);
    return s.save(w, {});
});

SceneRegistrar measured("frmMeasure-results", 71, [](Studio& s) {
    auto* w = fiveShotGroup(s);
    s.prompts.answers.push_back(Answer::No); // measured, not saved
    w->cmdDoIt_Click();
    w->showPrintView(w->resultsText() + "\r\n");
    return s.save(w, "frmMeasure-results");
});

SceneRegistrar target("TargetArtwork", 72, [](Studio& s) {
    QLabel label;
    label.setObjectName(QStringLiteral("TargetArtwork"));
    label.setPixmap(QPixmap::fromImage(TargetWidget::artwork()));
    label.adjustSize();
    return s.save(&label, {});
});

} // namespace
} // namespace fendrel::shots
