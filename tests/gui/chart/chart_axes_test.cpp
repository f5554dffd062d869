// SPDX-License-Identifier: GPL-3.0-or-later
// The axes: which range they take from the series, and labels and ticks that never overlap.
#include "gui/chart/chart_view.h"

#include "gui/chart/chart_test_curves.h"

#include <QLocale>
#include <QSignalSpy>
#include <QtTest>

#include <cmath>

using namespace chart_test;

class ChartAxesTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void automaticEndsFollowTheVisibleLeftSeries();
    void onlyTheFirstPageIsShown();
    void bottomAxisShowsOnlyLabelledPointsWithoutOverlap();
    void minorTicksDivideTheGapsBetweenLabels();
    void leftAxisStartsAtItsMinimumUnrounded();
    void axisLabelsFitTheSizeRightAfterAResize();
};

void ChartAxesTest::initTestCase() {
    QLocale::setDefault(QLocale::c());
}

void ChartAxesTest::automaticEndsFollowTheVisibleLeftSeries() {
    ChartView chart;
    // As a flight is drawn: the maximum is fixed, the minimum follows the data.
    chart.leftSetMinimum(0);
    chart.leftSetAutomatic(false);
    chart.leftSetAutomaticMaximum(false);
    chart.leftSetAutomaticMinimum(true);
    chart.leftSetMaximum(150);
    chart.Add(ChartView::Series1, 12.0, "0");
    chart.Add(ChartView::Series1, 40.0, QString());
    QCOMPARE(chart.leftMinimum(), 12.0);
    QCOMPARE(chart.leftMaximum(), 150.0);

    chart.Add(ChartView::Series3, -3.5, QString());
    // The dh/dt curve has its own axis, the reserved filter series is never drawn.
    chart.Add(ChartView::Series2, -80.0, QString(), QColor(0, 0, 255));
    chart.Add(ChartView::Series4, -200.0, QString());
    QCOMPARE(chart.leftMinimum(), -3.5);

    chart.leftSetAutomatic(true);
    QCOMPARE(chart.leftMinimum(), -3.5);
    QCOMPARE(chart.leftMaximum(), 40.0);

    chart.leftSetAutomaticMinimum(false);
    QCOMPARE(chart.leftMinimum(), 0.0);
    chart.Clear(ChartView::Series1);
    chart.Clear(ChartView::Series3);
    QCOMPARE(chart.leftMinimum(), 0.0);
    QVERIFY(chart.leftMaximum() > chart.leftMinimum()); // an empty chart still has a range
}

void ChartAxesTest::onlyTheFirstPageIsShown() {
    ChartView chart;
    addAltitudeCurve(chart, 12000, [](int i) { return i < 10000 ? 50.0 : 500.0; });
    chart.Add(ChartView::Series3, 20.0, QString());
    chart.leftSetAutomatic(true);
    QCOMPARE(chart.pointCount(ChartView::Series1), 12000);
    QCOMPARE(chart.bottomMinimum(), 0.0);
    QCOMPARE(chart.bottomMaximum(), 9999.0);
    QCOMPARE(chart.leftMaximum(), 50.0); // the points past the page do not scale the axis
    chart.flush();
    for (const QString& label : chart.bottomAxisLabels()) {
        QVERIFY2(label.toInt() <= 999, qPrintable(label));
    }
}

void ChartAxesTest::bottomAxisShowsOnlyLabelledPointsWithoutOverlap() {
    ChartView chart;
    chart.resize(1265, 745);
    addAltitudeCurve(chart, 300, climbAndGlide);
    chart.flush();
    const QStringList few = chart.bottomAxisLabels();
    QCOMPARE(few.first(), QString("0"));
    QCOMPARE(few.size(), 30);
    QCOMPARE(few.last(), QString("29"));

    addAltitudeCurve(chart, 17000, climbAndGlide);
    chart.flush();
    const QStringList many = chart.bottomAxisLabels();
    QVERIFY(many.size() >= 10);
    // Evenly spaced seconds, and no more labels than fit side by side.
    const int stride = many[1].toInt() - many[0].toInt();
    QVERIFY(stride > 1);
    for (int i = 1; i < many.size(); ++i) {
        QCOMPARE(many[i].toInt() - many[i - 1].toInt(), stride);
    }
    QVERIFY(many.size() * 15 <= chart.plotArea().width());
}

void ChartAxesTest::minorTicksDivideTheGapsBetweenLabels() {
    ChartView chart;
    addAltitudeCurve(chart, 51, climbAndGlide);
    chart.bottomSetMinorTickCount(9); // one tick per sample between whole seconds
    chart.flush();
    QCOMPARE(chart.bottomMinorTickCount(), 9);
    const std::vector<double> ticks = chart.bottomMinorTicks();
    QCOMPARE(ticks.size(), std::size_t{45});
    QCOMPARE(ticks.front(), 1.0);
    QCOMPARE(ticks.back(), 49.0);

    for (const int count : {0, -1}) {
        chart.bottomSetMinorTickCount(count);
        chart.flush();
        QCOMPARE(chart.bottomMinorTickCount(), count);
        QVERIFY(chart.bottomMinorTicks().empty());
    }

    chart.bottomSetMinorGridVisible(true);
    QVERIFY(chart.bottomMinorGridVisible());
    chart.bottomSetMinorGridVisible(false);
    QVERIFY(!chart.bottomMinorGridVisible());
}

void ChartAxesTest::leftAxisStartsAtItsMinimumUnrounded() {
    ChartView chart;
    chart.resize(1265, 745);
    addAltitudeCurve(chart, 600, climbAndGlide);
    chart.leftSetMinimum(12.34);
    chart.leftSetMaximum(150);
    chart.leftSetAutomatic(false);
    chart.flush();
    const ChartView::AxisLabels labels = chart.axisLabels(ChartView::LeftAxis);
    QVERIFY(labels.texts.size() >= 3);
    QCOMPARE(labels.texts.first(), QString("12.3 "));
    QVERIFY(std::abs(labels.positions.front() - chart.plotArea().bottom()) <= 1);
    // The others follow at whole steps from the minimum.
    const double step =
        (labels.positions[0] - labels.positions[1]) / chart.plotArea().height() * (150 - 12.34);
    const double rounded = std::round(step * 10) / 10;
    QVERIFY(std::abs(step - rounded) < 0.05);
    QCOMPARE(labels.texts[1], ChartView::formatValue(12.34 + rounded, "#,##0.# "));
}

void ChartAxesTest::axisLabelsFitTheSizeRightAfterAResize() {
    ChartView chart;
    chart.resize(1265, 745);
    chart.show();
    addHighFlight(chart);
    chart.flush();
    QSignalSpy laidOut(&chart, &ChartView::laidOut);
    for (const QSize size :
         {QSize(1905, 960), QSize(500, 280), QSize(1265, 745), QSize(400, 230), QSize(1024, 600)}) {
        const int layouts = laidOut.count();
        chart.resize(size); // and no redraw after it
        QVERIFY(laidOut.count() > layouts);
        for (const auto axis : {ChartView::BottomAxis, ChartView::LeftAxis}) {
            const ChartView::AxisLabels labels = chart.axisLabels(axis);
            QVERIFY(labels.texts.size() >= 3);
            const QString overlap = overlappingLabels(labels, axis);
            QVERIFY2(overlap.isEmpty(), qPrintable(QString("%1x%2 axis %3: %4")
                                                       .arg(size.width())
                                                       .arg(size.height())
                                                       .arg(axis)
                                                       .arg(overlap)));
        }
    }
}

QTEST_MAIN(ChartAxesTest)
#include "chart_axes_test.moc"
