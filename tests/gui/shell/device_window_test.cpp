// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/shell/main_window.h"

#include "core/flight/flight_record.h"
#include "flight_synthesiser.h"
#include "support/fake_device.h"
#include "support/scripted_prompter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct NoPriority : vtl::ProcessPriority {
    void raise() override {}
    void restore() override {}
};

std::vector<uint8_t> flightImage(int32_t peakCm) {
    vtl::testing::FlightDescription flight;
    flight.competitorNumber = 77;
    flight.altitudeCm.assign(10, 0);
    for (int i = 1; i <= 200; ++i) {
        flight.altitudeCm.push_back(peakCm * i / 200);
    }
    for (int i = 1; i <= 300; ++i) {
        flight.altitudeCm.push_back(peakCm - peakCm * i / 300);
    }
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
    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<vtl::testing::FakeClock> m_clock;
    std::unique_ptr<vtl::testing::FakeDevice> m_device;
    std::unique_ptr<vtl::testing::DeviceModel> m_model;
    std::unique_ptr<vtl::testing::ScriptedPrompter> m_prompter;
    NoPriority m_priority;
    std::unique_ptr<TVantorel_BMP> m_window;
};

void DeviceWindowTest::init() {
    m_folder = std::make_unique<QTemporaryDir>();
    m_clock = std::make_unique<vtl::testing::FakeClock>();
    m_device = std::make_unique<vtl::testing::FakeDevice>(*m_clock);
    m_model = std::make_unique<vtl::testing::DeviceModel>();
    m_model->image = flightImage(6000);
    m_device->setResponder(m_model->responder());
    m_prompter = std::make_unique<vtl::testing::ScriptedPrompter>();
    m_window =
        std::make_unique<TVantorel_BMP>(m_folder->filePath("vantorel.par"), *m_prompter, QString(),
                                        DeviceLink{m_device.get(), m_clock.get(), &m_priority});
    m_window->setArchiveFolder(m_folder->filePath("flights"));
}

void DeviceWindowTest::cleanup() {
    m_window.reset();
    m_prompter.reset();
    m_device.reset();
    m_clock.reset();
    m_model.reset();
    m_folder.reset();
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
    m_prompter->answerNextFiles({m_folder->filePath("kept.bin").toStdString()});
    f.BZapisz->click();
    QFile kept(m_folder->filePath("kept.bin"));
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.size(), static_cast<qint64>(length));
}

void DeviceWindowTest::theOneUsbPortIsOfferedAndTheDownloadGoesOnThere() {
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
    QFile file(m_folder->filePath("vantorel.par"));
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
    const QDir archive(m_folder->filePath("flights"));
    const QStringList kept = archive.entryList(QDir::Files);
    QCOMPARE(kept.size(), 2);
    QVERIFY(kept[0].contains("_S1234_C77"));
    QVERIFY(kept[1].contains("_S1234_C77"));

    m_prompter->answerNextFiles({m_folder->filePath("saved.bin").toStdString()});
    m_window->form().BZapisz->click();
    QFile saved(m_folder->filePath("saved.bin"));
    QFile archived(archive.filePath(kept[0]));
    QVERIFY(saved.open(QIODevice::ReadOnly) && archived.open(QIODevice::ReadOnly));
    QCOMPARE(archived.readAll(), saved.readAll());

    // Until a file has been chosen, the open dialog starts in the archive.
    TVantorel_BMP fresh(m_folder->filePath("other.par"), *m_prompter);
    fresh.setArchiveFolder(archive.path());
    fresh.form().BOdczyt->click();
    QCOMPARE(m_prompter->fileDialogs().back().second, (archive.path() + "/").toStdString());
}

void DeviceWindowTest::anArchiveThatCannotBeWrittenIsReportedOnce() {
    QFile blocker(m_folder->filePath("blocker"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    m_window->setArchiveFolder(m_folder->filePath("blocker/flights"));
    m_window->form().B_Odczyt_Vantorelu->click();
    m_model->newFlight = true;
    m_window->form().B_Odczyt_Vantorelu->click();
    QCOMPARE(m_prompter->messages().size(), size_t{1});
    QCOMPARE(m_prompter->messages()[0].text,
             "Nie można zapisać archiwum: " + m_folder->filePath("blocker/flights").toStdString());
    QCOMPARE(m_window->form().Chart1->pointCount(ChartView::Series1), 511 - 5);
}

QTEST_MAIN(DeviceWindowTest)
#include "device_window_test.moc"
