// Everything a window test needs: a scratch program folder, the shared state, scripted
// dialogs and a window registry wired together.
#pragma once

#include "TestFolder.h"
#include "gui/ui/AppContext.h"
#include "core/common/SharedState.h"
#include "gui/ui/WindowRegistry.h"
#include "gui/ui/ScriptedPrompts.h"

#include <QApplication>
#include <QFile>
#include <QString>
#include <QWidget>

namespace fendrel::test {

struct TestApp {
    TestFolder folder;
    SharedState state;
    ScriptedPrompts prompts;
    WindowRegistry windows;
    AppContext context{state, prompts, windows};

    explicit TestApp(bool withData = true, const std::string& name = {}) : folder(withData, name) {
        state.programFolder = folder.path();
        windows.setContext(&context);
    }
    ~TestApp() { windows.closeAll(); }

    QString path(const std::string& name) const {
        return QFile::decodeName(QByteArray::fromStdString((folder.path() / name).string()));
    }
};

// The child of a window by objectName; fails the test when it is missing.
template <typename T> T* child(QWidget* window, const char* name) {
    T* w = window->findChild<T*>(QString::fromLatin1(name));
    if (!w)
        qFatal("missing control %s", name);
    return w;
}

} // namespace fendrel::test
