// SPDX-License-Identifier: GPL-3.0-or-later
// Qt's standard dialogs as the program shows them: in the user's language, titled with what they
// do, and with their whole caption in view.
#include "gui/shell/main_window.h"
#include "gui/shell/qt_prompter.h"
#include "support/window_rig.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>

class StandardDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void qtTextsFollowTheLanguageSwitch();
    void fileDialogsSayWhatTheyDo();
    void fileNamesAreTakenAsTyped();
    void messageBoxShowsItsWholeCaption();
};

namespace {

// Runs act on the next modal dialog of type Dialog as soon as it is shown, from the event loop
// that shows it; act must close the dialog.
template <typename Dialog> void whenShown(std::function<void(Dialog&)> act) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, act] {
        if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            act(*dialog);
            // A dialog that the script failed to close would wait for a user forever.
            if (dialog->isVisible()) {
                QTest::qFail("dialog left open", __FILE__, __LINE__);
                dialog->reject();
            }
        }
    });
    poll->start(10);
}

QString cancelText(QWidget& dialog) {
    auto* buttons = dialog.findChild<QDialogButtonBox*>();
    return buttons != nullptr && buttons->button(QDialogButtonBox::Cancel) != nullptr
               ? buttons->button(QDialogButtonBox::Cancel)->text()
               : QString();
}

QString messageBoxCancelText() {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("x"), QStringLiteral("y"),
                    QMessageBox::Ok | QMessageBox::Cancel);
    return box.button(QMessageBox::Cancel)->text();
}

QString fileDialogCancelText() {
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    return cancelText(dialog);
}

} // namespace

void StandardDialogsTest::qtTextsFollowTheLanguageSwitch() {
    vtl::testing::WindowRig rig;
    TVantorel_BMP& window = rig.open();
    QCOMPARE(window.currentLanguage(), vtl::Language::Polish);
    QCOMPARE(messageBoxCancelText(), QString("Anuluj"));
    QCOMPARE(fileDialogCancelText(), QString("Anuluj"));

    window.form().English1->trigger();
    QCOMPARE(messageBoxCancelText(), QString("Cancel"));
    QCOMPARE(fileDialogCancelText(), QString("Cancel"));

    window.form().Polski1->trigger();
    QCOMPARE(messageBoxCancelText(), QString("Anuluj"));
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    auto* fileNameLabel = dialog.findChild<QLabel*>(QStringLiteral("fileNameLabel"));
    QVERIFY(fileNameLabel != nullptr);
    QVERIFY2(!fileNameLabel->text().contains(QLatin1String("name")),
             qPrintable(fileNameLabel->text()));
}

