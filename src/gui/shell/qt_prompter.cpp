// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/shell/qt_prompter.h"

#include "gui/files/printer_setup.h"

#include "core/files/overlay_texts.h"
#include "core/shell/text_tables.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QSpacerItem>
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

QString text(MainCaption which, vtl::Language language) {
    return QString::fromStdString(caption(which, language));
}

// Qt sizes a message box for its text and buttons and leaves little room for the caption, so a
// window manager with a bold title font and its frame buttons cuts the caption of a short message
// ("Van...rror"). A row as wide as the caption, in bold, beside the window icon and three frame
// buttons, keeps it whole.
void makeRoomForCaption(QMessageBox& box) {
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (grid == nullptr) {
        return;
    }
    QFont titleFont = QApplication::font("QMdiSubWindowTitleBar");
    titleFont.setBold(true);
    const QFontMetrics metrics(titleFont);
    const int frameButton = metrics.height() + 10;
    const int frame = 4 * frameButton + 24;
    const QMargins margins = grid->contentsMargins();
    const int width =
        metrics.horizontalAdvance(box.windowTitle()) + frame - margins.left() - margins.right();
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

} // namespace

bool QtPrompter::showMessage(const std::string& text, const std::string& caption,
                             PromptButtons buttons) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(caption),
                    QString::fromStdString(text),
                    buttons == PromptButtons::OkCancel ? QMessageBox::Ok | QMessageBox::Cancel
                                                       : QMessageBox::Ok);
    makeRoomForCaption(box);
    return box.exec() == QMessageBox::Ok;
}

// The user's name is used exactly as typed: the filters only choose what is listed, there is no
// default extension, and the program asks about overwriting itself.
std::string QtPrompter::chooseFile(FileDialog dialog, const std::string& initialName) {
    const vtl::Language lang = language();
    MainCaption title = MainCaption::LoadFlightDialog;
    MainCaption filter = MainCaption::FlightFilesFilter;
    // The overlay's dialogs take their texts from the overlay window's captions.
    std::optional<OverlayCaption> overlayTitle;
    switch (dialog) {
    case FileDialog::Open:
        break;
    case FileDialog::Comparison:
        title = MainCaption::ComparisonDialog;
        break;
    case FileDialog::Save:
        title = MainCaption::SaveFlightDialog;
        break;
    case FileDialog::Export:
        title = MainCaption::ExportDialog;
        filter = MainCaption::SpreadsheetFilesFilter;
        break;
    case FileDialog::Picture:
        title = MainCaption::PictureDialog;
        filter = MainCaption::PictureFilesFilter;
        break;
    case FileDialog::OverlayOpen:
        overlayTitle = OverlayCaption::OpenDialog;
        break;
    case FileDialog::OverlaySave:
        overlayTitle = OverlayCaption::SaveDialog;
        break;
    }
    const bool open = dialog == FileDialog::Open || dialog == FileDialog::Comparison ||
                      dialog == FileDialog::OverlayOpen;

    QFileDialog chooser(nullptr,
                        overlayTitle ? QString::fromStdString(caption(*overlayTitle, lang))
                                     : text(title, lang),
                        QString::fromStdString(initialName));
    chooser.setOption(QFileDialog::DontUseNativeDialog);
    chooser.setOption(QFileDialog::DontConfirmOverwrite);
    chooser.setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    chooser.setFileMode(open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    chooser.setNameFilters({overlayTitle
                                ? QString::fromStdString(caption(OverlayCaption::FilesFilter, lang))
                                : text(filter, lang),
                            text(MainCaption::AllFilesFilter, lang)});
    if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty()) {
        return std::string();
    }
    return chooser.selectedFiles().constFirst().toStdString();
}

// The set-up only stores the choices for later prints, so its confirming button says OK (in the
// language of Qt's loaded translation) rather than the print dialog's "Print".
bool QtPrompter::setUpPrinter(PrinterChoices& choices) {
    QPrinter printer(QPrinter::HighResolution);
    applyPrinterChoices(choices, printer);
    QPrintDialog dialog(&printer);
    dialog.setWindowTitle(text(MainCaption::PrinterSetupMenu, language()));
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
