// The range card window for a .308 match load on a cool day with a crosswind, the hit
// probability panel showing the chance on a 10-inch plate.
#include "Scenes.h"
#include "gui/rangecard/frmRangeCard.h"
#include "gui/ui/AppContext.h"
#include "gui/ui/WindowRegistry.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>

namespace fendrel::shots {
namespace {

struct MatchRound : RoundOnScreen {
    RoundTexts roundOnScreen() const override {
        RoundTexts r;
        r.description = "308 Match 175gr";
        r.caliber = ".308 Winchester";
        r.bulletWeight = "175";
        r.ballisticCoefficient = ".505";
        r.muzzleVelocity = "2650";
        return r;
    }
};

SceneRegistrar card("frmRangeCard", 95, [](Studio& s) {
    static const MatchRound round;
    s.context.mainWindow = &round;
    auto* w = s.context.windows.show<frmRangeCard>();
    const std::pair<CardField, const char*> typed[] = {
        {CardField::Length, "1.24"},    {CardField::Twist, "11.25"},
        {CardField::Zero, "100"},       {CardField::Pressure, "29.5"},
        {CardField::Temperature, "45"}, {CardField::Humidity, "60"},
        {CardField::Altitude, "1200"},  {CardField::WindSpeed, "8"},
        {CardField::WindFrom, "270"},   {CardField::VelocitySd, "9"},
        {CardField::WindSd, "2"},       {CardField::RangeSd, "10"},
        {CardField::Dispersion, "0.4"}, {CardField::TargetDiameter, "10"},
        {CardField::VelocitySdShots, "10"}, {CardField::DispersionShots, "16"}};
    for (const auto& [field, text] : typed)
        w->field(field)->setText(QString::fromLatin1(text));
    w->optCircle->setChecked(true);
    w->calculate();
    bool saved = s.save(w, {});

    // Truing: three corrections that came out higher than the card's, fitted to a velocity.
    const char* observed[][2] = {{"300", "4.9"}, {"500", "11.9"}, {"700", "20.8"}};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 2; ++c) {
            w->grdObservations->setCurrentCell(r, c);
            w->grdObservations->currentItem()->setText(QString::fromLatin1(observed[r][c]));
        }
    w->cmdFitVelocity->click();
    w->tabLower->setCurrentIndex(1);
    settle();
    saved = s.save(w, "frmRangeCard-truing") && saved;
    s.context.mainWindow = nullptr;
    return saved;
});

} // namespace
} // namespace fendrel::shots
