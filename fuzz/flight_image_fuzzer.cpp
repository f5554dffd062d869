// SPDX-License-Identifier: GPL-3.0-or-later
// Any image as a loaded measurement file and as a downloaded image: decoding, conversion, both
// drawing passes, the comparison on another flight's sample times, the filter with parameters
// from the bytes, and the spreadsheet column.
//
// The input is a short control block followed by the image's own bytes:
//   byte 0       choices: bit 0 filters the loaded flight, bit 1 the downloaded one, bit 2 has
//                the download arrive without an announced reference word, bit 3 pads the image
//   bytes 1-4    with bit 3: the image's length (low 17 bits, up to 131,071 bytes)
//   bytes 5-14   filter parameters: pre-cut and final cut (int32), the two lengths (int8)
//   bytes 15-16  the announced reference word
//   byte 17      the comparison's flight rate when no current flight was loaded
//   bytes 18-    the image
// Padding repeats the image's sample slots (zeros when it has none) and cutting shortens it, so a
// couple of kilobytes stand for images past the 17,000-sample series and the 90,000-byte record.
#include "fuzz_input.h"

#include "core/files/spreadsheet_export.h"
#include "core/flight/comparison_resampling.h"
#include "core/flight/flight_drawing.h"
#include "core/flight/flight_image.h"
#include "core/flight/flight_plausibility.h"
#include "core/flight/flight_record.h"
#include "core/flight/image_handover.h"
#include "core/flight/smoothing_filter.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <optional>
#include <vector>

namespace {

using namespace vtl;

constexpr uint8_t kFilterLoaded = 1;
constexpr uint8_t kFilterDownloaded = 2;
constexpr uint8_t kNoAnnouncement = 4;
constexpr uint8_t kPadImage = 8;
constexpr uint32_t kLengthMask = 0x1FFFF; // past the record's capacity, short of wasting time
constexpr size_t kControlSize = 18;

// The filter has a fuzz target of its own; here it only has to take curves from real records and
// hand back what it took. A full flight's worth of samples would cost most of the run's time.
constexpr size_t kFilteredSamples = 512;

FilterParameters parametersFrom(fuzz::FuzzInput& input) {
    FilterParameters parameters;
    parameters.preCutCm = input.int32();
    parameters.finalCutCm = input.int32();
    parameters.preFilterLength = static_cast<int8_t>(input.byte());
    parameters.finalFilterLength = static_cast<int8_t>(input.byte());
    return parameters;
}

// The image the control block asks for, in a buffer of exactly its size so that the sanitizer
// still sees every read past its end.
std::vector<uint8_t> imageFrom(const uint8_t* bytes, size_t size, bool pad, uint32_t length) {
    const size_t wanted = pad ? length : size;
    std::vector<uint8_t> image(wanted);
    const size_t taken = std::min(size, wanted);
    std::copy_n(bytes, taken, image.begin());
    const size_t header = std::min(size, image::kHeaderSize);
    const size_t slots = size - header;
    for (size_t at = taken; at < wanted; ++at) {
        image[at] = slots == 0 ? 0 : bytes[header + (at - taken) % slots];
    }
    return image;
}

// Records are large: made once and blanked for each input, so that no input sees the flight of
// the one before and no input pays for fresh pages.
FlightRecord& blankRecord(int which) {
    static const auto blank = std::make_unique<const FlightRecord>();
    static std::unique_ptr<FlightRecord> records[3] = {std::make_unique<FlightRecord>(),
                                                       std::make_unique<FlightRecord>(),
                                                       std::make_unique<FlightRecord>()};
    *records[which] = *blank;
    return *records[which];
}

void drawAndUse(FlightRecord& record, bool filter, const FilterParameters& parameters) {
    const auto drawing = drawFlight(record, true, ',');
    if (!drawing) {
        return;
    }
    if (drawing->altitudeCm.size() != drawing->labelSeconds.size()) {
        std::abort();
    }
    if (filter && canFilter(record)) {
        static SmoothingFilter filter; // its buffers are large: made once, as the window does
        const size_t capacity = std::min(record.altitudeCm.size(), kFilteredSamples);
        const FilterResult result =
            filterCurve(filter, record.altitudeCm.data(), capacity, parameters, '.');
        if (result.filteredCm.size() != result.unfilteredCm.size() ||
            result.filteredCm.size() > capacity) {
            std::abort();
        }
    }
    spreadsheetBytes(record, '.');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::FuzzInput input(data, size);
    const uint8_t choices = input.byte();
    const uint32_t length = static_cast<uint32_t>(input.int32()) & kLengthMask;
    const FilterParameters parameters = parametersFrom(input);
    const uint16_t announced = input.word();
    const uint8_t rate = input.byte();
    const size_t skipped = std::min(size, kControlSize);
    const std::vector<uint8_t> image =
        imageFrom(data + skipped, size - skipped, (choices & kPadImage) != 0, length);
    const std::optional<uint16_t> announcedReference =
        (choices & kNoAnnouncement) != 0 ? std::nullopt : std::optional<uint16_t>(announced);

    plausibleFlightHeader(image.data(), image.size());
    imageHasEnd(image.data(), image.size());

    FlightRecord& loaded = blankRecord(0);
    if (acceptLoadedImage(loaded, image.data(), image.size(), FlightRole::Current) ==
        HandoverResult::Accepted) {
        drawAndUse(loaded, (choices & kFilterLoaded) != 0, parameters);
    }

    FlightRecord& downloaded = blankRecord(1);
    if (acceptDownloadedImage(downloaded, image.data(), image.size(), announcedReference,
                              FlightRole::Current) == HandoverResult::Accepted) {
        drawAndUse(downloaded, (choices & kFilterDownloaded) != 0, parameters);
    }

    FlightRecord& comparison = blankRecord(2);
    if (acceptLoadedImage(comparison, image.data(), image.size(), FlightRole::Comparison) ==
        HandoverResult::Accepted) {
        if (const auto drawing = drawComparison(comparison)) {
            // Onto the sample times of the flight drawn above, or of any rate the bytes name.
            const uint32_t currentRate = loaded.holdsFlight() ? loaded.samplesPer10s : rate;
            const ComparisonDrawing placed =
                resampleComparison(*drawing, comparison.samplesPer10s, currentRate);
            if (placed.altitudeCm.size() != placed.altitudeMetres.size() ||
                placed.altitudeCm.size() > static_cast<size_t>(FlightRecord::kSeriesCapacity)) {
                std::abort();
            }
        }
    }
    return 0;
}
