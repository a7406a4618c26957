// The range card window's two charts: the path and the drift of the bullet against range, and
// the chance of a hit against range.
#pragma once

#include "core/rangecard/HitProbability.h"
#include "core/rangecard/PointBlank.h"
#include "core/rangecard/Truing.h"
#include "core/rangecard/RangeCard.h"

#include <QString>
#include <vector>

class QChartView;
class QWidget;

namespace fendrel {

// An empty chart with its axes, named for tests and screen readers; it does not take the keyboard
// focus (the table holds the same numbers).
QChartView* makeChartView(QWidget* parent, const char* name, const QString& title,
                          const QString& yTitle, const QString& accessibleName);

// The height above the line of sight and the windage of every row; an empty chart without a
// card.
// With a point-blank zone, its band of +/- half the vital zone from the near range to the
// maximum point-blank range.
void showPaths(QChartView* view, const RangeCardResult* card,
               const std::optional<PointBlankRange>& zone = std::nullopt);

// The residuals of observed corrections (observed less predicted) by range, with the card as it
// was and with the fit; an empty chart without any.
void showResiduals(QChartView* view, const std::vector<TruingResidual>& before,
                   const std::vector<TruingResidual>& after, const QString& unit, bool metric);

// The chance of a hit in percent at each range; an empty chart without rows.
void showHitCurve(QChartView* view, const std::vector<HitRow>& rows, bool metric);

} // namespace fendrel
