// SPDX-License-Identifier: GPL-3.0-or-later
// The window's side of a download that does not simply succeed: an incomplete or undecodable
// flight, the user's cancel, and input while the transfer runs.
#include "gui/shell/main_window.h"

#include "core/device/command_frame.h"
#include "core/flight/flight_record.h"
#include "support/test_files.h"
#include "support/window_rig.h"

#include <QDir>
#include <QtTest>

namespace {

using vtl::testing::FakeDevice;

std::vector<uint8_t> flightImage(int32_t peakCm, uint16_t competitor) {
    vtl::testing::FlightDescription flight;
    flight.competitorNumber = competitor;
    flight.altitudeCm = vtl::testing::climbAndGlide(200, peakCm, 2000);
    return vtl::testing::synthesiseFlightImage(flight);
}

} // namespace

class DownloadWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void incompleteDownloadIsDrawnToldAndArchivedAsPartial();
    void undecodableDownloadIsKeptAndThePreviousFlightDrawnAgain();
    void escapeCancelsAndThePreviousFlightIsShownAndSaved();
    void transferOfNoImageShowsTheLoadedFileAgain();
    void onlyTheCancelButtonReactsDuringTheTransfer();
    void closingDuringTheTransferCancelsItFirst();
    void defaultSetupDeclinedSendsNothing();

private:
    void downloadFirstFlight();
    bool transferRunning() const;
    QStringList archived() const { return m_rig->archived(); }

    std::unique_ptr<vtl::testing::WindowRig> m_rig;
    vtl::testing::ActingClock* m_clock = nullptr;
    FakeDevice* m_device = nullptr;
    vtl::testing::DeviceModel* m_model = nullptr;
    vtl::testing::ScriptedPrompter* m_prompter = nullptr;
    TVantorel_BMP* m_window = nullptr;
    QString m_firstMaximum;
    int m_firstPoints = 0;
};

void DownloadWindowTest::init() {
    m_rig = std::make_unique<vtl::testing::WindowRig>();
    m_clock = &m_rig->clock();
    m_device = &m_rig->device();
    m_model = &m_rig->model();
    m_prompter = &m_rig->prompter();
    m_model->image = flightImage(6000, 7);
    m_window = &m_rig->open();
}

void DownloadWindowTest::cleanup() {
    m_rig.reset();
}

// A first flight (60 m) on screen; the next download brings a second one (90 m).
void DownloadWindowTest::downloadFirstFlight() {
    MainWindowForm& f = m_window->form();
    m_window->form().B_Odczyt_Vantorelu->click();
    QVERIFY(m_prompter->messages().empty());
    m_firstMaximum = f.E_MaxGl->text();
    m_firstPoints = f.Chart1->pointCount(ChartView::Series1);
    QVERIFY(m_firstMaximum.startsWith("59.") || m_firstMaximum.startsWith("60"));
    m_model->image = flightImage(9000, 8);
    m_model->newFlight = true;
}

// Polling, that is: the line drained after a cancelled transfer is no longer the transfer.
bool DownloadWindowTest::transferRunning() const {
    return !m_device->frames().empty() &&
           m_device->frames().back()[1] == vtl::protocol::kTransfer && m_device->isOpen() &&
           !m_window->form().B_Przerwij->isHidden();
}

void DownloadWindowTest::incompleteDownloadIsDrawnToldAndArchivedAsPartial() {
    MainWindowForm& f = m_window->form();
    m_window->form().English1->trigger();
    m_device->setResponder(
        [this, inner = m_model->responder()](const FakeDevice::Frame& frame, FakeDevice& device) {
            if (frame[1] == vtl::protocol::kTransfer) {
                device.deliverPaced({m_model->image.begin(), m_model->image.begin() + 4000}, 1047);
            } else {
                inner(frame, device);
            }
        });
    f.B_Odczyt_Vantorelu->click();
    QCOMPARE(m_prompter->messages().size(), size_t{1});
    const std::string announced = std::to_string((m_model->image.size() + 31) / 32 * 32);
    QCOMPARE(m_prompter->messages()[0].text,
             "Incomplete download: received 4000 of " + announced + " bytes");
    QCOMPARE(m_prompter->messages()[0].caption, std::string("Vantoreal - error"));
    // What came is drawn: (4000 - 32) / 4 slots less the five the drawing keeps back.
    QCOMPARE(f.Chart1->pointCount(ChartView::Series1), 992 - 5);
    QCOMPARE(f.E_NrZawodnika->text(), QString("7"));
    const QStringList kept = archived();
    QCOMPARE(kept.size(), 1);
    QVERIFY2(kept[0].endsWith("_S1234_C7_partial.bin"), qPrintable(kept[0]));
}

