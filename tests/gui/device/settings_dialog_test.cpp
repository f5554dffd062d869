// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/device/settings_dialog.h"

#include "core/device/device_protocol.h"
#include "core/device/port_finder.h"
#include "core/device/serial_channel.h"
#include "core/device/usb_port_offer.h"
#include "core/shell/settings_keeper.h"
#include "support/fake_device.h"
#include "support/scripted_prompter.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {

using Bytes = std::vector<uint8_t>;

class FixedPriority : public vtl::ProcessPriority {
public:
    void raise() override {}
    void restore() override {}
};

// The dialog as the main window sets it up: settings in a file of their own, the device link
// over the fake port, opened on the settings' port as the settings menu leaves it.
struct Rig {
    explicit Rig(vtl::Language startLanguage = vtl::Language::Polish) : language(startLanguage) {
        keeper.load();
        port.setResponder(device.responder());
        channel.openPort(keeper.settings().portNameText());
        dialog.show();
        prompter.clear();
    }

    QString settingsPath() const { return folder.filePath("vantorel.par"); }
    std::vector<std::string> texts() const {
        std::vector<std::string> shown;
        for (const auto& m : prompter.messages()) {
            shown.push_back(m.text);
        }
        return shown;
    }

    QTemporaryDir folder;
    vtl::testing::ScriptedPrompter prompter;
    vtl::SettingsKeeper keeper{settingsPath().toStdString(), prompter};
    vtl::Language language;
    vtl::testing::FakeClock clock;
    vtl::testing::FakeDevice port{clock};
    vtl::testing::DeviceModel device;
    FixedPriority priority;
    vtl::SerialChannel channel{port, clock, prompter, language};
    vtl::DeviceProtocol protocol{channel, clock, prompter, language, keeper.settings(), priority};
    TFormUstawienia dialog{keeper, language, prompter, channel, protocol};
};

const std::string kTooLarge = "Za duza wartosc";
const std::string kErrorCaption = "Vantorel - problem";
const std::string kFieldEmpty = "Pole nie może być puste";

void typeInto(QLineEdit* edit, const QString& text) {
    edit->clear();
    QTest::keyClicks(edit, text);
}

} // namespace

class SettingsDialogTest : public QObject {
    Q_OBJECT
private slots:
    void startsWithZeroesAndThePortOfTheSettings();
    void typedValuesAreCheckedAgainstTheirLimits();
    void temperatureReadingWarnsAboveSeventyOnly();
    void textThatIsNotANumberGetsTheConversionError();
    void leavingAFieldWithAnEmptyFieldWarns();
    void savingWithAnEmptyFieldSendsNothing();
    void entriesHoldWhatTheFieldsShowNow();
    void captionsFollowTheLanguageAtEachShowButManualZeroingKeepsItsStartUpTexts();
    void portChoiceIsStoredAndTheSetupReadAgain();
    void everyTypedPortTextIsAPortChange();
    void portThatCannotBeOpenedIsReportedTwiceAndSavingDoesNothing();
    void portListShowsWhatIsThereAndKeepsThePlainName();
    void setupThatCannotBeReadIsReported();
    void savingWritesTheThreeFramesAndCloses();
    void enterInAFieldWritesNothing();
    void refusedValueKeepsTheDialogAndThePortOpen();
    void everyWayOfClosingClosesThePort();
    void escapeInAnyFieldClosesAndWritesNothing();
};

