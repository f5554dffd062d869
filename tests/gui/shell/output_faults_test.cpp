// SPDX-License-Identifier: GPL-3.0-or-later
// Every file the window writes, where the file system refuses it: the old file keeps its bytes,
// no temporary file is left beside it, and the user is told once. And the settings file that the
// window starts from, when it is unreadable, a folder, read-only, empty or too long.
#include "gui/shell/main_window.h"

#include "platform/settings_location.h"

#include "core/files/flight_archive.h"
#include "core/files/output_title.h"
#include "core/flight/flight_image.h"
#include "core/flight/flight_record.h"
#include "core/shell/framework_texts.h"
#include "core/shell/text_tables.h"
#include "support/file_faults.h"
#include "support/test_files.h"
#include "support/window_rig.h"

#include <QtTest>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <filesystem>

#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;
using vtl::testing::FaultyPlace;
using vtl::testing::FileFault;
using vtl::testing::writeBytes;

// A climb to 60 m in 15 s, then 24 s level.
std::vector<uint8_t> flightImage() {
    vtl::testing::FlightDescription flight;
    flight.samplingCode = 2;
    flight.altitudeCm = vtl::testing::climbAndGlide(150, 6000, 239, 6000);
    return vtl::testing::synthesiseFlightImage(flight);
}

// What the window told the user, leaving out the question whether to replace a file.
std::vector<std::string> told(const vtl::testing::ScriptedPrompter& prompter) {
    std::vector<std::string> texts;
    for (const auto& message : prompter.messages()) {
        if (message.buttons != vtl::PromptButtons::OkCancel) {
            texts.push_back(message.text);
        }
    }
    return texts;
}

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += (text.empty() ? "" : ", ") + line;
    }
    return text.empty() ? "nothing" : text;
}

void addFaultRows() {
    QTest::addColumn<FileFault>("fault");
    for (FileFault fault : vtl::testing::allFileFaults()) {
        QTest::newRow(vtl::testing::faultName(fault)) << fault;
    }
}

} // namespace

Q_DECLARE_METATYPE(FileFault)

class OutputFaultsTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void saveUnderFaults_data() { addFaultRows(); }
    void saveUnderFaults();
    void exportUnderFaults_data() { addFaultRows(); }
    void exportUnderFaults();
    void pictureUnderFaults_data() { addFaultRows(); }
    void pictureUnderFaults();
    void printIntoAFolder();
    void archiveUnderFaults_data() { addFaultRows(); }
    void archiveUnderFaults();
    void settingsUnderFaults_data() { addFaultRows(); }
    void settingsUnderFaults();
    void startsFromWhatTheSettingsFileGives_data();
    void startsFromWhatTheSettingsFileGives();

private:
    void openWindow(const QString& settingsPath);
    FaultyPlace& place(const std::string& targetName, const std::vector<uint8_t>& oldBytes);
    // Writes through the window's command into the faulty place and checks what is left.
    void writeInto(FaultyPlace& place, QAction* command);

    std::unique_ptr<vtl::testing::WindowRig> m_rig;
    vtl::testing::DeviceModel* m_model = nullptr;
    vtl::testing::ScriptedPrompter* m_prompter = nullptr;
    TVantorel_BMP* m_window = nullptr;
    std::unique_ptr<FaultyPlace> m_place;
};

void OutputFaultsTest::init() {
    m_rig = std::make_unique<vtl::testing::WindowRig>();
    m_model = &m_rig->model();
    m_model->image = flightImage();
    m_prompter = &m_rig->prompter();
}

void OutputFaultsTest::cleanup() {
    m_rig->close();
    m_place.reset();
    m_rig.reset();
}

void OutputFaultsTest::openWindow(const QString& settingsPath) {
    m_window = &m_rig->open(settingsPath);
    m_window->resize(1280, 900);
    m_window->show();
}

FaultyPlace& OutputFaultsTest::place(const std::string& targetName,
                                     const std::vector<uint8_t>& oldBytes) {
    QFETCH(FileFault, fault);
    m_place = std::make_unique<FaultyPlace>(fs::path(m_rig->folder().toStdString()), fault,
                                            targetName, oldBytes);
    return *m_place;
}

