// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/flight/image_handover.h"

#include "core/flight/altitude_conversion.h"
#include "core/flight/flight_image.h"
#include "core/flight/header_decoder.h"

#include <algorithm>

namespace vtl {
namespace {

// Builds the new flight beside the old one and swaps it in only once it has decoded, so that a
// corrupt image never leaves a half-replaced record behind.
HandoverResult replaceIfDecodable(FlightRecord& record, const uint8_t* bytes, size_t length,
                                  std::optional<uint16_t> headerReference, FlightRole role) {
    auto candidate = std::make_unique<FlightRecord>(record);
    holdImageBytes(*candidate, bytes, length);
    if (headerReference) {
        image::writeWord(candidate->rawImage.data(), image::kReferenceWord, *headerReference);
        candidate->referenceWord = image::referenceWordInRange(*headerReference)
                                       ? *headerReference
                                       : image::kReferenceWordNominal;
    }

    if (!decodeHeader(*candidate) || !convertFlight(*candidate, role)) {
        return HandoverResult::Corrupt;
    }
    record = *candidate;
    return HandoverResult::Accepted;
}

} // namespace

void holdImageBytes(FlightRecord& record, const uint8_t* bytes, size_t length) {
    const size_t kept = std::min(length, static_cast<size_t>(FlightRecord::kImageCapacity));
    std::copy_n(bytes, kept, record.rawImage.begin());
    record.rawLength = static_cast<int32_t>(kept);
    record.payloadLength =
        kept > image::kHeaderSize ? static_cast<uint32_t>(kept - image::kHeaderSize) : 0;
    record.wordCount = record.payloadLength / 2;
    const uint16_t reference =
        kept >= image::kReferenceWord + 2 ? image::readWord(bytes, image::kReferenceWord) : 0;
    record.referenceWord =
        image::referenceWordInRange(reference) ? reference : image::kReferenceWordNominal;
}

HandoverResult acceptDownloadedImage(FlightRecord& record, const uint8_t* bytes, size_t length,
                                     std::optional<uint16_t> announcedReference, FlightRole role) {
    if (length < image::kHeaderSize) {
        return HandoverResult::TooShort;
    }
    const uint16_t reference =
        announcedReference && image::referenceWordInRange(*announcedReference)
            ? *announcedReference
            : image::kReferenceWordNominal;
    return replaceIfDecodable(record, bytes, length, reference, role);
}

std::vector<uint8_t> downloadedImageBytes(const uint8_t* bytes, size_t length,
                                          std::optional<uint16_t> announcedReference) {
    const size_t kept = std::min(length, static_cast<size_t>(FlightRecord::kImageCapacity));
    std::vector<uint8_t> image(bytes, bytes + kept);
    if (kept >= image::kReferenceWord + 2) {
        const uint16_t reference =
            announcedReference && image::referenceWordInRange(*announcedReference)
                ? *announcedReference
                : image::kReferenceWordNominal;
        image::writeWord(image.data(), image::kReferenceWord, reference);
    }
    return image;
}

HandoverResult acceptLoadedImage(FlightRecord& record, const uint8_t* bytes, size_t length,
                                 FlightRole role) {
    return replaceIfDecodable(record, bytes, length, std::nullopt, role);
}

} // namespace vtl
