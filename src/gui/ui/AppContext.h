// What every window is given: the shared state, the dialogs, the window registry, and the round
// shown in the main window for the tools that start from it.
#pragma once

#include "core/engine/RoundTexts.h"

#include <optional>

namespace fendrel {

struct SharedState;
class Prompts;
class WindowRegistry;

// The round in the main window, as the tool windows read it when they open.
class RoundOnScreen {
public:
    virtual ~RoundOnScreen() = default;
    virtual RoundTexts roundOnScreen() const = 0;
};

struct AppContext {
    SharedState& state;
    Prompts& prompts;
    WindowRegistry& windows;
    const RoundOnScreen* mainWindow = nullptr; // set while the main window exists

    // The round on the main window, or nothing when there is no main window.
    std::optional<RoundTexts> roundOnScreen() const {
        if (!mainWindow)
            return std::nullopt;
        return mainWindow->roundOnScreen();
    }
};

} // namespace fendrel
