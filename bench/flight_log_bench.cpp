// SPDX-License-Identifier: GPL-3.0-or-later
// Listing an archive of 2,000 flights: the first time, when every file is read and drawn, and
// again, when the folder's cache answers for the unchanged files.

#include "core/files/flight_archive.h"
#include "core/files/flight_log.h"
#include "flight_synthesiser.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>

namespace {

namespace fs = std::filesystem;

constexpr int kFlights = 2000;
constexpr int kDistinctFlights = 40;

// 60 to 200 s at 10 samples a second: a climb, a glide down and some time on the ground.
std::vector<uint8_t> flight(std::mt19937& random) {
    vtl::testing::FlightDescription description;
    description.competitorNumber = static_cast<uint16_t>(random() % 200);
    const int samples = 600 + static_cast<int>(random() % 1401);
    const int32_t peakCm = 3000 + static_cast<int32_t>(random() % 12000);
    const int climb = samples / 5;
    description.altitudeCm.assign(20, 0);
    for (int i = 1; i <= climb; ++i) {
        description.altitudeCm.push_back(peakCm * i / climb);
    }
    const int glide = samples - climb - 40;
    for (int i = 1; i <= glide; ++i) {
        description.altitudeCm.push_back(peakCm - peakCm * i / glide);
    }
    description.altitudeCm.resize(static_cast<size_t>(samples), 0);
    return vtl::testing::synthesiseFlightImage(description);
}

// Made once a run: a few dozen synthesised flights under 2,000 archive names.
const fs::path& archive() {
    static const fs::path folder = [] {
        const fs::path path = fs::temp_directory_path() / "vtl-flight-log-bench";
        fs::remove_all(path);
        fs::create_directories(path);
        std::mt19937 random(7);
        std::vector<std::vector<uint8_t>> images;
        for (int i = 0; i < kDistinctFlights; ++i) {
            images.push_back(flight(random));
        }
        std::tm time{};
        time.tm_year = 2026 - 1900;
        time.tm_mon = 4;
        time.tm_mday = 1;
        time.tm_hour = 8;
        for (int i = 0; i < kFlights; ++i) {
            time.tm_min = i % 60;
            time.tm_hour = 8 + (i / 60) % 10;
            time.tm_mday = 1 + i / 600;
            const auto& image = images[static_cast<size_t>(i % kDistinctFlights)];
            std::ofstream(path / vtl::archiveFileName(time, 1234, static_cast<uint16_t>(i)),
                          std::ios::binary)
                .write(reinterpret_cast<const char*>(image.data()),
                       static_cast<std::streamsize>(image.size()));
        }
        return path;
    }();
    return folder;
}

void listFirstTime(benchmark::State& state) {
    const fs::path& folder = archive();
    size_t rows = 0;
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove(folder / vtl::kFlightLogCacheName);
        state.ResumeTiming();
        rows = vtl::scanFlightLog(folder.string()).size();
    }
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(listFirstTime)->Unit(benchmark::kMillisecond)->Iterations(3);

void listAgain(benchmark::State& state) {
    const fs::path& folder = archive();
    vtl::scanFlightLog(folder.string());
    size_t rows = 0;
    for (auto _ : state) {
        rows = vtl::scanFlightLog(folder.string()).size();
    }
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(listAgain)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
