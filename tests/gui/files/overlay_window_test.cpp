// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/files/overlay_window.h"

#include "core/files/overlay_texts.h"
#include "gui/chart/chart_view.h"
#include "gui/files/flight_log_window.h"
#include "gui/shell/main_window.h"
#include "support/window_rig.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QtTest>

#include <algorithm>

namespace {

using vtl::testing::writeFile;

QByteArray flightBytes(int32_t peakCm, uint16_t competitor, int groundSamples) {
    vtl::testing::FlightDescription flight;
    flight.competitorNumber = competitor;
    flight.altitudeCm = vtl::testing::climbAndGlide(200, peakCm, 400, -200, groundSamples);
    return vtl::testing::flightBytes(flight);
}

// Where the curve is highest, on the overlay's common time base.
size_t peakIndex(const vtl::OverlayFlight& flight) {
    return static_cast<size_t>(std::max_element(flight.curveCm.begin(), flight.curveCm.end()) -
                               flight.curveCm.begin());
}

// Whether the picture has a pixel of exactly this colour: each curve and its legend line are
// drawn in their colour, so a flight not drawn leaves its colour out.
bool hasColour(const QImage& picture, const QColor& colour) {
    const QImage image = picture.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if ((line[x] & 0xffffff) == (colour.rgb() & 0xffffff)) {
                return true;
            }
        }
    }
    return false;
}

} // namespace

class OverlayWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void theLogOffersAnOverlayForTwoToEightRows();
    void everyGoodFlightDrawnAndAMissingOneNamed();
    void theSwitchAlignsTheFlightsAnew();
    void aSavedOverlayOpensWithTheSameFlights();
    void picturePrintAndLanguageAsTheMainWindow();

private:
    QString path(const QString& name) const { return m_rig->path(name); }
    std::string flight(int index) const {
        return path(QStringLiteral("flights/f%1.bin").arg(index)).toStdString();
    }
    FlightLogWindow* openLog();

    std::unique_ptr<vtl::testing::WindowRig> m_rig;
    vtl::testing::ScriptedPrompter* m_prompter = nullptr;
    TVantorel_BMP* m_window = nullptr;
};

// Nine flights of different heights; the odd ones wait longer on the ground before the launch.
void OverlayWindowTest::init() {
    m_rig = std::make_unique<vtl::testing::WindowRig>();
    QDir(m_rig->folder()).mkdir(QStringLiteral("flights"));
    for (int i = 0; i < 9; ++i) {
        writeFile(QString::fromStdString(flight(i)),
                  flightBytes(5000 + 1000 * i, static_cast<uint16_t>(10 + i), i % 2 ? 150 : 10));
    }
    m_prompter = &m_rig->prompter();
    m_window = &m_rig->open();
}

void OverlayWindowTest::cleanup() {
    QLocale::setDefault(QLocale::c());
    m_rig.reset();
}

FlightLogWindow* OverlayWindowTest::openLog() {
    m_window->form().Dziennik1->trigger();
    FlightLogWindow* log = m_window->flightLogWindow();
    QSignalSpy finished(log, &FlightLogWindow::scanFinished);
    if (log->scanning()) {
        finished.wait(10000);
    }
    return log;
}

void OverlayWindowTest::theLogOffersAnOverlayForTwoToEightRows() {
    FlightLogWindow* log = openLog();
    QCOMPARE(log->table()->rowCount(), 9);
    QPushButton* button = log->overlayButton();
    QCOMPARE(button->text(), QString("Nałóż"));
    const auto selectRows = [log](int count) {
        log->table()->clearSelection();
        for (int row = 0; row < count; ++row) {
            log->table()->selectionModel()->select(log->table()->model()->index(row, 0),
                                                   QItemSelectionModel::Select |
                                                       QItemSelectionModel::Rows);
        }
    };
    selectRows(1);
    QVERIFY(!button->isEnabled());
    selectRows(2);
    QVERIFY(button->isEnabled());
    selectRows(9);
    QVERIFY(!button->isEnabled());
    QVERIFY(button->toolTip().contains("9"));
    QVERIFY(button->toolTip().contains("8"));
    selectRows(8);
    QVERIFY(button->isEnabled());
    // Rows the filter hides are not part of the overlay.
    log->filterField()->setText("nothing matches this");
    QVERIFY(!button->isEnabled());
    log->filterField()->clear();
    selectRows(8);

    button->click();
    OverlayWindow* overlay = m_window->overlayWindow();
    QVERIFY(overlay != nullptr);
    QVERIFY(overlay->isVisible());
    QCOMPARE(overlay->overlay().flights.size(), size_t(8));
    QCOMPARE(overlay->table()->rowCount(), 8);
    // One window, reused for the next overlay.
    selectRows(3);
    button->click();
    QCOMPARE(m_window->overlayWindow(), overlay);
    QCOMPARE(overlay->overlay().flights.size(), size_t(3));
}

