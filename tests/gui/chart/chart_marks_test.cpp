// SPDX-License-Identifier: GPL-3.0-or-later
// Value marks on the altitude and comparison curves.
#include "gui/chart/chart_view.h"

#include "core/flight/decimal_text.h"
#include "gui/chart/chart_test_curves.h"

#include <QLocale>
#include <QtTest>

#include <cmath>

using namespace chart_test;

class ChartMarksTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void marksBelongToTheAltitudeAndComparisonCurves();
    void marksCarryACalloutToTheirPoint();
    void marksOfCrossingCurvesNeverOverlap();
    void marksSayWhatThePanelSays();
};

void ChartMarksTest::initTestCase() {
    QLocale::setDefault(QLocale::c());
}

void ChartMarksTest::marksBelongToTheAltitudeAndComparisonCurves() {
    ChartView chart;
    QVERIFY(!chart.marksVisible(ChartView::Series1));
    QVERIFY(!chart.marksVisible(ChartView::Series3));
    for (const bool visible : {true, false}) {
        for (int s = 0; s < ChartView::kSeriesCount; ++s) {
            chart.setMarksVisible(static_cast<ChartView::Series>(s), visible);
        }
        QCOMPARE(chart.marksVisible(ChartView::Series1), visible);
        QCOMPARE(chart.marksVisible(ChartView::Series3), visible);
        QVERIFY(!chart.marksVisible(ChartView::Series2));
        QVERIFY(!chart.marksVisible(ChartView::Series5));
    }
}

void ChartMarksTest::marksCarryACalloutToTheirPoint() {
    ChartView chart;
    chart.resize(1265, 745);
    addAltitudeCurve(chart, 3000, climbAndGlide);
    for (int i = 0; i < 3000; ++i) {
        chart.Add(ChartView::Series3, climbAndGlide(i) * 0.9, QString());
    }
    chart.setMarksVisible(ChartView::Series1, true);
    chart.setMarksVisible(ChartView::Series3, true);
    chart.flush();
    const QRect area = chart.plotArea();
    const auto indexAt = [&](double x) {
        const double span = chart.bottomMaximum() - chart.bottomMinimum();
        return static_cast<int>(
            std::lround(chart.bottomMinimum() + (x - area.left()) / area.width() * span));
    };
    // Above the altitude curve at 20 pixels, below the comparison curve at 28; on the other side
    // where the mark would leave the plot.
    const auto checkCallouts = [&](ChartView::Series series, int length) {
        const std::vector<ChartView::ValueMark> marks = chart.valueMarks(series);
        QVERIFY(!marks.empty());
        for (const ChartView::ValueMark& mark : marks) {
            QVERIFY(mark.arrowHead);
            QCOMPARE(mark.calloutBrush, QColor(Qt::black));
            QCOMPARE(mark.calloutStart.x(), mark.point.x());
            QVERIFY(mark.box.top() >= area.top() - 1 && mark.box.bottom() <= area.bottom() + 1);
            const double side = mark.point.y() - mark.calloutStart.y();
            QCOMPARE(std::abs(side), double(std::abs(length)));
            const double edge = side > 0 ? mark.box.bottom() : mark.box.top();
            QVERIFY(std::abs(edge - mark.calloutStart.y()) <= 1);
            QVERIFY(std::abs(mark.box.center().x() - mark.point.x()) <= 2);
            const auto plotted =
                static_cast<float>(chart.pointValue(series, indexAt(mark.point.x())));
            QCOMPARE(mark.text, QString::fromStdString(vtl::oneDecimalText(plotted)));
        }
    };
    checkCallouts(ChartView::Series1, 20);
    checkCallouts(ChartView::Series3, -28);

    // A whole flight: marks that would overlap are left out, the rest stay readable.
    for (const ChartView::Series series : {ChartView::Series1, ChartView::Series3}) {
        const std::vector<ChartView::ValueMark> marks = chart.valueMarks(series);
        QVERIFY(marks.size() > 20 && marks.size() < 1000);
        for (std::size_t i = 0; i < marks.size(); ++i) {
            for (std::size_t j = i + 1; j < marks.size(); ++j) {
                QVERIFY2(!marks[i].box.intersects(marks[j].box), qPrintable(marks[j].text));
            }
        }
    }

    // Zoomed onto a few seconds, every point in view shows its value.
    chart.zoomToRect(QRect(area.center().x(), area.top(), 40, area.height()));
    chart.zoomToRect(QRect(area.center().x(), area.top(), area.width() / 8, area.height()));
    chart.flush();
    const int first = static_cast<int>(std::ceil(chart.bottomMinimum()));
    const int last = static_cast<int>(std::floor(chart.bottomMaximum()));
    QVERIFY(last - first >= 5);
    int inView = 0;
    for (int i = first; i <= last; ++i) {
        const double value = chart.pointValue(ChartView::Series1, i);
        inView += value >= chart.leftMinimum() && value <= chart.leftMaximum() ? 1 : 0;
    }
    QVERIFY(inView >= 5);
    QCOMPARE(int(chart.valueMarks(ChartView::Series1).size()), inView);
    checkCallouts(ChartView::Series1, 20);

    chart.setMarksVisible(ChartView::Series1, false);
    chart.flush();
    QVERIFY(chart.valueMarks(ChartView::Series1).empty());
}

