// Each window of the program exists at most once: the registry creates it on first use and
// brings the open one forward after that.
#pragma once

#include "AppContext.h"

#include <QPointer>
#include <QWidget>
#include <functional>
#include <map>
#include <typeindex>

namespace fendrel {

class WindowRegistry {
public:
    void setContext(AppContext* context) { m_context = context; }
    AppContext& context() { return *m_context; }

    // The open window of class W, or nullptr.
    template <typename W> W* find() const {
        auto it = m_windows.find(std::type_index(typeid(W)));
        if (it == m_windows.end() || it->second.isNull())
            return nullptr;
        return static_cast<W*>(it->second.data());
    }

    // The window of class W, created on first use (W(AppContext&)), without showing it.
    template <typename W> W* get() {
        if (W* w = find<W>())
            return w;
        W* w = new W(*m_context);
        m_windows[std::type_index(typeid(W))] = w;
        if (auto hook = m_created.find(std::type_index(typeid(W))); hook != m_created.end())
            hook->second(w);
        return w;
    }

    // Shows the window of class W modeless and brings it to the front.
    template <typename W> W* show() {
        W* w = get<W>();
        bringForward(w);
        return w;
    }

    // Runs `hook` on each window of class W the registry creates: the application connects the
    // windows' requests to each other here, in one place.
    template <typename W> void whenCreated(std::function<void(W*)> hook) {
        m_created[std::type_index(typeid(W))] = [hook](QWidget* w) { hook(static_cast<W*>(w)); };
    }

    // Registers a window created elsewhere (the main window).
    template <typename W> void adopt(W* window) {
        m_windows[std::type_index(typeid(W))] = window;
    }

    static void bringForward(QWidget* window);

    // Closes and deletes every window (end of the program, end of a test).
    void closeAll();

private:
    AppContext* m_context = nullptr;
    std::map<std::type_index, QPointer<QWidget>> m_windows;
    std::map<std::type_index, std::function<void(QWidget*)>> m_created;
};

} // namespace fendrel
