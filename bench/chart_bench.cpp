// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/chart/chart_view.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPrinter>
#include <QTemporaryDir>

#include <cmath>
#include <vector>

namespace {

constexpr int kFlightPoints = 17000; // the capacity of a flight
constexpr int kPointsPerLabel = 10;  // 10 samples per second

// A tow to about 150 m, then a long glide with a little noise.
double altitude(int i) {
    const double climb = std::min(i, 600) * 0.25;
    const double glide = std::max(0, i - 600) * 0.008;
    return climb - glide + 0.3 * std::sin(i * 0.7);
}

void fillFlight(ChartView& chart) {
    for (int s = 0; s < ChartView::kSeriesCount; ++s) {
        chart.Clear(static_cast<ChartView::Series>(s));
    }
    for (int i = 0; i < kFlightPoints; ++i) {
        const QString label =
            i % kPointsPerLabel == 0 ? QString::number(i / kPointsPerLabel) : QString();
        chart.Add(ChartView::Series1, altitude(i), label);
        chart.Add(ChartView::Series2, altitude(i + 1) - altitude(i), QString(), QColor(0, 0, 255));
        chart.Add(ChartView::Series3, altitude(i) * 0.9, QString());
        chart.Add(ChartView::Series4, altitude(i), QString());
        chart.Add(ChartView::Series5, altitude(i) + 1, QString());
        chart.Add(ChartView::Series6, altitude(i) * 0.9 + 1, QString());
    }
}

// Six curves of a full flight, then one complete redraw into an image of the on-screen size.
void fillAndRedraw(benchmark::State& state) {
    ChartView chart;
    chart.resize(1265, 745);
    chart.show();
    chart.setMarksVisible(ChartView::Series1, state.range(0) != 0);
    chart.setMarksVisible(ChartView::Series3, state.range(0) != 0);
    chart.flush();
    for (auto _ : state) {
        fillFlight(chart);
        const QImage image = chart.renderImage();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(fillAndRedraw)->ArgName("marks")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Redrawing alone, as scrolling and the zoom animation do it.
void redrawOnly(benchmark::State& state) {
    ChartView chart;
    chart.resize(1265, 745);
    chart.show();
    fillFlight(chart);
    chart.flush();
    for (auto _ : state) {
        chart.Repaint(ChartView::Series1);
        chart.flush();
    }
}
BENCHMARK(redrawOnly)->Unit(benchmark::kMillisecond);

// A full flight printed to a landscape PDF page, every curve drawn as vector lines.
void printToPdf(benchmark::State& state) {
    ChartView chart;
    chart.resize(1265, 745);
    fillFlight(chart);
    chart.flush();
    QTemporaryDir folder;
    for (auto _ : state) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(folder.filePath(QStringLiteral("flight.pdf")));
        printer.setPageOrientation(QPageLayout::Landscape);
        benchmark::DoNotOptimize(chart.printTo(printer));
    }
}
BENCHMARK(printToPdf)->Unit(benchmark::kMillisecond);

// Eight full flights of an overlay, each towed a little higher, with their time labels.
std::vector<ChartView::OverlayCurve> eightFullFlights(std::vector<QString>& labels) {
    std::vector<ChartView::OverlayCurve> curves(8);
    for (size_t f = 0; f < curves.size(); ++f) {
        curves[f].name = QStringLiteral("flight %1 · %2 · 2026-06-14").arg(f).arg(10 + f);
        curves[f].metres.resize(kFlightPoints);
        for (int i = 0; i < kFlightPoints; ++i) {
            curves[f].metres[static_cast<size_t>(i)] = altitude(i) * (1 + 0.05 * f);
        }
    }
    labels.resize(kFlightPoints);
    for (int i = 0; i < kFlightPoints; ++i) {
        labels[static_cast<size_t>(i)] =
            i % kPointsPerLabel == 0 ? QString::number(i / kPointsPerLabel) : QString();
    }
    return curves;
}

// An overlay of eight full flights put on the chart and drawn whole into an image of the
// on-screen size, as the overlay window does for each alignment or overlay file.
void overlayEightFlights(benchmark::State& state) {
    ChartView chart;
    chart.resize(1265, 745);
    chart.show();
    std::vector<QString> labels;
    const std::vector<ChartView::OverlayCurve> curves = eightFullFlights(labels);
    chart.flush();
    for (auto _ : state) {
        chart.setOverlay(curves, labels);
        const QImage image = chart.renderImage();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(overlayEightFlights)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    benchmark::Initialize(&argc, argv);
    QApplication application(argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
