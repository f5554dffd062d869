// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/shell/main_window.h"

#include "core/flight/flight_record.h"
#include "support/test_files.h"
#include "support/window_rig.h"

#include <QDir>
#include <QFile>
#include <QtTest>

namespace {

std::vector<uint8_t> flightImage(int32_t peakCm) {
    vtl::testing::FlightDescription flight;
    flight.competitorNumber = 77;
    flight.altitudeCm = vtl::testing::climbAndGlide(200, peakCm, 300);
    return vtl::testing::synthesiseFlightImage(flight);
}

} // namespace

class DeviceWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void downloadDrawsTheFlight();
    void failedDownloadKeepsThePreviousFlight();
    void portThatCannotBeOpenedIsReported();
    void theOneUsbPortIsOfferedAndTheDownloadGoesOnThere();
    void defaultSetupShowsOkForASecond();
    void everyDownloadIsArchived();
    void anArchiveThatCannotBeWrittenIsReportedOnce();

private:
    std::unique_ptr<vtl::testing::WindowRig> m_rig;
    vtl::testing::ScriptedPrompter* m_prompter = nullptr;
    vtl::testing::FakeDevice* m_device = nullptr;
    vtl::testing::FakeClock* m_clock = nullptr;
    vtl::testing::DeviceModel* m_model = nullptr;
    TVantorel_BMP* m_window = nullptr;
};

void DeviceWindowTest::init() {
    m_rig = std::make_unique<vtl::testing::WindowRig>();
    m_prompter = &m_rig->prompter();
    m_device = &m_rig->device();
    m_clock = &m_rig->clock();
    m_model = &m_rig->model();
    m_model->image = flightImage(6000);
    m_window = &m_rig->open();
}

void DeviceWindowTest::cleanup() {
    m_rig.reset();
}

void DeviceWindowTest::downloadDrawsTheFlight() {
    MainWindowForm& f = m_window->form();
    f.GroupB_Vtl->setTitle("old.bin");
    f.B_Odczyt_Vantorelu->click();
    QVERIFY(m_prompter->messages().empty());
    QCOMPARE(f.GroupB_Vtl->title(), QString("Vantorel"));
    QCOMPARE(f.E_NrZawodnika->text(), QString("77"));
    QCOMPARE(f.Chart1->pointCount(ChartView::Series1), 511 - 5);
    QVERIFY(f.E_MaxGl->text().startsWith("59.") || f.E_MaxGl->text().startsWith("60"));
    QVERIFY(f.E_PobDan->isHidden());
    QVERIFY(f.ECzekaj->isHidden());
    QCOMPARE(m_device->openedNames(), std::vector<std::string>{"COM5"});
    QVERIFY(!m_window->serialChannel().isOpen());
    // The image is kept with the reference word the device announced.
    QCOMPARE(m_window->currentFlight().rawLength, static_cast<int32_t>(m_model->image.size()));
}

void DeviceWindowTest::failedDownloadKeepsThePreviousFlight() {
    MainWindowForm& f = m_window->form();
    f.B_Odczyt_Vantorelu->click();
    const auto before = m_window->currentFlight().rawImage;
    const int32_t length = m_window->currentFlight().rawLength;
    const QString maximum = f.E_MaxGl->text();
    const int points = f.Chart1->pointCount(ChartView::Series1);

    m_model->image.resize(20); // the transfer stops after 20 bytes
    m_model->newFlight = true;
    f.B_Odczyt_Vantorelu->click();
    QCOMPARE(m_prompter->messages().back().text, std::string("Błąd komunikacji"));
    QCOMPARE(m_window->currentFlight().rawLength, length);
    QVERIFY(m_window->currentFlight().rawImage == before);
    // The flight still in memory is drawn again, with its statistics.
    QCOMPARE(f.E_MaxGl->text(), maximum);
    QCOMPARE(f.Chart1->pointCount(ChartView::Series1), points);
    QVERIFY(f.ECzekaj->isHidden());

    // A save now still writes the previous flight.
    m_prompter->answerNextFiles({m_rig->path("kept.bin").toStdString()});
    f.BZapisz->click();
    QFile kept(m_rig->path("kept.bin"));
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.size(), static_cast<qint64>(length));
}

