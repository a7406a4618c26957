// The range, wind and zero dialog of a calculation run. Modal; OK stores the values into the
// run settings, Cancel stops the run.
#pragma once

#include <QDialog>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace fendrel {

struct AppContext;
struct RunSettings;
class UpDown;

class frmDialog : public QDialog {
    Q_OBJECT
public:
    // OK stores into `settings` (the run's settings of the shared state).
    frmDialog(AppContext& context, RunSettings& settings, QWidget* parent = nullptr);

    QRadioButton* optRange[2];
    QLineEdit* txtRInt;
    QLineEdit* txtRMax;
    QLineEdit* txtRangeWind;
    QLineEdit* txtCrossWind;
    QLineEdit* txtRZero;
    QLineEdit* txtRHeight;
    UpDown* UpDownRangeWind;
    UpDown* UpDownCrossWind;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;
    QLabel* Label6;
    QLabel* Label7;
    QLabel* Label8;
    QPushButton* OKButton;
    QPushButton* CancelButton;

public slots:
    void optRange_Click();
    void OKButton_Click();
    void CancelButton_Click();

protected:
    void reject() override;

private:
    QGroupBox* frame(const char* name, const QString& caption, const QString& tip);

    AppContext& m_context;
    RunSettings& m_settings;
};

} // namespace fendrel
