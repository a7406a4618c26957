// The range map of the simulator: our picture of the range seen from above, with the traces
// and legend entries the window draws over it. It holds one image at its own logical size,
// which is what printing and saving take.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QString>
#include <QWidget>
#include <vector>

namespace fendrel {

class RangeMapWidget : public QWidget {
    Q_OBJECT
public:
    explicit RangeMapWidget(QWidget* parent);

    // A legend entry as written: its dot, where its text went, the text and its colour.
    struct Legend {
        QPoint dot;
        QPoint textAt; // top-left corner
        QString text;
        QColor colour;
    };

    // Erases every trace and legend entry, leaving the artwork.
    void clearDrawings();
    void drawLine(QPoint from, QPoint to, const QColor& colour);
    // A legend entry: a dot at `at` and the text starting there, moved left only as far as
    // needed to keep it on the map.
    void drawLegend(QPoint at, const QString& text, const QColor& colour);

    const QImage& image() const { return m_canvas; }
    const std::vector<Legend>& legends() const { return m_legends; }
    static constexpr int kDrawWidth = 2;

    // Our range artwork at 200 x 304 pixels.
    static QImage artwork();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_background;
    QImage m_canvas;
    QFont m_legendFont;
    std::vector<Legend> m_legends;
};

} // namespace fendrel
