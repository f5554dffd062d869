// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/chart/chart_view.h"

#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QPrinter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

namespace {

// A flight at 10 samples per second, extended up to the given number of points: the altitude
// curve carries a label every 10 points.
void addAltitudeCurve(ChartView& chart, int points, double (*altitude)(int)) {
    for (int i = chart.pointCount(ChartView::Series1); i < points; ++i) {
        chart.Add(ChartView::Series1, altitude(i),
                  i % 10 == 0 ? QString::number(i / 10) : QString());
    }
}

double climbAndGlide(int i) {
    return i < 300 ? i / 3.0 : 100.0 - (i - 300) * 0.05;
}

void sendMouse(QWidget* target, QEvent::Type type, Qt::MouseButton button, const QPoint& pos) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
    QMouseEvent event(type, pos, target->mapToGlobal(pos),
                      type == QEvent::MouseMove ? Qt::NoButton : button, held, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

void drag(QWidget* target, Qt::MouseButton button, const QPoint& from, const QPoint& to) {
    sendMouse(target, QEvent::MouseButtonPress, button, from);
    sendMouse(target, QEvent::MouseMove, button, (from + to) / 2);
    sendMouse(target, QEvent::MouseMove, button, to);
    sendMouse(target, QEvent::MouseButtonRelease, button, to);
}

// Where two tick labels of an axis overlap, as the layout placed them: the labels' boxes from
// their font, the bottom axis' labels turned upright, the left axis' right-aligned at the axis.
QString overlappingLabels(const ChartView::AxisLabels& labels, ChartView::LabelledAxis axis) {
    const QFontMetricsF metrics(labels.font);
    std::vector<QRectF> boxes;
    for (int i = 0; i < labels.texts.size(); ++i) {
        const QRectF text = metrics.boundingRect(labels.texts[i]);
        const double at = labels.positions[static_cast<std::size_t>(i)];
        boxes.push_back(
            axis == ChartView::BottomAxis
                ? QRectF(at - text.height() / 2, 0, text.height(), text.width())
                : QRectF(-text.width(), at - text.height() / 2, text.width(), text.height()));
    }
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        for (std::size_t j = i + 1; j < boxes.size(); ++j) {
            if (boxes[i].intersects(boxes[j])) {
                return QString("%1 at %2 and %3 at %4")
                    .arg(labels.texts[int(i)])
                    .arg(labels.positions[i])
                    .arg(labels.texts[int(j)])
                    .arg(labels.positions[j]);
            }
        }
    }
    return QString();
}

// A whole flight that climbs to about 1000 m: many labels on both axes.
void addHighFlight(ChartView& chart) {
    addAltitudeCurve(chart, 17000, [](int i) { return i < 3000 ? i / 3.0 : 1000.0 - i * 0.05; });
}

} // namespace

class ChartViewTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void formatsValuesWithTheChartPatterns();
    void clearAndAddKeepValuesAndLabels();
    void startsWithTheDesignLook();
    void titlesKeepTheirBlanks();
    void automaticEndsFollowTheVisibleLeftSeries();
    void onlyTheFirstPageIsShown();
    void bottomAxisShowsOnlyLabelledPointsWithoutOverlap();
    void minorTicksDivideTheGapsBetweenLabels();
    void marksBelongToTheAltitudeAndComparisonCurves();
    void marksCarryACalloutToTheirPoint();
    void leftAxisStartsAtItsMinimumUnrounded();
    void axisLabelsFitTheSizeRightAfterAResize();
    void axisLabelsFitEveryPrintout();
    void zoomSignalsAfterTheAxesTookTheRange();
    void undoZoomRestoresTheUnzoomedRange();
    void mouseGesturesZoomUndoAndClick();
    void rendersAtTheWidgetSize();
    void legendFitsInsideTheChart();
    void printAreaLiesInsideThePercentMargins();
    void printStretchesTheChartOverTheTarget();
    void printsToAPdfFile();
};

void ChartViewTest::initTestCase() {
    QLocale::setDefault(QLocale::c());
}

