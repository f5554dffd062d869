// SPDX-License-Identifier: GPL-3.0-or-later
// The readout under the mouse and the two measuring cursors on the main window's chart.
#include "gui/shell/main_window.h"

#include "core/flight/cursor_readings.h"
#include "core/flight/cursor_texts.h"
#include "gui/flight/chart_cursors.h"
#include "gui/flight/cursor_table.h"
#include "support/window_rig.h"

#include <QLocale>
#include <QSignalSpy>
#include <QtTest>

namespace {

using vtl::testing::writeFile;

constexpr uint8_t kOnePerSecond = 4;  // 10 samples per ten seconds
constexpr uint8_t kFivePerSecond = 3; // 50
constexpr uint32_t kOnePerSecondRate = 10;

QByteArray flightBytes(uint8_t code, int climbSamples, int32_t peakCm, int glideSamples) {
    vtl::testing::FlightDescription flight;
    flight.samplingCode = code;
    flight.altitudeCm = vtl::testing::climbAndGlide(climbSamples, peakCm, glideSamples, -300);
    return vtl::testing::flightBytes(flight);
}

QString metres(double value) {
    return QLocale().toString(value, 'f', 1) + " m";
}

} // namespace

class CursorsWindowTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void readoutFollowsThePointerAndGoesWithIt();
    void clicksPlaceTheCursorsOnTheNearestSamples();
    void keysMoveTheActiveCursorAndEscRemovesThem();
    void aNewFlightKeepsTheCursorsThatFallInsideIt();

private:
    QWidget* plot() const { return m_chart->findChild<QWidget*>("chartPlot"); }
    // Where a point of the time axis lies in the plot's pixels, half-way up the plot.
    QPoint pixelOf(double point) const;
    void mouse(QEvent::Type type, const QPoint& at,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void click(double point, Qt::KeyboardModifiers modifiers);
    void load(const char* name);
    void compare(const char* name);

    std::unique_ptr<vtl::testing::WindowRig> m_rig;
    TVantorel_BMP* m_window = nullptr;
    ChartView* m_chart = nullptr;
};

void CursorsWindowTest::initTestCase() {
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
}

void CursorsWindowTest::init() {
    m_rig = std::make_unique<vtl::testing::WindowRig>();
    m_window = &m_rig->open();
    m_window->resize(1280, 1024);
    m_window->show();
    m_chart = m_window->form().Chart1;
    // 310 s at one sample a second, and a comparison that ends after 140 s.
    writeFile(m_rig->path("long.bin"), flightBytes(kOnePerSecond, 100, 8000, 200));
    writeFile(m_rig->path("short.bin"), flightBytes(kOnePerSecond, 50, 6000, 80));
    // 102 s at five samples a second, and 10 s.
    writeFile(m_rig->path("fast.bin"), flightBytes(kFivePerSecond, 200, 5000, 300));
    writeFile(m_rig->path("brief.bin"), flightBytes(kOnePerSecond, 2, 500, 0));
}

void CursorsWindowTest::cleanup() {
    m_rig.reset();
}

void CursorsWindowTest::load(const char* name) {
    m_rig->load(m_rig->path(name));
    QApplication::processEvents();
    m_chart->flush();
}

void CursorsWindowTest::compare(const char* name) {
    m_rig->prompter().answerNextFiles({m_rig->path(name).toStdString()});
    m_window->form().B_Porownanie->click();
    QApplication::processEvents();
    m_chart->flush();
}

QPoint CursorsWindowTest::pixelOf(double point) const {
    const QRect area = m_chart->plotArea();
    const double share =
        (point - m_chart->bottomMinimum()) / (m_chart->bottomMaximum() - m_chart->bottomMinimum());
    return plot()->mapFrom(m_chart,
                           QPoint(area.left() + qRound(share * area.width()), area.center().y()));
}

void CursorsWindowTest::mouse(QEvent::Type type, const QPoint& at,
                              Qt::KeyboardModifiers modifiers) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
    QMouseEvent event(type, at, plot()->mapToGlobal(at), button, held, modifiers);
    QApplication::sendEvent(plot(), &event);
}

void CursorsWindowTest::click(double point, Qt::KeyboardModifiers modifiers) {
    mouse(QEvent::MouseButtonPress, pixelOf(point), modifiers);
    mouse(QEvent::MouseButtonRelease, pixelOf(point), modifiers);
    QApplication::processEvents();
    m_chart->flush();
}

