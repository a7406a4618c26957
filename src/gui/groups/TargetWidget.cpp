// Our target artwork, painted to any size, and the holes drawn over it.
#include "TargetWidget.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace fendrel {

namespace {

const QColor kBackground(236, 236, 236);
const QColor kGridLine(178, 178, 182);
const QColor kOrange(242, 122, 24);
const QColor kOrangeRim(196, 86, 8);

} // namespace

TargetWidget::TargetWidget(QWidget* parent, int twipsWidth, int twipsHeight)
    : QWidget(parent), m_twipsWidth(twipsWidth), m_twipsHeight(twipsHeight) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TargetWidget::drawHole(QPointF centreTwips, double radiusTwips) {
    m_holes.push_back({centreTwips, radiusTwips});
    update();
}

void TargetWidget::clearDrawings() {
    m_holes.clear();
    update();
}

void TargetWidget::paintArtwork(QPainter& painter, const QRectF& area) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setClipRect(area);
    painter.fillRect(area, kBackground);

    // The 1-inch grid, six cells across from the left edge.
    const double inchX = kTwipsPerInchX, inchY = kTwipsPerInchY;
    QPen grid(kGridLine);
    grid.setWidthF(12);
    painter.setPen(grid);
    for (int i = 1; i * inchX < area.width(); ++i)
        painter.drawLine(QPointF(area.left() + i * inchX, area.top()),
                         QPointF(area.left() + i * inchX, area.bottom()));
    for (int i = 1; i * inchY < area.height(); ++i)
        painter.drawLine(QPointF(area.left(), area.top() + i * inchY),
                         QPointF(area.right(), area.top() + i * inchY));

    // The bullseye in the middle of the six cells: an orange face with white scoring rings,
    // five bands worth 6 at the edge up to 10 in the centre, the grid showing round it.
    const QPointF centre(area.left() + 3 * inchX, area.top() + 3 * inchY);
    const int bands = 5;
    const double band = 0.45; // inches
    QPen rim(kOrangeRim);
    rim.setWidthF(24);
    painter.setPen(rim);
    painter.setBrush(kOrange);
    painter.drawEllipse(centre, bands * band * inchX, bands * band * inchY);

    QPen ring(Qt::white);
    ring.setWidthF(20);
    painter.setPen(ring);
    painter.setBrush(Qt::NoBrush);
    for (int b = 1; b < bands; ++b)
        painter.drawEllipse(centre, b * band * inchX, b * band * inchY);

    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(140); // twips: a little over half a band
    painter.setFont(font);
    painter.setPen(Qt::white);
    auto number = [&](const QPointF& at, int value) {
        const QRectF box(at.x() - 160, at.y() - 100, 320, 200);
        painter.drawText(box, Qt::AlignCenter, QString::number(value));
    };
    number(centre, 10);
    for (int b = 1; b < bands; ++b) {
        const double middle = (b + 0.5) * band; // inches from the centre to the band's middle
        const int value = 10 - b;
        number(centre + QPointF(middle * inchX, 0), value);
        number(centre - QPointF(middle * inchX, 0), value);
        number(centre + QPointF(0, middle * inchY), value);
        number(centre - QPointF(0, middle * inchY), value);
    }
    painter.restore();
}

QImage TargetWidget::artwork(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    const double w = kCellsAcross * kTwipsPerInchX;
    const double h = w * size.height() / size.width();
    painter.scale(size.width() / w, size.height() / h);
    paintArtwork(painter, QRectF(0, 0, w, h));
    return image;
}

void TargetWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.scale(width() / double(m_twipsWidth), height() / double(m_twipsHeight));
    paintArtwork(painter, QRectF(0, 0, m_twipsWidth, m_twipsHeight));
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0));
    const double onePixel = m_twipsWidth / double(std::max(1, width()));
    for (const auto& hole : m_holes) {
        // A hole of no size still shows as a dot, so that every round can be seen.
        const double r = std::max(hole.radius, onePixel / 2);
        painter.drawEllipse(hole.centre, r, r);
    }
}

} // namespace fendrel
