// A page laid out in the core (PageDrawing: points from the top left corner) drawn by a
// painter, for the screen and for printers: the same boxes, lines and Helvetica-like text the
// PDF writer puts on paper.
#pragma once

#include "core/common/PageDrawing.h"

class QPainter;
class QRectF;

namespace fendrel {

// Draws `page` scaled into `target` (device units), keeping its proportions.
void paintPage(QPainter& painter, const PageDrawing& page, const QRectF& target);

} // namespace fendrel
