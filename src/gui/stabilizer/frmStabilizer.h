// The window "Bullet stabilization calculator": caliber, muzzle velocity and twist in, the
// longest bullets the twist stabilizes out, saved as text or HTML and printed.
#pragma once

#include <QMainWindow>
#include <string>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;

namespace fendrel {

struct AppContext;
class UpDown;

class frmStabilizer : public QMainWindow {
    Q_OBJECT
public:
    explicit frmStabilizer(AppContext& context);

    QLabel* lblCal;
    QLineEdit* txtCal;
    QLabel* Label1;
    QLineEdit* txtMuzzlefps;
    QLabel* lblTwist;
    QLabel* lblTwistPrefix;
    QLineEdit* txtTwist;
    UpDown* UpDown_twist;
    QLabel* LblResults;
    QPlainTextEdit* txtResults;
    QPushButton* cmdDoIt;
    QPushButton* cmdCancel;

    QMenu* mnuFile;
    QAction* mnuFileSave;
    QAction* mnuFilePrint;
    QAction* mnuFileSep1;
    QAction* mnuFileExit;


    // The values kept from the last computation.
    double greenhillConstant() const { return m_greenhillConstant; }
    double standardLength() const { return m_standardLength; }
    double modifiedLength() const { return m_modifiedLength; }

public slots:
    void cmdDoIt_Click();
    void cmdCancel_Click();
    void mnuFileSave_Click();
    void mnuFilePrint_Click();
    void mnuFileExit_Click() { cmdCancel_Click(); }

private:
    QLabel* addLabel(const char* name, const QString& caption);
    QLineEdit* addField(const char* name, const QString& text, QLabel* label, int widthTwips);
    void buildMenus();
    void takeOpeningValues();

    AppContext& m_context;
    double m_greenhillConstant = 150;
    double m_standardLength = 0;
    double m_modifiedLength = 0;
};

} // namespace fendrel