void OutputFaultsTest::writeInto(FaultyPlace& target, QAction* command) {
    QFETCH(FileFault, fault);
    m_prompter->clear();
    m_prompter->answerNextFiles({target.target().string()});
    if (command != nullptr) {
        command->trigger();
    } else {
        m_window->form().BZapisz->click();
    }
    // A folder is refused as such, before any question whether to replace it; a failed create
    // says what the system gave as its reason (a full disk, or a file-size limit standing in).
    const std::string path = target.target().string();
    std::vector<std::string> expected;
    switch (fault) {
    case FileFault::TargetIsFolder:
        expected = {vtl::isAFolderText(path, vtl::Language::Polish)};
        QCOMPARE(m_prompter->messages().size(), size_t{1});
        QCOMPARE(m_prompter->messages()[0].caption,
                 vtl::message(vtl::Message::ErrorCaption, vtl::Language::Polish));
        break;
    case FileFault::ReadOnlyFolder:
        expected = {vtl::cannotCreateFileText(path, EACCES, vtl::Language::Polish)};
        break;
    case FileFault::MissingFolder:
        expected = {vtl::cannotCreateFileText(path, ENOENT, vtl::Language::Polish)};
        break;
    case FileFault::FullDisk:
        expected = {vtl::cannotCreateFileText(path, ENOSPC, vtl::Language::Polish)};
        if (told(*m_prompter) != expected) {
            expected = {vtl::cannotCreateFileText(path, EFBIG, vtl::Language::Polish)};
        }
        break;
    }
    QVERIFY2(told(*m_prompter) == expected, ("told: " + joined(told(*m_prompter))).c_str());
    QVERIFY2(target.changes().empty(), ("changed: " + joined(target.changes())).c_str());
}

void OutputFaultsTest::saveUnderFaults() {
    openWindow(m_rig->path("vantorel.par"));
    writeBytes(m_rig->path("flight.bin").toStdString(), flightImage());
    m_prompter->answerNextFiles({m_rig->path("flight.bin").toStdString()});
    m_window->form().BOdczyt->click();
    FaultyPlace& target = place("lot7.bin", std::vector<uint8_t>(200, 0x5A));
    if (!target.unavailable().empty()) {
        QSKIP(target.unavailable().c_str());
    }
    writeInto(target, nullptr);
}

void OutputFaultsTest::exportUnderFaults() {
    openWindow(m_rig->path("vantorel.par"));
    m_window->form().B_Odczyt_Vantorelu->click();
    QVERIFY(m_prompter->messages().empty());
    const std::string old = "1.0\n\r2.0\n\r";
    FaultyPlace& target = place("lot.csv", std::vector<uint8_t>(old.begin(), old.end()));
    if (!target.unavailable().empty()) {
        QSKIP(target.unavailable().c_str());
    }
    writeInto(target, m_window->form().ZapiszdoExcela1);
}

void OutputFaultsTest::pictureUnderFaults() {
    openWindow(m_rig->path("vantorel.par"));
    m_window->form().B_Odczyt_Vantorelu->click();
    FaultyPlace& target = place("chart.bmp", {'B', 'M', 1, 2, 3});
    if (!target.unavailable().empty()) {
        QSKIP(target.unavailable().c_str());
    }
    ChartView& chart = *m_window->form().Chart1;
    const QColor screenPanel = chart.panelColor();
    writeInto(target, m_window->form().ZapiszObraz1);
    if (QTest::currentTestFailed()) {
        return;
    }
    // The screen look returns after a failed picture as after a written one.
    QCOMPARE(chart.panelColor(), screenPanel);
    QCOMPARE(chart.titleLines(), QStringList{QString::fromLatin1(vtl::kRestoredChartTitle)});
}

