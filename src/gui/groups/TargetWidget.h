// The target picture of the shot group window: our bullseye over a grid of 1-inch cells, and
// the holes drawn on it. Drawing coordinates are twips from the top-left corner; one inch of
// the overlay is 510 twips across and 507 twips down.
#pragma once

#include "core/groups/CoordinateEntry.h"

#include <QImage>
#include <QPointF>
#include <QWidget>
#include <vector>

class QPainter;

namespace fendrel {

class TargetWidget : public QWidget {
    Q_OBJECT
public:
    static constexpr int kTwipsPerInchX = kTargetTwipsPerInchX;
    static constexpr int kTwipsPerInchY = kTargetTwipsPerInchY;
    static constexpr int kCellsAcross = 6;

    // `twipsWidth` and `twipsHeight` give the drawing area the widget stands for.
    TargetWidget(QWidget* parent, int twipsWidth, int twipsHeight);

    struct Hole {
        QPointF centre; // twips
        double radius;  // twips
    };

    // A filled black circle; earlier holes stay.
    void drawHole(QPointF centreTwips, double radiusTwips);
    // Erases every hole, leaving the target.
    void clearDrawings();
    const std::vector<Hole>& holes() const { return m_holes; }

    // Paints the target (background grid, bullseye, rings and numbers) filling `twipsArea`, a
    // rectangle in twips of the painter's coordinates.
    static void paintArtwork(QPainter& painter, const QRectF& twipsArea);
    // The target as an image of its own (about 200 x 200 pixels by default).
    static QImage artwork(QSize size = QSize(200, 199));

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_twipsWidth;
    int m_twipsHeight;
    std::vector<Hole> m_holes;
};

} // namespace fendrel
