#include "shell/qt_prompter.h"

#include "files/printer_setup.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QUrl>

#include <optional>

namespace vtl {
namespace {

// How long the desktop's launcher may take to say that nothing can show a document.
constexpr int kLauncherVerdictMilliseconds = 2000;

// Where documents go through xdg-open (or a browser named in BROWSER), Qt counts a document as
// opened once the launcher has started, even when the launcher then finds no viewer. Waiting
// briefly for its exit status tells the two apart; a launcher still running after that is
// showing the document. No answer where no such launcher exists.
std::optional<bool> openWithLauncher(const QString& file) {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    QString program = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (program.isEmpty()) {
        const QString browser = qEnvironmentVariable("BROWSER").section(QLatin1Char(':'), 0, 0);
        if (!browser.isEmpty()) {
            program = QStandardPaths::findExecutable(browser);
        }
    }
    if (program.isEmpty()) {
        return std::nullopt;
    }
    auto* launcher = new QProcess;
    QObject::connect(launcher, &QProcess::finished, launcher, &QObject::deleteLater);
    launcher->start(program, {file});
    if (!launcher->waitForStarted()) {
        delete launcher;
        return false;
    }
    if (!launcher->waitForFinished(kLauncherVerdictMilliseconds)) {
        return true;
    }
    return launcher->exitStatus() == QProcess::NormalExit && launcher->exitCode() == 0;
#else
    (void)file;
    return std::nullopt;
#endif
}

} // namespace

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

bool QtPrompter::openDocument(const std::string& path) {
    const QString file = QString::fromStdString(path);
    if (const std::optional<bool> opened = openWithLauncher(file)) {
        return *opened;
    }
    return QDesktopServices::openUrl(QUrl::fromLocalFile(file));
}

} // namespace vtl
