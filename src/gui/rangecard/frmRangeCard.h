// The Range Card window: the corrections to dial for the air of the day, with a chart of the
// path and the drift, and the hit probability of the load. Its logic is RangeCardSession's; the
// window passes each change on to it and shows what it holds.
//
// The card is computed again as the user types: every change restarts a short timer, and the
// card and the hit probability chart follow when it runs out. The fields are remembered in
// rangecard.ini when the window closes; the round's values come from the main window.
#pragma once

#include "core/rangecard/RangeCardSession.h"
#include "gui/ui/PromptsHost.h"

#include <QMainWindow>
#include <array>
#include <optional>
#include <vector>

class QAction;
class QComboBox;
class QChartView;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPainter;
class QRectF;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTableWidget;
class QTimer;

namespace fendrel {

struct AppContext;
struct PrintSetup;

class frmRangeCard : public QMainWindow {
    Q_OBJECT
public:
    explicit frmRangeCard(AppContext& context);
    ~frmRangeCard() override;

    // The typed fields, by what they hold, with their captions and units.
    QLineEdit* field(CardField f) const { return m_fields[static_cast<std::size_t>(f)]; }
    QLabel* caption(CardField f) const { return m_captions[static_cast<std::size_t>(f)]; }
    QLabel* unit(CardField f) const { return m_units[static_cast<std::size_t>(f)]; }

    QComboBox* cmbDrag;
    QLineEdit* txtDragFile;
    QPushButton* cmdDragFile;
    QComboBox* cmbClickUnit;
    QComboBox* cmbUnits;
    QPushButton* cmdFromHistory;
    QPushButton* cmdPointBlank;
    QLabel* lblSummary;
    QLabel* lblMessage;
    QTableWidget* grdCard;
    QTableWidget* grdHit; // the chances of chtHit as numbers
    QChartView* chtPath;

    QGroupBox* fraHit;
    QRadioButton* optRectangle;
    QRadioButton* optCircle;
    QPushButton* cmdFromLastGroup;
    QLabel* lblHitMessage;
    QChartView* chtHit;

    // The lower half's two pages: the path and the chance of a hit, and truing the card.
    QTabWidget* tabLower;
    QLabel* lblObservations;
    QTableWidget* grdObservations; // range, correction, its error; a blank row to add one
    QGroupBox* fraVelocities;      // near and far velocities for the BC
    QPushButton* cmdFitVelocity;
    QPushButton* cmdFitDropScale;
    QPushButton* cmdFitBc;
    QLabel* lblTruing; // the fit's result, or what truing does
    QChartView* chtResiduals;
    QPushButton* cmdUseTruing;
    QPushButton* cmdSaveTruing;
    QPushButton* cmdNoDropScale;

    QMenu* mnuFile;
    QAction* mnuFilePrint;
    QAction* mnuFilePdf;
    QAction* mnuFileCsv;
    QAction* mnuFileCopy;
    QAction* mnuFileDope;
    QAction* mnuFileClose;
    QTimer* tmrCalculate;

    // The card and the hit probability as last computed; nothing after a refusal.
    const std::optional<RangeCardResult>& card() const { return m_session.card(); }
    const std::vector<HitRow>& hitRows() const { return m_session.hitRows(); }
    const RangeCardForm& form() const { return m_session.form(); }
    const RangeCardSession& session() const { return m_session; }

public slots:
    // Computes the card and the hit probability from the fields now (the timer's work).
    void calculate();
    void chooseDragFile();
    void fromLastGroup();
    void fromHistory();
    void print();
    void saveAsPdf();
    void saveAsCsv();
    void copyCard();
    void fitTruing(RangeCardSession::TruingKind kind);
    void pointBlank();
    void printDopeCard();
    void useTruing();
    void saveTruing();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // The controls, their captions and places, and the tab order (frmRangeCardLayout.cpp).
    void buildControls();
    QGroupBox* buildGroup(const char* name, const QString& title,
                          std::initializer_list<CardField> fields, QWidget* parent);
    void buildHitPanel(QWidget* parent);
    QWidget* buildTruingPage();
    void buildMenu();

    // The session's fields and results into the controls.
    void showForm();
    void showUnits();
    void showCard();
    void showHit();
    void showTruing();
    // The observations table into the session.
    void observationsEdited();
    // A change typed or chosen: the card follows when the user pauses.
    void changed();
    // The card brought up to date before a command uses it; false when there is none.
    bool cardIsCurrent();
    void printTo(const PrintSetup& setup);
    void paintPage(QPainter& painter, const QRectF& page);

    AppContext& m_context;
    RangeCardSession m_session;
    PromptsHost m_host;
    std::array<QLineEdit*, kCardFieldCount> m_fields{};
    std::array<QLabel*, kCardFieldCount> m_captions{};
    std::array<QLabel*, kCardFieldCount> m_units{};
    bool m_showing = false; // the session's fields are being put into the controls
};

} // namespace fendrel
