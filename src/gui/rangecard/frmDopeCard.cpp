#include "frmDopeCard.h"

#include "gui/ui/AppContext.h"
#include "gui/ui/ControlBuilder.h"
#include "gui/ui/PagePainter.h"
#include "gui/ui/Printing.h"
#include "gui/ui/Prompts.h"
#include "gui/ui/Text.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGraphicsView>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace fendrel {

namespace {

// The printer's page for the card: its own size, no margins (the card draws its own).
void setUpPage(QPrinter& printer, double width, double height) {
    // A page size is given upright; the orientation turns it.
    const QPageSize size(QSizeF(std::min(width, height), std::max(width, height)),
                         QPageSize::Point, QString(), QPageSize::ExactMatch);
    printer.setPageLayout(QPageLayout(size,
                                      width > height ? QPageLayout::Landscape
                                                     : QPageLayout::Portrait,
                                      QMarginsF(0, 0, 0, 0), QPageLayout::Point));
    printer.setFullPage(true);
}

} // namespace

frmDopeCard::frmDopeCard(const RangeCardSession& session, AppContext& context, QWidget* parent)
    : QDialog(parent), m_session(session), m_context(context), m_host(context.prompts, this) {
    setObjectName(QStringLiteral("frmDopeCard"));
    setWindowTitle(QStringLiteral("Print DOPE Card"));
    ControlBuilder make(this);
    const RangeCardSession::DopeFields defaults = session.dopeDefaults();
    const QString unit = session.form().metric ? QStringLiteral("m") : QStringLiteral("yd");
    txtFrom = make.textBox("txtFrom", utf8Text(defaults.from));
    txtTo = make.textBox("txtTo", utf8Text(defaults.to));
    txtEvery = make.textBox("txtEvery", utf8Text(defaults.every));
    cmbSize = make.make<QComboBox>("cmbSize");
    cmbSize->addItems({QStringLiteral("Card, 3.5 \u00D7 2 in"),
                       QStringLiteral("Half page, 5.5 \u00D7 8.5 in"),
                       QStringLiteral("Letter page, 8.5 \u00D7 11 in")});
    cmbColumns = make.make<QComboBox>("cmbColumns");
    cmbColumns->addItems({QStringLiteral("One"), QStringLiteral("Two")});
    lblMessage = make.label("lblMessage", QString());
    lblMessage->setWordWrap(true);
    lblMessage->setStyleSheet(QStringLiteral("color: #b00000"));
    // A PDF printer for the preview: it takes any page size, a card's too.
    m_previewPrinter = std::make_unique<QPrinter>(QPrinter::ScreenResolution);
    m_previewPrinter->setOutputFormat(QPrinter::PdfFormat);
    prvCard = new QPrintPreviewWidget(m_previewPrinter.get(), this);
    prvCard->setObjectName(QStringLiteral("prvCard"));
    prvCard->setAccessibleName(QStringLiteral("Preview of the DOPE card"));
    prvCard->setFocusPolicy(Qt::NoFocus);
    // The view inside takes the keyboard to scroll: a screen reader names it as the preview.
    for (QGraphicsView* view : prvCard->findChildren<QGraphicsView*>())
        view->setAccessibleName(prvCard->accessibleName());
    cmdPrint = make.button("cmdPrint", QStringLiteral("&Print..."));
    cmdPdf = make.button("cmdPdf", QStringLiteral("Save as P&DF..."));
    cmdClose = make.button("cmdClose", QStringLiteral("Close"));

    auto* form = new QFormLayout;
    const auto row = [&](const char* name, const QString& caption, QWidget* field) {
        auto* label = make.label(name, caption);
        label->setBuddy(field);
        form->addRow(label, field);
    };
    row("lblFrom", QStringLiteral("&From (%1):").arg(unit), txtFrom);
    row("lblTo", QStringLiteral("&To (%1):").arg(unit), txtTo);
    row("lblEvery", QStringLiteral("&Every (%1):").arg(unit), txtEvery);
    row("lblSize", QStringLiteral("&Size:"), cmbSize);
    row("lblColumns", QStringLiteral("C&olumns:"), cmbColumns);
    auto* side = new QVBoxLayout;
    side->addLayout(form);
    side->addWidget(lblMessage);
    side->addStretch(1);
    side->addWidget(cmdPrint);
    side->addWidget(cmdPdf);
    side->addWidget(cmdClose);
    auto* page = new QHBoxLayout(this);
    page->addLayout(side);
    page->addWidget(prvCard, 1);

    connect(prvCard, &QPrintPreviewWidget::paintRequested, this, &frmDopeCard::paint);
    for (QLineEdit* e : {txtFrom, txtTo, txtEvery})
        connect(e, &QLineEdit::textChanged, this, &frmDopeCard::relayout);
    for (QComboBox* c : {cmbSize, cmbColumns})
        connect(c, &QComboBox::currentIndexChanged, this, &frmDopeCard::relayout);
    connect(cmdPrint, &QPushButton::clicked, this, &frmDopeCard::print);
    connect(cmdPdf, &QPushButton::clicked, this, &frmDopeCard::saveAsPdf);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::accept);
    relayout();
    prvCard->fitInView();
    resize(900, 560); // within a 1280 x 800 screen with a title bar
}

frmDopeCard::~frmDopeCard() = default;

RangeCardSession::DopeFields frmDopeCard::fields() const {
    RangeCardSession::DopeFields f;
    f.from = fromQt(txtFrom->text());
    f.to = fromQt(txtTo->text());
    f.every = fromQt(txtEvery->text());
    f.size = static_cast<DopeCardSize>(std::max(0, cmbSize->currentIndex()));
    f.columns = cmbColumns->currentIndex() == 1 ? 2 : 1;
    f.date = m_date;
    return f;
}

void frmDopeCard::setDate(const std::string& date) {
    m_date = date;
    relayout();
}

void frmDopeCard::relayout() {
    m_card = m_session.dopeCard(fields(), m_context.roundOnScreen());
    lblMessage->setText(m_card ? QString() : utf8Text(m_card.refusal));
    cmdPrint->setEnabled(m_card.ok());
    cmdPdf->setEnabled(m_card.ok());
    if (m_card)
        setUpPage(*m_previewPrinter, m_card.value.page.width, m_card.value.page.height);
    prvCard->updatePreview();
}

void frmDopeCard::paint(QPrinter* printer) {
    if (!m_card)
        return;
    const PageDrawing& drawing = m_card.value.page;
    if (printer != m_previewPrinter.get())
        setUpPage(*printer, drawing.width, drawing.height);
    QPainter painter(printer);
    paintPage(painter, drawing, printer->pageLayout().fullRectPixels(printer->resolution()));
}

void frmDopeCard::print() {
    const auto setup = m_context.prompts.print(this, PrintSetup{});
    if (!setup)
        return;
    const std::string why = printCopies(*setup, [this](QPrinter& printer) { paint(&printer); });
    if (!why.empty())
        m_context.prompts.message(this, utf8Text(why), windowTitle(), Icon::Exclamation,
                                  Buttons::Ok);
}

void frmDopeCard::saveAsPdf() {
    m_session.saveDopePdf(fields(), m_context.roundOnScreen(), m_host);
}

} // namespace fendrel
