#include "frmSplash.h"

#include "gui/ui/Text.h"

#include "gui/ui/ControlBuilder.h"
#include "gui/ui/AppContext.h"
#include "core/common/ProgramFolder.h"
#include "core/common/SharedState.h"
#include "core/common/Version.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace fendrel {

frmSplash::frmSplash(AppContext& context) : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("frmSplash"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Fen-drel"));
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QStringLiteral("Fen-drel"));

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setFrameShape(QFrame::Box);
    Frame1->setLineWidth(2);
    outer->addWidget(Frame1);

    auto* layout = new QVBoxLayout(Frame1);
    WebBrowser1 = new QTextBrowser(Frame1);
    WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
    WebBrowser1->setFocusPolicy(Qt::NoFocus);
    WebBrowser1->setFrameShape(QFrame::NoFrame);
    WebBrowser1->setOpenLinks(false);
    WebBrowser1->setAccessibleName(QStringLiteral("Welcome page"));
    const auto page = resolveName(context.state.programFolder, "splash.HTM");
    WebBrowser1->setSource(QUrl::fromLocalFile(fromPath(page)));
    layout->addWidget(WebBrowser1, 1);

    QFont arial(QStringLiteral("Arial"));
    arial.setPointSize(10);
    lblVersion = ControlBuilder(Frame1).label("lblVersion", QStringLiteral("Version %1.%2").arg(kVersionMajor).arg(kVersionMinor));
    lblPlatform = ControlBuilder(Frame1).label("lblPlatform", QStringLiteral("Windows NT, 2000, and XP"));
    lblWarning = ControlBuilder(Frame1).label("lblWarning", QStringLiteral("Notice: This software is provided without support."));
    for (QLabel* label : {lblVersion, lblPlatform, lblWarning}) {
        label->setFont(arial);
        layout->addWidget(label);
    }
    for (QWidget* w : {static_cast<QWidget*>(Frame1), static_cast<QWidget*>(lblVersion),
                       static_cast<QWidget*>(lblPlatform), static_cast<QWidget*>(lblWarning),
                       WebBrowser1->viewport()})
        w->installEventFilter(this);

    resize(480, 380);
    QCoreApplication::processEvents();
}

bool frmSplash::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        close();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void frmSplash::mousePressEvent(QMouseEvent*) { close(); }

void frmSplash::keyPressEvent(QKeyEvent*) { close(); }

} // namespace fendrel
