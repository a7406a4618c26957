// One print job per copy.
#include "Printing.h"

#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>
#include <QPixmap>
#include <algorithm>
#include <QPrinter>

namespace fendrel {

std::unique_ptr<QPrinter> makePrinter(const PrintSetup& setup, int jobIndex) {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setCopyCount(1);
    printer->setPageOrientation(setup.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    if (!setup.outputFile.isEmpty()) {
        QString file = setup.outputFile;
        if (jobIndex > 0) {
            QFileInfo info(file);
            file = info.path() + QLatin1Char('/') + info.completeBaseName() +
                   QStringLiteral("-%1.").arg(jobIndex + 1) + info.suffix();
        }
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(file);
    } else if (!setup.printerName.isEmpty()) {
        printer->setPrinterName(setup.printerName);
    }
    return printer;
}

int printCopies(const PrintSetup& setup, const std::function<void(QPrinter&)>& paint) {
    int jobs = 0;
    for (int i = 0; i < std::max(1, setup.copies); ++i) {
        auto printer = makePrinter(setup, i);
        paint(*printer);
        ++jobs;
    }
    return jobs;
}

bool printImage(const PrintSetup& setup, const QPixmap& image, int logicalDpi) {
    const QSizeF size = image.deviceIndependentSize();
    bool failed = false;
    printCopies(setup, [&](QPrinter& printer) {
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
    return !failed;
}

} // namespace fendrel
