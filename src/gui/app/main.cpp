// The workbench.
#include "gui/ui/AppContext.h"
#include "StartUp.h"
#include "core/common/ProgramFolder.h"
#include "core/common/SharedState.h"
#include "core/common/Version.h"
#include "gui/ui/WindowRegistry.h"
#include "gui/ui/QtPrompts.h"
#include "gui/ui/Text.h"
#include "gui/workbench/frmRoundDevel.h"

#include <QApplication>
#include <QEvent>
#include <QIcon>
#include <QTimer>
#include <QStandardPaths>
#include <cstdlib>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Fen-drel"));
    QApplication::setApplicationVersion(QString::fromLatin1(fendrel::kVersionText));
    QApplication::setDesktopFileName(QStringLiteral("org.example.fendrel"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/fendrel.png")));

    const char* home = std::getenv("FENDREL_HOME");
    const std::string dataHome =
        fendrel::toPath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    auto choice = fendrel::chooseProgramFolder(
        home ? std::optional<std::string>(home) : std::nullopt,
        fendrel::toPath(QCoreApplication::applicationDirPath()), dataHome);
    fendrel::QtPrompts prompts;
    if (!choice.error.empty())
        prompts.message(nullptr,
                        QStringLiteral("Your data folder could not be prepared: %1")
                            .arg(fendrel::utf8Text(choice.error)),
                        QStringLiteral("Fen-drel"), fendrel::Icon::Exclamation,
                        fendrel::Buttons::Ok, QString());

    fendrel::SharedState state;
    state.programFolder = choice.folder;
    fendrel::WindowRegistry windows;
    fendrel::AppContext context{state, prompts, windows};
    windows.setContext(&context);

    auto* main = fendrel::startUp(context);
    // For the start-up benchmark: end as soon as the main window has painted itself.
    if (qEnvironmentVariableIsSet("FENDREL_QUIT_WHEN_SHOWN")) {
        struct QuitOnPaint : QObject {
            bool eventFilter(QObject*, QEvent* e) override {
                if (e->type() == QEvent::Paint)
                    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
                return false;
            }
        };
        main->installEventFilter(new QuitOnPaint);
    }
    int rc = app.exec();
    windows.closeAll();
    return rc;
}