// A PDF file chosen where a folder stands is refused as the picture and the export are.
void OutputFaultsTest::printIntoAFolder() {
    openWindow(m_rig->path("vantorel.par"));
    m_window->form().B_Odczyt_Vantorelu->click();
    const fs::path folder = fs::path(m_rig->folder().toStdString()) / "page.pdf";
    fs::create_directories(folder / "inside");
    vtl::PrinterChoices choices;
    choices.outputFile = folder.string();
    m_prompter->answerPrinterSetup(choices);
    m_window->form().UstawDrukarke1->trigger();
    m_prompter->clear();
    m_window->form().Drukuj1->trigger();
    QCOMPARE(told(*m_prompter),
             std::vector<std::string>{vtl::isAFolderText(folder.string(), vtl::Language::Polish)});
    QVERIFY(m_window->form().LStatus->text().isEmpty());
    QCOMPARE(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}

// The archive makes a missing folder and steps aside from a name that is taken; a folder that
// refuses the copy is reported once, and neither stops the flight from being shown.
void OutputFaultsTest::archiveUnderFaults() {
    QFETCH(FileFault, fault);
    const std::time_t now = std::time(nullptr);
    std::string targetName = "earlier.bin";
    if (fault == FileFault::TargetIsFolder) {
        // Folders at the archive's names for the next seconds, so that the download meets one.
        const uint16_t serial =
            vtl::image::readWord(m_model->image.data(), vtl::image::kSerialNumber);
        const uint16_t competitor =
            vtl::image::readWord(m_model->image.data(), vtl::image::kCompetitorNumber);
        const fs::path folder = fs::path(m_rig->folder().toStdString()) / "folder-target";
        for (int second = 0; second < 10; ++second) {
            const std::time_t then = now + second;
            std::tm local{};
            localtime_r(&then, &local);
            targetName = vtl::archiveFileName(local, serial, competitor);
            fs::create_directories(folder / targetName);
        }
        std::tm local{};
        localtime_r(&now, &local);
        targetName = vtl::archiveFileName(local, serial, competitor);
    }
    FaultyPlace& target = place(targetName, std::vector<uint8_t>(64, 0x77));
    if (!target.unavailable().empty()) {
        QSKIP(target.unavailable().c_str());
    }
    openWindow(m_rig->path("vantorel.par"));
    m_window->setArchiveFolder(QString::fromStdString(target.folder().string()));
    MainWindowForm& f = m_window->form();
    f.B_Odczyt_Vantorelu->click();
    QVERIFY(f.E_MaxGl->text().startsWith("59.") || f.E_MaxGl->text().startsWith("60"));
    m_model->newFlight = true;
    f.B_Odczyt_Vantorelu->click();

    const std::vector<std::string> changes = target.changes();
    if (fault == FileFault::MissingFolder || fault == FileFault::TargetIsFolder) {
        QVERIFY2(m_prompter->messages().empty(), joined(told(*m_prompter)).c_str());
        QCOMPARE(changes.size(), size_t{2});
        for (const std::string& change : changes) {
            QVERIFY2(change.front() == '+' && change.find('/') == std::string::npos &&
                         change.find(".bin") == change.size() - 4,
                     change.c_str());
        }
        return;
    }
    QCOMPARE(m_prompter->messages().size(), size_t{1});
    QCOMPARE(m_prompter->messages()[0].text,
             vtl::message(vtl::Message::ArchiveFailed, vtl::Language::Polish) +
                 target.folder().string());
    QVERIFY2(changes.empty(), ("changed: " + joined(changes)).c_str());
    QVERIFY(f.E_MaxGl->text().startsWith("59.") || f.E_MaxGl->text().startsWith("60"));
}

// Every save of the run fails alike; the user hears of it once, and closing still ends.
void OutputFaultsTest::settingsUnderFaults() {
    std::vector<uint8_t> old(40, 0);
    const std::string port = "COM12";
    std::copy(port.begin(), port.end(), old.begin());
    old[8] = 11;
    FaultyPlace& target = place("vantorel.par", old);
    if (!target.unavailable().empty()) {
        QSKIP(target.unavailable().c_str());
    }
    openWindow(QString::fromStdString(target.target().string()));
    m_window->form().English1->trigger();
    m_window->form().Polski1->trigger();
    QVERIFY(m_window->close());
    QVERIFY(!m_window->isVisible());
    const std::string path = target.target().string();
    QFETCH(FileFault, fault);
    std::vector<std::string> expected;
    switch (fault) {
    case FileFault::TargetIsFolder:
        // A folder in the file's place is told as unreadable at the start, and never written.
        expected = {"Nie można odczytać pliku ustawień " + path, vtl::cannotCreateFileText(path)};
        break;
    // The first failed save is the switch to English, so the reason is told in English.
    case FileFault::ReadOnlyFolder:
        expected = {vtl::cannotCreateFileText(path, EACCES, vtl::Language::English)};
        break;
    case FileFault::MissingFolder:
        expected = {vtl::cannotCreateFileText(path, ENOENT, vtl::Language::English)};
        break;
    case FileFault::FullDisk:
        expected = {vtl::cannotCreateFileText(path, ENOSPC, vtl::Language::English)};
        if (told(*m_prompter) != expected) {
            expected = {vtl::cannotCreateFileText(path, EFBIG,
                                                  vtl::Language::English)}; // the file-size limit
        }
        break;
    }
    QVERIFY2(told(*m_prompter) == expected, ("told: " + joined(told(*m_prompter))).c_str());
    QVERIFY2(target.changes().empty(), ("changed: " + joined(target.changes())).c_str());
}

void OutputFaultsTest::startsFromWhatTheSettingsFileGives_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("overlaid");
    QTest::addColumn<bool>("told");
    QTest::newRow("unreadable") << QString("unreadable") << false << true;
    QTest::newRow("folder") << QString("folder") << false << true;
    QTest::newRow("read-only") << QString("read-only") << true << false;
    QTest::newRow("empty") << QString("empty") << false << false;
    QTest::newRow("1,000 bytes") << QString("long") << true << false;
}

