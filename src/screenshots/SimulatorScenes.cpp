// The range simulator: a wind set on the dial and applied, with three traces in colours of
// their own; and the two pictures it draws on.
#include "Scenes.h"
#include "gui/ui/AppContext.h"
#include "gui/ui/WindowRegistry.h"
#include "gui/simulator/RangeMapWidget.h"
#include "core/simulator/WindDial.h"
#include "gui/simulator/WindDialWidget.h"
#include "gui/simulator/frmInteractive.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cmath>

namespace fendrel::shots {
namespace {

// A click on the blue circle at a bearing.
void clickDial(frmInteractive* w, double bearing) {
    const double a = (bearing - 90) * M_PI / 180;
    w->picWindDial_MouseDown(QPointF(WindDial::kCentreX + WindDial::kCircleRadius * std::cos(a),
                                     WindDial::kCentreY + WindDial::kCircleRadius * std::sin(a)));
}

void traceInWind(frmInteractive* w, double bearing, const char* speed) {
    clickDial(w, bearing);
    w->txtWindSpeed->setText(QString::fromLatin1(speed));
    w->cmdApply->click();
    w->cmdAdd_color->click();
}

SceneRegistrar traces("frmInteractive", 65, [](Studio& s) {
    auto* w = s.context.windows.show<frmInteractive>();
    w->seedColours(11);
    w->txtBC->setText(QStringLiteral(".462"));
    w->txtfps->setText(QStringLiteral("2650"));
    traceInWind(w, 300, "10");
    traceInWind(w, 90, "5");
    traceInWind(w, 60, "10");
    return s.save(w, {});
});

SceneRegistrar dial("WindDialArtwork", 66, [](Studio& s) {
    QLabel label;
    label.setObjectName(QStringLiteral("WindDialArtwork"));
    label.setPixmap(QPixmap::fromImage(WindDialWidget::artwork()));
    label.adjustSize();
    return s.save(&label, {});
});

SceneRegistrar range("RangeArtwork", 67, [](Studio& s) {
    QLabel label;
    label.setObjectName(QStringLiteral("RangeArtwork"));
    label.setPixmap(QPixmap::fromImage(RangeMapWidget::artwork()));
    label.adjustSize();
    return s.save(&label, {});
});

} // namespace
} // namespace fendrel::shots
