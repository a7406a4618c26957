// The workbench.
#include "AppContext.h"
#include "Module1.h"
#include "ProgramFolder.h"
#include "SharedState.h"
#include "WindowRegistry.h"
#include "ui/QtPrompts.h"
#include "workbench/frmRoundDevel.h"

#include <QApplication>
#include <QEvent>
#include <QIcon>
#include <QTimer>
#include <QMessageBox>
#include <QStandardPaths>
#include <cstdlib>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Fen-drel"));
    QApplication::setApplicationVersion(QStringLiteral("6.0"));
    QApplication::setDesktopFileName(QStringLiteral("fendrel"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/fendrel.png")));

    const char* home = std::getenv("FENDREL_HOME");
    std::string dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
                               .toStdString();
    auto choice = fendrel::chooseProgramFolder(
        home ? std::optional<std::string>(home) : std::nullopt,
        QCoreApplication::applicationDirPath().toStdString(), dataHome);
    if (!choice.error.empty())
        QMessageBox::warning(nullptr, QStringLiteral("Fen-drel"),
                             QStringLiteral("Your data folder could not be prepared: %1")
                                 .arg(QString::fromStdString(choice.error)));

    fendrel::SharedState state;
    state.programFolder = choice.folder;
    fendrel::QtPrompts prompts;
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
