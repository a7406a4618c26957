// One print job per copy.
#include "Printing.h"
#include "core/common/UserFiles.h"

#include "Text.h"
#include "core/common/TextFile.h"

#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>
#include <QPixmap>
#include <QTemporaryDir>
#include <algorithm>
#include <memory>
#include <QPrinter>

namespace fendrel {

namespace {

// The file job `jobIndex` (0-based) of a run prints to: the setup's file, then "<name>-<n>.pdf"
// beside it.
QString jobFile(const PrintSetup& setup, int jobIndex) {
    if (jobIndex == 0)
        return setup.outputFile;
    const QFileInfo info(setup.outputFile);
    return info.path() + QLatin1Char('/') + info.completeBaseName() +
           QStringLiteral("-%1.").arg(jobIndex + 1) + info.suffix();
}

std::unique_ptr<QPrinter> makePrinter(const PrintSetup& setup, const QString& pdfFile) {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setCopyCount(1);
    printer->setPageOrientation(setup.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    if (!pdfFile.isEmpty()) {
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(pdfFile);
    } else if (!setup.printerName.isEmpty()) {
        printer->setPrinterName(setup.printerName);
    }
    return printer;
}

} // namespace

std::string printCopies(const PrintSetup& setup, const std::function<void(QPrinter&)>& paint) {
    for (int i = 0; i < std::max(1, setup.copies); ++i) {
        if (setup.outputFile.isEmpty()) {
            paint(*makePrinter(setup, {}));
            continue;
        }
        // Qt's printer writes its file as it goes; it writes a scratch file, and the finished
        // PDF replaces the chosen one through the safe writer.
        QTemporaryDir scratch;
        if (!scratch.isValid())
            return "no scratch folder for the PDF (" + fromQt(scratch.errorString()) + ")";
        const QString pdf = scratch.filePath(QStringLiteral("job.pdf"));
        paint(*makePrinter(setup, pdf));
        const auto bytes = readFileBytes(toPath(pdf));
        if (!bytes || bytes->empty())
            return "the PDF could not be made";
        if (const std::string why = writeChosenFile(toPath(jobFile(setup, i)), *bytes).refusal;
            !why.empty())
            return why;
    }
    return {};
}

bool printImage(const PrintSetup& setup, const QPixmap& image, int logicalDpi) {
    const QSizeF size = image.deviceIndependentSize();
    bool failed = false;
    const std::string why = printCopies(setup, [&](QPrinter& printer) {
        if (failed)
            return;
        QPainter painter;
        if (!painter.begin(&printer)) {
            failed = true;
            return;
        }
        const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
        qreal scale = printer.resolution() / qreal(std::max(1, logicalDpi));
        scale = std::min({scale, page.width() / size.width(), page.height() / size.height()});
        painter.drawPixmap(QRectF(0, 0, size.width() * scale, size.height() * scale), image,
                           QRectF(image.rect()));
        painter.end();
    });
    return !failed && why.empty();
}

} // namespace fendrel