void ChartViewTest::formatsValuesWithTheChartPatterns() {
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

void ChartViewTest::clearAndAddKeepValuesAndLabels() {
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

void ChartViewTest::startsWithTheDesignLook() {
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

void ChartViewTest::titlesKeepTheirBlanks() {
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

void ChartViewTest::automaticEndsFollowTheVisibleLeftSeries() {
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

void ChartViewTest::onlyTheFirstPageIsShown() {
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

void ChartViewTest::bottomAxisShowsOnlyLabelledPointsWithoutOverlap() {
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

void ChartViewTest::minorTicksDivideTheGapsBetweenLabels() {
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

void ChartViewTest::marksBelongToTheAltitudeAndComparisonCurves() {
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

void ChartViewTest::marksCarryACalloutToTheirPoint() {
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
    // Above the altitude curve at 20 pixels, below the comparison curve at 28.
    const auto checkCallouts = [&](ChartView::Series series, const QString& pattern, int length) {
        const std::vector<ChartView::ValueMark> marks = chart.valueMarks(series);
        QVERIFY(!marks.empty());
        for (const ChartView::ValueMark& mark : marks) {
            QVERIFY(mark.arrowHead);
            QCOMPARE(mark.calloutBrush, QColor(Qt::black));
            QCOMPARE(mark.calloutStart.x(), mark.point.x());
            QCOMPARE(mark.point.y() - mark.calloutStart.y(), double(length));
            const double edge = length > 0 ? mark.box.bottom() : mark.box.top();
            QVERIFY(std::abs(edge - mark.calloutStart.y()) <= 1);
            QVERIFY(std::abs(mark.box.center().x() - mark.point.x()) <= 2);
            QCOMPARE(mark.text, ChartView::formatValue(
                                    chart.pointValue(series, indexAt(mark.point.x())), pattern));
        }
    };
    checkCallouts(ChartView::Series1, "#,####.##", 20);
    checkCallouts(ChartView::Series3, "#,###0.###", -28);

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
    checkCallouts(ChartView::Series1, "#,####.##", 20);

    chart.setMarksVisible(ChartView::Series1, false);
    chart.flush();
    QVERIFY(chart.valueMarks(ChartView::Series1).empty());
}

void ChartViewTest::leftAxisStartsAtItsMinimumUnrounded() {
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

void ChartViewTest::axisLabelsFitTheSizeRightAfterAResize() {
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

void ChartViewTest::axisLabelsFitEveryPrintout() {
    QTemporaryDir folder;
    ChartView chart;
    chart.resize(1265, 745);
    chart.show();
    addHighFlight(chart);
    chart.flush();
    std::vector<std::pair<ChartView::AxisLabels, ChartView::AxisLabels>> layouts;
    connect(&chart, &ChartView::laidOut, this, [&] {
        layouts.emplace_back(chart.axisLabels(ChartView::BottomAxis),
                             chart.axisLabels(ChartView::LeftAxis));
    });
    for (const bool landscape : {false, true}) {
        for (const int dpi : {150, 600}) {
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(folder.filePath(QString("print-%1.pdf").arg(dpi)));
            printer.setResolution(dpi);
            printer.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
            // The bottom margins of a landscape and of a portrait printout.
            layouts.clear();
            QVERIFY(chart.printTo(printer, QMarginsF(5, 5, 5, landscape ? 25 : 55)));
            QVERIFY(layouts.size() >= 2); // the page's, then the screen's again
            const QString page =
                QString("%1 dpi %2").arg(dpi).arg(landscape ? "landscape" : "portrait");
            for (const auto& [bottom, left] : layouts) {
                QVERIFY(bottom.texts.size() >= 3 && left.texts.size() >= 3);
                const QString overlap = overlappingLabels(bottom, ChartView::BottomAxis) +
                                        overlappingLabels(left, ChartView::LeftAxis);
                QVERIFY2(overlap.isEmpty(), qPrintable(page + ": " + overlap));
            }
        }
    }
}

void ChartViewTest::zoomSignalsAfterTheAxesTookTheRange() {
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

void ChartViewTest::undoZoomRestoresTheUnzoomedRange() {
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

void ChartViewTest::mouseGesturesZoomUndoAndClick() {
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

void ChartViewTest::rendersAtTheWidgetSize() {
    ChartView chart;
    chart.resize(800, 500);
    addAltitudeCurve(chart, 100, climbAndGlide);
    const QImage image = chart.renderImage();
    QCOMPARE(image.size(), QSize(800, 500));
    QCOMPARE(image.pixelColor(2, 2), QColor(243, 243, 243));
}

void ChartViewTest::legendFitsInsideTheChart() {
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

void ChartViewTest::printAreaLiesInsideThePercentMargins() {
    const QRect page(0, 0, 1000, 2000);
    QCOMPARE(ChartView::printArea(page, ChartView::kPrintMargins), QRect(50, 100, 900, 1400));
    // Portrait printing leaves the lower 55 percent of the page blank.
    QCOMPARE(ChartView::printArea(page, QMarginsF(5, 5, 5, 55)), QRect(50, 100, 900, 800));
    QCOMPARE(ChartView::printArea(page.translated(10, 20), QMarginsF(0, 0, 0, 0)),
             page.translated(10, 20));
    QVERIFY(ChartView::printArea(page, QMarginsF(5, 50, 5, 50)).isEmpty());
    QVERIFY(ChartView::printArea(page, QMarginsF(60, 5, 50, 5)).isEmpty());
}

void ChartViewTest::printStretchesTheChartOverTheTarget() {
    ChartView chart;
    chart.resize(1265, 745);
    addAltitudeCurve(chart, 600, climbAndGlide);
    chart.flush();
    const QRect screenArea = chart.plotArea();

    // Far wider than the screen: the chart is not kept in proportion but fills the target.
    QImage page(1200, 900, QImage::Format_ARGB32_Premultiplied);
    page.fill(Qt::magenta);
    const QRect target = ChartView::printArea(page.rect(), QMarginsF(5, 5, 5, 55));
    QVERIFY(chart.print(page, target));
    const QColor panel(243, 243, 243);
    QCOMPARE(page.pixelColor(target.left() + 2, target.center().y()), panel);
    QCOMPARE(page.pixelColor(target.right() - 2, target.bottom() - 2), panel);
    QCOMPARE(page.pixelColor(target.left() - 1, target.center().y()), QColor(Qt::magenta));
    QCOMPARE(page.pixelColor(target.right() + 1, target.center().y()), QColor(Qt::magenta));
    QCOMPARE(page.pixelColor(target.center().x(), target.top() - 1), QColor(Qt::magenta));
    QCOMPARE(page.pixelColor(target.center().x(), target.bottom() + 1), QColor(Qt::magenta));

    // The screen goes on with its own layout.
    QCOMPARE(chart.plotArea(), screenArea);
    QCOMPARE(chart.renderImage().size(), QSize(1265, 745));
}

void ChartViewTest::printsToAPdfFile() {
    const auto printedSize = [](ChartView& chart, const QString& path) -> qint64 {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        printer.setPageOrientation(QPageLayout::Landscape);
        if (!chart.printTo(printer)) {
            return -1;
        }
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly) || !file.read(5).startsWith("%PDF-")) {
            return -1;
        }
        return file.size();
    };
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    ChartView chart;
    chart.resize(1265, 745);
    const qint64 empty = printedSize(chart, folder.filePath("empty.pdf"));
    QVERIFY(empty > 0);
    addAltitudeCurve(chart, 3000, climbAndGlide);
    for (int i = 0; i < 3000; ++i) {
        chart.Add(ChartView::Series3, climbAndGlide(i) * 0.9, QString());
    }
    const qint64 flight = printedSize(chart, folder.filePath("flight.pdf"));
    // The curves are drawn as lines, not left out.
    QVERIFY2(flight > empty + 10000, qPrintable(QString("%1 %2").arg(empty).arg(flight)));
}

QTEST_MAIN(ChartViewTest)
#include "chart_view_test.moc"
