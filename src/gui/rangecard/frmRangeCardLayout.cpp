// The range card window's controls and menu: captions, groups, places and the tab order.
#include "frmRangeCard.h"

#include "RangeCardCharts.h"
#include "core/rangecard/RangeCardColumns.h"
#include "gui/ui/ControlBuilder.h"
#include "gui/ui/Menus.h"
#include "gui/ui/Text.h"

#include <QChartView>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace fendrel {

namespace {

struct FieldControl {
    CardField field;
    const char* name;
    const char* caption;
    const char* tip;
};

using F = CardField;
const FieldControl kControls[] = {
    {F::BallisticCoefficient, "txtBC", "&BC", "The ballistic coefficient for the drag model"},
    {F::Velocity, "txtVelocity", "&Velocity",
     "The muzzle velocity, measured at the velocity temperature"},
    {F::Weight, "txtWeight", "&Weight", "Needed for the energy and the stability"},
    {F::Diameter, "txtDiameter", "&Diameter", "The bullet's diameter, for the stability"},
    {F::Length, "txtLength", "&Length", "The bullet's length, for the stability and spin drift"},
    {F::Twist, "txtTwist", "&Twist", "One turn in this length: + right hand, - left hand"},
    {F::SightHeight, "txtSightHeight", "Sight h&eight", "The sight's centre above the bore axis"},
    {F::Zero, "txtZero", "&Zero", "The range the rifle is zeroed at"},
    {F::Click, "txtClick", "Cl&ick", "The scope's click value"},
    {F::Step, "txtStep", "&Step", "A row of the card every this many"},
    {F::Maximum, "txtMaximum", "&Maximum", "The last row of the card"},
    {F::Pressure, "txtPressure", "&Pressure",
     "Station pressure, as read where you shoot (not corrected to sea level)"},
    {F::Temperature, "txtTemperature", "Tempe&rature", "The air's temperature"},
    {F::Humidity, "txtHumidity", "Humidit&y", "Relative humidity"},
    {F::Altitude, "txtAltitude", "&Altitude",
     "Gives the standard pressure and temperature where they are left empty"},
    {F::WindSpeed, "txtWindSpeed", "Wi&nd speed", "The wind's speed"},
    {F::WindFrom, "txtWindFrom", "Wind fr&om",
     "Degrees clockwise: 0 from the target, 90 from the right, 180 from behind, 270 from the "
     "left"},
    {F::LookAngle, "txtLookAngle", "Loo&k angle", "+ uphill, - downhill"},
    {F::Latitude, "txtLatitude", "Latitude", "+ north; with the azimuth, for Coriolis"},
    {F::Azimuth, "txtAzimuth", "Azimuth",
     "The direction of fire clockwise from true north (90 = east)"},
    {F::PowderTemperature, "txtPowderTemperature", "Powder temperature",
     "Empty: the air's temperature"},
    {F::VelocityTemperature, "txtVelocityTemperature", "Velocity temperature",
     "The temperature at which the velocity was measured"},
    {F::Sensitivity, "txtSensitivity", "Sensitivity",
     "The change of muzzle velocity per degree of powder temperature"},
    {F::TargetWidth, "txtTargetWidth", "Width", "The target's width"},
    {F::TargetHeight, "txtTargetHeight", "Height", "The target's height"},
    {F::TargetDiameter, "txtTargetDiameter", "Diameter", "The target's diameter"},
    {F::Dispersion, "txtDispersion", "Dispersion SD",
     "The rifle and ammunition's spread on each axis, in minutes of angle"},
    {F::VelocitySd, "txtVelocitySd", "Velocity SD", "The load's velocity spread"},
    {F::WindSd, "txtWindSd", "Wind SD", "How far off your wind call may be"},
    {F::RangeSd, "txtRangeSd", "Range SD", "How far off your range estimate may be"},
    {F::VelocitySdShots, "txtVelocitySdShots", "from",
     "The shots the velocity SD was measured from; with the dispersion's, the chance gets the "
     "band of what so few shots can tell"},
    {F::DispersionShots, "txtDispersionShots", "from",
     "The shots of the groups the dispersion was measured from"},
    {F::NearVelocity, "txtNearVelocity", "Near velocity",
     "A velocity measured near the muzzle (a chronograph)"},
    {F::NearDistance, "txtNearDistance", "at", "The distance from the muzzle it was measured at"},
    {F::NearError, "txtNearError", "\u00B1", "Its standard error; empty: 5 ft/s"},
    {F::FarVelocity, "txtFarVelocity", "Far velocity",
     "A velocity measured downrange (a Doppler radar or a second chronograph)"},
    {F::FarDistance, "txtFarDistance", "at", "The distance from the muzzle it was measured at"},
    {F::FarError, "txtFarError", "\u00B1", "Its standard error; empty: 5 ft/s"},
    {F::BcBands, "txtBcBands", "Bands",
     "The BC by velocity bands as the maker prints them: BC@velocity, fastest first (0.496@2800, "
     "0.485@1800); empty: the one BC above"},
    {F::WindBrackets, "txtWindBrackets", "Brackets",
     "Crosswind speeds from the right whose windage every row of the card also gives (5, 10)"},
    {F::DangerHeight, "txtDangerHeight", "Danger space",
     "A target's height: every row also gives how long a span around its range such a target "
     "is hit in with the sight set for that range"},
};
static_assert(std::size(kControls) == kCardFieldCount);

// A table of results: read only, one Tab stop (the arrow keys move within it), no row numbers.
QTableWidget* resultTable(ControlBuilder& make, const char* name, const QString& accessibleName) {
    auto* t = make.make<QTableWidget>(name);
    t->setAccessibleName(accessibleName);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setSelectionMode(QAbstractItemView::ContiguousSelection);
    t->setTabKeyNavigation(false);
    t->verticalHeader()->hide();
    t->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    t->verticalHeader()->setDefaultSectionSize(t->fontMetrics().height() + 4);
    return t;
}

} // namespace

