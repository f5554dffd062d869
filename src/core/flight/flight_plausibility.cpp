// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/flight/flight_plausibility.h"

#include "core/flight/altitude_conversion.h"
#include "core/flight/flight_image.h"
#include "core/flight/flight_record.h"
#include "core/flight/header_decoder.h"
#include "core/flight/image_handover.h"

#include <algorithm>
#include <array>
#include <memory>

namespace vtl {
namespace {

struct Range {
    int32_t lowest;
    int32_t highest;
    bool holds(int32_t value) const { return value >= lowest && value <= highest; }
};

// The rule: the recorder's sensor carries factory coefficients of known sign and size, and each
// range below reaches at least half as far again beyond both the maker's example set and the set
// this program starts with (MB enters no computation and is not looked at); the ground pressure of
// the first samples must lie between 300 hPa (far above any launch site) and 1100 hPa (above any
// pressure measured at the ground); a flight that cannot be decoded is no flight. Text, pictures
// and random bytes all but never meet the ten ranges together, let alone with such a pressure.
constexpr Range kAC1{1, 16383};
constexpr Range kAC2{-8192, 8191};
constexpr Range kAC3{-32768, -4096};
constexpr Range kAC4{16384, 49151};
constexpr Range kAC5{8192, 49151};
constexpr Range kAC6{8192, 49151};
constexpr Range kB1{1024, 16383};
constexpr Range kB2{-1024, 1023};
constexpr Range kMC{-32768, -1024};
constexpr Range kMD{256, 8191};

constexpr float kLowestGroundPressure = 300.0f;   // hPa
constexpr float kHighestGroundPressure = 1100.0f; // hPa

bool coefficientsPlausible(const Calibration& c) {
    return kAC1.holds(c.AC1) && kAC2.holds(c.AC2) && kAC3.holds(c.AC3) && kAC4.holds(c.AC4) &&
           kAC5.holds(c.AC5) && kAC6.holds(c.AC6) && kB1.holds(c.B1) && kB2.holds(c.B2) &&
           kMC.holds(c.MC) && kMD.holds(c.MD);
}

} // namespace

bool plausibleFlightHeader(const uint8_t* bytes, size_t length) {
    if (bytes == nullptr || length < image::kHeaderSize + image::kSlotSize) {
        return false;
    }
    auto record = std::make_unique<FlightRecord>();
    return decodePlausibleFlight(*record, bytes, length).has_value();
}

std::optional<int32_t> decodePlausibleFlight(FlightRecord& record, const uint8_t* bytes,
                                             size_t length) {
    if (bytes == nullptr || length < image::kHeaderSize + image::kSlotSize) {
        return std::nullopt;
    }
    // The record is decoded and converted exactly as a load would, so the ground pressure judged
    // here is the one the altitudes are measured from. Decoding and conversion read nothing of
    // the record but the bytes taken here.
    holdImageBytes(record, bytes, length);
    // Every sampling code is taken: codes the setup does not offer still have their texts.
    if (!decodeHeader(record) || !coefficientsPlausible(record.calibration)) {
        return std::nullopt;
    }
    const std::optional<int32_t> converted = convertFlight(record, FlightRole::Current);
    if (!converted || !(record.referencePressure >= kLowestGroundPressure &&
                        record.referencePressure <= kHighestGroundPressure)) {
        return std::nullopt;
    }
    return converted;
}

bool imageHasEnd(const uint8_t* bytes, size_t length) {
    if (bytes == nullptr) {
        return false;
    }
    for (size_t slot = image::kHeaderSize; slot + image::kSlotSize <= length;
         slot += image::kSlotSize) {
        if (image::readWord(bytes, slot + image::kSlotPressure) == image::kTerminatorPressure) {
            return true;
        }
    }
    return false;
}

} // namespace vtl
