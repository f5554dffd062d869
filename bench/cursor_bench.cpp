// SPDX-License-Identifier: GPL-3.0-or-later
// The readout under the mouse: one pointer move over a full flight with a comparison, from the
// mouse event to the text on the status line (aim: at most 2 ms, so the readout keeps up with
// the mouse without a dropped frame).
#include "core/shell/language.h"
#include "gui/chart/chart_view.h"
#include "gui/flight/chart_cursors.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMouseEvent>
#include <QStatusBar>

#include <cmath>

namespace {

constexpr int kFlightPoints = 17000; // the capacity of a flight
constexpr uint32_t kSamplesPer10s = 100;

double altitude(int i) {
    const double climb = std::min(i, 600) * 0.25;
    const double glide = std::max(0, i - 600) * 0.008;
    return climb - glide + 0.3 * std::sin(i * 0.7);
}

struct ReadoutRig {
    QWidget window;
    ChartView* chart = new ChartView(&window);
    QStatusBar* status = new QStatusBar(&window);
    vtl::Language language = vtl::Language::Polish;
    ChartCursors cursors{*chart, [] { return kSamplesPer10s; }, language, &window};

    ReadoutRig() {
        window.resize(1280, 800);
        status->setGeometry(0, 760, 1280, 24);
        for (int i = 0; i < kFlightPoints; ++i) {
            chart->Add(ChartView::Series1, altitude(i), i % 10 == 0 ? QString::number(i / 10) : "");
            chart->Add(ChartView::Series3, altitude(i) * 0.9, QString());
        }
        QObject::connect(&cursors, &ChartCursors::readoutChanged, status,
                         [this](const QString& text) { status->showMessage(text); });
        window.show();
        chart->flush();
    }

    QWidget* plot() const { return chart->findChild<QWidget*>(QStringLiteral("chartPlot")); }

    // Moves the pointer across the plot a pixel at a time, as a steady hand does.
    void move(int step) {
        const QRect area = chart->plotArea();
        const QPoint at =
            plot()->mapFrom(chart, QPoint(area.left() + step % area.width(), area.center().y()));
        QMouseEvent event(QEvent::MouseMove, at, plot()->mapToGlobal(at), Qt::NoButton,
                          Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(plot(), &event);
    }
};

void readoutUpdate(benchmark::State& state) {
    ReadoutRig rig;
    int step = 0;
    for (auto _ : state) {
        rig.move(step++);
        benchmark::DoNotOptimize(rig.status->currentMessage().size());
    }
    if (!rig.status->currentMessage().startsWith(QStringLiteral("t "))) {
        state.SkipWithError("the status line shows no readout");
    }
    state.SetLabel(rig.status->currentMessage().toStdString());
}
BENCHMARK(readoutUpdate)->Unit(benchmark::kMicrosecond);

// The same with the status line painted at once, as the next frame would.
void readoutUpdateAndPaint(benchmark::State& state) {
    ReadoutRig rig;
    int step = 0;
    for (auto _ : state) {
        rig.move(step++);
        rig.status->repaint();
    }
}
BENCHMARK(readoutUpdateAndPaint)->Unit(benchmark::kMicrosecond);

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
