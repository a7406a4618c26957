// What every window is given: the shared state, the dialogs and the window registry.
#pragma once

namespace fendrel {

struct SharedState;
class Prompts;
class WindowRegistry;

struct AppContext {
    SharedState& state;
    Prompts& prompts;
    WindowRegistry& windows;
};

} // namespace fendrel
