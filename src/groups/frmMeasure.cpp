#include "frmMeasure.h"

#include "GroupFile.h"
#include "TargetWidget.h"
#include "app/AppContext.h"
#include "app/Encoding.h"
#include "app/Numbers.h"
#include "app/ProgramFolder.h"
#include "app/SharedState.h"
#include "app/TextFile.h"
#include "app/WindowRegistry.h"
#include "ui/Menus.h"
#include "ui/Text.h"
#include "ui/Geometry.h"
#include "ui/Printing.h"
#include "ui/Prompts.h"
#include "ui/UpDown.h"
#include "workbench/frmRoundDevel.h"

#include <QComboBox>
#include <QEvent>
#include <QFileInfo>
#include <QFocusEvent>
#include <QFontDatabase>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QTableWidget>
#include <QTextEdit>
#include <QTimer>
#include <algorithm>
#include <cmath>

namespace fendrel {

namespace {

const QString kEnterTip = QStringLiteral(
    "Enter the X and Y coordinates for the center of each shot and then click 'Accept'.");
const QString kAllEnteredTip = QStringLiteral(
    "All coordinates have been entered. Click the 'Do It' button or increase the total number of "
    "rounds in this group.");
const QString kGroupFilter = QStringLiteral("Group File Format(.grp)|*.grp|");
const QString kRoundsRefusal =
    QStringLiteral("The number of rounds must be a whole number from 2 to 181.");

// The stated sizes of the window's special fonts were chosen for a smaller default font; ours
// grow with the layout.
constexpr double kFontScale = 1.25;


} // namespace

frmMeasure::frmMeasure(AppContext& context) : m_context(context) {
    setObjectName(QStringLiteral("frmMeasure"));
    setWindowTitle(QStringLiteral("Measures"));
    setAttribute(Qt::WA_DeleteOnClose);

    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("clientArea"));
    central->setFixedSize(twips(8190), twips(6090));
    setCentralWidget(central);

    Label1 = addLabel("Label1",
                      QStringLiteral("This module will evaluate a shot grouping for precision.  "
                                     "Fen-drel will calculate mean radius, mean spread, and "
                                     "extreme spread."),
                      QRect(120, 0, 4695, 615));
    Label7 = addLabel("Label7", QStringLiteral("Title:"), QRect(240, 720, 615, 375));
    txtTitle = addTextBox("txtTitle", QStringLiteral("ex: 10-May-2003, 75F, light breeze, sunny"),
                          QRect(720, 720, 4095, 285));
    txtTitle->setToolTip(QStringLiteral(
        "Add free-form text to aid yourself in recalling this shot-grouping at a later time."));
    Label6 = addLabel("Label6", QStringLiteral("Caliber (in inches, e.g, 0.224)"),
                      QRect(240, 1080, 2055, 375));
    txtCal = addTextBox("txtCal", QString(), QRect(2520, 1080, 780, 345));
    Label2 = addLabel("Label2", QStringLiteral("No. of rounds in this group"),
                      QRect(240, 1560, 2175, 255));
    txtTtlRounds = addTextBox("txtTtlRounds", QStringLiteral("5"), QRect(2520, 1440, 600, 375));
    UpDown1 = new UpDown(central, kMinimumRounds, kMaximumRounds);
    UpDown1->setObjectName(QStringLiteral("UpDown1"));
    UpDown1->setGeometry(twipsRect(3120, 1440, 195, 375));
    UpDown1->setBuddy(txtTtlRounds);
    UpDown1->setValue(5);
    Label5 = addLabel("Label5",
                      QStringLiteral("Using the Fen-drel graph overlay, enter the X and Y "
                                     "coordinates for the center of each round in this group, "
                                     "then press the 'Accept' button."),
                      QRect(120, 1800, 4695, 615));
    lblCounter = addLabel("lblCounter", QStringLiteral("Round 1"), QRect(240, 2520, 3255, 255));
    QFont counterFont = lblCounter->font();
    counterFont.setBold(true);
    counterFont.setPointSizeF(9.75 * kFontScale);
    lblCounter->setFont(counterFont);
    lblCounter->setWordWrap(false);

