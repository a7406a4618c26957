// A pair of up-down arrows attached to a text box: each click steps a whole number within a
// range and writes it into the box.
#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace fendrel {

class UpDown : public QWidget {
    Q_OBJECT
public:
    UpDown(QWidget* parent, int minimum, int maximum);

    // The text box the arrows step; Up and Down keys in it step too.
    void setBuddy(QLineEdit* buddy);

    int value() const { return m_value; }
    void setValue(int value);
    int minimum() const { return m_min; }
    int maximum() const { return m_max; }

    QToolButton* upButton() const { return m_up; }
    QToolButton* downButton() const { return m_down; }

public slots:
    void stepUp() { step(1); }
    void stepDown() { step(-1); }

signals:
    void valueChanged(int value);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void step(int delta);

    QLineEdit* m_buddy = nullptr;
    QToolButton* m_up;
    QToolButton* m_down;
    int m_min, m_max, m_value;
};

} // namespace fendrel
