// The window "Interactive Range Simulator": a wind set on the dial turned into effective
// downrange and cross winds, and the bullet's drift in that wind drawn on a map of the range out
// to 500 yards, alone or beside earlier traces in colours of their own.
#pragma once

#include "core/simulator/RangeMap.h"
#include "core/simulator/RangeSimulator.h"

#include <QMainWindow>
#include <QPointF>
#include <cstdint>
#include <random>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;

namespace fendrel {

struct AppContext;
class RangeMapWidget;
class UpDown;
class WindDialWidget;

class frmInteractive : public QMainWindow {
    Q_OBJECT
public:
    explicit frmInteractive(AppContext& context);

    WindDialWidget* picWindDial;
    QWidget* Shape1;
    QLabel* Label6;
    QLabel* Label27;
    QLineEdit* txtBearing;
    UpDown* UpDownBearing;
    QLabel* Label26;
    QLineEdit* txtWindSpeed;
    UpDown* UpDownActual;
    QPushButton* cmdApply;
    QLabel* Label2;
    QLineEdit* Text2;
    QLabel* Label5;
    QLabel* Label1;
    QLineEdit* Text1;
    QLabel* Label3;
    QLabel* Label4;
    QLineEdit* txtBC;
    QLabel* Label8;
    QLineEdit* txtfps;
    QLabel* Label25;
    QLineEdit* txtZero;
    RangeMapWidget* picRange;
    QLabel* Picture1;
    QLabel* Label7;
    QLabel* Label10; // the yardage labels beside the map: 0 to 500
    QLabel* Label14;
    QLabel* Label13;
    QLabel* Label12;
    QLabel* Label11;
    QLabel* Label9;
    QLabel* Label24;
    QLabel* Label22;
    QLabel* Label23;
    QLabel* Label19; // the deflection scale, left to right
    QLabel* Label18;
    QLabel* Label17;
    QLabel* Label20;
    QLabel* Label21;
    QLabel* Label15;
    QLineEdit* txtTraj[6];
    QLabel* Label16;
    QLineEdit* txtMV[6];
    QPushButton* cmdRefresh;
    QPushButton* cmdAdd;
    QPushButton* cmdAdd_color;

    QMenu* mnuFile;
    QAction* mnuFileSave;
    QAction* mnuFilePrint;
    QAction* mnuFileSep1;
    QAction* mnuFileExit;
    QMenu* mnuEdit; // never in the menu bar: the yardage labels' pop-up
    QAction* mnuEditZero;

    // What the window keeps between commands.
    std::uint8_t drawMode() const { return m_drawMode; }
    TraceColour traceColour() const { return m_traceColour; }
    int legendLine() const { return m_legendLine; }
    int selectedYardage() const { return m_selectedYardage; }
    double windBearing() const { return m_windBearing; }
    QColor clickColour() const { return m_clickColour; }
    const RangeSimulator& simulator() const { return m_simulator; }
    // Starts the colour sequence of "Add to graph with new color" from a known seed.
    void seedColours(unsigned seed) { m_random.seed(seed); }

public slots:
    void cmdRefresh_Click();
    void cmdAdd_Click();
    void cmdAdd_color_Click();
    void cmdApply_Click();
    void picWindDial_MouseDown(QPointF twips);
    void mnuEditZero_Click();
    void mnuFileSave_Click();
    void mnuFilePrint_Click();
    void mnuFileExit_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The calculation sequence of the commands that draw.
    void TrapIt();
    bool CalcIt();
    void DrawIt();
    void calculateAndDraw(std::uint8_t mode);

    QWidget* buildWindColumn();
    QWidget* buildRoundColumn();
    QWidget* buildMapPanel();
    void buildMenus();
    void takeOpeningValues();
    void showMessage(const Status& refused);
    // The dial cleared to its artwork with the blue circle drawn anew.
    void redrawDial();

    AppContext& m_context;
    RangeSimulator m_simulator;
    std::uint8_t m_drawMode = 0;
    TraceColour m_traceColour;
    int m_legendLine = RangeMap::kLegendStart;
    int m_selectedYardage = 0;
    QColor m_clickColour;
    QPointF m_clickPoint;
    double m_windBearing = 0;
    std::mt19937 m_random{std::random_device{}()};
};

} // namespace fendrel
