// SPDX-License-Identifier: GPL-3.0-or-later
// The flight passes on the largest flight the series hold: conversion, smoothing, climb, labels.

#include "core/flight/altitude_conversion.h"
#include "core/flight/flight_drawing.h"
#include "core/flight/flight_image.h"
#include "core/flight/image_handover.h"
#include "flight_synthesiser.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

namespace {

std::unique_ptr<vtl::FlightRecord> largestFlight() {
    vtl::testing::FlightDescription flight;
    flight.samplingCode = 0;
    for (int i = 0; i < vtl::FlightRecord::kSeriesCapacity - 1; ++i) {
        const double seconds = i / 20.0;
        flight.altitudeCm.push_back(
            i < 60 ? 0 : static_cast<int32_t>(12000 * std::sin(std::min(seconds / 40.0, 1.5))));
    }
    const auto bytes = vtl::testing::synthesiseFlightImage(flight);
    auto record = std::make_unique<vtl::FlightRecord>();
    vtl::acceptDownloadedImage(*record, bytes.data(), bytes.size(), 10000,
                               vtl::FlightRole::Current);
    return record;
}

void drawLargestFlight(benchmark::State& state) {
    const auto record = largestFlight();
    for (auto _ : state) {
        const auto drawing = vtl::drawFlight(*record, true);
        benchmark::DoNotOptimize(drawing);
    }
    state.counters["slots"] = record->slotCount();
}
BENCHMARK(drawLargestFlight)->Unit(benchmark::kMillisecond);

void convertLargestFlight(benchmark::State& state) {
    const auto record = largestFlight();
    for (auto _ : state) {
        benchmark::DoNotOptimize(vtl::convertFlight(*record, vtl::FlightRole::Current));
    }
}
BENCHMARK(convertLargestFlight)->Unit(benchmark::kMillisecond);

// The conversion's worst case: no two samples share a pressure, so none finds its altitude among
// those already computed and every one takes a logarithm.
void convertLargestFlightOfDistinctPressures(benchmark::State& state) {
    const auto record = largestFlight();
    for (uint32_t i = 0; i < record->slotCount(); ++i) {
        uint8_t* slot =
            record->rawImage.data() + vtl::image::kHeaderSize + vtl::image::kSlotSize * i;
        vtl::image::writeWord(slot, vtl::image::kSlotPressure,
                              static_cast<uint16_t>(20000 + 2 * i));
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(vtl::convertFlight(*record, vtl::FlightRole::Current));
    }
}
BENCHMARK(convertLargestFlightOfDistinctPressures)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