    Label3 = addLabel("Label3", QStringLiteral("X:"), QRect(240, 2880, 375, 375));
    Label4 = addLabel("Label4", QStringLiteral("Y:"), QRect(1440, 2880, 495, 375));
    for (QLabel* axis : {Label3, Label4}) {
        QFont f = axis->font();
        f.setBold(true);
        f.setItalic(true);
        f.setPointSizeF(12 * kFontScale);
        axis->setFont(f);
        axis->setWordWrap(false);
    }
    txtX = addTextBox("txtX", QStringLiteral("0"), QRect(600, 2880, 735, 375));
    txtY = addTextBox("txtY", QStringLiteral("0"), QRect(1800, 2880, 855, 375));
    Label3->setBuddy(txtX);
    Label4->setBuddy(txtY);
    Label7->setBuddy(txtTitle);
    Label6->setBuddy(txtCal);
    Label2->setBuddy(txtTtlRounds);
    cmdAccept = addButton("cmdAccept", QStringLiteral("&Accept"), QRect(2760, 2880, 1095, 375));
    cmdAccept->setToolTip(kEnterTip);
    cmdClear = addButton("cmdClear", QStringLiteral("Clear"), QRect(3960, 2880, 975, 375));

    gridSpread = new QTableWidget(0, 3, central);
    gridSpread->setObjectName(QStringLiteral("gridSpread"));
    gridSpread->setAccessibleName(QStringLiteral("Rounds of this group"));
    gridSpread->setGeometry(twipsRect(120, 3360, 4815, 2055));
    gridSpread->setHorizontalHeaderLabels(
        {QStringLiteral("Round"), QStringLiteral("X coord"), QStringLiteral("Y coord")});
    gridSpread->verticalHeader()->hide();
    gridSpread->setEditTriggers(QAbstractItemView::NoEditTriggers);
    gridSpread->setSelectionBehavior(QAbstractItemView::SelectRows);
    gridSpread->setSelectionMode(QAbstractItemView::SingleSelection);
    gridSpread->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Fixed);
    gridSpread->setColumnWidth(0, twips(1095));
    gridSpread->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    gridSpread->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    gridSpread->verticalHeader()->setDefaultSectionSize(gridSpread->fontMetrics().height() + 6);

    rtbDump = new QTextEdit(central);
    rtbDump->setObjectName(QStringLiteral("rtbDump"));
    rtbDump->setGeometry(gridSpread->geometry());
    rtbDump->setReadOnly(true);
    rtbDump->setLineWrapMode(QTextEdit::WidgetWidth);
    rtbDump->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    rtbDump->hide();

    cmdDoIt = addButton("cmdDoIt", QStringLiteral("&Do It!"), QRect(1320, 5520, 1335, 375));
    cmdCancel = addButton("cmdCancel", QStringLiteral("&Close"), QRect(2760, 5520, 1335, 375));

    picTarget = new TargetWidget(central, 3060, 3045);
    picTarget->setObjectName(QStringLiteral("picTarget"));
    picTarget->setGeometry(twipsRect(5040, 600, 3060, 3045));
    lblCaption = addLabel("lblCaption",
                          QStringLiteral("Illustration of your target and group (note each square "
                                         "cell is 1 inch in size)."),
                          QRect(5040, 3720, 3015, 495));
    cmdDisplay =
        addButton("cmdDisplay", QStringLiteral("Display the group"), QRect(5640, 4200, 1815, 495));
    cmdCLS = addButton("cmdCLS", QStringLiteral("Clear the target"), QRect(5640, 4800, 1815, 495));

    Picture1 = new QLabel(central);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setGeometry(twipsRect(5040, 5520, 495, 495));
    Picture1->setScaledContents(true);
    Picture1->hide();

    buildMenu();

    QList<QWidget*> order = {txtTitle, txtCal,     txtTtlRounds, txtX,      txtY,       cmdAccept,
                             cmdClear, gridSpread, cmdDoIt,      cmdCancel, cmdDisplay, cmdCLS};
    for (int i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);

    txtX->installEventFilter(this);
    txtY->installEventFilter(this);
    connect(txtX, &QLineEdit::returnPressed, this, &frmMeasure::cmdAccept_Click);
    connect(txtY, &QLineEdit::returnPressed, this, &frmMeasure::cmdAccept_Click);
    connect(cmdAccept, &QPushButton::clicked, this, &frmMeasure::cmdAccept_Click);
    connect(cmdClear, &QPushButton::clicked, this, &frmMeasure::cmdClear_Click);
    connect(cmdDoIt, &QPushButton::clicked, this, &frmMeasure::cmdDoIt_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmMeasure::cmdCancel_Click);
    connect(cmdDisplay, &QPushButton::clicked, this, &frmMeasure::cmdDisplay_Click);
    connect(cmdCLS, &QPushButton::clicked, this, &frmMeasure::cmdCLS_Click);
    connect(gridSpread, &QTableWidget::cellClicked, this,
            [this](int row, int) { gridSpread_Click(row + 1); });

    // Opening: the first round, the calibre of the main window, and the grid for five rounds.
    m_currentRound = 1;
    m_allEntered = m_printEnabled = m_displayed = false;
    m_previousTotal = rounds().value_or(5);
    double caliber = 0;
    if (auto* main = m_context.windows.find<frmRoundDevel>())
        caliber = leadingNumber(frmRoundDevel::fieldBytes(main->cmbCal));
    if (!std::isfinite(caliber))
        caliber = 0;
    txtCal->setText(fromBytes(generalNumber(caliber)));
    txtCal->setCursorPosition(0);
    cmdAccept->setEnabled(true);
    cmdDoIt->setEnabled(false);
    mnuFileSave->setEnabled(false);
    mnuFilePrint->setEnabled(false);
    Update();
    connect(txtTtlRounds, &QLineEdit::textChanged, this, &frmMeasure::txtTtlRounds_Change);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(250);
    connect(Timer1, &QTimer::timeout, this, &frmMeasure::Timer1_Timer);
    Timer1->start();

    adjustSize();
    setFixedSize(sizeHint());
}

