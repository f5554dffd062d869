// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as a loaded measurement file and as a downloaded image: decoding, conversion, both
// drawing passes, the comparison on another flight's sample times, the filter with parameters
// taken from the bytes, and the spreadsheet column.
#include "fuzz_input.h"

#include "core/files/spreadsheet_export.h"
#include "core/flight/comparison_resampling.h"
#include "core/flight/flight_drawing.h"
#include "core/flight/flight_plausibility.h"
#include "core/flight/flight_record.h"
#include "core/flight/image_handover.h"
#include "core/flight/smoothing_filter.h"

#include <cstdlib>
#include <memory>

namespace {

using namespace vtl;

FilterParameters parametersFrom(fuzz::FuzzInput& input) {
    FilterParameters parameters;
    parameters.preCutCm = input.int32();
    parameters.finalCutCm = input.int32();
    parameters.preFilterLength = static_cast<int8_t>(input.byte());
    parameters.finalFilterLength = static_cast<int8_t>(input.byte());
    return parameters;
}

void drawAndUse(FlightRecord& record, const FilterParameters& parameters) {
    const auto drawing = drawFlight(record, true, ',');
    if (!drawing) {
        return;
    }
    if (drawing->altitudeCm.size() != drawing->labelSeconds.size()) {
        std::abort();
    }
    if (canFilter(record)) {
        static SmoothingFilter filter; // its buffers are large: made once, as the window does
        const FilterResult result = filterCurve(filter, record.altitudeCm.data(),
                                                record.altitudeCm.size(), parameters, '.');
        if (result.filteredCm.size() != result.unfilteredCm.size()) {
            std::abort();
        }
    }
    spreadsheetBytes(record, '.');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::FuzzInput input(data, size);
    const FilterParameters parameters = parametersFrom(input);
    const uint16_t announcedReference = input.word();

    plausibleFlightHeader(data, size);

    auto loaded = std::make_unique<FlightRecord>();
    if (acceptLoadedImage(*loaded, data, size, FlightRole::Current) == HandoverResult::Accepted) {
        drawAndUse(*loaded, parameters);
    }

    auto downloaded = std::make_unique<FlightRecord>();
    if (acceptDownloadedImage(*downloaded, data, size, announcedReference, FlightRole::Current) ==
        HandoverResult::Accepted) {
        drawAndUse(*downloaded, parameters);
    }

    auto comparison = std::make_unique<FlightRecord>();
    if (acceptLoadedImage(*comparison, data, size, FlightRole::Comparison) ==
        HandoverResult::Accepted) {
        if (const auto drawing = drawComparison(*comparison)) {
            // Onto the sample times of the flight drawn above, or of any rate the bytes name.
            const uint32_t currentRate =
                loaded->holdsFlight() ? loaded->samplesPer10s : input.byte();
            const ComparisonDrawing placed =
                resampleComparison(*drawing, comparison->samplesPer10s, currentRate);
            if (placed.altitudeCm.size() != placed.altitudeMetres.size() ||
                placed.altitudeCm.size() > static_cast<size_t>(FlightRecord::kSeriesCapacity)) {
                std::abort();
            }
        }
    }
    return 0;
}