void frmRangeCard::buildControls() {
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("clientArea"));
    setCentralWidget(central);
    ControlBuilder make(central);

    for (const FieldControl& c : kControls) {
        const auto i = static_cast<std::size_t>(c.field);
        m_captions[i] =
            make.label((std::string("lbl") + (c.name + 3)).c_str(), utf8Text(c.caption));
        m_fields[i] = make.textBox(c.name);
        m_fields[i]->setToolTip(QString::fromLatin1(c.tip));
        m_fields[i]->setPlaceholderText(utf8Text(cardField(c.field).blankMeaning));
        m_fields[i]->setFixedWidth(
            m_fields[i]->fontMetrics().horizontalAdvance(QStringLiteral("00000000")) + 12);
        m_captions[i]->setBuddy(m_fields[i]);
        m_units[i] = make.label((std::string("lblUnit") + (c.name + 3)).c_str(), QString());
        selectAllOnFocus(m_fields[i]);
    }

    cmbDrag = make.make<QComboBox>("cmbDrag");
    cmbDrag->addItems({QStringLiteral("G1"), QStringLiteral("G7"), QStringLiteral("File")});
    cmbDrag->setAccessibleName(QStringLiteral("Drag model"));
    txtDragFile = make.textBox("txtDragFile");
    txtDragFile->setAccessibleName(QStringLiteral("Drag file"));
    txtDragFile->setToolTip(QStringLiteral("A file of Mach number and drag coefficient lines"));
    txtDragFile->setPlaceholderText(QStringLiteral("mach,cd file"));
    cmdDragFile = make.button("cmdDragFile", QStringLiteral("Browse..."));
    cmdDragFile->setAccessibleName(QStringLiteral("Choose the drag file"));
    cmbClickUnit = make.make<QComboBox>("cmbClickUnit");
    cmbClickUnit->addItems({QStringLiteral("MOA"), QStringLiteral("mil")});
    cmbClickUnit->setAccessibleName(QStringLiteral("Click unit"));
    cmbUnits = make.make<QComboBox>("cmbUnits");
    cmbUnits->addItems({QStringLiteral("Imperial"), QStringLiteral("Metric")});
    cmbUnits->setAccessibleName(QStringLiteral("Units"));
    cmdPointBlank = make.button("cmdPointBlank", QStringLiteral("MPBR..."));
    cmdPointBlank->setToolTip(QStringLiteral(
        "Zeroes the card for the maximum point-blank range of a vital zone you give"));
    cmdPointBlank->setAccessibleName(QStringLiteral("Maximum point-blank range"));
    cmdFromHistory = make.button("cmdFromHistory", QStringLiteral("From &history..."));
    cmdFromHistory->setToolTip(QStringLiteral(
        "The velocity and its SD from a chronograph string, and the dispersion from groups, "
        "kept in the load history of the round on the main window"));

    QGroupBox* bullet = buildGroup(
        "fraBullet", QStringLiteral("Bullet"),
        {F::BallisticCoefficient, F::BcBands, F::Velocity, F::Weight, F::Diameter, F::Length,
         F::Twist},
        central);
    {
        auto* grid = static_cast<QGridLayout*>(bullet->layout());
        // The bands are a list: the field runs under the unit too.
        grid->removeWidget(unit(F::BcBands));
        unit(F::BcBands)->hide();
        grid->removeWidget(field(F::BcBands));
        field(F::BcBands)->setMinimumWidth(field(F::BcBands)->width());
        field(F::BcBands)->setMaximumWidth(QWIDGETSIZE_MAX);
        grid->addWidget(field(F::BcBands), 1, 1, 1, 2);
        auto* drag = make.label("lblDrag", QStringLiteral("Dra&g model"));
        drag->setBuddy(cmbDrag);
        const int row = grid->rowCount();
        grid->addWidget(drag, row, 0);
        grid->addWidget(cmbDrag, row, 1);
        auto* file = new QHBoxLayout;
        file->addWidget(txtDragFile, 1);
        file->addWidget(cmdDragFile);
        grid->addLayout(file, row + 1, 0, 1, 3);
        grid->addWidget(cmdFromHistory, row + 2, 0, 1, 3);
    }
    QGroupBox* rifle =
        buildGroup("fraRifle", QStringLiteral("Rifle and card"),
                   {F::SightHeight, F::Zero, F::Click, F::Step, F::Maximum}, central);
    {
        // The click's unit has a row and a caption of its own, so that screen readers name the
        // list by its caption rather than by the unit chosen.
        auto* grid = static_cast<QGridLayout*>(rifle->layout());
        auto* clickUnit = make.label("lblClickUnit", QStringLiteral("Click unit"));
        clickUnit->setBuddy(cmbClickUnit);
        auto* units = make.label("lblUnits", QStringLiteral("&Units"));
        units->setBuddy(cmbUnits);
        const int row = grid->rowCount();
        grid->addWidget(clickUnit, row, 0);
        grid->addWidget(cmbClickUnit, row, 1, 1, 2);
        grid->addWidget(units, row + 1, 0);
        grid->addWidget(cmbUnits, row + 1, 1, 1, 2);
        grid->addWidget(caption(F::DangerHeight), row + 2, 0);
        grid->addWidget(field(F::DangerHeight), row + 2, 1);
        grid->addWidget(unit(F::DangerHeight), row + 2, 2);
        grid->addWidget(cmdPointBlank, row + 3, 0, 1, 3);
    }
    QGroupBox* air = buildGroup("fraAir", QStringLiteral("Air"),
                                {F::Pressure, F::Temperature, F::Humidity, F::Altitude}, central);
    QGroupBox* wind = buildGroup(
        "fraWind", QStringLiteral("Wind, angle and place"),
        {F::WindSpeed, F::WindFrom, F::WindBrackets, F::LookAngle, F::Latitude, F::Azimuth},
        central);
    QGroupBox* powder =
        buildGroup("fraPowder", QStringLiteral("Powder"),
                   {F::PowderTemperature, F::VelocityTemperature, F::Sensitivity}, central);

    lblSummary = make.label("lblSummary", QString());
    lblSummary->setWordWrap(true);
    lblSummary->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblMessage = make.label("lblMessage", QString());
    lblMessage->setWordWrap(true);
    lblMessage->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold"));

    grdCard = resultTable(make, "grdCard", QStringLiteral("Range card"));
    // Each column as wide as its heading needs; together they fit beside the fields on a
    // 1280-pixel screen.
    int cardWidth = 0;
    for (const RangeCardColumn& c : rangeCardColumns())
        cardWidth += grdCard->fontMetrics().horizontalAdvance(QString::fromLatin1(c.heading)) + 6;
    grdCard->setMinimumWidth(cardWidth);
    // Tall enough for the eleven rows of a card every 100 to 1000 without scrolling.
    // Room for the scroll bar too, which the wind brackets' and danger space's columns bring.
    grdCard->setMinimumHeight(grdCard->verticalHeader()->defaultSectionSize() * 11 +
                              2 * grdCard->fontMetrics().height() + 8 +
                              grdCard->style()->pixelMetric(QStyle::PM_ScrollBarExtent));

    chtPath =
        makeChartView(central, "chtPath", QStringLiteral("Path and drift"), QStringLiteral("in"),
                      QStringLiteral("Chart of the path and the drift"));
    buildHitPanel(central);

    auto* inputs = new QGridLayout;
    inputs->addWidget(bullet, 0, 0);
    inputs->addWidget(rifle, 0, 1);
    inputs->addWidget(air, 1, 0);
    inputs->addWidget(wind, 1, 1);
    inputs->addWidget(powder, 2, 0, 1, 2);
    inputs->setRowStretch(3, 1);

    // The hit panel's inputs and numbers beside the two charts, one above the other.
    auto* charts = new QVBoxLayout;
    charts->addWidget(chtPath, 1);
    charts->addWidget(chtHit, 1);
    auto* hitPage = new QWidget;
    auto* lower = new QHBoxLayout(hitPage);
    lower->setContentsMargins(4, 4, 4, 4);
    lower->addWidget(fraHit);
    lower->addLayout(charts, 1);
    tabLower = make.make<QTabWidget>("tabLower");
    tabLower->setAccessibleName(QStringLiteral("Path and hit, or truing"));
    tabLower->addTab(hitPage, QStringLiteral("Path and hit"));
    tabLower->addTab(buildTruingPage(), QStringLiteral("Truing"));
    tabLower->setDocumentMode(true);

    auto* results = new QVBoxLayout;
    results->addWidget(lblSummary);
    results->addWidget(grdCard);
    results->addWidget(tabLower, 1);

    auto* layout = new QGridLayout(central);
    layout->addLayout(inputs, 0, 0);
    layout->addLayout(results, 0, 1);
    layout->addWidget(lblMessage, 1, 0, 1, 2);
    layout->setColumnStretch(1, 1);

    buildMenu();

    QList<QWidget*> order;
    for (F f : {F::BallisticCoefficient, F::BcBands, F::Velocity, F::Weight, F::Diameter,
                F::Length, F::Twist})
        order << field(f);
    order << cmbDrag << txtDragFile << cmdDragFile << cmdFromHistory;
    for (F f : {F::SightHeight, F::Zero, F::Click})
        order << field(f);
    order << field(F::Step) << field(F::Maximum) << cmbClickUnit << cmbUnits
          << field(F::DangerHeight) << cmdPointBlank;
    // As the groups stand: air, then the wind beside it, then the powder below.
    for (F f : {F::Pressure, F::Temperature, F::Humidity, F::Altitude, F::WindSpeed, F::WindFrom,
                F::WindBrackets, F::LookAngle, F::Latitude, F::Azimuth, F::PowderTemperature,
                F::VelocityTemperature, F::Sensitivity})
        order << field(f);
    // The pages' tabs come after the card: Left and Right change the page.
    auto* tabs = tabLower->findChild<QTabBar*>();
    tabs->setObjectName(QStringLiteral("barLower"));
    order << grdCard << tabLower << optRectangle << optCircle;
    for (F f : {F::TargetWidth, F::TargetHeight, F::TargetDiameter, F::VelocitySd,
                F::VelocitySdShots, F::WindSd, F::RangeSd, F::Dispersion, F::DispersionShots})
        order << field(f);
    order << cmdFromLastGroup << grdHit << grdObservations << cmdFitVelocity << cmdFitDropScale;
    for (F f : {F::NearVelocity, F::NearDistance, F::NearError, F::FarVelocity, F::FarDistance,
                F::FarError})
        order << field(f);
    order << cmdFitBc << cmdUseTruing << cmdSaveTruing << cmdNoDropScale;
    for (int i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);
}

