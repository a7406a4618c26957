// The windows that fendrel-screenshots renders. Each window's file registers a scene that sets
// the window up as a user would see it and hands it to `save`.
#pragma once

#include <functional>
#include <string>
#include <vector>

class QString;
class QWidget;

namespace fendrel {
struct AppContext;
class ScriptedPrompts;
}

namespace fendrel::shots {

struct Studio {
    AppContext& context;
    ScriptedPrompts& prompts;
    // Renders a window to <objectName>.png (or <name>.png when a name is given).
    std::function<bool(QWidget*, const std::string& name)> save;
};

using SceneFunction = std::function<bool(Studio&)>;

struct Scene {
    std::string name;
    int order;
    SceneFunction run;
};

std::vector<Scene>& scenes();

struct SceneRegistrar {
    SceneRegistrar(std::string name, int order, SceneFunction run) {
        scenes().push_back({std::move(name), order, std::move(run)});
    }
};

// Makes fontconfig see only the fonts the set-up installs (a configuration of its own in
// `folder`); false when one of them is missing. Call before the application starts.
bool useSetUpFontsOnly(const QString& folder);

// Lets pending events run so the window is laid out and painted.
void settle();

} // namespace fendrel::shots
