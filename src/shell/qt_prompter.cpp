#include "shell/qt_prompter.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QString>
#include <QUrl>

namespace vtl {

bool QtPrompter::showMessage(const std::string& text, const std::string& caption,
                             PromptButtons buttons) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(caption),
                    QString::fromStdString(text),
                    buttons == PromptButtons::OkCancel ? QMessageBox::Ok | QMessageBox::Cancel
                                                       : QMessageBox::Ok);
    return box.exec() == QMessageBox::Ok;
}

// The user's name is used exactly as typed: no filter, no default extension, and the program asks
// about overwriting itself.
std::string QtPrompter::chooseFile(FileDialog dialog, const std::string& initialName) {
    const QString initial = QString::fromStdString(initialName);
    const QString chosen =
        dialog == FileDialog::Open
            ? QFileDialog::getOpenFileName(nullptr, QString(), initial)
            : QFileDialog::getSaveFileName(nullptr, QString(), initial, QString(), nullptr,
                                           QFileDialog::DontConfirmOverwrite);
    return chosen.toStdString();
}

bool QtPrompter::setUpPrinter(PrinterChoices& choices) {
    QPrinter printer;
    if (!choices.printerName.empty()) {
        printer.setPrinterName(QString::fromStdString(choices.printerName));
    }
    printer.setPageOrientation(choices.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    QPrintDialog dialog(&printer);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    choices.printerName = printer.printerName().toStdString();
    choices.landscape = printer.pageLayout().orientation() == QPageLayout::Landscape;
    choices.outputFile = printer.outputFileName().toStdString();
    return true;
}

void QtPrompter::openDocument(const std::string& path) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

} // namespace vtl
