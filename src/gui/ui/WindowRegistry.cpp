// The window registry.
#include "WindowRegistry.h"

namespace fendrel {

void WindowRegistry::bringForward(QWidget* window) {
    if (window->isMinimized())
        window->showNormal();
    else
        window->show();
    window->raise();
    window->activateWindow();
}

void WindowRegistry::closeAll() {
    for (auto& [type, window] : m_windows) {
        if (!window.isNull()) {
            window->close();
            delete window.data();
        }
    }
    m_windows.clear();
}

} // namespace fendrel
