// SPDX-License-Identifier: GPL-3.0-or-later
// Curves with more points than the plot has pixel columns, as a whole flight has at the window's
// size: each column shows the values that fall into it, and a line looks the same whichever way
// it runs.
#include "gui/chart/chart_view.h"

#include <QImage>
#include <QtTest>

#include <algorithm>
#include <functional>

namespace {

constexpr int kPoints = 17000;

// The altitude curve's red, wherever it covers a pixel at all: the grid is grey or blue.
bool curvePixel(QRgb pixel) {
    return qRed(pixel) - qGreen(pixel) > 30 && qRed(pixel) - qBlue(pixel) > 30;
}

QImage drawAltitudes(ChartView& chart, const std::function<double(int)>& altitude) {
    chart.Clear(ChartView::Series1);
    for (int i = 0; i < kPoints; ++i) {
        chart.Add(ChartView::Series1, altitude(i),
                  i % 10 == 0 ? QString::number(i / 10) : QString());
    }
    return chart.renderImage();
}

int curvePixels(const QImage& image, const QRect& area) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            count += curvePixel(image.pixel(x, y)) ? 1 : 0;
        }
    }
    return count;
}

} // namespace

class ChartCurvesTest : public QObject {
    Q_OBJECT
private slots:
    void aFallingLineIsAsThinAsARisingOne();
    void aNoisyCurveFillsEachColumnFromLowestToHighest();
};

void ChartCurvesTest::aFallingLineIsAsThinAsARisingOne() {
    ChartView chart;
    chart.resize(1265, 745);
    const QImage rising = drawAltitudes(chart, [](int i) { return 150.0 * i / (kPoints - 1); });
    const QRect area = chart.plotArea().adjusted(2, 2, -2, -2);
    const int risingPixels = curvePixels(rising, area);
    const QImage falling =
        drawAltitudes(chart, [](int i) { return 150.0 * (kPoints - 1 - i) / (kPoints - 1); });
    const int fallingPixels = curvePixels(falling, area);
    QVERIFY(risingPixels > area.width());
    QVERIFY2(
        std::abs(fallingPixels - risingPixels) * 20 <= risingPixels,
        qPrintable(QString("rising %1, falling %2 pixels").arg(risingPixels).arg(fallingPixels)));
}

void ChartCurvesTest::aNoisyCurveFillsEachColumnFromLowestToHighest() {
    ChartView chart;
    chart.resize(1265, 745);
    // Between 20 and 80 m from point to point, in an order that repeats only every 7 points.
    const QImage image = drawAltitudes(chart, [](int i) {
        const int step = (i * 3) % 7;
        return i == 0 ? 0.0 : i == 1 ? 100.0 : 20.0 + step * 10.0;
    });
    const QRect plot = chart.plotArea();
    const auto rowOf = [&](double metres) {
        return plot.bottom() - (metres - chart.leftMinimum()) /
                                   (chart.leftMaximum() - chart.leftMinimum()) * plot.height();
    };
    const int top = static_cast<int>(rowOf(80));
    const int bottom = static_cast<int>(rowOf(20));
    for (int x = plot.left() + 10; x < plot.right() - 10; ++x) {
        int highest = plot.bottom();
        int lowest = plot.top();
        for (int y = plot.top(); y <= plot.bottom(); ++y) {
            if (curvePixel(image.pixel(x, y))) {
                highest = std::min(highest, y);
                lowest = std::max(lowest, y);
            }
        }
        QVERIFY2(std::abs(highest - top) <= 2 && std::abs(lowest - bottom) <= 2,
                 qPrintable(QString("column %1 drawn from row %2 to %3, not %4 to %5")
                                .arg(x)
                                .arg(highest)
                                .arg(lowest)
                                .arg(top)
                                .arg(bottom)));
    }
}

QTEST_MAIN(ChartCurvesTest)
#include "chart_curves_test.moc"
