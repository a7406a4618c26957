#include "UpDown.h"
#include "Text.h"

#include "core/common/Encoding.h"
#include "core/common/Numbers.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <algorithm>
#include <cmath>

namespace fendrel {

UpDown::UpDown(QWidget* parent, int minimum, int maximum)
    : QWidget(parent), m_min(minimum), m_max(maximum), m_value(minimum) {
    m_up = new QToolButton(this);
    m_up->setArrowType(Qt::UpArrow);
    m_up->setAutoRepeat(true);
    m_up->setFocusPolicy(Qt::NoFocus);
    m_down = new QToolButton(this);
    m_down->setArrowType(Qt::DownArrow);
    m_down->setAutoRepeat(true);
    m_down->setFocusPolicy(Qt::NoFocus);
    connect(m_up, &QToolButton::clicked, this, &UpDown::stepUp);
    connect(m_down, &QToolButton::clicked, this, &UpDown::stepDown);
}

void UpDown::setBuddy(QLineEdit* buddy) {
    m_buddy = buddy;
    buddy->installEventFilter(this);
    m_up->setAccessibleName(QStringLiteral("Increase"));
    m_down->setAccessibleName(QStringLiteral("Decrease"));
}

void UpDown::setValue(int value) {
    value = std::clamp(value, m_min, m_max);
    if (value == m_value)
        return;
    m_value = value;
    emit valueChanged(m_value);
}

void UpDown::step(int delta) {
    int base = m_value;
    if (m_buddy) {
        // Step from the number shown in the box when it lies in range.
        double shown = leadingNumber(fromQt(m_buddy->text()));
        if (std::isfinite(shown) && shown >= m_min && shown <= m_max)
            base = static_cast<int>(std::lround(shown));
    }
    int next = std::clamp(base + delta, m_min, m_max);
    m_value = next;
    if (m_buddy)
        m_buddy->setText(QString::number(next));
    emit valueChanged(next);
}

bool UpDown::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_buddy && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Up) {
            stepUp();
            return true;
        }
        if (key->key() == Qt::Key_Down) {
            stepDown();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void UpDown::resizeEvent(QResizeEvent*) {
    const int h = height() / 2;
    m_up->setGeometry(0, 0, width(), h);
    m_down->setGeometry(0, h, width(), height() - h);
}

} // namespace fendrel