void SettingsDialogTest::startsWithZeroesAndThePortOfTheSettings() {
    vtl::testing::ScriptedPrompter prompter;
    QTemporaryDir folder;
    const QString path = folder.filePath("vantorel.par");
    vtl::SettingsKeeper keeper(path.toStdString(), prompter);
    keeper.settings().portIndex = 11;
    const vtl::Language language = vtl::Language::Polish;
    vtl::testing::FakeClock clock;
    vtl::testing::FakeDevice port{clock};
    FixedPriority priority;
    vtl::SerialChannel channel{port, clock, prompter, language};
    vtl::DeviceProtocol protocol{channel, clock, prompter, language, keeper.settings(), priority};
    TFormUstawienia dialog(keeper, language, prompter, channel, protocol);

    QCOMPARE(dialog.CB_Numer_Portu->currentText(), QString("COM12"));
    QCOMPARE(dialog.E_Poziom->text(), QString("0"));
    QCOMPARE(dialog.E_Kal_Temp->text(), QString("0"));
    // Selecting the stored port is no choice of the user: nothing is saved, nothing shown.
    QVERIFY(!QFile::exists(path));
    QVERIFY(prompter.messages().empty());
}

void SettingsDialogTest::typedValuesAreCheckedAgainstTheirLimits() {
    Rig rig;
    struct Case {
        QLineEdit* edit;
        QString accepted;
        QString refused;
    };
    const TFormUstawienia& d = rig.dialog;
    for (const Case& c : {Case{d.E_Poziom, "200", "201"}, Case{d.E_NrZaw, "10000", "10001"},
                          Case{d.E_CzasOp, "300", "301"}}) {
        typeInto(c.edit, c.accepted);
        QVERIFY2(rig.prompter.messages().empty(), qPrintable(c.accepted));
        typeInto(c.edit, c.refused);
        QCOMPARE(rig.prompter.messages().size(), size_t{1});
        QCOMPARE(rig.prompter.messages()[0].text, kTooLarge);
        QCOMPARE(rig.prompter.messages()[0].caption, kErrorCaption);
        // Nothing is corrected.
        QCOMPARE(c.edit->text(), c.refused);
        rig.prompter.clear();
    }
    // A negative entry: the lone sign is no number yet, the number is too large.
    typeInto(d.E_Poziom, "-1");
    QCOMPARE(rig.texts(),
             (std::vector<std::string>{"'-' is not a valid integer value", kTooLarge}));
}

void SettingsDialogTest::temperatureReadingWarnsAboveSeventyOnly() {
    Rig rig(vtl::Language::English);
    rig.dialog.showTemperature(70);
    rig.dialog.showTemperature(-10);
    QVERIFY(rig.prompter.messages().empty());
    QCOMPARE(rig.dialog.E_Kal_Temp->text(), QString("-10"));
    rig.dialog.showTemperature(71);
    QCOMPARE(rig.texts(), std::vector<std::string>{"Too large value"});
    QCOMPARE(rig.prompter.messages()[0].caption, std::string("Vantoreal - error"));
}

void SettingsDialogTest::textThatIsNotANumberGetsTheConversionError() {
    Rig rig;
    typeInto(rig.dialog.E_NrZaw, "1a");
    QCOMPARE(rig.texts(), std::vector<std::string>{"'1a' is not a valid integer value"});
    QCOMPARE(rig.prompter.messages()[0].caption, std::string("VantorelBMP"));
    QCOMPARE(rig.dialog.E_NrZaw->text(), QString("1a"));
}

void SettingsDialogTest::leavingAFieldWithAnEmptyFieldWarns() {
    Rig rig;
    QVERIFY(QTest::qWaitForWindowActive(&rig.dialog));
    rig.dialog.blankAfterFailedRead();
    QCOMPARE(rig.dialog.ComboBox_ImPomiarow->currentText(), QString("10 pom/sek"));
    QCOMPARE(rig.dialog.ComboB_Zer->currentIndex(), 0);

    for (QLineEdit* field :
         {rig.dialog.E_Poziom, rig.dialog.E_Kal_Temp, rig.dialog.E_NrZaw, rig.dialog.E_CzasOp}) {
        field->setFocus(Qt::TabFocusReason);
        rig.prompter.clear();
        rig.dialog.B_wyslij->setFocus(Qt::TabFocusReason);
        QCOMPARE(rig.texts(), std::vector<std::string>{kFieldEmpty});
    }

    // The dialog losing its activation or closing is no leaving of the field.
    rig.dialog.E_Poziom->setFocus(Qt::TabFocusReason);
    rig.prompter.clear();
    rig.dialog.close();
    QVERIFY(rig.prompter.messages().empty());

    rig.dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&rig.dialog));
    rig.dialog.showTriggerMetres(30);
    rig.dialog.showCompetitorNumber(7);
    rig.dialog.E_CzasOp->setText(" ");
    rig.dialog.E_Poziom->setFocus(Qt::TabFocusReason);
    rig.prompter.clear();
    QTest::keyClick(rig.dialog.E_Poziom, Qt::Key_Tab);
    QVERIFY(rig.prompter.messages().empty());
}