QLabel* frmMeasure::addLabel(const char* name, const QString& caption, QRect r) {
    auto* label = new QLabel(caption, centralWidget());
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(twipsRect(r.x(), r.y(), r.width(), r.height()));
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QLineEdit* frmMeasure::addTextBox(const char* name, const QString& text, QRect r) {
    auto* edit = new QLineEdit(text, centralWidget());
    edit->setObjectName(QString::fromLatin1(name));
    edit->setGeometry(twipsRect(r.x(), r.y(), r.width(), r.height()));
    edit->setCursorPosition(0);
    return edit;
}

QPushButton* frmMeasure::addButton(const char* name, const QString& caption, QRect r) {
    auto* button = new QPushButton(caption, centralWidget());
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(twipsRect(r.x(), r.y(), r.width(), r.height()));
    button->setAutoDefault(false);
    return button;
}

void frmMeasure::buildMenu() {
    mnuFile = addMenu(menuBar(), "mnuFile", QStringLiteral("&File"));
    auto entry = [this](const char* name, const QString& caption) {
        QAction* a = mnuFile->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };
    mnuFileGroup = entry("mnuFileGroup", QStringLiteral("Open Group file"));
    mnuFileSave = entry("mnuFileSave", QStringLiteral("Save Group file"));
    mnuFilePrint = entry("mnuFilePrint", QStringLiteral("Print Group file"));
    mnuFileSep = addSeparator(mnuFile, "mnuFileSep");
    mnuFileClose = entry("mnuFileClose", QStringLiteral("Close"));
    connect(mnuFileGroup, &QAction::triggered, this, &frmMeasure::mnuFileGroup_Click);
    connect(mnuFileSave, &QAction::triggered, this, &frmMeasure::mnuFileSave_Click);
    connect(mnuFilePrint, &QAction::triggered, this, &frmMeasure::mnuFilePrint_Click);
    connect(mnuFileClose, &QAction::triggered, this, &frmMeasure::cmdCancel_Click);
}

QString frmMeasure::cell(int row, int column) const {
    if (row == 0) {
        const QTableWidgetItem* header = gridSpread->horizontalHeaderItem(column);
        return header ? header->text() : QString();
    }
    const QTableWidgetItem* item = gridSpread->item(row - 1, column);
    return item ? item->text() : QString();
}

void frmMeasure::setCell(int row, int column, const QString& text) {
    QTableWidgetItem* item = gridSpread->item(row - 1, column);
    if (!item) {
        item = new QTableWidgetItem;
        if (column == 0) {
            // The round numbers are the grid's fixed column.
            item->setFlags(Qt::ItemIsEnabled);
            item->setBackground(palette().button());
            item->setTextAlignment(Qt::AlignCenter);
        } else {
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        }
        gridSpread->setItem(row - 1, column, item);
    }
    item->setText(text);
}

std::optional<int> frmMeasure::rounds() const {
    return roundsText(toBytes(txtTtlRounds->text()));
}

void frmMeasure::refuse(const QString& text) {
    m_context.prompts.message(this, text, QStringLiteral("Error"), Icon::Error, Buttons::Ok);
}

void frmMeasure::setCounter(int round) {
    lblCounter->setText(QStringLiteral("Round ") + QString::number(round));
}

void frmMeasure::enableAccept(bool enabled) {
    cmdAccept->setEnabled(enabled);
    cmdAccept->setToolTip(enabled ? kEnterTip : kAllEnteredTip);
}

QString frmMeasure::userDataFolder() const {
    return fromPath(resolveName(m_context.state.programFolder, "YourData"));
}

void frmMeasure::Update() {
    const auto n = rounds();
    if (!n)
        return;
    m_table.assign(static_cast<size_t>(*n) + 1, Shot{});
    gridSpread->setRowCount(*n);
    for (int r = 1; r <= *n; ++r) {
        setCell(r, 0, QString::number(r));
        for (int c = 1; c <= 2; ++c)
            if (!gridSpread->item(r - 1, c))
                setCell(r, c, QString());
    }
}

bool frmMeasure::eventFilter(QObject* watched, QEvent* event) {
    // A coordinate field empties when it gets the focus, ready for the next value.
    // Coming back from another window (a message box, say) keeps what was typed.
    if (event->type() == QEvent::FocusIn && (watched == txtX || watched == txtY)) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            static_cast<QLineEdit*>(watched)->clear();
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmMeasure::cmdAccept_Click() {
    if (txtX->text().isEmpty() || txtY->text().isEmpty()) {
        refuse(QStringLiteral("You must enter a value for both the X and Y coordinates"));
        return;
    }
    const auto n = rounds();
    if (!n) {
        refuse(kRoundsRefusal);
        return;
    }
    const auto x = numberText(toBytes(txtX->text()));
    const auto y = numberText(toBytes(txtY->text()));
    if (!x || !y) {
        refuse(QStringLiteral(
            "The X and Y coordinates must be numbers of inches (for example 1.25)."));
        return;
    }
    const int k = m_currentRound;
    if (k < 1 || k > *n) {
        refuse(QStringLiteral("Round %1 is not one of the %2 rounds of this group. Select a round "
                              "in the grid, or raise the number of rounds.")
                   .arg(k)
                   .arg(*n));
        return;
    }
    if (m_table.size() <= static_cast<size_t>(k))
        m_table.resize(static_cast<size_t>(k) + 1);
    m_table[static_cast<size_t>(k)] = {*x, *y};
    setCell(k, 1, fromBytes(formatPattern(*x, "###0.0##")));
    setCell(k, 2, fromBytes(formatPattern(*y, "##0.0##")));

    m_currentRound = k + 1;
    setCounter(m_currentRound);
    if (*n < m_currentRound) {
        cmdDoIt->setEnabled(true);
        m_allEntered = true;
        enableAccept(false);
        m_currentRound = *n;
        setCounter(*n);
    } else {
        txtX->setFocus();
    }
}

void frmMeasure::gridSpread_Click(int round) {
    if (round < 1 || round > gridSpread->rowCount())
        return;
    m_currentRound = round;
    setCounter(round);
}

void frmMeasure::txtTtlRounds_Change() {
    // Until the box holds a number of rounds a group can have (while typing, say), nothing
    // changes; the commands that need the number refuse it.
    const auto n = rounds();
    if (!n)
        return;
    if (*n > m_previousTotal) {
        m_previousTotal = *n;
        enableAccept(true);
        cmdDoIt->setEnabled(false);
        m_allEntered = false;
    }
    if (*n < m_previousTotal) {
        m_previousTotal = *n;
        m_allEntered = false;
    }
    Update();
}

void frmMeasure::cmdClear_Click() {
    Update();
    for (int r = 1; r <= gridSpread->rowCount(); ++r) {
        setCell(r, 1, QString());
        setCell(r, 2, QString());
    }
    m_currentRound = 1;
    setCounter(1);
    m_displayed = false;
    m_printEnabled = false;
}

void frmMeasure::Timer1_Timer() {
    if (const auto n = rounds()) {
        const int k = m_currentRound;
        if (*n < k) {
            enableAccept(false);
            cmdDoIt->setEnabled(true);
            m_allEntered = true;
        } else if (*n > k) {
            enableAccept(true);
            cmdDoIt->setEnabled(false);
        }
        if (m_allEntered && *n >= k) {
            enableAccept(true);
            cmdDoIt->setEnabled(true);
        }
    }
    if (m_printEnabled)
        mnuFilePrint->setEnabled(true);
}

void frmMeasure::cmdDisplay_Click() {
    const auto n = rounds();
    if (!n) {
        refuse(kRoundsRefusal);
        return;
    }
    const double caliber = leadingNumber(toBytes(txtCal->text()));
    const int last = std::min<int>(*n, static_cast<int>(m_table.size()) - 1);
    double largest = -9999;
    for (int r = 1; r <= last; ++r)
        largest = std::max(
            {largest, m_table[static_cast<size_t>(r)].x, m_table[static_cast<size_t>(r)].y});
    double scale = 1;
    if (largest > 6.0) {
        m_context.prompts.message(
            this,
            QStringLiteral("Your coordinates will fall outside the target "
                           "graphic.  Fen-drel will re-scale your group to fit."),
            QStringLiteral("Re-Scaling"), Icon::Information, Buttons::Ok);
        scale = 5 / largest;
    }
    // The hole keeps the bullet's size whatever the scale.
    const double radius =
        std::isfinite(caliber)
            ? std::max(0.0, std::floor(std::floor(caliber * TargetWidget::kTwipsPerInchX) / 2))
            : 0;
    for (int r = 1; r <= last; ++r) {
        const Shot& s = m_table[static_cast<size_t>(r)];
        picTarget->drawHole(QPointF(scale * s.x * TargetWidget::kTwipsPerInchX,
                                    scale * s.y * TargetWidget::kTwipsPerInchY),
                            radius);
    }
    lblCaption->setText(
        QStringLiteral("Illustration of your target and group (note each square cell is ") +
        fromBytes(formatPattern(1 / scale, "0.00")) + QStringLiteral(" inch in size)."));
    m_displayed = true;
}

void frmMeasure::cmdCLS_Click() {
    m_displayed = false;
    picTarget->clearDrawings();
}

void frmMeasure::cmdDoIt_Click() {
    GroupEntry entry;
    entry.caliberText = toBytes(txtCal->text());
    entry.roundsText = toBytes(txtTtlRounds->text());
    for (int r = 1; r <= gridSpread->rowCount(); ++r)
        entry.cells.emplace_back(toBytes(cell(r, 1)), toBytes(cell(r, 2)));
    GroupEvaluation e = evaluateGroup(entry);
    if (!e.refusal.empty()) {
        refuse(fromBytes(e.refusal));
        return;
    }
    // The measured coordinates are the grid's; the table follows them.
    m_table.assign(entry.cells.size() + 1, Shot{});
    for (size_t r = 1; r <= entry.cells.size(); ++r)
        m_table[r] = {leadingNumber(entry.cells[r - 1].first),
                      leadingNumber(entry.cells[r - 1].second)};

    const std::string reason = writeDistanceFiles(m_context.state.programFolder, e.measurement);
    if (!reason.empty())
        m_context.prompts.message(
            this,
            QStringLiteral("The distance files could not be written (%1). The results are not "
                           "affected.")
                .arg(fromBytes(reason)),
            QStringLiteral("Measures"), Icon::Exclamation, Buttons::Ok);

    m_results = e.results;
    mnuFileSave->setEnabled(true);
    const Answer answer = m_context.prompts.message(
        this, fromBytes(m_results) + QStringLiteral("\r\nWould you like to save this Group File?"),
        QStringLiteral("Calculations Complete"), Icon::Question, Buttons::YesNo);
    if (answer == Answer::Yes)
        mnuFileSave_Click();
}

void frmMeasure::cmdCancel_Click() {
    close();
}

void frmMeasure::mnuFileSave_Click() {
    const auto n = rounds();
    if (!n) {
        refuse(kRoundsRefusal);
        return;
    }
    FileRequest request;
    request.title = QStringLiteral("Save Group file");
    request.filter = kGroupFilter;
    request.filterIndex = 1;
    request.startFolder = userDataFolder();
    const auto chosen = m_context.prompts.saveFile(this, request);
    if (chosen && !chosen->isEmpty()) {
        QString path = *chosen;
        if (QFileInfo(path).suffix().isEmpty())
            path += QStringLiteral(".grp");
        m_groupFile = path;

        GroupFileData data;
        data.title = toBytes(txtTitle->text());
        data.caliber = toBytes(txtCal->text());
        data.rounds = toBytes(txtTtlRounds->text());
        const int last = std::min<int>(*n, static_cast<int>(m_table.size()) - 1);
        for (int r = 1; r <= last; ++r)
            data.shots.push_back(m_table[static_cast<size_t>(r)]);
        data.results = m_results;
        data.displayed = m_displayed;
        const std::string reason =
            writeFileAtomic(std::filesystem::path(toPath(path)), groupFileBytes(data));
        if (!reason.empty())
            m_context.prompts.message(this,
                                      QStringLiteral("The group file %1 could not be saved: %2")
                                          .arg(path, fromBytes(reason)),
                                      QStringLiteral("Error"), Icon::Exclamation, Buttons::Ok);
    } else {
        // A cancelled save leaves no file to print from.
        m_groupFile.clear();
    }
    m_printEnabled = true;
    mnuFilePrint->setEnabled(true);
}

void frmMeasure::mnuFileGroup_Click() {
    FileRequest request;
    request.title = QStringLiteral("Open Group file");
    request.filter = kGroupFilter;
    request.filterIndex = 1;
    request.startFolder = userDataFolder();
    const auto chosen = m_context.prompts.openFile(this, request);
    if (!chosen || chosen->isEmpty())
        return;
    m_context.state.currentDataFile = toPath(*chosen);
    const auto bytes = readFileBytes(std::filesystem::path(toPath(*chosen)));
    if (!bytes)
        return;

    // What was read before a malformed part stays in the window.
    const GroupFileRead read = readGroupFile(*bytes);
    if (read.hasTitle)
        txtTitle->setText(fromBytes(read.title));
    if (read.hasCaliber)
        txtCal->setText(fromBytes(read.caliber));
    if (read.rounds == 0)
        return;
    txtTtlRounds->setText(QString::number(read.rounds));
    m_currentRound = read.rounds + 1;
    for (size_t i = 0; i < read.cells.size(); ++i) {
        setCell(static_cast<int>(i) + 1, 1, fromBytes(read.cells[i].first));
        setCell(static_cast<int>(i) + 1, 2, fromBytes(read.cells[i].second));
    }
    if (!read.complete)
        return;
    m_table.assign(static_cast<size_t>(read.rounds) + 1, Shot{});
    for (int r = 1; r <= read.rounds; ++r) {
        for (int c = 1; c <= 2; ++c) {
            double v = leadingNumber(toBytes(cell(r, c)));
            if (!std::isfinite(v))
                v = 0;
            (c == 1 ? m_table[static_cast<size_t>(r)].x : m_table[static_cast<size_t>(r)].y) = v;
        }
    }
    if (read.displayed())
        cmdDisplay_Click();
    m_groupFile = *chosen;
    mnuFileSave->setEnabled(true);
    mnuFilePrint->setEnabled(true);
}

void frmMeasure::showPrintView(const std::string& results) {
    QString text = fromBytes(results);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    rtbDump->setPlainText(text);
    rtbDump->show();
    rtbDump->raise();

    // A copy of the target as it stands, drawn group included, at print resolution.
    const qreal ratio = 4;
    QPixmap copy(picTarget->size() * ratio);
    copy.setDevicePixelRatio(ratio);
    picTarget->render(&copy);
    Picture1->setGeometry(picTarget->geometry());
    Picture1->setPixmap(copy);
    Picture1->show();
    Picture1->raise();
}

void frmMeasure::hidePrintView() {
    rtbDump->hide();
    // The copy stays in its place beneath the target, so that later drawings show.
    Picture1->lower();
}

void frmMeasure::printPage(QPrinter& printer) {
    QPainter painter(&printer);
    QWidget* client = centralWidget();
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    const double scale =
        std::min(page.width() / double(client->width()), page.height() / double(client->height()));
    painter.scale(scale, scale);
    client->render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
}

void frmMeasure::mnuFilePrint_Click() {
    if (m_groupFile.isEmpty()) {
        refuse(QStringLiteral("There is no group file to print. Save this group with \"Save Group "
                              "file\" or open one with \"Open Group file\" first."));
        return;
    }
    const auto bytes = readFileBytes(std::filesystem::path(toPath(m_groupFile)));
    if (!bytes) {
        refuse(QStringLiteral("The group file %1 cannot be read.").arg(m_groupFile));
        return;
    }
    const bool copyWasShown = !Picture1->isHidden();
    showPrintView(printedResults(*bytes));
    const auto setup = m_context.prompts.print(this, PrintSetup{});
    if (!setup) {
        // A cancelled print leaves the window as it was.
        rtbDump->hide();
        if (copyWasShown)
            Picture1->lower();
        else
            Picture1->hide();
        return;
    }
    printCopies(*setup, [this](QPrinter& printer) { printPage(printer); });
    hidePrintView();
}

} // namespace fendrel
