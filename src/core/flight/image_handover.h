// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/flight/flight_record.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace vtl {

// An image as the device's transfer brought it, with what the device announced before it.
struct DownloadedImage {
    std::vector<uint8_t> bytes;
    uint16_t referenceWord = 10000;
    // The transfer ended with the end marker and brought at least what was announced (less than
    // one block short: the device announces whole blocks).
    bool complete = true;
    uint32_t announcedBytes = 0; // 0: no size was announced
};

enum class HandoverResult {
    Accepted,
    TooShort, // a download of fewer than 32 bytes carries no flight
    Corrupt,  // the coefficients make a divisor zero; the flight cannot be decoded
};

// Takes a downloaded image into the record. The reference word announced by the device replaces
// header bytes 8-9 when it lies in its valid range, the nominal value otherwise or when no
// announcement arrived. The record is replaced only when the image decodes; otherwise it keeps
// the previous flight whole.
HandoverResult acceptDownloadedImage(FlightRecord& record, const uint8_t* bytes, size_t length,
                                     std::optional<uint16_t> announcedReference, FlightRole role);

// The downloaded bytes as a record would keep them: the announced reference word (the nominal one
// when it is out of range or missing) in header bytes 8-9. For keeping an image that does not
// decode.
std::vector<uint8_t> downloadedImageBytes(const uint8_t* bytes, size_t length,
                                          std::optional<uint16_t> announcedReference);

// Puts the image's bytes (as far as the record holds them) into the record, with their lengths
// and the record's reference word from header bytes 8-9 brought into range; decodes nothing.
void holdImageBytes(FlightRecord& record, const uint8_t* bytes, size_t length);

// Takes an image read from a measurement file into the record. The image is kept byte for byte;
// only the record's reference word is brought into range. Same all-or-nothing rule as above.
HandoverResult acceptLoadedImage(FlightRecord& record, const uint8_t* bytes, size_t length,
                                 FlightRole role);

} // namespace vtl