void SettingsDialogTest::savingWithAnEmptyFieldSendsNothing() {
    Rig rig;
    rig.dialog.showTriggerMetres(30);
    rig.dialog.showDelaySeconds(10);
    rig.dialog.E_NrZaw->clear();
    rig.prompter.clear();
    QTest::mouseClick(rig.dialog.B_wyslij, Qt::LeftButton);
    QCOMPARE(rig.texts(), std::vector<std::string>{kFieldEmpty});
    QVERIFY(rig.port.frames().empty());
    QVERIFY(rig.dialog.isVisible());
    QVERIFY(rig.channel.isOpen());
}

void SettingsDialogTest::entriesHoldWhatTheFieldsShowNow() {
    Rig rig;
    struct Expected {
        std::string trigger, competitor, delay;
        int sampling, zeroing;
    };
    auto check = [&rig](const Expected& e) {
        const vtl::DeviceSetupEntries read = rig.dialog.entries();
        QCOMPARE(read.triggerMetres, e.trigger);
        QCOMPARE(read.competitorNumber, e.competitor);
        QCOMPARE(read.delaySeconds, e.delay);
        QCOMPARE(read.samplingIndex, e.sampling);
        QCOMPARE(read.manualZeroingIndex, e.zeroing);
    };

    rig.dialog.showTriggerMetres(30);
    rig.dialog.showCompetitorNumber(12);
    rig.dialog.showDelaySeconds(180);
    rig.dialog.selectSamplingCode(3);
    rig.dialog.selectManualZeroing(1);
    check({"30", "12", "180", 3, 1});

    // Typed text is taken as it stands, a refused value included: the device write judges it.
    typeInto(rig.dialog.E_NrZaw, "10001");
    rig.dialog.selectSamplingCode(6);
    check({"30", "10001", "180", -1, 1});

    // A failed read blanks the setup: the delay was another device's.
    rig.dialog.blankAfterFailedRead();
    check({"", "", "", 2, 0});
}

void SettingsDialogTest::captionsFollowTheLanguageAtEachShowButManualZeroingKeepsItsStartUpTexts() {
    Rig rig(vtl::Language::Polish);
    const TFormUstawienia& d = rig.dialog;
    QCOMPARE(d.windowTitle(), QString("Ustawienia"));
    QCOMPARE(d.L_Numer_Portu->text(), QString("Wybierz Port"));
    QCOMPARE(d.LZerReczne->text(), QString("Zerowanie ręczne"));
    QCOMPARE(d.B_wyslij->text(), QString("Zapisz"));

    rig.dialog.hide();
    rig.language = vtl::Language::English;
    rig.dialog.show();
    const std::vector<std::pair<QString, QString>> shown = {
        {d.windowTitle(), "Setup"},
        {d.L_Numer_Portu->text(), "Select Port"},
        {d.L_PoziomWyzwalania->text(), "Setup Heigh Trigger"},
        {d.L_Kalibracja_Temp->text(), "Temperature"},
        {d.L_Ust_Probk->text(), "Sampling"},
        {d.LZerReczne->text(), "Manual reset"},
        {d.L_Numer_Zawodnika->text(), "Competitor No."},
        {d.L_NrSer->text(), "Serial No."},
        {d.L_CzasOp->text(), "Delay"},
        {d.L_Sek->text(), "[sec]"},
        {d.B_wyslij->text(), "Save"},
    };
    for (const auto& [actual, expected] : shown) {
        QCOMPARE(actual, expected);
    }
    QCOMPARE(d.ComboB_Zer->itemText(0), QString("Nie"));
    QCOMPARE(d.ComboB_Zer->itemText(1), QString("Tak"));

    Rig english(vtl::Language::English);
    QCOMPARE(english.dialog.ComboB_Zer->itemText(0), QString("No"));
    QCOMPARE(english.dialog.ComboB_Zer->itemText(1), QString("Yes"));
}

