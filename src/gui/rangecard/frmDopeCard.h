// Print DOPE card: the rows and the size of the card to print, a preview of it as it will come
// out, and printing or saving it as PDF. The card is laid out by the range card's session; the
// dialog shows and paints it.
#pragma once

#include "core/rangecard/RangeCardSession.h"
#include "gui/ui/PromptsHost.h"

#include <QDialog>
#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QPrintPreviewWidget;
class QPrinter;
class QPushButton;

namespace fendrel {

struct AppContext;

class frmDopeCard : public QDialog {
    Q_OBJECT
public:
    frmDopeCard(const RangeCardSession& session, AppContext& context, QWidget* parent = nullptr);
    ~frmDopeCard() override;

    QLineEdit* txtFrom;
    QLineEdit* txtTo;
    QLineEdit* txtEvery;
    QComboBox* cmbSize;
    QComboBox* cmbColumns;
    QLabel* lblMessage;
    QPrintPreviewWidget* prvCard;
    QPushButton* cmdPrint;
    QPushButton* cmdPdf;
    QPushButton* cmdClose;

    // The fields as the session reads them.
    RangeCardSession::DopeFields fields() const;
    // The date the card says it was made (today unless set).
    void setDate(const std::string& date);

public slots:
    void print();
    void saveAsPdf();

private:
    // Lays the card out again from the fields; the message says why when it cannot be.
    void relayout();
    // Paints the card on a printer set to its page.
    void paint(QPrinter* printer);

    const RangeCardSession& m_session;
    AppContext& m_context;
    PromptsHost m_host;
    std::unique_ptr<QPrinter> m_previewPrinter; // the preview's page
    Result<DopeCardLayout> m_card;
    std::string m_date;
};

} // namespace fendrel
