// The wind dial picture of the range simulator: our compass rose with its blue circle, and the
// circle and lines the window draws over it. Like a picture box that keeps its drawings, it
// holds one image at its own logical size; clicks are reported in twips and the colour under a
// click is read from that image, so a HiDPI screen reads the same pixels the window drew.
#pragma once

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QWidget>

namespace fendrel {

class WindDialWidget : public QWidget {
    Q_OBJECT
public:
    static constexpr int kPixelWidth = 169; // 2535 x 2295 twips
    static constexpr int kPixelHeight = 153;
    static constexpr int kArtWidth = 167; // the compass rose artwork
    static constexpr int kArtHeight = 152;
    static const QColor kCircleBlue; // (0, 0, 255): nothing else on the dial has this colour

    explicit WindDialWidget(QWidget* parent);

    // Erases every drawing, leaving the artwork.
    void clearDrawings();
    // The blue circle about the centre, `width` pixels wide, drawn without smoothing.
    void drawCircle(int width);
    // A line between two points given in twips.
    void drawLine(QPointF fromTwips, QPointF toTwips, const QColor& colour, int width);
    // The colour under a point given in twips.
    QColor colourAt(QPointF twips) const;

    const QImage& image() const { return m_canvas; }
    QColor foreground() const { return Qt::black; }

    // Our dial artwork at 167 x 152 pixels.
    static QImage artwork();

signals:
    // Any mouse button pressed, at a point in twips.
    void pressed(QPointF twips);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QImage m_background;
    QImage m_canvas;
};

} // namespace fendrel