void DownloadWindowTest::undecodableDownloadIsKeptAndThePreviousFlightDrawnAgain() {
    downloadFirstFlight();
    MainWindowForm& f = m_window->form();
    f.GroupB_Vtl->setTitle("first.bin");
    m_model->image[16] = 0; // a zero coefficient makes the sensor's divisor zero
    m_model->image[17] = 0;
    f.B_Odczyt_Vantorelu->click();

    const QStringList kept = archived();
    QCOMPARE(kept.size(), 2);
    const QString corrupt = kept.filter("_corrupt.bin").value(0);
    QVERIFY2(corrupt.endsWith("_S1234_C8_corrupt.bin"), qPrintable(kept.join(' ')));
    QFile copy(QDir(m_rig->path("flights")).filePath(corrupt));
    QVERIFY(copy.open(QIODevice::ReadOnly));
    QCOMPARE(copy.size(), static_cast<qint64>(m_model->image.size()));

    QCOMPARE(m_prompter->messages().size(), size_t{1});
    QCOMPARE(m_prompter->messages()[0].text,
             "Uszkodzone dane pomiaru\nZachowano jako: " +
                 QDir::toNativeSeparators(copy.fileName()).toStdString());
    // The previous flight, still in memory, is what the window shows.
    QCOMPARE(f.E_MaxGl->text(), m_firstMaximum);
    QCOMPARE(f.Chart1->pointCount(ChartView::Series1), m_firstPoints);
    QCOMPARE(f.E_NrZawodnika->text(), QString("7"));
    QCOMPARE(f.GroupB_Vtl->title(), QString("first.bin"));
}

void DownloadWindowTest::escapeCancelsAndThePreviousFlightIsShownAndSaved() {
    downloadFirstFlight();
    MainWindowForm& f = m_window->form();
    int pollsSeen = 0;
    int drainSteps = 0;
    // The first download's transfer frame is the last one sent until this one sends its own.
    const size_t framesBefore = m_device->frames().size();
    m_clock->onSleep = [&] {
        if (m_device->frames().size() > framesBefore && transferRunning() && ++pollsSeen == 3) {
            QVERIFY(!f.B_Przerwij->isHidden());
            QTest::keyClick(f.Chart1, Qt::Key_Escape);
        } else if (pollsSeen >= 3 && m_device->isOpen() && ++drainSteps == 1) {
            // The line is being drained: the indicators are gone and the previous flight is back.
            QVERIFY(f.B_Przerwij->isHidden());
            QCOMPARE(f.Chart1->pointCount(ChartView::Series1), m_firstPoints);
            QCOMPARE(f.E_MaxGl->text(), m_firstMaximum);
        }
    };
    const int64_t before = m_clock->slept();
    f.B_Odczyt_Vantorelu->click();
    m_clock->onSleep = nullptr;

    QVERIFY(drainSteps > 0);
    QVERIFY(m_prompter->messages().empty());
    // The clear line, two exchanges and three polls, then the line drained while the device went
    // on sending.
    const int64_t elapsed = m_clock->slept() - before - vtl::SerialChannel::kClearQuietMs;
    QVERIFY(elapsed >= 2 * 2 * 250 + 3 * 100 + vtl::SerialChannel::kDrainQuietMs);
    QVERIFY(elapsed <= 2 * 2 * 250 + 3 * 100 + vtl::SerialChannel::kDrainLimitMs);
    QVERIFY(!m_window->serialChannel().isOpen());
    QVERIFY(f.B_Przerwij->isHidden());
    QVERIFY(f.ECzekaj->isHidden());
    QCOMPARE(archived().size(), 1); // nothing of the cancelled transfer
    QCOMPARE(f.E_MaxGl->text(), m_firstMaximum);
    QCOMPARE(f.Chart1->pointCount(ChartView::Series1), m_firstPoints);

    m_prompter->answerNextFiles({m_rig->path("kept.bin").toStdString()});
    f.BZapisz->click();
    QFile kept(m_rig->path("kept.bin"));
    QFile first(QDir(m_rig->path("flights")).filePath(archived()[0]));
    QVERIFY(kept.open(QIODevice::ReadOnly) && first.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), first.readAll());
}