void OverlayWindowTest::everyGoodFlightDrawnAndAMissingOneNamed() {
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    vtl::Language language = vtl::Language::Polish;
    OverlayWindow window(*m_prompter, language, nullptr);
    window.resize(1000, 700);
    window.show();
    const std::string missing = path("flights/gone.bin").toStdString();
    const std::string notes = path("flights/notes.txt").toStdString();
    writeFile(QString::fromStdString(notes), "Wind 3 m/s\n");
    window.showFlights({flight(0), missing, flight(1), notes, flight(2)},
                       vtl::OverlayAlignment::Start);

    QCOMPARE(window.overlay().flights.size(), size_t(3));
    QCOMPARE(window.table()->rowCount(), 3);
    QVERIFY(window.problemsLine()->isVisibleTo(&window));
    QVERIFY(window.problemsLine()->text().contains(QString::fromStdString(missing)));
    QVERIFY(window.problemsLine()->text().contains(QString::fromStdString(notes)));
    const QImage picture = window.chart()->renderImage();
    for (int i = 0; i < 3; ++i) {
        QVERIFY2(hasColour(picture, ChartView::overlayColour(i)), qPrintable(QString::number(i)));
        // Each row shows its curve's colour and the flight's own figures.
        QCOMPARE(window.table()
                     ->item(i, OverlayWindow::FileName)
                     ->data(Qt::DecorationRole)
                     .value<QColor>(),
                 ChartView::overlayColour(i));
        QCOMPARE(window.table()->item(i, OverlayWindow::Competitor)->text(),
                 QString::number(10 + i));
    }
    QVERIFY(!hasColour(picture, ChartView::overlayColour(3)));
    // The figures in the window's separator, as the flight log shows them.
    QCOMPARE(window.table()->item(2, OverlayWindow::Maximum)->text(), QString("69,8"));
    // An overlay has no dh/dt curve, so neither the axis's unit; a flight brings it back.
    QVERIFY(!window.chart()->climbLabel()->isVisibleTo(window.chart()));
    window.chart()->setOverlay({}, {});
    QVERIFY(window.chart()->climbLabel()->isVisibleTo(window.chart()));
}

void OverlayWindowTest::theSwitchAlignsTheFlightsAnew() {
    vtl::Language language = vtl::Language::Polish;
    OverlayWindow window(*m_prompter, language, nullptr);
    window.showFlights({flight(0), flight(1)}, vtl::OverlayAlignment::Start);
    QVERIFY(window.startButton()->isChecked());
    const QStringList startTitle = window.chart()->titleLines();
    // At the start the climbs meet; as recorded, the later launch peaks later.
    const auto& aligned = window.overlay().flights;
    QVERIFY(std::abs(static_cast<long>(peakIndex(aligned[0])) -
                     static_cast<long>(peakIndex(aligned[1]))) <= 1);

    window.recordedButton()->click();
    QCOMPARE(window.overlay().alignment, vtl::OverlayAlignment::Recorded);
    const auto& recorded = window.overlay().flights;
    QVERIFY(peakIndex(recorded[1]) >= peakIndex(recorded[0]) + 100);
    QVERIFY(window.chart()->titleLines() != startTitle);
    QCOMPARE(window.chart()->titleLines().join(""), QString("Loty nałożone jak zapisano"));

    window.startButton()->click();
    QCOMPARE(window.overlay().alignment, vtl::OverlayAlignment::Start);
}