void StandardDialogsTest::fileDialogsSayWhatTheyDo() {
    struct Expected {
        vtl::FileDialog kind;
        const char* polish;
        const char* english;
        QFileDialog::AcceptMode mode;
        const char* filter; // the first filter, in English
    };
    const Expected expected[] = {
        {vtl::FileDialog::Open, "Odczyt pomiaru", "Load flight", QFileDialog::AcceptOpen,
         "Flights (*.bin)"},
        {vtl::FileDialog::Comparison, "Porównanie - odczyt pomiaru", "Compare - load flight",
         QFileDialog::AcceptOpen, "Flights (*.bin)"},
        {vtl::FileDialog::Save, "Zapisz pomiar", "Save flight", QFileDialog::AcceptSave,
         "Flights (*.bin)"},
        {vtl::FileDialog::Export, "Eksport do Excela", "Export to Excel", QFileDialog::AcceptSave,
         "Spreadsheets (*.csv)"},
        {vtl::FileDialog::Picture, "Zapisz obraz", "Save picture", QFileDialog::AcceptSave,
         "Pictures (*.bmp)"},
        {vtl::FileDialog::OverlayOpen, "Otwórz nakładkę", "Open overlay", QFileDialog::AcceptOpen,
         "Flight overlays (*.vtlov)"},
        {vtl::FileDialog::OverlaySave, "Zapisz nakładkę", "Save overlay", QFileDialog::AcceptSave,
         "Flight overlays (*.vtlov)"},
    };
    vtl::QtPrompter prompter;
    vtl::Language language = vtl::Language::Polish;
    prompter.followLanguage(language);
    for (const Expected& e : expected) {
        for (const vtl::Language shown : {vtl::Language::Polish, vtl::Language::English}) {
            language = shown;
            const bool polish = shown == vtl::Language::Polish;
            QString title;
            QStringList filters;
            QFileDialog::AcceptMode mode = QFileDialog::AcceptOpen;
            whenShown<QFileDialog>([&](QFileDialog& dialog) {
                title = dialog.windowTitle();
                filters = dialog.nameFilters();
                mode = dialog.acceptMode();
                dialog.reject();
            });
            QCOMPARE(prompter.chooseFile(e.kind, std::string()), std::string());
            QCOMPARE(title, QString::fromUtf8(polish ? e.polish : e.english));
            QCOMPARE(mode, e.mode);
            QCOMPARE(filters.size(), 2);
            QCOMPARE(filters.last(),
                     polish ? QString("Wszystkie pliki (*)") : QString("All files (*)"));
            if (!polish) {
                QCOMPARE(filters.first(), QString(e.filter));
            } else if (e.kind == vtl::FileDialog::Open) {
                QCOMPARE(filters.first(), QString("Pomiary (*.bin)"));
            }
        }
    }
}

// The program adds suffixes and asks about overwriting itself; the dialog does neither.
void StandardDialogsTest::fileNamesAreTakenAsTyped() {
    QTemporaryDir folder;
    const QString existing = folder.filePath("lot");
    {
        QFile file(existing);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    vtl::QtPrompter prompter;
    whenShown<QFileDialog>([&](QFileDialog& dialog) {
        QCOMPARE(dialog.directory().absolutePath(), folder.path());
        QMetaObject::invokeMethod(&dialog, "accept");
    });
    QCOMPARE(prompter.chooseFile(vtl::FileDialog::Save, existing.toStdString()),
             existing.toStdString());

    whenShown<QFileDialog>([&](QFileDialog& dialog) {
        dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText("nowy");
        QMetaObject::invokeMethod(&dialog, "accept");
    });
    QCOMPARE(prompter.chooseFile(vtl::FileDialog::Export, (folder.path() + "/").toStdString()),
             folder.filePath("nowy").toStdString());

    // An open dialog takes only a file that exists.
    whenShown<QFileDialog>([&](QFileDialog& dialog) {
        QCOMPARE(dialog.fileMode(), QFileDialog::ExistingFile);
        dialog.reject();
    });
    QCOMPARE(prompter.chooseFile(vtl::FileDialog::Comparison, existing.toStdString()),
             std::string());
}

void StandardDialogsTest::messageBoxShowsItsWholeCaption() {
    vtl::QtPrompter prompter;
    for (const char* caption : {"Vantoreal - error", "Vantorel - problem", "Vantoreal-Save"}) {
        int width = 0;
        QString title;
        whenShown<QMessageBox>([&](QMessageBox& box) {
            width = box.width();
            title = box.windowTitle();
            box.button(QMessageBox::Ok)->click();
        });
        QVERIFY(prompter.showMessage("No data", caption, vtl::PromptButtons::Ok));
        QCOMPARE(title, QString(caption));
        // Window managers draw the caption in bold beside the window icon and the minimise,
        // maximise and close buttons, each about as wide as the caption's line is high.
        QFont titleFont = QApplication::font("QMdiSubWindowTitleBar");
        titleFont.setBold(true);
        const QFontMetrics metrics(titleFont);
        const int needed = metrics.horizontalAdvance(title) + 4 * metrics.height();
        QVERIFY2(width >= needed, qPrintable(QStringLiteral("%1 < %2").arg(width).arg(needed)));
    }
}

QTEST_MAIN(StandardDialogsTest)
#include "standard_dialogs_test.moc"