void SettingsDialogTest::portChoiceIsStoredAndTheSetupReadAgain() {
    Rig rig;
    rig.device.competitorNumber = 12;
    rig.device.serialNumber = 12345;
    rig.device.temperature = 10;
    rig.device.triggerQuarterMetres = 120;
    rig.device.samplingCode = 3;
    rig.device.manualZeroing = 1;
    rig.device.delayHundredths = 18000;
    rig.dialog.CB_Numer_Portu->setCurrentIndex(11);
    emit rig.dialog.CB_Numer_Portu->activated(11);

    QCOMPARE(rig.keeper.settings().portNameText(), std::string("COM12"));
    QCOMPARE(rig.keeper.settings().portIndex, 11);
    QFile file(rig.settingsPath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QCOMPARE(bytes.left(12), QByteArray("COM12\0\0\0\x0B\0\0\0", 12));

    QCOMPARE(rig.port.openedNames(), (std::vector<std::string>{"COM5", "COM12"}));
    QCOMPARE(rig.port.frames().size(), size_t{3});
    QCOMPARE(rig.dialog.E_NrZaw->text(), QString("12"));
    QCOMPARE(rig.dialog.E_NrSer->text(), QString("12345"));
    QCOMPARE(rig.dialog.E_Kal_Temp->text(), QString("8"));
    QCOMPARE(rig.dialog.E_Poziom->text(), QString("30"));
    QCOMPARE(rig.dialog.ComboBox_ImPomiarow->currentIndex(), 3);
    QCOMPARE(rig.dialog.ComboB_Zer->currentIndex(), 1);
    QCOMPARE(rig.dialog.E_CzasOp->text(), QString("180"));
    QVERIFY(rig.channel.isOpen());
    QVERIFY(rig.prompter.messages().empty());
}

void SettingsDialogTest::everyTypedPortTextIsAPortChange() {
#ifdef Q_OS_WIN
    QSKIP("the reasons name the Linux device a COM name leads to");
#endif
    Rig rig;
    rig.device.competitorNumber = 12;
    QComboBox& list = *rig.dialog.CB_Numer_Portu;
    list.lineEdit()->clear(); // the program's own edit: no change
    QCOMPARE(rig.port.openedNames().size(), size_t{1});

    // Each character typed opens the port its text names and reads the setup from it; the field
    // shows what was typed, never a completion of it.
    rig.dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&rig.dialog));
    list.setFocus();
    QTest::keyClicks(&list, "C");
    QCOMPARE(list.currentText(), QString("C"));
    QTest::keyClicks(&list, "OM12");
    QCOMPARE(list.currentText(), QString("COM12"));
    QCOMPARE(rig.port.openedNames(),
             (std::vector<std::string>{"COM5", "C", "CO", "COM", "COM1", "COM12"}));
    QCOMPARE(rig.port.frames().size(), size_t{15});
    QCOMPARE(rig.dialog.E_NrZaw->text(), QString("12"));
    QCOMPARE(rig.keeper.settings().portIndex, 11);
    QFile file(rig.settingsPath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll().left(12), QByteArray("COM12\0\0\0\x0B\0\0\0", 12));
    QVERIFY(rig.prompter.messages().empty());
    // Enter repeats nothing: the text was taken while it was typed.
    QTest::keyClick(&list, Qt::Key_Return);
    QCOMPARE(rig.port.openedNames().size(), size_t{6});

    // A text longer than a port name keeps its first five characters and names no item.
    QTest::keyClick(&list, Qt::Key_3);
    QCOMPARE(rig.port.openedNames().back(), std::string("COM12"));
    QCOMPARE(rig.port.openedNames().size(), size_t{7});
    QCOMPARE(rig.keeper.settings().portNameText(), std::string("COM12"));
    QCOMPARE(rig.keeper.settings().portIndex, -1);
    QCOMPARE(list.currentText(), QString("COM123"));
    // The next start shows the port that is used, though no item names it.
    TFormUstawienia again(rig.keeper, rig.language, rig.prompter, rig.channel, rig.protocol);
    QCOMPARE(again.CB_Numer_Portu->currentText(), QString("COM12"));

    // A partial text that opens nothing is reported like any port that cannot be opened.
    rig.port.refuseOpening(true);
    list.lineEdit()->clear();
    QTest::keyClicks(&list, "X");
    const std::string failed = "Błąd komunikacji z portem: X";
    QCOMPARE(rig.texts(), (std::vector<std::string>{failed, failed}));
    QCOMPARE(rig.keeper.settings().portNameText(), std::string("X"));
}

