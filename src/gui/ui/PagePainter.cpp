#include "PagePainter.h"

#include "Text.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QRectF>
#include <algorithm>

namespace fendrel {

void paintPage(QPainter& painter, const PageDrawing& page, const QRectF& target) {
    if (!(page.width > 0) || !(page.height > 0))
        return;
    const double scale = std::min(target.width() / page.width, target.height() / page.height);
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(scale, scale);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    for (const DrawnBox& b : page.boxes) {
        const int grey = std::clamp(static_cast<int>(b.grey * 255 + 0.5), 0, 255);
        painter.fillRect(QRectF(b.x, b.y, b.width, b.height), QColor(grey, grey, grey));
    }
    for (const DrawnLine& l : page.lines) {
        painter.setPen(QPen(Qt::black, l.width));
        painter.drawLine(QPointF(l.x1, l.y1), QPointF(l.x2, l.y2));
    }
    painter.setPen(Qt::black);
    for (const DrawnText& t : page.texts) {
        // Sizes are in points of the page, which the painter's scale takes to the device: the
        // font is as many of the device's pixels high as the page has points.
        // Liberation Sans has Helvetica's widths, which the layout measured the text by.
        QFont font(QStringLiteral("Liberation Sans"));
        font.setStyleHint(QFont::Helvetica);
        font.setPointSizeF(t.size * 72.0 / painter.device()->logicalDpiY());
        font.setBold(t.bold);
        painter.setFont(font);
        const QString text = utf8Text(t.text);
        const double width = QFontMetricsF(font, painter.device()).horizontalAdvance(text);
        const double x = t.align == TextAlign::Left     ? t.x
                         : t.align == TextAlign::Center ? t.x - width / 2
                                                        : t.x - width;
        painter.drawText(QPointF(x, t.y), text);
    }
    painter.restore();
}

} // namespace fendrel
