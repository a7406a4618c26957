// Menus whose entries carry their control names, so tests and screen readers find them.
#pragma once

#include <QString>

class QAction;
class QMenu;
class QMenuBar;

namespace fendrel {

QMenu* addMenu(QMenuBar* bar, const char* name, const QString& caption);
QAction* addEntry(QMenu* menu, const char* name, const QString& caption);
QAction* addSeparator(QMenu* menu, const char* name);

} // namespace fendrel
