// The shot group window "Measures": the shots of a group typed round by round, the group drawn
// on a target, its precision measured, and group files saved, opened and printed.
#pragma once

#include "core/groups/GroupSession.h"
#include "gui/ui/PromptsHost.h"

#include <QMainWindow>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPrinter;
class QPushButton;
class QTableWidget;
class QTextEdit;
class QTimer;

namespace fendrel {

struct AppContext;
class TargetWidget;
class UpDown;

class frmMeasure : public QMainWindow {
    Q_OBJECT
public:
    explicit frmMeasure(AppContext& context);

    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;
    QLabel* Label6;
    QLabel* Label7;
    QLabel* lblCounter;
    QLabel* lblCaption;
    QLineEdit* txtTitle;
    QLineEdit* txtCal;
    QLineEdit* txtTtlRounds;
    UpDown* UpDown1;
    QLineEdit* txtX;
    QLineEdit* txtY;
    QPushButton* cmdAccept;
    QPushButton* cmdClear;
    QPushButton* cmdDoIt;
    QPushButton* cmdCancel;
    QPushButton* cmdDisplay;
    QPushButton* cmdCLS;
    // Rounds 1..N are the table's rows 0..N-1; column 0 holds the round number, 1 X and 2 Y.
    // The headers "Round", "X coord" and "Y coord" stand in the header row.
    QTableWidget* gridSpread;
    QTextEdit* rtbDump;
    TargetWidget* picTarget;
    QLabel* Picture1;
    QTimer* Timer1;

    QMenu* mnuFile;
    QAction* mnuFileGroup;
    QAction* mnuFileSave;
    QAction* mnuFilePrint;
    QAction* mnuFileSep;
    QAction* mnuFileClose;

    // The text of grid cell (row, column) counted as on screen: row 0 is the header row,
    // rows 1..N the rounds.
    QString cell(int row, int column) const;

    // Window state, for those who drive the window.
    int currentRound() const { return m_session.entry().currentRound(); }
    int previousTotal() const { return m_session.entry().previousTotal(); }
    bool allEntered() const { return m_session.entry().allEntered(); }
    bool displayed() const { return m_displayed; }
    bool printEnabled() const { return m_session.printEnabled(); }
    // Rows 0..N; row r holds the X and Y of round r as accepted (row 0 stays empty).
    const std::vector<Shot>& coordinateTable() const { return m_session.entry().table(); }
    // The results text of the last Do It (UTF-8, CR LF between lines).
    const std::string& resultsText() const { return m_session.results(); }
    const std::filesystem::path& groupFilePath() const { return m_session.groupFile(); }

    // The window as Print Group file prints it: the results block over the grid and a copy
    // of the target, drawn group included, over the target; and back.
    void showPrintView(const std::string& results);
    void hidePrintView();

public slots:
    // Sizes the coordinate table (all zero) and the grid to the number of rounds, and numbers
    // the grid's rounds; the coordinates of the rows that remain stay in the grid.
    void Update();

    void cmdAccept_Click();
    void cmdClear_Click();
    void cmdDisplay_Click();
    void cmdCLS_Click();
    void cmdDoIt_Click();
    void cmdCancel_Click();
    void mnuFileGroup_Click();
    void mnuFileSave_Click();
    void mnuFilePrint_Click();
    void txtTtlRounds_Change();
    // A click on round `round` (1..N) of the grid.
    void gridSpread_Click(int round);
    // Keeps Accept, Do It and Print Group file enabled or disabled; runs every 250 ms.
    void Timer1_Timer();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The controls, their places and the tab order (frmMeasureLayout.cpp).
    void buildControls();
    void buildMenu();

    std::optional<int> rounds() const; // the number of rounds when txtTtlRounds holds one
    void setCell(int row, int column, const QString& text);
    void setCounter(int round);
    // Accept and Do It as the coordinate entry has them.
    void showEntry();
    void printPage(QPrinter& printer);

    AppContext& m_context;
    GroupSession m_session;
    PromptsHost m_host;
    bool m_displayed = false;
};

} // namespace fendrel
