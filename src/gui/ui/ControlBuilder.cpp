#include "ControlBuilder.h"

#include "Geometry.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace fendrel {

void ControlBuilder::place(QWidget* widget, const char* name, const QRect& twips) const {
    widget->setObjectName(QString::fromLatin1(name));
    if (!twips.isNull())
        widget->setGeometry(twipsRect(twips.x(), twips.y(), twips.width(), twips.height()));
}

QLabel* ControlBuilder::label(const char* name, const QString& caption, const QRect& twips) {
    auto* label = new QLabel(caption, m_parent);
    place(label, name, twips);
    return label;
}

QLineEdit* ControlBuilder::textBox(const char* name, const QString& text, const QRect& twips) {
    auto* edit = new QLineEdit(text, m_parent);
    place(edit, name, twips);
    edit->setCursorPosition(0);
    return edit;
}

QPushButton* ControlBuilder::button(const char* name, const QString& caption, const QRect& twips) {
    auto* button = new QPushButton(caption, m_parent);
    place(button, name, twips);
    return button;
}

QGroupBox* ControlBuilder::frame(const char* name, const QString& caption, const QRect& twips) {
    auto* frame = new QGroupBox(caption, m_parent);
    place(frame, name, twips);
    return frame;
}

QCheckBox* ControlBuilder::checkBox(const char* name, const QString& caption, const QRect& twips) {
    auto* box = new QCheckBox(caption, m_parent);
    place(box, name, twips);
    return box;
}

QRadioButton* ControlBuilder::option(const char* name, const QString& caption, const QRect& twips) {
    auto* option = new QRadioButton(caption, m_parent);
    place(option, name, twips);
    return option;
}

QLineEdit* ControlBuilder::captionedTextBox(const char* name, const char* labelName,
                                            const QString& caption, const QString& text,
                                            const QRect& labelTwips, const QRect& boxTwips) {
    QLabel* caption_ = label(labelName, caption, labelTwips);
    QLineEdit* edit = textBox(name, text, boxTwips);
    caption_->setBuddy(edit);
    return edit;
}

} // namespace fendrel