void SettingsDialogTest::portThatCannotBeOpenedIsReportedTwiceAndSavingDoesNothing() {
    Rig rig(vtl::Language::English);
    rig.dialog.showTriggerMetres(30);
    rig.dialog.showCompetitorNumber(7);
    rig.dialog.showDelaySeconds(10);
    rig.port.refuseOpening(true);
    rig.dialog.CB_Numer_Portu->setCurrentIndex(24);
    emit rig.dialog.CB_Numer_Portu->activated(24);

    const std::string failed = "Communication Error: COM25";
    QCOMPARE(rig.texts(), (std::vector<std::string>{failed, failed}));
    QCOMPARE(rig.prompter.messages()[1].caption, std::string("Vantoreal - error"));
    QCOMPARE(rig.keeper.settings().portNameText(), std::string("COM25"));
    QCOMPARE(rig.dialog.E_Poziom->text(), QString("30"));

    rig.prompter.clear();
    rig.dialog.BWyslijPClick();
    QVERIFY(rig.port.frames().empty());
    QVERIFY(rig.prompter.messages().empty());
    QVERIFY(rig.dialog.isVisible());
}

void SettingsDialogTest::setupThatCannotBeReadIsReported() {
    Rig rig;
    rig.device.serialNumber = 4321;
    rig.device.temperature = 20;
    const int port = rig.dialog.CB_Numer_Portu->currentIndex();
    emit rig.dialog.CB_Numer_Portu->activated(port);
    QCOMPARE(rig.dialog.E_NrSer->text(), QString("4321"));
    QVERIFY(!rig.dialog.E_Kal_Temp->text().isEmpty());

    // No answer: what only the device fills is blanked, what the user edits stays.
    rig.port.setResponder(nullptr);
    rig.dialog.showCompetitorNumber(7);
    emit rig.dialog.CB_Numer_Portu->activated(port);
    QCOMPARE(rig.texts(), std::vector<std::string>{"Błąd komunikacji"});
    QCOMPARE(rig.prompter.messages()[0].caption, kErrorCaption);
    QCOMPARE(rig.dialog.E_NrZaw->text(), QString("7"));
    QCOMPARE(rig.dialog.E_NrSer->text(), QString());
    QCOMPARE(rig.dialog.E_Kal_Temp->text(), QString());
    QVERIFY(rig.channel.isOpen());

    // A port that does not open leaves no other device's reading either.
    rig.port.setResponder(rig.device.responder());
    emit rig.dialog.CB_Numer_Portu->activated(port);
    QCOMPARE(rig.dialog.E_NrSer->text(), QString("4321"));
    rig.port.refuseOpening(true);
    emit rig.dialog.CB_Numer_Portu->activated(port);
    QCOMPARE(rig.dialog.E_NrSer->text(), QString());

    // After a failed read at the opening of the dialog, nothing of an earlier read is left.
    rig.dialog.showSerialNumber(4321);
    rig.dialog.showDelaySeconds(180);
    rig.dialog.showTemperature(20);
    rig.dialog.blankAfterFailedRead();
    for (const QLineEdit* field :
         {rig.dialog.E_NrSer, rig.dialog.E_CzasOp, rig.dialog.E_Kal_Temp}) {
        QCOMPARE(field->text(), QString());
    }
}