void DeviceWindowTest::theOneUsbPortIsOfferedAndTheDownloadGoesOnThere() {
#ifdef Q_OS_WIN
    QSKIP("the port list is Linux's (/dev/ttyUSB0 behind COM5)");
#endif
    m_window->setPortFinder([] {
        return vtl::PortFinder({{"/dev/ttyUSB0", "FT232R USB UART", "FTDI", 0x0403, 0x6001, true}},
                               {});
    });
    m_window->programSettings().setPortName("COM7");
    m_window->programSettings().portIndex = 6;
    m_device->refuseOpeningOf("COM7", {vtl::PortOpenFailure::NotFound, "/dev/ttyUSB2"});

    MainWindowForm& f = m_window->form();
    f.B_Odczyt_Vantorelu->click();
    QCOMPARE(m_prompter->messages().size(), size_t{2});
    QCOMPARE(m_prompter->messages()[0].text,
             std::string("Błąd komunikacji z portem: COM7\nNie ma urządzenia /dev/ttyUSB2."));
    QCOMPARE(m_prompter->messages()[1].text, std::string("Użyć COM5?"));
    QCOMPARE(f.E_NrZawodnika->text(), QString("77"));
    QCOMPARE(m_device->openedNames(), (std::vector<std::string>{"COM7", "COM5"}));
    QFile file(m_rig->path("vantorel.par"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll().left(12), QByteArray("COM5\0\0\0\0\x04\0\0\0", 12));
}

void DeviceWindowTest::portThatCannotBeOpenedIsReported() {
    m_device->refuseOpening(true);
    m_window->form().English1->trigger();
    m_window->form().BZerowanie->click();
    const auto& messages = m_prompter->messages();
    QCOMPARE(messages.size(), size_t{2});
    QCOMPARE(messages[0].text, std::string("Reset. Sure?"));
    QCOMPARE(messages[1].text, std::string("Communication Error: COM5"));
    QCOMPARE(messages[1].caption, std::string("Vantoreal - error"));
}

void DeviceWindowTest::defaultSetupShowsOkForASecond() {
    QLineEdit* ok = m_window->form().Chart1->setupOkIndicator();
    m_window->form().Se1->trigger();
    QVERIFY(m_clock->slept() >= 1000 + 500 + 200 + 2 * 250);
    QVERIFY(ok->isHidden());
    QCOMPARE(m_prompter->messages().size(), size_t{1}); // the question, answered OK
    QCOMPARE(m_model->triggerQuarterMetres, uint16_t{0x78});
    QCOMPARE(m_model->samplingCode, uint8_t{1});
}

void DeviceWindowTest::everyDownloadIsArchived() {
    m_window->form().B_Odczyt_Vantorelu->click();
    m_window->form().B_Odczyt_Vantorelu->click();
    const QDir archive(m_rig->path("flights"));
    const QStringList kept = archive.entryList(QDir::Files);
    QCOMPARE(kept.size(), 2);
    QVERIFY(kept[0].contains("_S1234_C77"));
    QVERIFY(kept[1].contains("_S1234_C77"));

    m_prompter->answerNextFiles({m_rig->path("saved.bin").toStdString()});
    m_window->form().BZapisz->click();
    QFile saved(m_rig->path("saved.bin"));
    QFile archived(archive.filePath(kept[0]));
    QVERIFY(saved.open(QIODevice::ReadOnly) && archived.open(QIODevice::ReadOnly));
    QCOMPARE(archived.readAll(), saved.readAll());

    // Until a file has been chosen, the open dialog starts in the archive.
    TVantorel_BMP fresh(m_rig->path("other.par"), *m_prompter);
    fresh.setArchiveFolder(archive.path());
    fresh.form().BOdczyt->click();
    QCOMPARE(m_prompter->fileDialogs().back().second, (archive.path() + "/").toStdString());
}

void DeviceWindowTest::anArchiveThatCannotBeWrittenIsReportedOnce() {
    QFile blocker(m_rig->path("blocker"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    m_window->setArchiveFolder(m_rig->path("blocker/flights"));
    m_window->form().B_Odczyt_Vantorelu->click();
    m_model->newFlight = true;
    m_window->form().B_Odczyt_Vantorelu->click();
    QCOMPARE(m_prompter->messages().size(), size_t{1});
    QCOMPARE(m_prompter->messages()[0].text,
             "Nie można zapisać archiwum: " + m_rig->path("blocker/flights").toStdString());
    QCOMPARE(m_window->form().Chart1->pointCount(ChartView::Series1), 511 - 5);
}

QTEST_MAIN(DeviceWindowTest)
#include "device_window_test.moc"
