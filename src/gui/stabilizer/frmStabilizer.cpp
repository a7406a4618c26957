#include "frmStabilizer.h"

#include "core/common/UserFiles.h"

#include "gui/ui/ControlBuilder.h"
#include "core/stabilizer/Stability.h"
#include "core/stabilizer/StabilityFiles.h"
#include "gui/ui/AppContext.h"
#include "core/common/Encoding.h"
#include "core/common/Numbers.h"
#include "core/common/ProgramFolder.h"
#include "core/common/SharedState.h"
#include "gui/ui/WindowRegistry.h"
#include "gui/ui/Menus.h"
#include "gui/ui/Text.h"
#include "gui/ui/Geometry.h"
#include "gui/ui/Printing.h"
#include "gui/ui/Prompts.h"
#include "gui/ui/UpDown.h"

#include <QComboBox>
#include <QEvent>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QSyntaxHighlighter>
#include <QTimer>
#include <algorithm>
#include <filesystem>

namespace fendrel {

namespace {

// The results table places its values after a 38-character label and its headings after 66
// blanks: it lines up only where a blank is about half as wide as the other characters. In the
// results box every blank of the fixed-pitch font is narrowed to the width that puts both value
// columns under their headings (least squares over the two columns' left edges, for values like
// "1.42"). Only the look changes; the text stays as it is.
qreal tableBlankWidth(const QFont& font) {
    const QFontMetricsF m(font);
    // The label's own three blanks are narrowed too: measure it without them.
    const qreal label = m.horizontalAdvance(QStringLiteral("Maximumstabilizedbulletlength:"));
    const qreal valueAndUnit =
        m.horizontalAdvance(QStringLiteral("0.00")) + m.horizontalAdvance(QStringLiteral("in."));
    const qreal heading = m.horizontalAdvance(QStringLiteral("Standard"));
    // First column: label + 3 + 5 blanks against 66 blanks. Second column: label + 3 + 23
    // blanks + value + unit against 79 blanks + heading.
    return (58 * label + 53 * (label + valueAndUnit - heading)) / (58.0 * 58 + 53.0 * 53);
}

class NarrowBlanks : public QSyntaxHighlighter {
public:
    NarrowBlanks(QTextDocument* document, const QFont& font) : QSyntaxHighlighter(document) {
        m_blank.setFontLetterSpacingType(QFont::AbsoluteSpacing);
        m_blank.setFontLetterSpacing(tableBlankWidth(font) -
                                     QFontMetricsF(font).horizontalAdvance(QLatin1Char(' ')));
    }

protected:
    void highlightBlock(const QString& text) override {
        for (int i = 0; i < text.size(); ++i)
            if (text[i] == QLatin1Char(' '))
                setFormat(i, 1, m_blank);
    }

private:
    QTextCharFormat m_blank;
};

const char* const kSaveFilter =
    "ASCII Text file (*.txt)|*.txt| Hypertext mark-up file (.htm)|*.htm|"
    " Hypertext mark-up language (.html)|*.html|";

} // namespace

frmStabilizer::frmStabilizer(AppContext& context) : m_context(context) {
    setObjectName(QStringLiteral("frmStabilizer"));
    setWindowTitle(QStringLiteral("Bullet stabilization calculator"));
    setAttribute(Qt::WA_DeleteOnClose);

    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("clientArea"));
    setCentralWidget(central);

    lblCal = addLabel("lblCal", QStringLiteral("Caliber (inches)"));
    txtCal = addField("txtCal", QStringLiteral("-none selected-"), lblCal, 1455);
    Label1 = addLabel("Label1", QStringLiteral("Muzzle velocity"));
    txtMuzzlefps = addField("txtMuzzlefps", QStringLiteral("2800"), Label1, 1095);
    lblTwist = addLabel("lblTwist", QStringLiteral("Rate of twist"));
    lblTwistPrefix = addLabel("lblTwistPrefix", QStringLiteral("1:"));
    txtTwist = addField("txtTwist", QStringLiteral("12"), lblTwist, 615);
    UpDown_twist = new UpDown(central, 1, 16);
    UpDown_twist->setObjectName(QStringLiteral("UpDown_twist"));
    UpDown_twist->setFixedSize(twips(240), txtTwist->sizeHint().height());
    UpDown_twist->setValue(12);
    UpDown_twist->setBuddy(txtTwist);

