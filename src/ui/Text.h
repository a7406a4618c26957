// Texts at the window boundary: the program's windows-1252 bytes shown as QString and read
// back, and the select-the-whole-text-on-focus behaviour of number boxes.
#pragma once

#include "app/Encoding.h"

#include <QString>
#include <string>

class QLineEdit;

namespace fendrel {

inline QString fromBytes(const std::string& bytes) {
    return QString::fromStdString(cp1252ToUtf8(bytes));
}

inline std::string toBytes(const QString& text) { return utf8ToCp1252(text.toStdString()); }

// The box shows its whole text selected whenever it gets the focus, ready to be typed over.
void selectAllOnFocus(QLineEdit* box);

} // namespace fendrel
