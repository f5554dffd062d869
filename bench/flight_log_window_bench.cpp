// SPDX-License-Identifier: GPL-3.0-or-later
// The flight log window's first listing of a year's archive (2,000 full-size flights): from
// choosing the folder until the last row is in the table and the scan has finished.

#include "core/files/flight_log.h"
#include "core/shell/language.h"
#include "gui/files/flight_log_window.h"
#include "log_archive_folder.h"
#include "support/scripted_prompter.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QEventLoop>
#include <QTableWidget>
#include <QTemporaryDir>

#include <chrono>
#include <filesystem>

namespace {

namespace fs = std::filesystem;

void listInWindow(benchmark::State& state, bool cached) {
    const fs::path& folder = vtl::bench::logArchiveFolder();
    const QString folderText = QString::fromStdString(folder.string());
    QTemporaryDir stateFolder;
    vtl::testing::ScriptedPrompter prompter;
    const vtl::Language language = vtl::Language::English;
    FlightLogWindow window(prompter, language, stateFolder.filePath("log.ini"),
                           [](const std::string&, bool) {});
    window.show();
    QApplication::processEvents();
    if (cached) {
        vtl::scanFlightLog(folder.string());
    }
    int rows = 0;
    for (auto _ : state) {
        if (!cached) {
            fs::remove(folder / vtl::kFlightLogCacheName);
        }
        QEventLoop loop;
        QObject::connect(&window, &FlightLogWindow::scanFinished, &loop, &QEventLoop::quit);
        const auto start = std::chrono::steady_clock::now();
        window.setFolder(folderText);
        loop.exec();
        // The rows on screen, as the next frame paints them.
        window.repaint();
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        rows = window.table()->rowCount();
    }
    state.counters["rows"] = rows;
    if (rows != vtl::bench::kArchiveFlights) {
        state.SkipWithError("the table does not hold every flight");
    }
}

void windowFirstListing(benchmark::State& state) {
    listInWindow(state, false);
}
BENCHMARK(windowFirstListing)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();

void windowCachedListing(benchmark::State& state) {
    listInWindow(state, true);
}
BENCHMARK(windowCachedListing)->Unit(benchmark::kMillisecond)->Iterations(5)->UseManualTime();

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
