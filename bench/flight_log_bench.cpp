// SPDX-License-Identifier: GPL-3.0-or-later
// Listing a year's archive of 2,000 full-size flights: the first time, when every file is read
// and its figures computed, and again, when the folder's cache answers for the unchanged files.

#include "core/files/flight_log.h"
#include "log_archive_folder.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

namespace fs = std::filesystem;

void listFirstTime(benchmark::State& state) {
    const fs::path& folder = vtl::bench::logArchiveFolder();
    size_t rows = 0;
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove(folder / vtl::kFlightLogCacheName);
        state.ResumeTiming();
        rows = vtl::scanFlightLog(folder.string()).size();
    }
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(listFirstTime)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void listAgain(benchmark::State& state) {
    const fs::path& folder = vtl::bench::logArchiveFolder();
    vtl::scanFlightLog(folder.string());
    size_t rows = 0;
    for (auto _ : state) {
        rows = vtl::scanFlightLog(folder.string()).size();
    }
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(listAgain)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