QGroupBox* frmRangeCard::buildGroup(const char* name, const QString& title,
                                    std::initializer_list<CardField> fields, QWidget* parent) {
    QGroupBox* box = ControlBuilder(parent).frame(name, title);
    auto* grid = new QGridLayout(box);
    grid->setColumnStretch(3, 1);
    int row = 0;
    for (CardField f : fields) {
        grid->addWidget(caption(f), row, 0);
        grid->addWidget(field(f), row, 1);
        grid->addWidget(unit(f), row, 2);
        ++row;
    }
    return box;
}

void frmRangeCard::buildHitPanel(QWidget* parent) {
    ControlBuilder make(parent);
    fraHit = make.frame("fraHit", QStringLiteral("Hit probability"));
    optRectangle = make.option("optRectangle", QStringLiteral("Re&ctangle"));
    optCircle = make.option("optCircle", QStringLiteral("Circle"));
    cmdFromLastGroup = make.button("cmdFromLastGroup", QStringLiteral("From last group..."));
    cmdFromLastGroup->setToolTip(
        QStringLiteral("The dispersion from the group the shot group window measured last"));
    lblHitMessage = make.label("lblHitMessage", QString());
    lblHitMessage->setWordWrap(true);
    lblHitMessage->setStyleSheet(QStringLiteral("color: #b00000"));
    chtHit =
        makeChartView(parent, "chtHit", QStringLiteral("Chance of a hit"), QStringLiteral("Hit %"),
                      QStringLiteral("Chart of the chance of a hit against range"));

    auto* grid = new QGridLayout;
    auto* shape = new QHBoxLayout;
    shape->addWidget(optRectangle);
    shape->addWidget(optCircle);
    shape->addStretch(1);
    grid->addLayout(shape, 0, 0, 1, 6);
    int row = 1;
    for (F f : {F::TargetWidth, F::TargetHeight, F::TargetDiameter, F::VelocitySd, F::WindSd,
                F::RangeSd, F::Dispersion}) {
        grid->addWidget(caption(f), row, 0);
        grid->addWidget(field(f), row, 1);
        grid->addWidget(unit(f), row, 2);
        // The shots a spread was measured from stand beside it: "from 10 shots".
        const F shots = f == F::VelocitySd ? F::VelocitySdShots : F::DispersionShots;
        if (f == F::VelocitySd || f == F::Dispersion) {
            grid->addWidget(caption(shots), row, 3);
            grid->addWidget(field(shots), row, 4);
            grid->addWidget(unit(shots), row, 5);
            field(shots)->setFixedWidth(field(shots)->fontMetrics().horizontalAdvance(
                                            QStringLiteral("no band")) +
                                        12);
        }
        ++row;
    }
    grid->setColumnStretch(6, 1);
    grid->addWidget(cmdFromLastGroup, row, 0, 1, 6);
    // The chances as numbers too: a table a screen reader reads cell by cell.
    grdHit = resultTable(make, "grdHit", QStringLiteral("Chance of a hit by range"));
    grdHit->setColumnCount(2);
    // A few rows are enough beside the chart: the window keeps within 800 pixels of height.
    grdHit->setMinimumHeight(grdHit->verticalHeader()->defaultSectionSize() * 3 +
                             2 * grdHit->fontMetrics().height());
    grdHit->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Ignored);
    grid->addWidget(grdHit, row + 1, 0, 1, 7);
    grid->setRowStretch(row + 1, 1);
    grid->addWidget(lblHitMessage, row + 2, 0, 1, 7);
    fraHit->setLayout(grid);
}