    LblResults = addLabel("LblResults", QStringLiteral("Results:"));
    txtResults = new QPlainTextEdit(central);
    txtResults->setObjectName(QStringLiteral("txtResults"));
    txtResults->setAccessibleName(QStringLiteral("Results"));
    txtResults->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtResults->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    new NarrowBlanks(txtResults->document(), txtResults->font());
    txtResults->setPlainText(
        QStringLiteral("After clicking the 'Do It' button, results will be given here."));
    LblResults->setBuddy(txtResults);
    {
        // Wide enough for the rule of 136 hyphens, tall enough for every line of a result.
        const QFontMetricsF m(txtResults->font());
        const qreal margins =
            2 * txtResults->document()->documentMargin() + 2 * txtResults->frameWidth();
        const int width = static_cast<int>(m.horizontalAdvance(QString(136, QLatin1Char('-'))) +
                                           margins + m.averageCharWidth() * 2);
        const int height = static_cast<int>(m.lineSpacing() * 11 + margins +
                                            txtResults->horizontalScrollBar()->sizeHint().height());
        txtResults->setMinimumSize(width, height);
    }

    cmdDoIt = ControlBuilder(central).button("cmdDoIt", QStringLiteral("&Do It"));
    cmdDoIt->setAutoDefault(false);
    cmdDoIt->setMinimumWidth(twips(1215));
    cmdCancel = ControlBuilder(central).button("cmdCancel", QStringLiteral("&Cancel"));
    cmdCancel->setToolTip(QStringLiteral("Close this window"));
    cmdCancel->setAutoDefault(false);
    cmdCancel->setMinimumWidth(twips(1215));

    auto* fields = new QHBoxLayout;
    fields->setSpacing(twips(90));
    fields->addWidget(lblCal);
    fields->addWidget(txtCal);
    fields->addSpacing(twips(360));
    fields->addWidget(Label1);
    fields->addWidget(txtMuzzlefps);
    fields->addSpacing(twips(360));
    fields->addWidget(lblTwist);
    fields->addWidget(lblTwistPrefix);
    auto* twist = new QHBoxLayout;
    twist->setSpacing(0);
    twist->addWidget(txtTwist);
    twist->addWidget(UpDown_twist);
    fields->addLayout(twist);
    fields->addStretch(1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdDoIt);
    buttons->addWidget(cmdCancel);

    auto* layout = new QGridLayout(central);
    layout->setContentsMargins(twips(180), twips(180), twips(180), twips(180));
    layout->setVerticalSpacing(twips(120));
    layout->addLayout(fields, 0, 0);
    layout->addWidget(LblResults, 1, 0);
    layout->addWidget(txtResults, 2, 0);
    layout->addLayout(buttons, 3, 0);
    layout->setRowStretch(2, 1);

    setTabOrder(txtCal, txtMuzzlefps);
    setTabOrder(txtMuzzlefps, txtTwist);
    setTabOrder(txtTwist, cmdDoIt);
    setTabOrder(cmdDoIt, cmdCancel);
    setTabOrder(cmdCancel, txtResults);

    for (QLineEdit* e : {txtCal, txtMuzzlefps, txtTwist}) {
        selectAllOnFocus(e);
        // Enter in a field computes, as the button would.
        connect(e, &QLineEdit::returnPressed, this, &frmStabilizer::cmdDoIt_Click);
    }

    buildMenus();

    connect(cmdDoIt, &QPushButton::clicked, this, &frmStabilizer::cmdDoIt_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmStabilizer::cmdCancel_Click);
    auto* esc = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(esc, &QShortcut::activated, this, &frmStabilizer::cmdCancel_Click);

    takeOpeningValues();
    mnuFileSave->setEnabled(false);
    mnuFilePrint->setEnabled(false);
    txtCal->setFocus();
    adjustSize();
}

QLabel* frmStabilizer::addLabel(const char* name, const QString& caption) {
    auto* label = ControlBuilder(centralWidget()).label(name, caption);
    return label;
}

QLineEdit* frmStabilizer::addField(const char* name, const QString& text, QLabel* label,
                                   int widthTwips) {
    auto* edit = ControlBuilder(centralWidget()).textBox(name, text);
    edit->setFixedWidth(twips(widthTwips));
    edit->setCursorPosition(0);
    edit->setAccessibleName(QString(label->text()).remove(QLatin1Char('&')));
    label->setBuddy(edit);
    return edit;
}

