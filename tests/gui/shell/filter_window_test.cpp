// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/shell/main_window.h"

#include "core/flight/flight_record.h"
#include "support/window_rig.h"

#include <QFile>
#include <QtTest>

namespace {

// A glide from 60 m with one sample 12 m too high in the middle.
vtl::testing::FlightDescription spikedFlight() {
    vtl::testing::FlightDescription flight;
    flight.altitudeCm.assign(10, 0);
    for (int i = 0; i < 600; ++i) {
        flight.altitudeCm.push_back(std::min(i * 100, 6000) - (i > 60 ? (i - 60) * 8 : 0));
    }
    flight.altitudeCm[400] += 1200;
    return flight;
}

std::vector<double> values(const ChartView& chart, ChartView::Series series) {
    std::vector<double> points;
    for (int i = 0; i < chart.pointCount(series); ++i) {
        points.push_back(chart.pointValue(series, i));
    }
    return points;
}

} // namespace

class FilterWindowTest : public QObject {
    Q_OBJECT
private slots:
    void filterReplacesTheCurveAndKeepsTheRawOneDashed();
    void comparisonFilterUsesItsOwnSeries();
    void loadingAFlightRemovesTheFilteredCurves();
};

void FilterWindowTest::filterReplacesTheCurveAndKeepsTheRawOneDashed() {
    vtl::testing::WindowRig rig;
    const QString spike = rig.writeFlight("spike.bin", spikedFlight());
    vtl::testing::ScriptedPrompter& prompter = rig.prompter();
    TVantorel_BMP& window = rig.open();
    MainWindowForm& f = window.form();
    ChartView& chart = *f.Chart1;

    f.B_Filtr_Vtl->click(); // no flight yet: nothing happens
    QCOMPARE(chart.pointCount(ChartView::Series1), 0);

    prompter.answerNextFiles({spike.toStdString()});
    f.BOdczyt->click();
    const std::vector<double> drawn = values(chart, ChartView::Series1);
    const QString drawnMaximum = f.E_MaxGl->text();

    f.B_Filtr_Vtl->click();
    const std::vector<double> filtered = values(chart, ChartView::Series1);
    QCOMPARE(values(chart, ChartView::Series5), drawn);
    QCOMPARE(filtered.size(), drawn.size());
    // The smoothed spike stands out of the drawn curve but not out of the filtered one.
    const double spikeDrawn = drawn[400] - drawn[395];
    const double spikeFiltered = filtered[400] - filtered[395];
    QVERIFY(spikeDrawn > 2.0);
    QVERIFY(spikeFiltered < 1.0);
    QCOMPARE(chart.pointLabel(ChartView::Series1, 10), QString("1"));
    QCOMPARE(f.E_MaxGl->text(), drawnMaximum);

    // Filtering again starts from the flight itself: the same picture, the raw curve once.
    f.B_Filtr_Vtl->click();
    QCOMPARE(values(chart, ChartView::Series1), filtered);
    QCOMPARE(values(chart, ChartView::Series5), drawn);

    // The export still writes the drawn, unfiltered curve.
    prompter.answerNextFiles({rig.path("lot").toStdString()});
    f.ZapiszdoExcela1->trigger();
    QFile exported(rig.path("lot.csv"));
    QVERIFY(exported.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = exported.readAll().split('\n');
    QCOMPARE(lines[401].trimmed(), QByteArray::number(drawn[401], 'f', 1));
}

void FilterWindowTest::comparisonFilterUsesItsOwnSeries() {
    vtl::testing::WindowRig rig;
    const QString spike = rig.writeFlight("spike.bin", spikedFlight());
    vtl::testing::ScriptedPrompter& prompter = rig.prompter();
    TVantorel_BMP& window = rig.open();
    MainWindowForm& f = window.form();
    ChartView& chart = *f.Chart1;
    prompter.answerNextFiles({spike.toStdString()});
    f.B_Porownanie->click();
    const std::vector<double> drawn = values(chart, ChartView::Series3);
    f.B_Filtr_por->click();
    f.B_Filtr_por->click();
    QCOMPARE(values(chart, ChartView::Series6), drawn);
    QCOMPARE(chart.pointCount(ChartView::Series3), static_cast<int>(drawn.size()));
    QCOMPARE(chart.pointLabel(ChartView::Series3, 10), QString("1"));
    QCOMPARE(chart.pointCount(ChartView::Series1), 0);
    QVERIFY(!f.E_Max_Por->text().isEmpty());
}

// A newly loaded flight shows no curve of the previous one: the raw curve kept by the filter and
// the spare series go with it.
void FilterWindowTest::loadingAFlightRemovesTheFilteredCurves() {
    vtl::testing::WindowRig rig;
    const QString spike = rig.writeFlight("spike.bin", spikedFlight());
    vtl::testing::ScriptedPrompter& prompter = rig.prompter();
    TVantorel_BMP& window = rig.open();
    MainWindowForm& f = window.form();
    ChartView& chart = *f.Chart1;
    prompter.answerNextFiles({spike.toStdString()});
    f.BOdczyt->click();
    f.B_Filtr_Vtl->click();
    chart.Add(ChartView::Series4, 5.0, QString());
    QVERIFY(chart.pointCount(ChartView::Series5) > 0);

    prompter.answerNextFiles({spike.toStdString()});
    f.BOdczyt->click();
    QCOMPARE(chart.pointCount(ChartView::Series5), 0);
    QCOMPARE(chart.pointCount(ChartView::Series4), 0);
    QVERIFY(chart.pointCount(ChartView::Series1) > 0);
}

QTEST_MAIN(FilterWindowTest)
#include "filter_window_test.moc"
