// The main window "Round Development": one round and the firearm that fires it, the menu of
// every tool, and the validation that enables saving and calculating.
#pragma once

#include "core/engine/BallisticsEngine.h"
#include "core/workbench/RoundRecordSession.h"
#include "gui/ui/AppContext.h"
#include "gui/ui/PromptsHost.h"

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

class ElidedLabel;
class UpDown;

// The tool windows read the round on screen through RoundOnScreen; the menu entries that open
// other subsystems' windows are connected by the application (gui/app).
class frmRoundDevel : public QMainWindow, public RoundOnScreen {
    Q_OBJECT
public:
    explicit frmRoundDevel(AppContext& context);
    ~frmRoundDevel() override;

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
    QMenu* mnuRange;
    QAction* mnuRangeCard;
    QAction* mnuLoadHistory;
    QMenu* mnuHelp;
    QAction* mnuHelpHowto;

    QTimer* Timer1;
    QTimer* TmrValidate;

    // The one line of the status bar.
    QString statusText() const;
    void setStatusText(const QString& text);

    // The round on screen as the calculation run and the tool windows read it.
    RoundTexts roundOnScreen() const override;
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

signals:
    // Tools > View ballistics and Graph ballistics: the application shows the report or the
    // chart of the last output file.
    void viewBallisticsRequested(const std::string& file);
    void graphBallisticsRequested(const std::string& file);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The controls, their places, captions and tab order (frmRoundDevelLayout.cpp).
    void buildControls();
    void buildMenus();
    void rebuildDescription();
    // The fields in the order of a round record (UTF-8), and a record shown in them.
    RecordFields recordFields() const;
    void showRound(const RecordFields& record);
    void showFirearm(const RecordFields& record, std::size_t first);
    // The selection list over a file: the record chosen.
    std::optional<std::size_t> pickRecord(const std::filesystem::path& file, int fieldCount);

    AppContext& m_context;
    RoundRecordSession m_records;
    PromptsHost m_host;
    ElidedLabel* m_status;
    BallisticsEngine m_engine;
};

} // namespace fendrel
