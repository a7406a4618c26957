#include "frmDialog.h"

#include "gui/ui/ControlBuilder.h"
#include "core/engine/RunSettingsEntry.h"
#include "gui/ui/AppContext.h"
#include "core/common/Encoding.h"
#include "core/common/SharedState.h"
#include "gui/ui/Prompts.h"
#include "gui/ui/Text.h"
#include "gui/ui/UpDown.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

namespace fendrel {

QGroupBox* frmDialog::frame(const char* name, const QString& caption, const QString& tip) {
    auto* box = ControlBuilder(this).frame(name, caption);
    box->setToolTip(tip);
    return box;
}

frmDialog::frmDialog(AppContext& context, RunSettings& settings, QWidget* parent)
    : QDialog(parent), m_context(context), m_settings(settings) {
    setObjectName(QStringLiteral("frmDialog"));
    setWindowTitle(QStringLiteral("Exterior Ballistics User Specs"));
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    auto makeBox = [&](const char* name, const QString& accessible) {
        auto* edit = ControlBuilder(this).textBox(name);
        edit->setAccessibleName(accessible);
        edit->setMaximumWidth(110);
        return edit;
    };
    auto makeLabel = [&](const char* name, const QString& text) {
        auto* label = ControlBuilder(this).label(name, text);
        return label;
    };

    // Range units.
    const QString unitsCaption = QStringLiteral("Range Units");
    QGroupBox* units = frame("fraUnits", unitsCaption,
                             QStringLiteral("Units of measure (yards or meters)"));
    auto* unitsRow = new QHBoxLayout(units);
    optRange[0] = ControlBuilder(units).option("optRange(0)", QStringLiteral("Meters"));
    optRange[1] = ControlBuilder(units).option("optRange(1)", QStringLiteral("Yards"));
    unitsRow->addWidget(optRange[0]);
    unitsRow->addWidget(optRange[1]);
    unitsRow->addStretch();
    layout->addWidget(units);

    // A box with its unit label in a frame.
    auto boxRow = [&](QGroupBox* box, QLineEdit* edit, QWidget* spinner, QLabel* unit,
                      QLabel* note) {
        auto* grid = new QGridLayout(box);
        auto* row = new QHBoxLayout;
        row->setSpacing(2);
        row->addWidget(edit);
        if (spinner) {
            spinner->setFixedSize(18, edit->sizeHint().height());
            row->addWidget(spinner);
        }
        row->addSpacing(6);
        row->addWidget(unit);
        row->addStretch();
        grid->addLayout(row, 0, 0);
        if (note) {
            note->setWordWrap(true);
            grid->addWidget(note, 1, 0);
        }
        layout->addWidget(box);
    };

    const QString intervalCaption = QStringLiteral("Range Interval");
    QGroupBox* interval = frame(
        "fraInterval", intervalCaption,
        QStringLiteral("Interval at which calculations are to be made (a range interval of 100 and "
                       "a range maximum of 500 will result in 6 calculations (0,100,200,300,400, "
                       "and 500)."));
    txtRInt = makeBox("txtRInt", intervalCaption);
    Label2 = makeLabel("Label2", QString());
    boxRow(interval, txtRInt, nullptr, Label2, nullptr);

    const QString maximumCaption = QStringLiteral("Range Maximum");
    QGroupBox* maximum =
        frame("fraMaximum", maximumCaption, QStringLiteral("Maximum range for calculation"));
    txtRMax = makeBox("txtRMax", maximumCaption);
    Label1 = makeLabel("Label1", QString());
    boxRow(maximum, txtRMax, nullptr, Label1, nullptr);

    const QString downCaption = QStringLiteral("Downrange wind velocity");
    QGroupBox* down = frame(
        "fraRangeWind", downCaption,
        QStringLiteral("Effective downrange wind velocity (use the interactive range simulator to "
                       "determine this accurately)."));
    txtRangeWind = makeBox("txtRangeWind", downCaption);
    UpDownRangeWind = new UpDown(down, -150, 150);
    UpDownRangeWind->setObjectName(QStringLiteral("UpDownRangeWind"));
    UpDownRangeWind->setBuddy(txtRangeWind);
    Label5 = makeLabel("Label5", QStringLiteral("mph"));
    Label3 = makeLabel("Label3", QStringLiteral("(+ values indicate a wind blowing from the "
                                                "shooter to the target)."));
    boxRow(down, txtRangeWind, UpDownRangeWind, Label5, Label3);

    const QString crossCaption = QStringLiteral("Cross wind velocity");
    QGroupBox* cross = frame(
        "fraCrossWind", crossCaption,
        QStringLiteral("Effective cross wind velocity (use the interactive range simulator to "
                       "determine this accurately)."));
    txtCrossWind = makeBox("txtCrossWind", crossCaption);
    UpDownCrossWind = new UpDown(cross, -150, 150);
    UpDownCrossWind->setObjectName(QStringLiteral("UpDownCrossWind"));
    UpDownCrossWind->setBuddy(txtCrossWind);
    Label6 = makeLabel("Label6", QStringLiteral("mph"));
    Label4 = makeLabel("Label4", QStringLiteral("(+ values indicate a crosswind blowing from left "
                                                "to right perpendicular to the firing line."));
    boxRow(cross, txtCrossWind, UpDownCrossWind, Label6, Label4);

    const QString zeroCaption = QStringLiteral("Range of zero or match");
    QGroupBox* zero =
        frame("fraZero", zeroCaption, QStringLiteral("Range at which your rifle is zeroed."));
    txtRZero = makeBox("txtRZero", zeroCaption);
    Label7 = makeLabel("Label7", QString());
    boxRow(zero, txtRZero, nullptr, Label7, nullptr);

    const QString heightCaption = QStringLiteral("Height of trajectory at zero or match");
    QGroupBox* height = frame(
        "fraHeight", heightCaption,
        QStringLiteral("Alternatively, you could calculate trajectory for a round that is, for "
                       "example, +3 inches at 100 yds by entering 3 here, and 100 in \"Range of "
                       "zero or match\" (above)."));
    txtRHeight = makeBox("txtRHeight", heightCaption);
    Label8 = makeLabel("Label8", QStringLiteral("inches"));
    boxRow(height, txtRHeight, nullptr, Label8, nullptr);

    OKButton = ControlBuilder(this).button("OKButton", QStringLiteral("&OK"));
    OKButton->setDefault(true);
    CancelButton = ControlBuilder(this).button("CancelButton", QStringLiteral("&Cancel"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);
    layout->addLayout(buttons);

    for (QLineEdit* e : {txtRInt, txtRMax, txtRZero, txtRHeight})
        selectAllOnFocus(e);
    connect(optRange[0], &QRadioButton::clicked, this, &frmDialog::optRange_Click);
    connect(optRange[1], &QRadioButton::clicked, this, &frmDialog::optRange_Click);
    connect(OKButton, &QPushButton::clicked, this, &frmDialog::OKButton_Click);
    connect(CancelButton, &QPushButton::clicked, this, &frmDialog::CancelButton_Click);

    // Load: the designer defaults, "meters" in the unit labels, the winds from the simulator.
    const RunSettingsTexts texts = settingsTextsOnOpen(m_context.state.effectiveDownrangeWind,
                                         m_context.state.effectiveCrossWind);
    optRange[texts.meters ? 0 : 1]->setChecked(true);
    txtRInt->setText(utf8Text(texts.rangeInterval));
    txtRMax->setText(utf8Text(texts.rangeMaximum));
    txtRangeWind->setText(utf8Text(texts.downrangeWind));
    txtCrossWind->setText(utf8Text(texts.crossWind));
    txtRZero->setText(utf8Text(texts.zeroRange));
    txtRHeight->setText(utf8Text(texts.zeroHeight));
    const QString word = utf8Text(unitWord(true));
    for (QLabel* l : {Label1, Label2, Label7})
        l->setText(word);

    setFixedWidth(460);
    setFixedHeight(sizeHint().height());
}

void frmDialog::optRange_Click() {
    const bool meters = optRange[0]->isChecked();
    if (!meters)
        optRange[1]->setChecked(true);
    const QString word = utf8Text(unitWord(meters));
    for (QLabel* l : {Label1, Label2, Label7})
        l->setText(word);
}

void frmDialog::OKButton_Click() {
    RunSettingsTexts texts;
    texts.meters = optRange[0]->isChecked();
    texts.rangeInterval = fromQt(txtRInt->text());
    texts.rangeMaximum = fromQt(txtRMax->text());
    texts.downrangeWind = fromQt(txtRangeWind->text());
    texts.crossWind = fromQt(txtCrossWind->text());
    texts.zeroRange = fromQt(txtRZero->text());
    texts.zeroHeight = fromQt(txtRHeight->text());
    RunSettingsBox atFault = RunSettingsBox::None;
    if (const Status accepted = acceptRunSettings(texts, m_settings, &atFault); !accepted) {
        m_context.prompts.message(this, utf8Text(accepted.refusal), utf8Text(accepted.title),
                                  promptIcon(accepted.icon), Buttons::Ok);
        QLineEdit* const boxes[] = {nullptr, txtRInt, txtRMax, txtRangeWind, txtCrossWind,
                                    txtRZero, txtRHeight};
        if (QLineEdit* box = boxes[static_cast<int>(atFault)])
            box->setFocus();
        return;
    }
    accept();
}

void frmDialog::CancelButton_Click() {
    m_context.state.lastOutputFile.clear();
    m_context.state.currentDataFile.clear();
    QDialog::reject();
}

// Esc and the window frame's close are Cancel.
void frmDialog::reject() { CancelButton_Click(); }

} // namespace fendrel