void CursorsWindowTest::readoutFollowsThePointerAndGoesWithIt() {
    load("long.bin");
    compare("short.bin");
    QStatusBar& status = *m_window->form().StatusBar1;
    QLabel& outputStatus = *m_window->form().LStatus;
    QVERIFY(!outputStatus.isHidden());

    mouse(QEvent::MouseMove, pixelOf(30.2));
    QCOMPARE(status.currentMessage(),
             QString("t 30,0 s · %1 · porównanie %2")
                 .arg(metres(m_chart->pointValue(ChartView::Series1, 30)),
                      metres(m_chart->pointValue(ChartView::Series3, 30))));
    // Past the comparison's end only the current flight is read.
    const int comparisonEnd = m_chart->pointCount(ChartView::Series3);
    mouse(QEvent::MouseMove, pixelOf(comparisonEnd + 20));
    QCOMPARE(status.currentMessage(),
             QString("t %1,0 s · %2")
                 .arg(comparisonEnd + 20)
                 .arg(metres(m_chart->pointValue(ChartView::Series1, comparisonEnd + 20))));

    // Off the plot area, and out of the chart, the readout goes and the output status is back.
    mouse(QEvent::MouseMove,
          plot()->mapFrom(m_chart, m_chart->plotArea().topLeft()) - QPoint(10, 10));
    QCOMPARE(status.currentMessage(), QString());
    QVERIFY(!outputStatus.isHidden());
    mouse(QEvent::MouseMove, pixelOf(100));
    QVERIFY(status.currentMessage().startsWith("t 100,0 s"));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(plot(), &leave);
    QCOMPARE(status.currentMessage(), QString());
}

void CursorsWindowTest::clicksPlaceTheCursorsOnTheNearestSamples() {
    load("long.bin");
    compare("short.bin");
    CursorTable& table = *m_window->chartCursors().table();
    QVERIFY(table.isHidden());
    const int chartHeight = m_chart->height();
    QSignalSpy curveClicks(m_chart, &ChartView::OnClickSeries);

    click(20.3, Qt::ControlModifier);
    click(129.7, Qt::ShiftModifier);
    QCOMPARE(m_chart->cursorLine(ChartView::CursorA), std::optional<int>(20));
    QCOMPARE(m_chart->cursorLine(ChartView::CursorB), std::optional<int>(130));
    QCOMPARE(curveClicks.count(), 0);

    // The table gets room under the chart and says what cursorReadings computes.
    QVERIFY(!table.isHidden());
    QCOMPARE(m_chart->height(), chartHeight - CursorTable::kHeight);
    QCOMPARE(table.cell(1, 0), QString("Lot"));
    QCOMPARE(table.cell(2, 0), QString("Porównanie"));
    const auto cm = [this](ChartView::Series series) {
        std::vector<int32_t> curve;
        for (int j = 0; j < m_chart->pointCount(series); ++j) {
            curve.push_back(
                static_cast<int32_t>(std::lround(m_chart->pointValue(series, j) * 100)));
        }
        return curve;
    };
    for (const auto& [row, series] :
         {std::pair{1, ChartView::Series1}, std::pair{2, ChartView::Series3}}) {
        const vtl::CursorReadings readings =
            vtl::cursorReadings(cm(series), {20, 130}, kOnePerSecondRate);
        QCOMPARE(table.cell(row, 1), "20,0 s · " + metres(m_chart->pointValue(series, 20)));
        QCOMPARE(table.cell(row, 3), QString("+110,0 s"));
        QVERIFY(readings.dhM && readings.climbMps);
        QCOMPARE(table.cell(row, 4),
                 QLocale().toString(*readings.dhM, 'f', 1).prepend(*readings.dhM > 0 ? "+" : "") +
                     " m");
        QCOMPARE(table.cell(row, 5), QLocale()
                                             .toString(*readings.climbMps, 'f', 2)
                                             .prepend(*readings.climbMps > 0 ? "+" : "") +
                                         " m/s");
    }

    // The lines and their labels are in the picture: cursor A's column changed over most of the
    // plot's height below its label, and the label's box beside it.
    // The print lays the chart out afresh, on paper, with them too.
    const auto printed = [this] {
        QImage page(1500, 1000, QImage::Format_RGB32);
        page.fill(Qt::white);
        m_chart->print(page, page.rect());
        return page;
    };
    const QImage after = m_chart->renderImage();
    const QImage printedAfter = printed();
    m_chart->setCursorLine(ChartView::CursorA, std::nullopt);
    m_chart->setCursorLine(ChartView::CursorB, std::nullopt);
    const QImage before = m_chart->renderImage();
    const QImage printedBefore = printed();
    m_window->chartCursors().refresh();
    int printChanges = 0;
    for (int y = 0; y < printedAfter.height(); ++y) {
        for (int x = 0; x < printedAfter.width(); ++x) {
            printChanges += printedAfter.pixel(x, y) != printedBefore.pixel(x, y) ? 1 : 0;
        }
    }
    QVERIFY(printChanges > printedAfter.height());
    const QRect area = m_chart->plotArea();
    const int lineX = plot()->mapTo(m_chart, pixelOf(20)).x();
    const auto changed = [&](int left, int right, int top) {
        int count = 0;
        for (int y = top; y < area.bottom(); ++y) {
            for (int x = left; x <= right; ++x) {
                count += before.pixel(x, y) != after.pixel(x, y) ? 1 : 0;
            }
        }
        return count;
    };
    QVERIFY(changed(lineX - 1, lineX + 1, area.top() + 40) > area.height() / 3);
    QVERIFY(changed(lineX + 3, lineX + 8, area.top()) > 40);

    // A plain click still belongs to the curves and the legend; the cursors stay.
    click(20, Qt::NoModifier);
    QCOMPARE(m_chart->cursorLine(ChartView::CursorA), std::optional<int>(20));

    m_window->form().English1->trigger();
    QApplication::processEvents();
    QCOMPARE(table.cell(1, 0), QString("Flight"));
    QCOMPARE(m_window->removeCursorsAction()->text(), QString("Remove cursors"));
}