// The file beside the program as the program finds it, with the user's configuration folder in
// the test's own folder. An unreadable or read-only file is never written: the choices of the
// run go to the configuration folder, where the next start finds them.
void OutputFaultsTest::startsFromWhatTheSettingsFileGives() {
    QFETCH(QString, kind);
    QFETCH(bool, overlaid);
    QFETCH(bool, told);
    struct RestoreConfigHome {
        QByteArray value = qgetenv("XDG_CONFIG_HOME");
        ~RestoreConfigHome() {
            value.isNull() ? qunsetenv("XDG_CONFIG_HOME") : qputenv("XDG_CONFIG_HOME", value);
        }
    } restoreConfigHome;
    qputenv("XDG_CONFIG_HOME", m_rig->path("config").toLocal8Bit());

    vtl::ProgramSettings chosen = vtl::defaultProgramSettings();
    chosen.setPortName("COM12");
    chosen.portIndex = 11;
    chosen.language = 1;
    chosen.showAcceleration = 0;
    chosen.finalFilterLength = 30;
    const auto record = vtl::encodeProgramSettings(chosen);
    std::vector<uint8_t> bytes(record.begin(), record.end());

    const fs::path path = fs::path(m_rig->folder().toStdString()) / "vantorel.par";
    const std::string userFolder = m_rig->path("config/vantorel").toStdString();
    const mode_t mode = kind == "read-only" ? 0444 : 0;
    std::unique_ptr<vtl::testing::WithoutPermissionOverride> withoutOverride;
    if (kind == "folder") {
        fs::create_directories(path / "inside");
    } else if (kind == "empty") {
        writeBytes(path, {});
    } else if (kind == "long") {
        bytes.resize(1000, 0xEE);
        writeBytes(path, bytes);
    } else {
        writeBytes(path, bytes);
        ::chmod(path.c_str(), mode);
        withoutOverride = std::make_unique<vtl::testing::WithoutPermissionOverride>();
        if (std::FILE* file = std::fopen(path.c_str(), mode == 0 ? "rb" : "ab")) {
            std::fclose(file);
            QSKIP("file permissions do not bind here");
        }
    }
    const auto openAsTheProgram = [&] {
        m_window = &m_rig->open(vtl::settingsPlacesForFile(QString::fromStdString(path.string())));
    };
    openAsTheProgram();

    const vtl::ProgramSettings expected = overlaid ? chosen : vtl::defaultProgramSettings();
    QVERIFY(m_window->programSettings() == expected);
    MainWindowForm& f = m_window->form();
    QCOMPARE(f.English1->isChecked(), overlaid);
    QCOMPARE(f.Polski1->isChecked(), !overlaid);
    QCOMPARE(f.Przyspieszenie1->isChecked(), !overlaid);
    std::vector<std::string> toldAtStart;
    if (told) {
        toldAtStart.push_back("Nie można odczytać pliku ustawień " + path.string() +
                              "\nUstawienia zostaną zapisane w " + userFolder + ".");
    }
    QVERIFY2(::told(*m_prompter) == toldAtStart, joined(::told(*m_prompter)).c_str());
    // Starting writes nothing: whatever stood there is as it was.
    if (kind == "long") {
        QCOMPARE(vtl::testing::readBytes(path), bytes);
    }
    if (!told && kind != "read-only") {
        return;
    }

    // Choices of this run, and the close that saves them.
    f.English1->trigger();
    f.Przyspieszenie1->trigger();
    QVERIFY(m_window->close());
    m_rig->close();
    QVERIFY2(::told(*m_prompter) == toldAtStart, joined(::told(*m_prompter)).c_str());
    if (kind == "folder") {
        QVERIFY(fs::is_directory(path / "inside"));
    } else {
        ::chmod(path.c_str(), 0644);
        QCOMPARE(vtl::testing::readBytes(path), bytes);
        ::chmod(path.c_str(), mode);
    }
    QVERIFY(fs::is_regular_file(userFolder + "/vantorel.par"));

    m_prompter->clear();
    openAsTheProgram();
    QCOMPARE(m_window->programSettings().language, 1);
    QCOMPARE(m_window->programSettings().showAcceleration, overlaid ? 1 : 0);
    QCOMPARE(m_window->programSettings().finalFilterLength, overlaid ? 30 : 12);
    m_rig->close();
    withoutOverride.reset();
    ::chmod(path.c_str(), 0644);
}

QTEST_MAIN(OutputFaultsTest)
#include "output_faults_test.moc"
