// Everything a window test needs: a scratch program folder, the shared state, scripted
// dialogs and a window registry wired together.
#pragma once

#include "TestFolder.h"
#include "gui/ui/AppContext.h"
#include "core/common/SharedState.h"
#include "gui/ui/WindowRegistry.h"
#include "gui/ui/ScriptedPrompts.h"

// The controls and test tools every window test uses.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStandardPaths>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <QtTest>

#include <functional>
#include <memory>

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
    // The text of the last message shown, or "".
    QString lastMessage() const { return prompts.messages().value(prompts.messages().size() - 1); }
};

// The texts of a list's or a combo box's items, in order.
template <typename List> QStringList items(List* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->model()->index(i, 0).data().toString();
    return out;
}

// A file dialog's request: its kind, filter index and start folder, then its filter.
inline QString fileRequest(const PromptRecord& p) {
    return QStringLiteral("%1 %2 %3 %4")
        .arg(p.kind, QString::number(p.file.filterIndex), p.file.startFolder, p.file.filter);
}

// The round a stand-in main window shows, for the windows that read it.
struct ShownRound : RoundOnScreen {
    RoundTexts texts;
    RoundTexts roundOnScreen() const override { return texts; }
};

// The child of a window by objectName; fails the test when it is missing.
template <typename T> T* child(QWidget* window, const char* name) {
    T* w = window->findChild<T*>(QString::fromLatin1(name));
    if (!w)
        qFatal("missing control %s", name);
    return w;
}

// A print set-up that sends the job to a PDF file.
inline PrintSetup printTo(const QString& file) { return {.printerName = {}, .outputFile = file}; }

// Shows `window` and makes it the active window at once, so that focus and key events reach it.
// The offscreen platform activates windows through events of its own and promises nothing about
// when they land (a busy machine delivers them late), so a test never waits for it: the events
// already queued land first, then the window is activated directly.
inline void activate(QWidget* window) {
    window->show();
    QCoreApplication::processEvents();
    QApplication::setActiveWindow(window);
}

// The controls Tab reaches from `start`, in order, until it comes back to `start` (at most
// `limit`): each named by its objectName, or its owner's for the inner part of a control.
inline QStringList focusChain(QWidget* window, QWidget* start, int limit = 200) {
    activate(window);
    start->setFocus(Qt::TabFocusReason);
    QStringList names;
    for (int i = 0; i < limit; ++i) {
        QWidget* at = QApplication::focusWidget();
        while (at && at->objectName().isEmpty())
            at = at->parentWidget();
        names << (at ? at->objectName() : QStringLiteral("(none)"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        if (QApplication::focusWidget() == start)
            break;
    }
    return names;
}

// Runs `drive` on the modal window of class W as soon as it shows (a command may let events run
// before its dialog opens, so this keeps looking for a while).
template <typename W> void whenShown(std::function<void(W*)> drive, int triesLeft = 400) {
    QTimer::singleShot(5, [drive, triesLeft] {
        auto* w = qobject_cast<W*>(QApplication::activeModalWidget());
        if (!w && triesLeft > 0)
            return whenShown<W>(drive, triesLeft - 1);
        QVERIFY(w);
        drive(w);
    });
}

} // namespace fendrel::test
