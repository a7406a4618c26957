// "Please select from this list...": lists one line per record of the current data file and
// hands back the 0-based position of the marked line (-999 when none).
#pragma once

#include <QDialog>

class QListWidget;
class QPushButton;

namespace fendrel {

struct AppContext;

class frmSelect : public QDialog {
    Q_OBJECT
public:
    explicit frmSelect(AppContext& context, QWidget* parent = nullptr);

    // Shows the list modally over `parent` and returns the selection result.
    static int run(AppContext& context, QWidget* parent);

    QListWidget* lstSelector;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;

public slots:
    void cmdOK_Click();
    void cmdCancel_Click();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void reject() override;

private:
    AppContext& m_context;
};

} // namespace fendrel
