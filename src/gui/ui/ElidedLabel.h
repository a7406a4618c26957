// A one-line label whose text never sets its window's width: a text too long for the space is
// drawn cut short with an ellipsis, while text() and the accessible name keep the whole message.
#pragma once

#include <QLabel>

namespace fendrel {

class ElidedLabel : public QLabel {
    Q_OBJECT
public:
    explicit ElidedLabel(QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace fendrel
