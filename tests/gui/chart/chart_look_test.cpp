// SPDX-License-Identifier: GPL-3.0-or-later
// Values as the chart writes them, its series, titles and its look on screen.
#include "gui/chart/chart_view.h"

#include "gui/chart/chart_test_curves.h"

#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QtTest>

using namespace chart_test;

class ChartLookTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void formatsValuesWithTheChartPatterns();
    void clearAndAddKeepValuesAndLabels();
    void startsWithTheDesignLook();
    void titlesKeepTheirBlanks();
    void rendersAtTheWidgetSize();
    void legendFitsInsideTheChart();
};

void ChartLookTest::initTestCase() {
    QLocale::setDefault(QLocale::c());
}

void ChartLookTest::formatsValuesWithTheChartPatterns() {
    // Left axis: at most one decimal, grouped thousands, a trailing blank.
    QCOMPARE(ChartView::formatValue(1234.56, "#,##0.# "), QString("1,234.6 "));
    QCOMPARE(ChartView::formatValue(20.0, "#,##0.# "), QString("20 "));
    QCOMPARE(ChartView::formatValue(0.0, "#,##0.# "), QString("0 "));
    QCOMPARE(ChartView::formatValue(-0.04, "#,##0.# "), QString("0 "));
    QCOMPARE(ChartView::formatValue(-12.25, "#,##0.##"), QString("-12.25"));
    // Altitude marks: no required digit, so zero prints nothing and 0.5 has no leading zero.
    QCOMPARE(ChartView::formatValue(0.5, "#,####.##"), QString(".5"));
    QCOMPARE(ChartView::formatValue(0.0, "#,####.##"), QString());
    QCOMPARE(ChartView::formatValue(0.001, "#,####.##"), QString());
    QCOMPARE(ChartView::formatValue(1234567.891, "#,####.##"), QString("1,234,567.89"));
    // Comparison marks: up to three optional decimals.
    QCOMPARE(ChartView::formatValue(12.0, "#,###0.###"), QString("12"));
    QCOMPARE(ChartView::formatValue(0.12345, "#,###0.###"), QString("0.123"));
    QCOMPARE(ChartView::formatValue(999.9996, "#,###0.###"), QString("1,000"));
    // Exact halves round away from zero.
    QCOMPARE(ChartView::formatValue(0.125, "0.##"), QString("0.13"));
    QCOMPARE(ChartView::formatValue(-2.5, "0"), QString("-3"));
}

void ChartLookTest::clearAndAddKeepValuesAndLabels() {
    ChartView chart;
    QCOMPARE(chart.Add(ChartView::Series1, 1.5, "0"), 0);
    QCOMPARE(chart.Add(ChartView::Series1, 2.25, QString()), 1);
    QCOMPARE(chart.Add(ChartView::Series2, 0.1, QString(), QColor(0, 0, 255)), 0);
    QCOMPARE(chart.pointCount(ChartView::Series1), 2);
    QCOMPARE(chart.pointValue(ChartView::Series1, 1), 2.25);
    QCOMPARE(chart.pointLabel(ChartView::Series1, 0), QString("0"));
    QCOMPARE(chart.pointLabel(ChartView::Series1, 1), QString());

    chart.Clear(ChartView::Series1);
    QCOMPARE(chart.pointCount(ChartView::Series1), 0);
    QCOMPARE(chart.pointCount(ChartView::Series2), 1);
    QCOMPARE(chart.Add(ChartView::Series1, 7.0, "0"), 0); // refilled from the first point
    chart.flush();
    QCOMPARE(chart.bottomAxisLabels(), QStringList{"0"});
}

void ChartLookTest::startsWithTheDesignLook() {
    ChartView chart;
    QCOMPARE(chart.title(ChartView::Series1), QString("Wysokosc"));
    QCOMPARE(chart.title(ChartView::Series2), QString("Przyspieszenie"));
    QCOMPARE(chart.title(ChartView::Series3), QString("Porównanie"));
    QCOMPARE(chart.title(ChartView::Series4), QString("Filtr"));
    QCOMPARE(chart.title(ChartView::Series6), QString("Filtr2"));
    QVERIFY(!chart.isActive(ChartView::Series4));
    QVERIFY(chart.isActive(ChartView::Series5));
    QCOMPARE(chart.panelColor(), QColor(243, 243, 243));
    QVERIFY(!chart.bottomMinorGridVisible());

    QCOMPARE(chart.metresLabel()->text(), QString("[m]"));
    QCOMPARE(chart.secondsLabel()->text(), QString("[sek]"));
    QCOMPARE(chart.climbLabel()->text(), QString("dh/dt"));
    QCOMPARE(chart.climbLabel()->parentWidget(), &chart);
    QLineEdit* ok = chart.setupOkIndicator();
    QCOMPARE(ok->objectName(), QString("EUstawieniaOK"));
    QCOMPARE(ok->text(), QString("    OK"));
    QCOMPARE(ok->geometry(), QRect(560, 192, 89, 37));
    QVERIFY(ok->isReadOnly());
    QVERIFY(ok->isHidden());
}

void ChartLookTest::titlesKeepTheirBlanks() {
    ChartView chart;
    QCOMPARE(chart.titleLines(), QStringList{"            Wysokosc / Altitude"});
    chart.SetTitle(ChartView::Series3, "Compare   ");
    QCOMPARE(chart.title(ChartView::Series3), QString("Compare   "));

    chart.clearTitle();
    QVERIFY(chart.titleLines().isEmpty());
    chart.addTitleLine("Line one");
    chart.addTitleLine("  Line two  ");
    QCOMPARE(chart.titleLines(), (QStringList{"Line one", "  Line two  "}));
}

void ChartLookTest::rendersAtTheWidgetSize() {
    ChartView chart;
    chart.resize(800, 500);
    addAltitudeCurve(chart, 100, climbAndGlide);
    const QImage image = chart.renderImage();
    QCOMPARE(image.size(), QSize(800, 500));
    QCOMPARE(image.pixelColor(2, 2), QColor(243, 243, 243));
}

void ChartLookTest::legendFitsInsideTheChart() {
    for (const QSize size : {QSize(1905, 960), QSize(1265, 745), QSize(800, 500)}) {
        ChartView chart;
        chart.resize(size);
        chart.SetTitle(ChartView::Series2, "Acceleration  ");
        addAltitudeCurve(chart, 100, climbAndGlide);
        const QImage image = chart.renderImage();
        // The legend's right frame: a tall black line left of the panel's edge.
        int frameX = -1;
        for (int x = image.width() - 1; x >= image.width() - 40 && frameX < 0; --x) {
            int black = 0;
            for (int y = 0; y < image.height() / 2; ++y) {
                black += image.pixelColor(x, y) == QColor(Qt::black) ? 1 : 0;
            }
            if (black >= 60) {
                frameX = x;
            }
        }
        QVERIFY2(frameX >= 0, qPrintable(QString::number(size.width())));
        QVERIFY2(frameX < image.width() - 2, qPrintable(QString::number(frameX)));
    }
}

QTEST_MAIN(ChartLookTest)
#include "chart_look_test.moc"