void OverlayWindowTest::aSavedOverlayOpensWithTheSameFlights() {
    vtl::Language language = vtl::Language::Polish;
    OverlayWindow window(*m_prompter, language, nullptr);
    window.showFlights({flight(3), flight(1), flight(4)}, vtl::OverlayAlignment::Start);
    window.recordedButton()->click();
    // A name typed without the suffix gets it.
    m_prompter->answerNextFiles({path("wieczór").toStdString()});
    window.saveButton()->click();
    QCOMPARE(m_prompter->fileDialogs().back().first, vtl::FileDialog::OverlaySave);
    const QString saved = path("wieczór.vtlov");
    QVERIFY(QFile::exists(saved));
    QVERIFY(window.windowTitle().contains("wieczór.vtlov"));

    // Opened again from the main window's menu, without a flight log.
    m_prompter->answerNextFiles({saved.toStdString()});
    m_window->form().Nakladka1->trigger();
    QCOMPARE(m_prompter->fileDialogs().back().first, vtl::FileDialog::OverlayOpen);
    QVERIFY(m_window->overlayWindow() != nullptr);
    OverlayWindow& again = *m_window->overlayWindow();
    QVERIFY(again.isVisible());
    QCOMPARE(again.overlay().alignment, vtl::OverlayAlignment::Recorded);
    QVERIFY(again.recordedButton()->isChecked());
    QCOMPARE(again.overlay().flights.size(), size_t(3));
    for (size_t i = 0; i < 3; ++i) {
        QCOMPARE(again.overlay().flights[i].fileName, window.overlay().flights[i].fileName);
        QCOMPARE(again.overlay().flights[i].curveCm, window.overlay().flights[i].curveCm);
    }
    QVERIFY(again.windowTitle().contains("wieczór.vtlov"));

    // A file that is no overlay is said to be none, and the overlay shown stays.
    m_prompter->clear();
    QVERIFY(!again.openOverlayFile(flight(0)));
    QCOMPARE(m_prompter->messages().size(), size_t(1));
    QCOMPARE(again.overlay().flights.size(), size_t(3));
}

void OverlayWindowTest::picturePrintAndLanguageAsTheMainWindow() {
    FlightLogWindow* log = openLog();
    log->table()->selectAll();
    log->table()->selectionModel()->select(log->table()->model()->index(8, 0),
                                           QItemSelectionModel::Deselect |
                                               QItemSelectionModel::Rows);
    log->overlayButton()->click();
    OverlayWindow* window = m_window->overlayWindow();
    QVERIFY(window != nullptr);
    QCOMPARE(window->overlay().flights.size(), size_t(8));

    m_prompter->answerNextFiles({path("nakładka").toStdString()});
    window->pictureButton()->click();
    const QImage picture(path("nakładka.bmp"));
    QVERIFY(!picture.isNull());
    QCOMPARE(picture.size(), window->chart()->size());
    QCOMPARE(picture.pixelColor(2, 2), QColor(Qt::white));
    QVERIFY(window->statusLine()->text().contains("nakładka.bmp"));

    vtl::PrinterChoices choices;
    choices.outputFile = path("nakładka.pdf").toStdString();
    choices.landscape = true;
    m_prompter->answerPrinterSetup(choices);
    window->printButton()->click();
    QFile pdf(path("nakładka.pdf"));
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    QVERIFY(pdf.read(5) == "%PDF-");
    QVERIFY(window->statusLine()->text().contains("nakładka.pdf"));

    m_window->form().English1->trigger();
    QCOMPARE(window->printButton()->text(), QString("Print…"));
    QVERIFY(window->windowTitle().startsWith("Flight overlay"));
    QCOMPARE(window->chart()->titleLines().join(""), QString("Flights overlaid at their start"));
    QCOMPARE(log->overlayButton()->text(), QString("Overlay"));
    QCOMPARE(m_window->form().Nakladka1->text(), QString("Open overlay…"));
}

QTEST_MAIN(OverlayWindowTest)
#include "overlay_window_test.moc"
