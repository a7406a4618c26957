// The dialogs of the running program, over Qt's standard dialogs.
#include "QtPrompts.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrinter>

namespace fendrel {

Answer QtPrompts::message(QWidget* parent, const QString& text, const QString& title, Icon icon,
                          Buttons buttons, const QString& details) {
    QMessageBox box(parent);
    box.setWindowTitle(title);
    box.setText(text);
    if (!details.isEmpty())
        box.setDetailedText(details);
    switch (icon) {
    case Icon::Error:
        box.setIcon(QMessageBox::Critical);
        break;
    case Icon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case Icon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case Icon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case Icon::None:
        break;
    }
    if (buttons == Buttons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return Answer::Ok;
}

QString QtPrompts::input(QWidget* parent, const QString& prompt, const QString& title,
                         const QString& prefilled) {
    bool ok = false;
    QString text = QInputDialog::getText(parent, title, prompt, QLineEdit::Normal, prefilled, &ok);
    return ok ? text : QString();
}

namespace {
std::optional<QString> runFileDialog(QWidget* parent, const FileRequest& request, bool save) {
    QFileDialog dialog(parent, request.title, request.startFolder, qtFilter(request.filter));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::ReadOnly, false);
    QString entry = qtFilterEntry(request.filter, request.filterIndex);
    if (!entry.isEmpty())
        dialog.selectNameFilter(entry);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first();
}
} // namespace

std::optional<QString> QtPrompts::openFile(QWidget* parent, const FileRequest& request) {
    return runFileDialog(parent, request, false);
}

std::optional<QString> QtPrompts::saveFile(QWidget* parent, const FileRequest& request) {
    return runFileDialog(parent, request, true);
}

std::optional<PrintSetup> QtPrompts::print(QWidget* parent, const PrintSetup& initial) {
    QPrinter printer;
    printer.setCopyCount(initial.copies);
    printer.setPageOrientation(initial.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    QPrintDialog dialog(&printer, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    PrintSetup chosen;
    chosen.copies = printer.copyCount();
    chosen.landscape = printer.pageLayout().orientation() == QPageLayout::Landscape;
    chosen.printerName = printer.printerName();
    if (printer.outputFormat() == QPrinter::PdfFormat)
        chosen.outputFile = printer.outputFileName();
    return chosen;
}

std::optional<QString> QtPrompts::chooseFolder(QWidget* parent, const QString& title,
                                               const QString& startFolder) {
    QString folder = QFileDialog::getExistingDirectory(parent, title, startFolder);
    if (folder.isEmpty())
        return std::nullopt;
    return folder;
}

} // namespace fendrel
