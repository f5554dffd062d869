// SPDX-License-Identifier: GPL-3.0-or-later
// Zoom, undo zoom, scrolling and clicks on a curve, by call and by mouse gesture.
#include "gui/chart/chart_view.h"

#include "gui/chart/chart_test_curves.h"

#include <QLocale>
#include <QSignalSpy>
#include <QtTest>

#include <cmath>

using namespace chart_test;

class ChartZoomTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void zoomSignalsAfterTheAxesTookTheRange();
    void undoZoomRestoresTheUnzoomedRange();
    void mouseGesturesZoomUndoAndClick();
};

void ChartZoomTest::initTestCase() {
    QLocale::setDefault(QLocale::c());
}

void ChartZoomTest::zoomSignalsAfterTheAxesTookTheRange() {
    ChartView chart;
    chart.resize(1265, 745);
    chart.show();
    addAltitudeCurve(chart, 1200, climbAndGlide);
    chart.flush();
    const QRect area = chart.plotArea();

    double minimumAtSignal = -1;
    double maximumAtSignal = -1;
    connect(&chart, &ChartView::OnZoom, this, [&] {
        minimumAtSignal = chart.bottomMinimum();
        maximumAtSignal = chart.bottomMaximum();
    });
    QSignalSpy zoomed(&chart, &ChartView::OnZoom);
    chart.zoomToRect(QRect(area.left() + area.width() / 4, area.top() + 10, area.width() / 2,
                           area.height() / 2));
    QVERIFY(zoomed.wait(2000));
    QCOMPARE(zoomed.count(), 1);
    QVERIFY(std::abs(minimumAtSignal - 1199 / 4.0) < 5);
    QVERIFY(std::abs(maximumAtSignal - 1199 * 3 / 4.0) < 5);
    QTest::qWait(50);
    QCOMPARE(chart.bottomMinimum(), minimumAtSignal); // nothing moved after the signal
    QCOMPARE(chart.bottomMaximum(), maximumAtSignal);
    QVERIFY(chart.leftMaximum() < 100);
}

void ChartZoomTest::undoZoomRestoresTheUnzoomedRange() {
    ChartView chart;
    chart.resize(1265, 745);
    addAltitudeCurve(chart, 1200, climbAndGlide);
    chart.leftSetMinimum(0);
    chart.leftSetAutomatic(false);
    chart.leftSetMaximum(120);
    chart.flush();
    const QRect area = chart.plotArea();

    QSignalSpy zoomed(&chart, &ChartView::OnZoom);
    chart.zoomToRect(area.adjusted(100, 100, -100, -100)); // hidden: applied at once
    QCOMPARE(zoomed.count(), 1);
    QVERIFY(chart.bottomMinimum() > 0);
    QVERIFY(chart.leftMaximum() < 120);

    // Setting the altitude axis while zoomed takes effect, the time axis stays zoomed.
    chart.leftSetMaximum(110);
    QCOMPARE(chart.leftMaximum(), 110.0);
    QVERIFY(chart.bottomMinimum() > 0);

    double maximumAtSignal = -1;
    connect(&chart, &ChartView::OnUndoZoom, this, [&] { maximumAtSignal = chart.bottomMaximum(); });
    QSignalSpy undone(&chart, &ChartView::OnUndoZoom);
    chart.UndoZoom();
    QCOMPARE(undone.count(), 1);
    QCOMPARE(maximumAtSignal, 1199.0);
    QCOMPARE(chart.bottomMinimum(), 0.0);
    QCOMPARE(chart.leftMinimum(), 0.0);
    QCOMPARE(chart.leftMaximum(), 110.0);
}

void ChartZoomTest::mouseGesturesZoomUndoAndClick() {
    ChartView chart;
    chart.resize(1265, 745);
    chart.show();
    for (int i = 0; i < 600; ++i) {
        chart.Add(ChartView::Series1, 20.0, i % 10 == 0 ? QString::number(i / 10) : QString());
        chart.Add(ChartView::Series3, 60.0, QString());
    }
    chart.leftSetMinimum(0);
    chart.leftSetMaximum(100);
    chart.leftSetAutomatic(false);
    chart.flush();
    QWidget* plot = chart.findChild<QWidget*>("chartPlot");
    QVERIFY(plot);
    const QRect area = chart.plotArea();
    const auto yOf = [&](double metres) {
        return area.bottom() - static_cast<int>(std::lround(metres / 100.0 * area.height()));
    };

    QSignalSpy clicked(&chart, &ChartView::OnClickSeries);
    const QPoint onComparison(area.center().x(), yOf(60) + 2);
    sendMouse(plot, QEvent::MouseButtonPress, Qt::LeftButton, onComparison);
    sendMouse(plot, QEvent::MouseButtonRelease, Qt::LeftButton, onComparison);
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(clicked[0][0].value<ChartView::Series>(), ChartView::Series3);
    const QPoint between(area.center().x(), yOf(40));
    sendMouse(plot, QEvent::MouseButtonPress, Qt::LeftButton, between);
    sendMouse(plot, QEvent::MouseButtonRelease, Qt::LeftButton, between);
    QCOMPARE(clicked.count(), 1);

    QSignalSpy zoomed(&chart, &ChartView::OnZoom);
    QSignalSpy undone(&chart, &ChartView::OnUndoZoom);
    drag(plot, Qt::LeftButton, area.topLeft() + QPoint(200, 50), area.center());
    QVERIFY(zoomed.wait(2000));
    QVERIFY(chart.bottomMaximum() < 400);
    QCOMPARE(clicked.count(), 1);

    // Scrolling moves the view without zooming.
    const double width = chart.bottomMaximum() - chart.bottomMinimum();
    const double before = chart.bottomMinimum();
    drag(plot, Qt::RightButton, area.center(), area.center() + QPoint(100, 0));
    QVERIFY(chart.bottomMinimum() < before);
    QVERIFY(std::abs(chart.bottomMaximum() - chart.bottomMinimum() - width) < 1e-6);

    drag(plot, Qt::LeftButton, area.center(), area.center() - QPoint(100, 100));
    QCOMPARE(undone.count(), 1);
    QCOMPARE(chart.bottomMaximum(), 599.0);
    QCOMPARE(zoomed.count(), 1);
}

QTEST_MAIN(ChartZoomTest)
#include "chart_zoom_test.moc"