// A transfer that brings less than a header leaves the loaded file on the chart and in the
// panel's title, which stays the file's name in either language.
void DownloadWindowTest::transferOfNoImageShowsTheLoadedFileAgain() {
    MainWindowForm& f = m_window->form();
    vtl::testing::FlightDescription flight;
    flight.altitudeCm = vtl::testing::climbAndGlide(200, 4000, 300);
    m_rig->load(m_rig->writeFlight("first.bin", flight));
    const int points = f.Chart1->pointCount(ChartView::Series1);
    QVERIFY(points > 0);
    m_device->setResponder(
        [inner = m_model->responder()](const FakeDevice::Frame& frame, FakeDevice& device) {
            if (frame[1] == vtl::protocol::kTransfer) {
                device.deliver(std::vector<uint8_t>(20, 0x55));
            } else {
                inner(frame, device);
            }
        });
    f.B_Odczyt_Vantorelu->click();
    QCOMPARE(m_prompter->messages().size(), size_t{1});
    QCOMPARE(m_prompter->messages()[0].text, std::string("Błąd komunikacji"));
    QCOMPARE(f.Chart1->pointCount(ChartView::Series1), points);
    QCOMPARE(f.GroupB_Vtl->title(), QString("first.bin"));
    f.English1->trigger();
    QCOMPARE(f.GroupB_Vtl->title(), QString("first.bin"));

    // A download that brings a flight names the device again.
    m_device->setResponder(m_model->responder());
    f.B_Odczyt_Vantorelu->click();
    f.Polski1->trigger();
    QCOMPARE(f.GroupB_Vtl->title(), QString("Vantorel"));
}

void DownloadWindowTest::onlyTheCancelButtonReactsDuringTheTransfer() {
    MainWindowForm& f = m_window->form();
    int pollsSeen = 0;
    m_clock->onSleep = [&] {
        if (!transferRunning()) {
            return;
        }
        ++pollsSeen;
        if (pollsSeen == 2) {
            QTest::mouseClick(f.BOdczyt, Qt::LeftButton);
            QTest::keyClick(f.E_TempGl, Qt::Key_F1);
        } else if (pollsSeen == 4) {
            QTest::mouseClick(f.B_Przerwij, Qt::LeftButton);
        }
    };
    f.B_Odczyt_Vantorelu->click();
    m_clock->onSleep = nullptr;
    QCOMPARE(pollsSeen, 4);
    QVERIFY(m_prompter->fileDialogs().empty());
    QVERIFY(m_prompter->openedDocuments().empty());
    QVERIFY(m_prompter->messages().empty());
    QVERIFY(!m_window->currentFlight().holdsFlight());
    QVERIFY(archived().isEmpty());

    // Once the transfer is over, the window reacts again.
    QTest::mouseClick(f.BOdczyt, Qt::LeftButton);
    QCOMPARE(m_prompter->fileDialogs().size(), size_t{1});
}

void DownloadWindowTest::closingDuringTheTransferCancelsItFirst() {
    MainWindowForm& f = m_window->form();
    m_window->show();
    bool closedDuringTransfer = false;
    m_clock->onSleep = [&] {
        if (transferRunning() && !closedDuringTransfer) {
            closedDuringTransfer = true;
            QVERIFY(!m_window->close()); // refused for now
            QVERIFY(m_window->isVisible());
        }
    };
    f.B_Odczyt_Vantorelu->click();
    m_clock->onSleep = nullptr;
    QVERIFY(closedDuringTransfer);
    QVERIFY(!m_window->isVisible());
    QVERIFY(!m_window->serialChannel().isOpen());
    QVERIFY(archived().isEmpty());
    QVERIFY(m_prompter->messages().empty());
}

void DownloadWindowTest::defaultSetupDeclinedSendsNothing() {
    m_prompter->answerNextMessages({false});
    m_window->form().Se1->trigger();
    QVERIFY(m_device->frames().empty());
    QVERIFY(m_window->form().Chart1->setupOkIndicator()->isHidden());
    QCOMPARE(m_prompter->messages().size(), size_t{1});
    QCOMPARE(m_prompter->messages()[0].buttons, vtl::PromptButtons::OkCancel);
}

QTEST_MAIN(DownloadWindowTest)
#include "download_window_test.moc"