// Two curves that cross again and again, both climbing and sinking steeply: no two marks, of one
// curve or of both, share a pixel, and no curve shows through a mark's text.
void ChartMarksTest::marksOfCrossingCurvesNeverOverlap() {
    ChartView chart;
    chart.resize(1265, 745);
    for (int i = 0; i < 1500; ++i) {
        chart.Add(ChartView::Series1, 50 + 45 * std::sin(i / 9.0), QString());
        chart.Add(ChartView::Series3, 50 + 45 * std::cos(i / 13.0), QString());
    }
    chart.setMarksVisible(ChartView::Series1, true);
    chart.setMarksVisible(ChartView::Series3, true);
    const QRect area = chart.plotArea();
    const auto checkMarks = [&chart](const QString& view) {
        std::vector<ChartView::ValueMark> marks = chart.valueMarks(ChartView::Series1);
        const std::size_t altitudeMarks = marks.size();
        for (const ChartView::ValueMark& mark : chart.valueMarks(ChartView::Series3)) {
            marks.push_back(mark);
        }
        QVERIFY2(altitudeMarks > 5 && marks.size() > altitudeMarks + 5, qPrintable(view));
        for (std::size_t i = 0; i < marks.size(); ++i) {
            for (std::size_t j = i + 1; j < marks.size(); ++j) {
                QVERIFY2(
                    !marks[i].box.intersects(marks[j].box),
                    qPrintable(QString("%1: %2 and %3").arg(view, marks[i].text, marks[j].text)));
            }
        }
        const QImage picture = chart.renderImage();
        for (const ChartView::ValueMark& mark : marks) {
            // Off whole pixels, a box's edge rows mix with what lies under them.
            const QRect inside = mark.box.toAlignedRect().adjusted(2, 2, -2, -2);
            for (int y = inside.top(); y <= inside.bottom(); ++y) {
                for (int x = inside.left(); x <= inside.right(); ++x) {
                    const QColor c = picture.pixelColor(x, y);
                    // The curves' red and green; the texts are black on the panel's grey.
                    const bool curve = std::max(c.red(), c.green()) - c.blue() > 100;
                    QVERIFY2(!curve, qPrintable(QString("%1: line through %2 at %3,%4")
                                                    .arg(view, mark.text)
                                                    .arg(x)
                                                    .arg(y)));
                }
            }
        }
    };
    chart.flush();
    checkMarks("whole");
    chart.zoomToRect(QRect(area.center().x(), area.top(), area.width() / 10, area.height()));
    chart.flush();
    checkMarks("zoomed");
}

// A peak of 5585 cm plots as 55.849998 m: the panel shows "55.8" for a drawn curve and "55.9" for
// a filtered one (its exact centimetres), and so do the marks, in the locale's separator.
void ChartMarksTest::marksSayWhatThePanelSays() {
    ChartView chart;
    chart.resize(1265, 745);
    for (const int32_t centimetres : {0, 2000, 5585, 2000, 0}) {
        chart.Add(ChartView::Series1, vtl::plottedMetres(centimetres), QString());
    }
    chart.leftSetAutomatic(false);
    chart.leftSetMaximum(60.0);
    chart.setMarksVisible(ChartView::Series1, true);
    const auto texts = [&](ChartView::Series series) {
        chart.flush();
        QStringList shown;
        for (const ChartView::ValueMark& mark : chart.valueMarks(series)) {
            shown << mark.text;
        }
        return shown;
    };
    QVERIFY(texts(ChartView::Series1).contains(QStringLiteral("55.8")));
    chart.setMarksRounding(ChartView::Series1, vtl::AltitudeRounding::ExactCentimetres);
    chart.Repaint(ChartView::Series1);
    QVERIFY(texts(ChartView::Series1).contains(QStringLiteral("55.9")));

    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    chart.Repaint(ChartView::Series1);
    const QStringList polish = texts(ChartView::Series1);
    QLocale::setDefault(QLocale::c());
    QVERIFY2(polish.contains(QStringLiteral("55,9")), qPrintable(polish.join(' ')));
}

QTEST_MAIN(ChartMarksTest)
#include "chart_marks_test.moc"
