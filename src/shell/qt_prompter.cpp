#include "shell/qt_prompter.h"

#include "files/printer_setup.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
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

// The set-up only stores the choices for later prints, so its confirming button says OK (in the
// language of Qt's loaded translation) rather than the print dialog's "Print".
bool QtPrompter::setUpPrinter(PrinterChoices& choices) {
    QPrinter printer(QPrinter::HighResolution);
    applyPrinterChoices(choices, printer);
    QPrintDialog dialog(&printer);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    if (auto* buttons = dialog.findChild<QDialogButtonBox*>()) {
        if (QPushButton* confirm = buttons->button(QDialogButtonBox::Ok)) {
            const QDialogButtonBox standard(QDialogButtonBox::Ok);
            confirm->setText(standard.button(QDialogButtonBox::Ok)->text());
        }
    }
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    choices = printerChoicesOf(printer);
    return true;
}

void QtPrompter::openDocument(const std::string& path) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

} // namespace vtl
