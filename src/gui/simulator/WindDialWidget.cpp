// The wind dial: artwork, drawings and the colour under a click.
#include "WindDialWidget.h"

#include "core/simulator/WindDial.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace fendrel {

const QColor WindDialWidget::kCircleBlue(0, 0, 255);

namespace {

const QColor kDialFace(238, 233, 218);
const QColor kDialBack(224, 224, 224); // the strip of the picture the artwork leaves
const QColor kRoseDark(92, 84, 74);
const QColor kRoseLight(196, 186, 166);
const QColor kRoseRed(170, 48, 36);
const QColor kTick(120, 112, 100);

constexpr double kTwips = WindDial::kTwipsPerPixel;

QPointF toPixels(QPointF twips) {
    return {twips.x() / kTwips, twips.y() / kTwips};
}

// The circle of the dial, as the window draws it and as the artwork carries it: hard-edged, so
// that every pixel of its line is exactly the blue a click looks for.
void paintCircle(QPainter& painter, int width) {
    painter.setRenderHint(QPainter::Antialiasing, false);
    QPen pen(WindDialWidget::kCircleBlue);
    pen.setWidth(width);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    const double r = WindDial::kCircleRadius / kTwips;
    painter.drawEllipse(QPointF(WindDial::kCentreX / kTwips, WindDial::kCentreY / kTwips), r, r);
}

} // namespace

WindDialWidget::WindDialWidget(QWidget* parent) : QWidget(parent) {
    setFixedSize(kPixelWidth, kPixelHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::CrossCursor);
    m_background = QImage(kPixelWidth, kPixelHeight, QImage::Format_RGB32);
    m_background.fill(kDialBack);
    {
        QPainter p(&m_background);
        p.drawImage(0, 0, artwork());
    }
    m_canvas = m_background;
}

void WindDialWidget::clearDrawings() {
    m_canvas = m_background;
    update();
}

void WindDialWidget::drawCircle(int width) {
    QPainter p(&m_canvas);
    paintCircle(p, width);
    update();
}

void WindDialWidget::drawLine(QPointF fromTwips, QPointF toTwips, const QColor& colour, int width) {
    QPainter p(&m_canvas);
    QPen pen(colour);
    pen.setWidth(width);
    p.setPen(pen);
    p.drawLine(toPixels(fromTwips), toPixels(toTwips));
    update();
}

QColor WindDialWidget::colourAt(QPointF twips) const {
    const int x = static_cast<int>(std::floor(twips.x() / kTwips));
    const int y = static_cast<int>(std::floor(twips.y() / kTwips));
    if (!m_canvas.valid(x, y))
        return {};
    return m_canvas.pixelColor(x, y);
}

void WindDialWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(rect(), m_canvas);
}

void WindDialWidget::mousePressEvent(QMouseEvent* event) {
    const QPointF at = event->position();
    emit pressed(QPointF(at.x() * kTwips, at.y() * kTwips));
}

QImage WindDialWidget::artwork() {
    QImage image(kArtWidth, kArtHeight, QImage::Format_RGB32);
    image.fill(kDialFace);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c(WindDial::kCentreX / kTwips, WindDial::kCentreY / kTwips);
    const double ring = WindDial::kCircleRadius / kTwips;

    // Ticks every 10 degrees inside the circle, longer every 30.
    for (int deg = 0; deg < 360; deg += 10) {
        const double a = (deg - 90) * M_PI / 180;
        const double inner = ring - (deg % 30 == 0 ? 9 : 5);
        QPen tick(kTick);
        tick.setWidthF(deg % 90 == 0 ? 1.6 : 1.0);
        p.setPen(tick);
        p.drawLine(QPointF(c.x() + inner * std::cos(a), c.y() + inner * std::sin(a)),
                   QPointF(c.x() + (ring - 3) * std::cos(a), c.y() + (ring - 3) * std::sin(a)));
    }

    // The rose: four long points and four short ones, each half light and half dark, the point
    // toward the target red.
    auto point = [&](double deg, double length, double half, const QColor& lit,
                     const QColor& shade) {
        const double a = (deg - 90) * M_PI / 180;
        const QPointF tip(c.x() + length * std::cos(a), c.y() + length * std::sin(a));
        const QPointF side1(c.x() + half * std::cos(a - M_PI / 2),
                            c.y() + half * std::sin(a - M_PI / 2));
        const QPointF side2(c.x() + half * std::cos(a + M_PI / 2),
                            c.y() + half * std::sin(a + M_PI / 2));
        p.setPen(Qt::NoPen);
        p.setBrush(lit);
        p.drawPolygon(QPolygonF({c, side1, tip}));
        p.setBrush(shade);
        p.drawPolygon(QPolygonF({c, tip, side2}));
    };
    for (int deg = 45; deg < 360; deg += 90)
        point(deg, ring * 0.45, 6, kRoseLight, kRoseDark);
    for (int deg = 0; deg < 360; deg += 90)
        point(deg, ring * 0.62, 8, deg == 0 ? QColor(226, 120, 104) : kRoseLight,
              deg == 0 ? kRoseRed : kRoseDark);

    // The shooter stands at the centre.
    p.setPen(QPen(kRoseDark, 1.2));
    p.setBrush(kDialFace);
    p.drawEllipse(c, 3.5, 3.5);

    // The bearings of the four long points, inside the circle between the ticks.
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(9);
    font.setBold(true);
    p.setFont(font);
    p.setPen(kRoseDark);
    auto label = [&](double deg, const QString& text) {
        const double a = (deg - 90) * M_PI / 180;
        const double r = ring - 17;
        const QPointF at(c.x() + r * std::cos(a), c.y() + r * std::sin(a));
        p.drawText(QRectF(at.x() - 12, at.y() - 6, 24, 12), Qt::AlignCenter, text);
    };
    label(0, QStringLiteral("0"));
    label(90, QStringLiteral("90"));
    label(180, QStringLiteral("180"));
    label(270, QStringLiteral("270"));

    // Last, so that nothing smoothed over it blends its edge: the blue circle.
    paintCircle(p, 4);
    return image;
}

} // namespace fendrel
