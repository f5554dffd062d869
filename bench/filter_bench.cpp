// SPDX-License-Identifier: GPL-3.0-or-later
// The smoothing filter over the longest curve the series hold: a realistic flight, and a curve
// that makes the clean-ups restart as often as they can.

#include "core/flight/smoothing_filter.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

namespace {

constexpr size_t kSamples = vtl::SmoothingFilter::kMaximumLength;

// Launch, climb to about 120 m, then a long glide; a few centimetres of sensor noise and now
// and then a spike of several metres.
std::vector<int32_t> realisticFlight() {
    std::mt19937 random(20);
    std::vector<int32_t> curve;
    for (size_t i = 0; i < kSamples; ++i) {
        const double seconds = static_cast<double>(i) / 20.0;
        const double metres = seconds < 3.0    ? 0.0
                              : seconds < 40.0 ? 120.0 * std::sin((seconds - 3.0) / 37.0 * 1.5708)
                                               : 120.0 - 0.18 * (seconds - 40.0);
        int32_t centimetres =
            static_cast<int32_t>(metres * 100.0) + static_cast<int32_t>(random() % 31) - 15;
        if (random() % 400 == 0) {
            centimetres += static_cast<int32_t>(random() % 2000) - 1000;
        }
        curve.push_back(centimetres);
    }
    curve.push_back(vtl::kEndMarker);
    return curve;
}

std::vector<int32_t> alternating(int32_t low, int32_t high) {
    std::vector<int32_t> curve;
    for (size_t i = 0; i < kSamples; ++i) {
        curve.push_back(i % 2 == 0 ? low : high);
    }
    curve.push_back(vtl::kEndMarker);
    return curve;
}

void runOver(benchmark::State& state, const std::vector<int32_t>& curve,
             const vtl::FilterParameters& parameters) {
    vtl::SmoothingFilter filter;
    for (auto _ : state) {
        filter.takeCurve(curve);
        filter.runFilter(parameters);
        benchmark::DoNotOptimize(filter.work());
    }
    state.counters["samples"] = static_cast<double>(filter.length());
}

void filterRealisticFlight(benchmark::State& state) {
    runOver(state, realisticFlight(), {});
}
BENCHMARK(filterRealisticFlight)->Unit(benchmark::kMillisecond);

void filterAlternatingCurve(benchmark::State& state) {
    runOver(state, alternating(0, 100000), {});
}
BENCHMARK(filterAlternatingCurve)->Unit(benchmark::kMillisecond);

// Extreme values and tolerances: every anchor needs the tolerances raised far before a candidate
// passes.
void filterExtremeCurve(benchmark::State& state) {
    runOver(state, alternating(INT32_MIN, INT32_MAX - 1), {INT32_MIN, INT32_MIN, 8, 12});
}
BENCHMARK(filterExtremeCurve)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
