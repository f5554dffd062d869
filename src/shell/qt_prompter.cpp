#include "shell/qt_prompter.h"

#include "shell/text_tables.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QSpacerItem>
#include <QString>
#include <QUrl>

namespace vtl {
namespace {

QString text(MainCaption which, int32_t language) {
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
    const int32_t lang = language();
    MainCaption title = MainCaption::LoadFlightDialog;
    MainCaption filter = MainCaption::FlightFilesFilter;
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
    }
    const bool open = dialog == FileDialog::Open || dialog == FileDialog::Comparison;

    QFileDialog chooser(nullptr, text(title, lang), QString::fromStdString(initialName));
    chooser.setOption(QFileDialog::DontUseNativeDialog);
    chooser.setOption(QFileDialog::DontConfirmOverwrite);
    chooser.setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    chooser.setFileMode(open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    chooser.setNameFilters({text(filter, lang), text(MainCaption::AllFilesFilter, lang)});
    if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty()) {
        return std::string();
    }
    return chooser.selectedFiles().constFirst().toStdString();
}

bool QtPrompter::setUpPrinter(PrinterChoices& choices) {
    QPrinter printer;
    if (!choices.printerName.empty()) {
        printer.setPrinterName(QString::fromStdString(choices.printerName));
    }
    printer.setPageOrientation(choices.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    QPrintDialog dialog(&printer);
    dialog.setWindowTitle(text(MainCaption::PrinterSetupMenu, language()));
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
