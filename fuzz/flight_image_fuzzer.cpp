// SPDX-License-Identifier: GPL-3.0-or-later
// Any image as a loaded measurement file and as a downloaded image: decoding, conversion, both
// drawing passes, the comparison on another flight's sample times, the filter with parameters
// from the bytes, and the spreadsheet column.
//
// The input is a short control block followed by the image's own bytes:
//   byte 0       bits 0-1 the pass: 0 judges the header and looks for the end slot, 1 loads the
//                image as the current flight, 2 takes it as a download (both drawn, filtered
//                and exported), 3 loads it as the comparison (drawn, placed on another rate);
//                bit 2 filters the flight, bit 3 has the download arrive without an announced
//                reference word, bit 7 pads or cuts the image
//   bytes 1-4    with bit 7: the image's length (low 17 bits, up to 131,071 bytes)
//   bytes 5-14   filter parameters: pre-cut and final cut (int32), the two lengths (int8)
//   bytes 15-16  the announced reference word
//   byte 17      the rate the comparison is placed on
//   bytes 18-    the image
// One pass per input: each builds its flight in a fresh record, and under the sanitizer those
// pages cost more than the rest of the pass.
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

enum Pass : uint8_t { kJudgeHeader = 0, kLoad = 1, kDownload = 2, kCompare = 3 };
constexpr uint8_t kPassBits = 0x03;
constexpr uint8_t kFilter = 0x04;
constexpr uint8_t kNoAnnouncement = 0x08;
constexpr uint8_t kPadImage = 0x80;
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
    for (size_t at = taken; slots != 0 && at < wanted;) {
        const size_t chunk = std::min(slots, wanted - at);
        std::copy_n(bytes + header, chunk, image.begin() + static_cast<ptrdiff_t>(at));
        at += chunk;
    }
    return image;
}

// Records are large: made once and kept from input to input, so that no input pays for fresh
// pages. A rejected image leaves its record untouched, so only a record that took a flight has to
// be blanked again, and no input sees the flight of the one before.
class KeptRecord {
public:
    FlightRecord& blank() {
        if (m_used) {
            *m_record = blankRecord();
            m_used = false;
        }
        return *m_record;
    }

    // Whether the handover took the image. A rejected one must leave the record as it was.
    bool took(HandoverResult result) {
        if (result == HandoverResult::Accepted) {
            m_used = true;
            return true;
        }
        if (m_record->rawLength != 0 || m_record->holdsFlight() || m_record->seriesCount != 0) {
            std::abort();
        }
        return false;
    }

private:
    static const FlightRecord& blankRecord() {
        static const auto blank = std::make_unique<const FlightRecord>();
        return *blank;
    }

    std::unique_ptr<FlightRecord> m_record = std::make_unique<FlightRecord>();
    bool m_used = false;
};

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

    const bool filter = (choices & kFilter) != 0;
    static KeptRecord kept;
    switch (static_cast<Pass>(choices & kPassBits)) {
    case kJudgeHeader:
        plausibleFlightHeader(image.data(), image.size());
        imageHasEnd(image.data(), image.size());
        break;
    case kLoad: {
        FlightRecord& loaded = kept.blank();
        if (kept.took(acceptLoadedImage(loaded, image.data(), image.size(), FlightRole::Current))) {
            drawAndUse(loaded, filter, parameters);
        }
        break;
    }
    case kDownload: {
        FlightRecord& downloaded = kept.blank();
        if (kept.took(acceptDownloadedImage(downloaded, image.data(), image.size(),
                                            announcedReference, FlightRole::Current))) {
            drawAndUse(downloaded, filter, parameters);
        }
        break;
    }
    case kCompare: {
        FlightRecord& comparison = kept.blank();
        if (!kept.took(acceptLoadedImage(comparison, image.data(), image.size(),
                                         FlightRole::Comparison))) {
            break;
        }
        if (const auto drawing = drawComparison(comparison)) {
            // Onto the sample times of a current flight at any rate the bytes name.
            const ComparisonDrawing placed =
                resampleComparison(*drawing, comparison.samplesPer10s, rate);
            if (placed.altitudeCm.size() != placed.altitudeMetres.size() ||
                placed.altitudeCm.size() > static_cast<size_t>(FlightRecord::kSeriesCapacity)) {
                std::abort();
            }
        }
        break;
    }
    }
    return 0;
}