void CursorsWindowTest::keysMoveTheActiveCursorAndEscRemovesThem() {
    load("fast.bin");
    ChartCursors& cursors = m_window->chartCursors();
    QAction& remove = *m_window->removeCursorsAction();
    QVERIFY(!remove.isEnabled());
    cursors.place(ChartView::CursorB, 50.0);
    cursors.place(ChartView::CursorA, 10.0);
    QVERIFY(remove.isEnabled());
    QCOMPARE(m_chart->cursorLine(ChartView::CursorA), std::optional<int>(50));

    // A, placed last, moves: a sample (0.2 s) or a second at a time, never off the flight.
    plot()->setFocus();
    QTest::keyClick(plot(), Qt::Key_Right);
    QCOMPARE(m_chart->cursorLine(ChartView::CursorA), std::optional<int>(51));
    QTest::keyClick(plot(), Qt::Key_Right, Qt::ShiftModifier);
    QCOMPARE(m_chart->cursorLine(ChartView::CursorA), std::optional<int>(56));
    QCOMPARE(cursors.cursorTime(ChartView::CursorA), std::optional<double>(11.2));
    QTest::keyClick(plot(), Qt::Key_Left, Qt::ShiftModifier);
    QTest::keyClick(plot(), Qt::Key_Left);
    QCOMPARE(m_chart->cursorLine(ChartView::CursorA), std::optional<int>(50));
    QCOMPARE(m_chart->cursorLine(ChartView::CursorB), std::optional<int>(250));
    cursors.place(ChartView::CursorB, 0.2);
    QTest::keyClick(plot(), Qt::Key_Left, Qt::ShiftModifier);
    QCOMPARE(m_chart->cursorLine(ChartView::CursorB), std::optional<int>(0));
    QTest::keyClick(plot(), Qt::Key_Left);
    QCOMPARE(m_chart->cursorLine(ChartView::CursorB), std::optional<int>(0));

    // The arrows stay with a text field that has the focus.
    QLineEdit& temperature = *m_window->form().E_TempGl;
    temperature.setFocus();
    QTest::keyClick(&temperature, Qt::Key_Right);
    QCOMPARE(m_chart->cursorLine(ChartView::CursorB), std::optional<int>(0));

    QVERIFY(QTest::qWaitForWindowActive(m_window));
    QTest::keyClick(plot(), Qt::Key_Escape);
    QVERIFY(!cursors.hasCursors());
    QCOMPARE(m_chart->cursorLine(ChartView::CursorA), std::nullopt);
    QCOMPARE(m_chart->cursorLine(ChartView::CursorB), std::nullopt);
    QVERIFY(cursors.table()->isHidden());
    QVERIFY(!remove.isEnabled());
}

void CursorsWindowTest::aNewFlightKeepsTheCursorsThatFallInsideIt() {
    load("long.bin");
    ChartCursors& cursors = m_window->chartCursors();
    cursors.place(ChartView::CursorA, 20.0);
    cursors.place(ChartView::CursorB, 250.0);

    // 102 s at five a second: A stays at 20 s, now sample 100; B is past the end.
    load("fast.bin");
    QCOMPARE(cursors.cursorTime(ChartView::CursorA), std::optional<double>(20.0));
    QCOMPARE(m_chart->cursorLine(ChartView::CursorA), std::optional<int>(100));
    QCOMPARE(cursors.cursorTime(ChartView::CursorB), std::nullopt);
    QCOMPARE(m_chart->cursorLine(ChartView::CursorB), std::nullopt);
    QCOMPARE(cursors.table()->cell(1, 1).left(8), QString("20,0 s ·"));
    QCOMPARE(cursors.table()->cell(1, 2), QString());

    load("brief.bin");
    QVERIFY(!cursors.hasCursors());
    QVERIFY(cursors.table()->isHidden());
    QVERIFY(!m_window->removeCursorsAction()->isEnabled());
}

QTEST_MAIN(CursorsWindowTest)
#include "cursors_window_test.moc"
