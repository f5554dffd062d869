// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/files/printer_setup.h"
#include "gui/shell/qt_prompter.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

vtl::PrinterChoices a5Across(const std::string& outputFile) {
    vtl::PrinterChoices choices;
    choices.landscape = true;
    choices.outputFile = outputFile;
    choices.paperName = "A5";
    choices.paperWidthMm = 148.0;
    choices.paperHeightMm = 210.0;
    choices.margins = vtl::PageMargins{12.0, 8.0, 6.0, 20.0};
    return choices;
}

void compareChoices(const vtl::PrinterChoices& actual, const vtl::PrinterChoices& expected) {
    QCOMPARE(actual.outputFile, expected.outputFile);
    QCOMPARE(actual.landscape, expected.landscape);
    QCOMPARE(actual.paperName, expected.paperName);
    QVERIFY(qAbs(actual.paperWidthMm - expected.paperWidthMm) < 0.1);
    QVERIFY(qAbs(actual.paperHeightMm - expected.paperHeightMm) < 0.1);
    QVERIFY(actual.margins.has_value());
    // The dialog keeps margins in points: a tenth of a millimetre is within its rounding.
    QVERIFY(qAbs(actual.margins->left - expected.margins->left) < 0.1);
    QVERIFY(qAbs(actual.margins->top - expected.margins->top) < 0.1);
    QVERIFY(qAbs(actual.margins->right - expected.margins->right) < 0.1);
    QVERIFY(qAbs(actual.margins->bottom - expected.margins->bottom) < 0.1);
}

} // namespace

class PrinterSetupTest : public QObject {
    Q_OBJECT
private slots:
    void choicesGoOntoThePrinterAndBack();
    void setUpDialogShowsTheChoicesAndDoesNotSayPrint();
};

void PrinterSetupTest::choicesGoOntoThePrinterAndBack() {
    const vtl::PrinterChoices choices = a5Across("/tmp/page.pdf");
    QPrinter printer(QPrinter::HighResolution);
    vtl::applyPrinterChoices(choices, printer);
    QCOMPARE(printer.outputFormat(), QPrinter::PdfFormat);
    QCOMPARE(printer.pageLayout().pageSize().id(), QPageSize::A5);
    compareChoices(vtl::printerChoicesOf(printer), choices);

    // Without paper or margins the printer keeps its own.
    QPrinter plain(QPrinter::HighResolution);
    const QPageLayout before = plain.pageLayout();
    vtl::applyPrinterChoices(vtl::PrinterChoices{}, plain);
    QVERIFY(plain.pageLayout().isEquivalentTo(before));
}

// The real Qt dialog, run modally: a timer looks at it and confirms it.
void PrinterSetupTest::setUpDialogShowsTheChoicesAndDoesNotSayPrint() {
#ifdef Q_OS_WIN
    QSKIP("the printers are CUPS's");
#endif
    QTemporaryDir folder;
    vtl::PrinterChoices choices = a5Across(folder.filePath("page.pdf").toStdString());
    const vtl::PrinterChoices chosen = choices;
    QString confirmText;
    bool sawDialog = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            return;
        }
        sawDialog = true;
        QPushButton* confirm = dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
        confirmText = confirm->text();
        confirm->click();
    });
    vtl::QtPrompter prompter;
    QVERIFY(prompter.setUpPrinter(choices));
    QVERIFY(sawDialog);
    QVERIFY2(!confirmText.contains(QStringLiteral("Print"), Qt::CaseInsensitive),
             qPrintable(confirmText));
    compareChoices(choices, chosen);
}

QTEST_MAIN(PrinterSetupTest)
#include "printer_setup_test.moc"
