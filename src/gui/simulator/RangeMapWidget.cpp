// The range map: artwork, traces and legend entries.
#include "RangeMapWidget.h"

#include "core/simulator/RangeMap.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace fendrel {

namespace {

const QColor kPictureBack(224, 224, 224); // the strip of the picture the artwork leaves
const QColor kGrass(112, 154, 82);
const QColor kGrassLane(128, 170, 96);
const QColor kYardLine(238, 240, 226);
const QColor kLaneLine(150, 188, 124);
const QColor kBerm(136, 104, 72);
const QColor kBermTop(160, 126, 90);
const QColor kShed(170, 166, 158);
const QColor kShedEdge(120, 116, 108);
const QColor kBench(96, 78, 60);
const QColor kTargetFace(246, 244, 236);

} // namespace

RangeMapWidget::RangeMapWidget(QWidget* parent) : QWidget(parent) {
    setFixedSize(RangeMap::kWidth, RangeMap::kHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_background = QImage(RangeMap::kWidth, RangeMap::kHeight, QImage::Format_RGB32);
    m_background.fill(kPictureBack);
    {
        QPainter p(&m_background);
        p.drawImage(0, 0, artwork());
    }
    m_canvas = m_background;
    m_legendFont = QFont(QStringLiteral("DejaVu Sans"));
    m_legendFont.setPixelSize(10);
}

void RangeMapWidget::clearDrawings() {
    m_canvas = m_background;
    m_legends.clear();
    update();
}

void RangeMapWidget::drawLine(QPoint from, QPoint to, const QColor& colour) {
    QPainter p(&m_canvas);
    QPen pen(colour);
    pen.setWidth(kDrawWidth);
    p.setPen(pen);
    if (from == to)
        p.drawPoint(from);
    else
        p.drawLine(from, to);
    update();
}

void RangeMapWidget::drawLegend(QPoint at, const QString& text, const QColor& colour) {
    QPainter p(&m_canvas);
    QPen pen(colour);
    pen.setWidth(kDrawWidth);
    p.setPen(pen);
    p.drawPoint(at);
    p.setFont(m_legendFont);
    const QFontMetrics m(m_legendFont);
    const int width = m.horizontalAdvance(text);
    QPoint textAt = at;
    textAt.setX(std::max(0, std::min(at.x(), RangeMap::kImageWidth - width)));
    p.drawText(QRect(textAt.x(), textAt.y(), width + 1, m.height()), Qt::AlignLeft | Qt::AlignTop,
               text);
    m_legends.push_back({at, textAt, text, colour});
    update();
}

void RangeMapWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(rect(), m_canvas);
}

QImage RangeMapWidget::artwork() {
    const int w = RangeMap::kImageWidth, h = RangeMap::kImageHeight;
    const int muzzleX = RangeMap::kMuzzleX;
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(kGrass);
    QPainter p(&image);

    // Our lane, centred on the line of fire, mown a shade lighter; the lanes beside it are
    // marked by their edges.
    const int laneHalf = 22;
    p.fillRect(QRect(muzzleX - laneHalf, 0, 2 * laneHalf, h), kGrassLane);
    p.setPen(QPen(kLaneLine, 1));
    for (int x = muzzleX - 3 * laneHalf; x >= 0; x -= 2 * laneHalf)
        p.drawLine(x, 0, x, h);
    for (int x = muzzleX + laneHalf; x < w; x += 2 * laneHalf)
        p.drawLine(x, 0, x, h);
    p.drawLine(muzzleX - laneHalf, 0, muzzleX - laneHalf, h);

    // The yardage lines from the firing line (0) to 500 yards, where the map's y is 260 - R/2.
    for (int yards = 0; yards <= 500; yards += 100) {
        const int y = mapY(yards);
        p.setPen(QPen(kYardLine, yards == 0 ? 2 : 1));
        p.drawLine(0, y, w - 1, y);
        // Half-way marks at 50, 150, ... yards: short ticks at both edges.
        if (yards < 500) {
            const int half = mapY(yards + 50);
            p.setPen(QPen(kYardLine, 1));
            p.drawLine(0, half, 5, half);
            p.drawLine(w - 6, half, w - 1, half);
        }
    }

    // The berm behind the targets and our target frame at 500 yards.
    p.fillRect(QRect(0, 0, w, 6), kBerm);
    p.fillRect(QRect(0, 6, w, 2), kBermTop);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kBench, 1));
    p.setBrush(kTargetFace);
    p.drawRect(QRectF(muzzleX - 5.5, 3.5, 11, 9));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.drawEllipse(QPointF(muzzleX, 8), 2.5, 2.5);

    // The dashed line of fire from the bench to the target.
    p.setRenderHint(QPainter::Antialiasing, false);
    QPen fire(QColor(236, 236, 220), 1, Qt::DashLine);
    p.setPen(fire);
    p.drawLine(muzzleX, 14, muzzleX, RangeMap::kMuzzleY - 1);

    // The firing shed below the firing line, with the bench at the muzzle.
    const int shedTop = RangeMap::kMuzzleY + 8;
    p.fillRect(QRect(0, shedTop, w, h - shedTop), kShed);
    p.setPen(QPen(kShedEdge, 1));
    p.drawLine(0, shedTop, w - 1, shedTop);
    for (int x = 30; x < w; x += 44)
        p.drawLine(x, shedTop, x, h - 1);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kBench, 1));
    p.setBrush(QColor(150, 120, 90));
    p.drawRoundedRect(QRectF(muzzleX - 10, shedTop + 6, 20, 12), 2, 2);
    p.setBrush(QColor(70, 70, 70));
    p.drawRect(QRectF(muzzleX - 1, RangeMap::kMuzzleY + 2, 2, shedTop + 6 - RangeMap::kMuzzleY));
    return image;
}

} // namespace fendrel
