#include "Text.h"

#include <QEvent>
#include <QLineEdit>
#include <QTimer>

namespace fendrel {

namespace {
class SelectAllOnFocus : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusIn) {
            auto* edit = static_cast<QLineEdit*>(watched);
            // After the box's own focus handling, which may place the caret.
            QTimer::singleShot(0, edit, [edit] { edit->selectAll(); });
        }
        return false;
    }
};
} // namespace

void selectAllOnFocus(QLineEdit* box) { box->installEventFilter(new SelectAllOnFocus(box)); }

} // namespace fendrel