void SettingsDialogTest::savingWritesTheThreeFramesAndCloses() {
    Rig rig;
    rig.dialog.showTriggerMetres(200);
    rig.dialog.showCompetitorNumber(10000);
    rig.dialog.selectSamplingCode(5);
    rig.dialog.selectManualZeroing(1);
    rig.dialog.showDelaySeconds(300);
    QTest::mouseClick(rig.dialog.B_wyslij, Qt::LeftButton);

    const std::vector<Bytes> expected = {
        {'e', '5', 0x10, 0x27, 0x00, 0x20, 0x03, 0x05},
        {'e', 'C', 0x01, 0x27, 0x00, 0x20, 0x03, 0x05},
        {'e', '7', 0x30, 0x75, 0x00, 0x20, 0x03, 0x05},
    };
    QCOMPARE(rig.port.frames(), expected);
    QCOMPARE(rig.texts(), std::vector<std::string>{"Ustawienia OK"});
    QVERIFY(!rig.dialog.isVisible());
    QCOMPARE(rig.dialog.result(), int(QDialog::Accepted));
    QVERIFY(!rig.port.isOpen());
}

void SettingsDialogTest::enterInAFieldWritesNothing() {
    Rig rig;
    rig.dialog.showTriggerMetres(50);
    rig.dialog.showCompetitorNumber(12);
    rig.dialog.showDelaySeconds(60);
    rig.dialog.activateWindow();
    for (QWidget* field : std::initializer_list<QWidget*>{
             rig.dialog.E_Poziom, rig.dialog.E_NrZaw, rig.dialog.E_CzasOp,
             rig.dialog.ComboBox_ImPomiarow, rig.dialog.ComboB_Zer}) {
        field->setFocus();
        QTest::keyClick(field, Qt::Key_Return);
        QTest::keyClick(field, Qt::Key_Enter);
    }
    QVERIFY(rig.port.frames().empty());
    QVERIFY(rig.dialog.isVisible());
    QVERIFY(rig.port.isOpen());
}

void SettingsDialogTest::refusedValueKeepsTheDialogAndThePortOpen() {
    Rig rig;
    rig.dialog.showCompetitorNumber(12);
    rig.dialog.showDelaySeconds(10);
    typeInto(rig.dialog.E_Poziom, "201");
    rig.prompter.clear();
    rig.dialog.BWyslijPClick();
    QCOMPARE(rig.texts(), std::vector<std::string>{kTooLarge});
    QVERIFY(rig.port.frames().empty());
    QVERIFY(rig.dialog.isVisible());
    QVERIFY(rig.channel.isOpen());
}

