// The shot group window's group files: Save Group file, Open Group file and Print Group file.
#include "frmMeasure.h"
#include "core/common/SafeFile.h"

#include "TargetWidget.h"
#include "core/common/Numbers.h"
#include "core/common/SharedState.h"
#include "core/common/TextFile.h"
#include "core/groups/GroupFile.h"
#include "gui/ui/AppContext.h"
#include "gui/ui/Printing.h"
#include "gui/ui/Prompts.h"
#include "gui/ui/Text.h"

#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QTextEdit>
#include <cmath>

namespace fendrel {

namespace {
const QString kGroupFilter = QStringLiteral("Group File Format(.grp)|*.grp|");
const QString kFileRoundsRefusal =
    QStringLiteral("The number of rounds must be a whole number from 2 to 181.");
} // namespace

void frmMeasure::mnuFileSave_Click() {
    const auto n = rounds();
    if (!n) {
        refuse(kFileRoundsRefusal);
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
        const auto& table = m_entry.table();
        const int last = std::min<int>(*n, static_cast<int>(table.size()) - 1);
        for (int r = 1; r <= last; ++r)
            data.shots.push_back(table[static_cast<size_t>(r)]);
        data.results = m_results;
        data.displayed = m_displayed;
        const std::string reason =
            replaceFile(std::filesystem::path(toPath(path)), groupFileBytes(data)).refusal;
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
    m_entry.select(read.rounds + 1);
    for (size_t i = 0; i < read.cells.size(); ++i) {
        setCell(static_cast<int>(i) + 1, 1, fromBytes(read.cells[i].first));
        setCell(static_cast<int>(i) + 1, 2, fromBytes(read.cells[i].second));
    }
    if (!read.complete)
        return;
    std::vector<Shot> table(static_cast<size_t>(read.rounds) + 1);
    for (int r = 1; r <= read.rounds; ++r) {
        for (int c = 1; c <= 2; ++c) {
            double v = leadingNumber(toBytes(cell(r, c)));
            if (!std::isfinite(v))
                v = 0;
            (c == 1 ? table[static_cast<size_t>(r)].x : table[static_cast<size_t>(r)].y) = v;
        }
    }
    m_entry.setTable(std::move(table));
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