void frmStabilizer::buildMenus() {
    mnuFile = addMenu(menuBar(), "mnuFile", QStringLiteral("&File"));
    mnuFileSave = addEntry(mnuFile, "mnuFileSave", QStringLiteral("Save"));
    mnuFilePrint = addEntry(mnuFile, "mnuFilePrint", QStringLiteral("Print"));
    mnuFileSep1 = addSeparator(mnuFile, "mnuFileSep1");
    mnuFileExit = addEntry(mnuFile, "mnuFileExit", QStringLiteral("Exit"));

    connect(mnuFileSave, &QAction::triggered, this, &frmStabilizer::mnuFileSave_Click);
    connect(mnuFilePrint, &QAction::triggered, this, &frmStabilizer::mnuFilePrint_Click);
    connect(mnuFileExit, &QAction::triggered, this, &frmStabilizer::mnuFileExit_Click);
}

void frmStabilizer::takeOpeningValues() {
    // The calculator starts from the round on the main window, when there is one.
    const auto round = m_context.roundOnScreen();
    if (!round)
        return;
    txtCal->setText(utf8Text(generalNumber(leadingNumber(round->caliber))));
    txtMuzzlefps->setText(utf8Text(round->muzzleVelocity));
    txtCal->setCursorPosition(0);
    txtMuzzlefps->setCursorPosition(0);
}

void frmStabilizer::cmdDoIt_Click() {
    StabilityInput input;
    input.caliber = fromQt(txtCal->text());
    input.muzzleVelocity = fromQt(txtMuzzlefps->text());
    input.twist = fromQt(txtTwist->text());
    const StabilityResult r = computeStability(input);
    if (!r.computed) {
        m_context.prompts.message(this, utf8Text(r.message),
                                  QString::fromLatin1(kStabilityRefusalTitle), Icon::Information,
                                  Buttons::Ok);
        return;
    }
    m_greenhillConstant = r.modifiedConstant;
    m_standardLength = r.standardLength;
    m_modifiedLength = r.modifiedLength;

    QString shown = utf8Text(r.text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    txtResults->setPlainText(shown);
    mnuFileSave->setEnabled(true);
    mnuFilePrint->setEnabled(true);
}

void frmStabilizer::cmdCancel_Click() {
    close();
}

void frmStabilizer::mnuFileSave_Click() {
    const auto& folder = m_context.state.programFolder;
    FileRequest request;
    request.filter = QString::fromLatin1(kSaveFilter);
    request.filterIndex = 2;
    std::error_code ec;
    const auto yourData = userDataFolder(folder);
    if (std::filesystem::is_directory(yourData, ec))
        request.startFolder = fromPath(yourData);

    const std::optional<QString> chosen = m_context.prompts.saveFile(this, request);
    if (!chosen || chosen->isEmpty())
        return;

    StabilityPage page;
    page.caliber = fromQt(txtCal->text());
    page.muzzleVelocity = fromQt(txtMuzzlefps->text());
    page.twist = fromQt(txtTwist->text());
    page.results = fromQt(txtResults->toPlainText());
    page.standardLength = m_standardLength;
    page.modifiedLength = m_modifiedLength;
    const std::string path = toPath(*chosen);
    const std::string failure = saveStabilityPage(path, page, folder);
    if (!failure.empty()) {
        m_context.prompts.message(this,
                                  *chosen + QStringLiteral(" could not be written: ") +
                                      utf8Text(failure),
                                  QStringLiteral("Save failed"), Icon::Exclamation, Buttons::Ok);
        return;
    }
    m_context.state.outputFile = path;
    m_context.prompts.message(this, *chosen + QStringLiteral(" written successfully."),
                              QStringLiteral("HTML Export Complete"), Icon::Information,
                              Buttons::Ok);
}

void frmStabilizer::mnuFilePrint_Click() {
    const std::optional<PrintSetup> setup = m_context.prompts.print(this, PrintSetup{});
    if (!setup)
        return;
    // One page per copy: the window as it stands, at its size on screen, shrunk to fit the page
    // when it is larger.
    const QPixmap image = grab();
    const bool failed = !printImage(*setup, image, logicalDpiX());
    if (failed)
        m_context.prompts.message(this, QStringLiteral("The printer could not be started."),
                                  QStringLiteral("Print"), Icon::Exclamation, Buttons::Ok);
}

} // namespace fendrel
