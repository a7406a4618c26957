// fendrel-screenshots DIR: renders every window of the program to DIR/<objectName>.png under
// the offscreen platform, from a scratch copy of the program folder.
#include "Scenes.h"
#include "gui/ui/AppContext.h"
#include "core/common/SharedState.h"
#include "gui/ui/WindowRegistry.h"
#include "gui/ui/ScriptedPrompts.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace fs = std::filesystem;

namespace fendrel::shots {

std::vector<Scene>& scenes() {
    static std::vector<Scene> list;
    return list;
}

void settle() {
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

} // namespace fendrel::shots

using namespace fendrel;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "Usage: fendrel-screenshots DIR\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir fontSetUp;
    if (!fontSetUp.isValid() || !shots::useSetUpFontsOnly(fontSetUp.path()))
        std::fprintf(stderr, "fendrel-screenshots: the pictures may differ from another "
                             "machine's: run tools/setup.sh\n");
    QApplication app(argc, argv);
    const QString outDir = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    QDir().mkpath(outDir);

    // A scratch program folder, so that the screenshots never touch the user's records.
    QTemporaryDir scratch;
    const fs::path source = QCoreApplication::applicationDirPath().toStdString();
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(source, ec)) {
        if (entry.path().filename().string().rfind("fendrel", 0) == 0 ||
            entry.path().filename().string().rfind("tst_", 0) == 0 ||
            entry.path().filename().string().rfind("core_", 0) == 0)
            continue;
        fs::copy(entry.path(), fs::path(scratch.path().toStdString()) / entry.path().filename(),
                 fs::copy_options::recursive, ec);
    }

    auto list = shots::scenes();
    std::sort(list.begin(), list.end(),
              [](const shots::Scene& a, const shots::Scene& b) { return a.order < b.order; });
    bool ok = true;
    for (const auto& scene : list) {
        SharedState state;
        state.programFolder = scratch.path().toStdString();
        ScriptedPrompts prompts;
        WindowRegistry windows;
        AppContext context{state, prompts, windows};
        windows.setContext(&context);
        shots::Studio studio{context, prompts, [&](QWidget* w, const std::string& name) {
                                 shots::settle();
                                 const QString base = name.empty()
                                                          ? w->objectName()
                                                          : QString::fromStdString(name);
                                 const QString file =
                                     outDir + QLatin1Char('/') + base + QStringLiteral(".png");
                                 const bool saved = w->grab().save(file);
                                 std::printf("%s %s\n", saved ? "wrote" : "FAILED",
                                             file.toLocal8Bit().constData());
                                 return saved;
                             }};
        if (!scene.run(studio)) {
            std::printf("FAILED scene %s\n", scene.name.c_str());
            ok = false;
        }
        windows.closeAll();
        shots::settle();
    }
    return ok ? 0 : 1;
}