void SettingsDialogTest::portListShowsWhatIsThereAndKeepsThePlainName() {
#ifdef Q_OS_WIN
    QSKIP("the port list is Linux's (/dev/ttyUSB0 behind COM5)");
#endif
    Rig rig;
    const auto findPorts = [] {
        return vtl::PortFinder({{"/dev/ttyUSB0", "FT232R USB UART", "FTDI", 0x0403, 0x6001, true}},
                               {{"COM9", "/dev/pts/4"}});
    };
    rig.dialog.setPortFinder(findPorts);
    rig.dialog.hide();
    rig.keeper.settings().setPortName("COM6"); // as a taken offer leaves it
    rig.keeper.settings().portIndex = 5;
    rig.dialog.show(); // each showing looks at the ports again
    QComboBox& list = *rig.dialog.CB_Numer_Portu;
    QCOMPARE(list.itemText(0), QString("COM1"));
    QCOMPARE(list.itemText(4), QString("COM5  (USB: /dev/ttyUSB0, FT232R USB UART)"));
    QCOMPARE(list.itemText(8), QString("COM9  (ports/COM9 → /dev/pts/4, simulator)"));
    QCOMPARE(list.currentIndex(), 5);
    // The closed field is too narrow for a description: it shows the name alone.
    QCOMPARE(list.lineEdit()->text(), QString("COM6"));

    list.setCurrentIndex(8);
    emit list.activated(8);
    QCOMPARE(list.lineEdit()->text(), QString("COM9"));
    QCOMPARE(rig.keeper.settings().portNameText(), std::string("COM9"));
    QCOMPARE(rig.keeper.settings().portIndex, 8);
    QCOMPARE(rig.port.openedNames().back(), std::string("COM9"));
    // Typing the bare name picks the item that names that port.
    list.setCurrentIndex(-1);
    list.setEditText("COM5");
    emit list.lineEdit()->textEdited("COM5");
    QCOMPARE(rig.keeper.settings().portIndex, 4);
    QCOMPARE(rig.port.openedNames().back(), std::string("COM5"));
    // Chosen again from the open list, the same item still shows its bare name.
    list.setCurrentIndex(4);
    QCOMPARE(list.lineEdit()->text(), QString("COM5"));
    list.lineEdit()->setText(list.itemText(4));
    emit list.activated(4);
    QCOMPARE(list.lineEdit()->text(), QString("COM5"));

    // The port the user has just picked is not swapped for the USB port that is there.
    vtl::UsbPortOffer offer(rig.keeper, findPorts);
    rig.channel.setPortOffer(&offer);
    rig.port.refuseOpeningOf("COM9", {});
    rig.prompter.clear();
    list.setCurrentIndex(8);
    emit list.activated(8);
    QCOMPARE(rig.texts(), (std::vector<std::string>{"Błąd komunikacji z portem: COM9",
                                                    "Błąd komunikacji z portem: COM9"}));
    QCOMPARE(rig.keeper.settings().portNameText(), std::string("COM9"));
}

void SettingsDialogTest::everyWayOfClosingClosesThePort() {
    Rig rig;
    QVERIFY(rig.channel.isOpen());
    QVERIFY(rig.dialog.close());
    QVERIFY(!rig.port.isOpen() && !rig.channel.isOpen());

    rig.channel.openPort("COM5");
    rig.dialog.show();
    QTest::keyClick(&rig.dialog, Qt::Key_Escape);
    QVERIFY(!rig.dialog.isVisible());
    QVERIFY(!rig.channel.isOpen());
}

void SettingsDialogTest::escapeInAnyFieldClosesAndWritesNothing() {
    Rig rig;
    const TFormUstawienia& d = rig.dialog;
    for (QWidget* field : std::initializer_list<QWidget*>{
             d.CB_Numer_Portu, d.E_Poziom, d.E_Kal_Temp, d.E_NrZaw, d.ComboBox_ImPomiarow,
             d.ComboB_Zer, d.E_NrSer, d.E_CzasOp, d.B_wyslij}) {
        rig.channel.openPort("COM5");
        rig.dialog.show();
        rig.dialog.showTriggerMetres(50);
        rig.dialog.showCompetitorNumber(12);
        rig.dialog.showDelaySeconds(60);
        rig.dialog.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&rig.dialog));
        field->setFocus();
        QTest::keyClick(field, Qt::Key_Escape);
        QVERIFY2(!rig.dialog.isVisible(), qPrintable(field->objectName()));
        QCOMPARE(rig.dialog.result(), int(QDialog::Rejected));
        QVERIFY(!rig.channel.isOpen());
    }
    QVERIFY(rig.port.frames().empty());
    QVERIFY(rig.prompter.messages().empty());
}

QTEST_MAIN(SettingsDialogTest)
#include "settings_dialog_test.moc"
