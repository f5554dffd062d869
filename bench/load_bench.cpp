// SPDX-License-Identifier: GPL-3.0-or-later
// Loading the largest sample file into the main window until the chart is drawn.

#include "gui/chart/chart_view.h"
#include "gui/shell/main_window.h"
#include "support/scripted_prompter.h"

#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

const char* samplePath = nullptr;

void loadLargestSample(benchmark::State& state) {
    QTemporaryDir folder;
    vtl::testing::ScriptedPrompter prompter;
    TVantorel_BMP window(folder.filePath("vantorel.par"), prompter);
    window.resize(1280, 900);
    window.show();
    QApplication::processEvents();
    for (auto _ : state) {
        prompter.answerNextFiles({samplePath});
        window.form().BOdczyt->click();
        benchmark::DoNotOptimize(window.form().Chart1->renderImage());
    }
    state.counters["points"] = window.form().Chart1->pointCount(ChartView::Series1);
}
BENCHMARK(loadLargestSample)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication application(argc, argv);
    samplePath = VTL_LARGEST_SAMPLE;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
