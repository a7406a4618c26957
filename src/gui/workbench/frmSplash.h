// The splash window shown at start-up: the program's page, its version and a notice. A click or
// a key closes it.
#pragma once

#include <QWidget>

class QFrame;
class QLabel;
class QTextBrowser;

namespace fendrel {

struct AppContext;

class frmSplash : public QWidget {
    Q_OBJECT
public:
    explicit frmSplash(AppContext& context);

    QFrame* Frame1;
    QTextBrowser* WebBrowser1;
    QLabel* lblVersion;
    QLabel* lblPlatform;
    QLabel* lblWarning;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace fendrel