QWidget* frmRangeCard::buildTruingPage() {
    auto* page = new QWidget;
    ControlBuilder make(page);
    lblObservations = make.label("lblObservations", QStringLiteral("Observed corre&ctions:"));
    grdObservations = make.make<QTableWidget>("grdObservations");
    grdObservations->setAccessibleName(QStringLiteral("Observed corrections"));
    grdObservations->setAccessibleDescription(QStringLiteral(
        "One row a range: the range, the elevation dialled that centred the group there (+ up) "
        "and, if known, that correction's standard error."));
    grdObservations->setColumnCount(3);
    grdObservations->setRowCount(1);
    grdObservations->verticalHeader()->hide();
    grdObservations->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    grdObservations->verticalHeader()->setDefaultSectionSize(
        grdObservations->fontMetrics().height() + 6);
    lblObservations->setBuddy(grdObservations);
    cmdFitVelocity = make.button("cmdFitVelocity", QStringLiteral("Fit velocity"));
    cmdFitVelocity->setToolTip(
        QStringLiteral("The muzzle velocity from the corrections observed above Mach 1.2"));
    cmdFitDropScale = make.button("cmdFitDropScale", QStringLiteral("Fit drop scale"));
    cmdFitDropScale->setToolTip(
        QStringLiteral("The drag past Mach 1.2 from the corrections observed below it"));

    fraVelocities = make.frame("fraVelocities", QStringLiteral("BC from two velocities"));
    auto* pairs = new QGridLayout(fraVelocities);
    int row = 0;
    for (const auto& side : {std::array{F::NearVelocity, F::NearDistance, F::NearError},
                             std::array{F::FarVelocity, F::FarDistance, F::FarError}}) {
        int column = 0;
        for (F f : side) {
            caption(f)->setParent(fraVelocities);
            field(f)->setParent(fraVelocities);
            unit(f)->setParent(fraVelocities);
            pairs->addWidget(caption(f), row, column++);
            pairs->addWidget(field(f), row, column++);
            pairs->addWidget(unit(f), row, column++);
        }
        ++row;
    }
    cmdFitBc = make.button("cmdFitBc", QStringLiteral("Fit BC"));
    pairs->addWidget(cmdFitBc, row, 0, 1, 3);

    lblTruing = make.label("lblTruing", QString());
    lblTruing->setWordWrap(true);
    lblTruing->setTextInteractionFlags(Qt::TextSelectableByMouse);
    chtResiduals = makeChartView(page, "chtResiduals", QStringLiteral("Residuals"),
                                 QStringLiteral("MOA"),
                                 QStringLiteral("Chart of the residuals before and after the fit"));
    cmdUseTruing = make.button("cmdUseTruing", QStringLiteral("Use"));
    cmdUseTruing->setToolTip(QStringLiteral("Gives the card the fitted value"));
    cmdSaveTruing = make.button("cmdSaveTruing", QStringLiteral("Save to history..."));
    cmdSaveTruing->setToolTip(
        QStringLiteral("Keeps the truing with the load of the round on the main window"));
    cmdNoDropScale = make.button("cmdNoDropScale", QStringLiteral("No drop scale"));
    cmdNoDropScale->setToolTip(QStringLiteral("The card without the fitted drop scale"));

    auto* fits = new QHBoxLayout;
    fits->addWidget(cmdFitVelocity);
    fits->addWidget(cmdFitDropScale);
    fits->addStretch(1);
    auto* left = new QVBoxLayout;
    left->addWidget(lblObservations);
    left->addWidget(grdObservations, 1);
    left->addLayout(fits);
    left->addWidget(fraVelocities);
    auto* commands = new QHBoxLayout;
    commands->addWidget(cmdUseTruing);
    commands->addWidget(cmdSaveTruing);
    commands->addWidget(cmdNoDropScale);
    commands->addStretch(1);
    auto* right = new QVBoxLayout;
    right->addWidget(lblTruing);
    right->addWidget(chtResiduals, 1);
    right->addLayout(commands);
    auto* columns = new QHBoxLayout(page);
    columns->setContentsMargins(4, 4, 4, 4);
    columns->addLayout(left, 1);
    columns->addLayout(right, 1);
    return page;
}

void frmRangeCard::buildMenu() {
    mnuFile = addMenu(menuBar(), "mnuFile", QStringLiteral("&File"));
    mnuFilePrint = addEntry(mnuFile, "mnuFilePrint", QStringLiteral("&Print..."));
    mnuFilePdf = addEntry(mnuFile, "mnuFilePdf", QStringLiteral("Save as P&DF..."));
    mnuFileCsv = addEntry(mnuFile, "mnuFileCsv", QStringLiteral("Save as &CSV..."));
    mnuFileCopy = addEntry(mnuFile, "mnuFileCopy", QStringLiteral("C&opy"));
    mnuFileDope = addEntry(mnuFile, "mnuFileDope", QStringLiteral("Print DOPE c&ard..."));
    addSeparator(mnuFile, "mnuFileSep");
    mnuFileClose = addEntry(mnuFile, "mnuFileClose", QStringLiteral("&Close"));
    mnuFilePrint->setShortcut(QKeySequence::Print);
    mnuFileClose->setShortcut(QKeySequence(Qt::Key_Escape));
}

} // namespace fendrel
