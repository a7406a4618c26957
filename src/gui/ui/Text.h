// Texts at the window boundary: the core's UTF-8 texts and the system's paths as QString and
// back (the only conversions a window makes), and the select-the-whole-text-on-focus behaviour
// of number boxes.
#pragma once

#include <QFile>
#include <QString>
#include <filesystem>
#include <string>

class QEvent;
class QLineEdit;

namespace fendrel {

// Everything the core hands the windows, and takes from them, is UTF-8: these two are the only
// conversions between the core's texts and Qt's.
inline QString utf8Text(const std::string& utf8) { return QString::fromStdString(utf8); }
inline std::string fromQt(const QString& text) { return text.toStdString(); }

// A path is the system's bytes: shown and chosen in windows as the system names it, never through
// the code page of the program's files.
inline QString fromPath(const std::filesystem::path& path) {
    return QFile::decodeName(QByteArray::fromStdString(path.string()));
}
inline std::string toPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

// True for a focus event of a real move between fields (a tab, a click, a shortcut, a program's
// own move); false when focus only leaves for a menu or a popup, or with the whole window when
// a dialog or another window takes over, and when it comes back from them.
bool realFocusMove(const QEvent* event);

// The box shows its whole text selected whenever it gets the focus, ready to be typed over.
void selectAllOnFocus(QLineEdit* box);

} // namespace fendrel
