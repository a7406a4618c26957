// Makes the controls of a window the same way everywhere: each one named by its objectName,
// with its caption, and either placed at a rectangle given in twips (the hand-placed windows) or
// left to a Qt layout (no rectangle). Each window builds its controls in one function, apart
// from its behaviour.
#pragma once

#include <QRect>
#include <QString>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;

namespace fendrel {

class ControlBuilder {
public:
    explicit ControlBuilder(QWidget* parent) : m_parent(parent) {}

    // An empty rectangle leaves the control to a layout.
    QLabel* label(const char* name, const QString& caption, const QRect& twips = {});
    QLineEdit* textBox(const char* name, const QString& text = {}, const QRect& twips = {});
    QPushButton* button(const char* name, const QString& caption, const QRect& twips = {});
    QGroupBox* frame(const char* name, const QString& caption, const QRect& twips = {});
    QCheckBox* checkBox(const char* name, const QString& caption, const QRect& twips = {});
    QRadioButton* option(const char* name, const QString& caption, const QRect& twips = {});

    // A text box with its caption on the same line: the label is the box's buddy, so screen
    // readers name the box by the caption and Alt+letter moves to it.
    QLineEdit* captionedTextBox(const char* name, const char* labelName, const QString& caption,
                                const QString& text, const QRect& labelTwips,
                                const QRect& boxTwips);

    // Any other widget type, named and placed alike.
    template <typename W> W* make(const char* name, const QRect& twips = {}) {
        auto* w = new W(m_parent);
        place(w, name, twips);
        return w;
    }

private:
    void place(QWidget* widget, const char* name, const QRect& twips) const;
    QWidget* m_parent;
};

} // namespace fendrel
