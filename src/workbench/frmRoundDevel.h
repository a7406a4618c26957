// The main window "Round Development": one round and the firearm that fires it, the menu of
// every tool, and the validation that enables saving and calculating.
#pragma once

#include "engine/BallisticsEngine.h"
#include "workbench/Databases.h"

#include <QMainWindow>
#include <string>
#include <vector>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QStatusBar;
class QTimer;

namespace fendrel {

struct AppContext;
class UpDown;

class frmRoundDevel : public QMainWindow {
    Q_OBJECT
public:
    explicit frmRoundDevel(AppContext& context);

    // Round part.
    QComboBox* cmbCal;
    QLineEdit* txtBWt;
    QLineEdit* txtBC;
    QLineEdit* txtSD;
    QLineEdit* txtBMake;
    QLineEdit* txtBStyle;
    QLineEdit* txtLPwdr;
    QLineEdit* txtLWt;
    QLineEdit* txtfps;
    QLineEdit* txtLPrmr;
    QLineEdit* txtLBrass;
    QLineEdit* txtDescription;
    // Firearm part.
    QComboBox* cmbMake;
    QLineEdit* txtGunModel;
    QLineEdit* txtGunYr;
    UpDown* UpDown1;
    QLineEdit* txtGunSN;
    QLineEdit* txtGunBBL;
    QLineEdit* txtGunWt;

    QPushButton* cmdSaveGun;
    QPushButton* cmdSave;
    QPushButton* cmdSaveAs;
    QPushButton* cmdCancel;
    QStatusBar* StatusBar1;

    QMenu* mnuFile;
    QAction* mnuFileLoadR;
    QAction* mnuFileLoadF;
    QAction* mnuFileUpgrade;
    QAction* mnuFileRestore;
    QAction* mnuFileSep1;
    QAction* mnuFileClose;
    QMenu* mnuTools;
    QAction* mnuInteractive;
    QAction* mnuToolsStabCalc;
    QAction* mnuRangeMeas;
    QAction* mnuOrrin;
    QAction* mnuSep1;
    QAction* mnuToolsStats;
    QAction* mnuViewB;
    QAction* mnuGraphB;
    QAction* mnuSep2;
    QAction* mnuToolsEditDTB;
    QMenu* mnuHelp;
    QAction* mnuHelpHowto;

    QTimer* Timer1;
    QTimer* TmrValidate;

    // The one line of the status bar.
    QString statusText() const;
    void setStatusText(const QString& text);

    // Text of a field as the program's bytes, and back.
    static std::string fieldBytes(const QLineEdit* field);
    static std::string fieldBytes(const QComboBox* field);

    // The round on screen as the calculation run reads it.
    RoundTexts roundTexts() const;
    // The calculation engine, with the trajectory rows of the last run.
    const BallisticsEngine& engine() const { return m_engine; }

public slots:
    void Timer1_Timer();
    void TmrValidate_Timer();

    void cmdCancel_Click();
    void cmdSave_Click();
    void cmdSaveAs_Click();
    void cmdSaveGun_Click();
    void mnuFileLoadR_Click();
    void mnuFileLoadF_Click();
    void mnuToolsEditDTB_Click();
    void mnuToolsStats_Click();
    void mnuOrrin_Click();
    void mnuHelpHowto_Click();
    void mnuViewB_Click();
    void mnuGraphB_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* addTextBox(const char* name, const char* labelName, const QString& caption,
                          const QString& tip, const QString& defaultText, int labelLeft,
                          QRect field);
    QLabel* addLabel(const char* name, const QString& caption, const QString& tip, int left,
                     int top, int right);
    void buildMenus();
    void rebuildDescription();
    std::vector<std::string> roundRecord() const;
    std::vector<std::string> firearmRecord() const;
    void showRound(const std::vector<std::string>& record);
    void showFirearm(const std::vector<std::string>& record, size_t first);
    bool saveToDatabase(bool rounds, const std::vector<std::string>& record, bool replace);
    // Shows the selection list over `file` and returns the chosen record's position, or -1.
    int pickRecord(const std::string& file, int fieldCount);
    // False (after saying why) when the database cannot be read; offers the repair of records
    // saved by earlier versions.
    bool databaseUsable(const DatabaseKind& kind);

    AppContext& m_context;
    QLabel* m_status;
    BallisticsEngine m_engine;
    bool m_askedRoundsRepair = false;
    bool m_askedFirearmsRepair = false;
};

} // namespace fendrel
