// The chart window over three output files of the calculation run (a .308, a 6.5 mm and a
// .223 load zeroed at 200 yards), with a point picked on the chart.
#include "Scenes.h"
#include "core/common/SafeFile.h"
#include "gui/ui/AppContext.h"
#include "core/common/ProgramFolder.h"
#include "core/common/SharedState.h"
#include "core/common/TextFile.h"
#include "gui/ui/WindowRegistry.h"
#include "gui/chart/TrajectoryChartWidget.h"
#include "gui/chart/frmViewChart.h"
#include "gui/ui/ScriptedPrompts.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTimer>
#include <filesystem>

namespace fendrel::shots {
namespace {

// Output files written by the calculation run for the three rounds, 0 to 600 yards by 50.
const char* const kRun0[] = {
    ".308 WINCHESTER: 168GR. MATCH",
    "Recoil for this round is 15.53 ft. lbs.",
    "ICAO STANDARD ATMOSPHERE",
    "DRAG FUNCTION: DragG1.txt",
    "Muzzle Velocity, BC, Height of sights, Angle of departure, Atmosphere Rel. Density",
    "2650,.462,1.5,5.957,.076474",
    "Temp(\xB0"
    "F),Downrange Wind Vel. (mph),Crosswind (mph),Range of Zero,Height at 'Zero'",
    "59,0,0,200,0",
    "Range(Y),Height,Deflection(in.),Velocity(fps),Time of travel(sec.)",
    " 0,-1.5,0.0,2650,0.000",
    " 50,1.0,0.0,2552,0.058",
    " 100,2.1,0.0,2457,0.118",
    " 150,1.8,0.0,2363,0.180",
    " 200,-0.0,0.0,2272,0.245",
    " 250,-3.5,0.0,2182,0.312",
    " 300,-8.9,0.0,2094,0.382",
    " 350,-16.2,0.0,2009,0.455",
    " 400,-25.7,0.0,1925,0.532",
    " 450,-37.6,0.0,1844,0.611",
    " 500,-51.9,0.0,1765,0.694",
    " 550,-69.1,0.0,1689,0.781",
    " 600,-89.4,0.0,1615,0.872",
    "Maximum range of projectile in a vaccuum (space) : 14045.00 Y",
    "Retardation of projectile in air : 1054.3439 fs/sec",
    "Pressure (or resistance) on the meplat : 32.7843 lbs.",
    "Calculated Effective Ballistic coefficient : 0.491",
    "Optimum Game Weight (OGW): 788 lbs.",
    "Reported sectional density: 0.253",
    "Calculated effective sectional density: 0.253",
    "Forward Momentum rating (FM) : 1.98",
    "W1 Penetration Index Table",
    "RANGE (Y),VELOCITY,W1,FP",
    " 0, 2650,4.281,2624.317",
    " 50, 2552,4.122,2433.677",
    " 100, 2457,3.969,2255.739",
    " 150, 2363,3.817,2086.326",
    " 200, 2272,3.670,1928.624",
    " 250, 2182,3.525,1778.754",
    " 300, 2094,3.382,1638.078",
    " 350, 2009,3.245,1507.704",
    " 400, 1925,3.109,1384.177",
    " 450, 1844,2.979,1270.065",
    " 500, 1765,2.851,1163.501",
    " 550, 1689,2.728,1065.393",
    " 600, 1615,2.609,974.021",
    "Ballistic Efficiency Index of this round out to  600Y = 21.95",
};
const char* const kRun1[] = {
    ".264 6.5 CREEDMOOR: 140GR. HUNTING",
    "Recoil for this round is 14.88 ft. lbs.",
    "ICAO STANDARD ATMOSPHERE",
    "DRAG FUNCTION: DragG1.txt",
    "Muzzle Velocity, BC, Height of sights, Angle of departure, Atmosphere Rel. Density",
    "2700,.585,1.5,5.649,.076474",
    "Temp(\xB0"
    "F),Downrange Wind Vel. (mph),Crosswind (mph),Range of Zero,Height at 'Zero'",
    "59,0,0,200,0",
    "Range(Y),Height,Deflection(in.),Velocity(fps),Time of travel(sec.)",
    " 0,-1.5,0.0,2700,0.000",
    " 50,0.9,0.0,2622,0.056",
    " 100,1.9,0.0,2545,0.114",
    " 150,1.7,0.0,2469,0.174",
    " 200,-0.0,0.0,2395,0.236",
    " 250,-3.2,0.0,2322,0.300",
    " 300,-8.0,0.0,2250,0.365",
    " 350,-14.5,0.0,2180,0.433",
    " 400,-22.9,0.0,2111,0.503",
    " 450,-33.2,0.0,2043,0.575",
    " 500,-45.6,0.0,1976,0.650",
    " 550,-60.2,0.0,1910,0.727",
    " 600,-77.2,0.0,1846,0.807",
    "Maximum range of projectile in a vaccuum (space) : 14580.00 Y",
    "Retardation of projectile in air : 1117.7760 fs/sec",
    "Pressure (or resistance) on the meplat : 34.7567 lbs.",
    "Calculated Effective Ballistic coefficient : 0.557",
    "Optimum Game Weight (OGW): 579 lbs.",
    "Reported sectional density: 0.287",
    "Calculated effective sectional density: 0.287",
    "Forward Momentum rating (FM) : 1.68",
    "W1 Penetration Index Table",
    "RANGE (Y),VELOCITY,W1,FP",
    " 0, 2700,4.240,2270.294",
    " 50, 2622,4.118,2140.929",
    " 100, 2545,3.997,2016.946",
    " 150, 2469,3.877,1898.202",
    " 200, 2395,3.761,1786.047",
    " 250, 2322,3.647,1678.755",
    " 300, 2250,3.533,1576.191",
    " 350, 2180,3.424,1479.577",
    " 400, 2111,3.315,1387.335",
    " 450, 2043,3.208,1299.337",
    " 500, 1976,3.103,1215.454",
    " 550, 1910,3.000,1135.562",
    " 600, 1846,2.899,1060.686",
    "Ballistic Efficiency Index of this round out to  600Y = 24.01",
};
const char* const kRun2[] = {
    ".224 .223 REMINGTON: 55GR. VARMINT",
    "Recoil for this round is 3.04 ft. lbs.",
    "ICAO STANDARD ATMOSPHERE",
    "DRAG FUNCTION: DragG1.txt",
    "Muzzle Velocity, BC, Height of sights, Angle of departure, Atmosphere Rel. Density",
    "3200,.25,1.5,4.613,.076474",
    "Temp(\xB0"
    "F),Downrange Wind Vel. (mph),Crosswind (mph),Range of Zero,Height at 'Zero'",
    "59,0,0,200,0",
    "Range(Y),Height,Deflection(in.),Velocity(fps),Time of travel(sec.)",
    " 0,-1.5,0.0,3200,0.000",
    " 50,0.5,0.0,2997,0.048",
    " 100,1.5,0.0,2804,0.100",
    " 150,1.4,0.0,2619,0.156",
    " 200,0.0,0.0,2441,0.215",
    " 250,-2.8,0.0,2271,0.279",
    " 300,-7.4,0.0,2107,0.347",
    " 350,-13.8,0.0,1950,0.421",
    " 400,-22.6,0.0,1800,0.501",
    " 450,-34.1,0.0,1659,0.588",
    " 500,-48.7,0.0,1527,0.682",
    " 550,-67.1,0.0,1406,0.785",
    " 600,-89.8,0.0,1298,0.896",
    "Maximum range of projectile in a vaccuum (space) : 20480.00 Y",
    "Retardation of projectile in air : 3133.5292 fs/sec",
    "Pressure (or resistance) on the meplat : 97.4356 lbs.",
    "Calculated Effective Ballistic coefficient : 0.304",
    "Optimum Game Weight (OGW): 149 lbs.",
    "Reported sectional density: 0.157",
    "Calculated effective sectional density: 0.157",
    "Forward Momentum rating (FM) : 0.78",
    "W1 Penetration Index Table",
    "RANGE (Y),VELOCITY,W1,FP",
    " 0, 3200,2.327,1253.120",
    " 50, 2997,2.179,1099.072",
    " 100, 2804,2.039,961.985",
    " 150, 2619,1.904,839.154",
    " 200, 2441,1.775,728.893",
    " 250, 2271,1.651,630.839",
    " 300, 2107,1.532,542.960",
    " 350, 1950,1.418,465.008",
    " 400, 1800,1.309,396.176",
    " 450, 1659,1.206,336.501",
    " 500, 1527,1.110,285.050",
    " 550, 1406,1.022,241.637",
    " 600, 1298,0.944,205.918",
    "Ballistic Efficiency Index of this round out to  600Y = 23.63",
};

template <size_t N> std::string outputFile(const char* const (&lines)[N]) {
    std::string bytes;
    for (const char* line : lines)
        bytes += plainLine(line);
    return bytes;
}

std::string writeRun(Studio& s, const std::string& name, const std::string& bytes) {
    const auto folder = resolveName(s.context.state.programFolder, "YourData");
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    const auto path = folder / name;
    replaceFile(path, bytes).refusal;
    return path.string();
}

SceneRegistrar chart("frmViewChart", 55, [](Studio& s) {
    const std::string first = writeRun(s, "308 Match.csv", outputFile(kRun0));
    const std::string second = writeRun(s, "6.5 Hunting.csv", outputFile(kRun1));
    const std::string third = writeRun(s, "223 Varmint.csv", outputFile(kRun2));

    s.context.state.currentDataFile = first;
    auto* w = s.context.windows.show<frmViewChart>();
    w->Timer1->stop();
    w->Timer1_Timer();
    s.prompts.files.push_back(QString::fromStdString(second));
    w->mnuFileAdd_Click();
    s.prompts.files.push_back(QString::fromStdString(third));
    w->mnuFileAdd_Click();

    // As maximized on a 1280 x 800 screen.
    w->setWindowState(Qt::WindowNoState);
    w->setGeometry(0, 0, 1280, 800);
    settle();

    // A click on the .223's point at 450 yards.
    const QPointF at = w->MSChart1->pointPosition(4, 10);
    QMouseEvent press(QEvent::MouseButtonPress, at, w->MSChart1->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w->MSChart1, &press);
    return s.save(w, {});
});

} // namespace
} // namespace fendrel::shots
