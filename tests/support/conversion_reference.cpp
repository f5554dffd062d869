// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/conversion_reference.h"

#include "core/flight/flight_image.h"
#include "core/flight/wrapping_arithmetic.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace vtl::testing {
namespace {

constexpr float kKelvinOffset = 273.16f;
constexpr float kBarometricFactor = 29.271767f;
constexpr double kPascalToHpa = 0.01;
constexpr uint32_t kReferenceSlots = 10;
constexpr int kReferenceTolerance = 5;

std::optional<int32_t> temperatureTermB5(uint16_t rawTemperature, const Calibration& c) {
    const int32_t difference = static_cast<int32_t>(rawTemperature) - c.AC6;
    const int32_t x1 = divide32(wrap32(int64_t{difference} * c.AC5), 32768);
    const int32_t divisor = wrap32(int64_t{x1} + c.MD);
    if (divisor == 0) {
        return std::nullopt;
    }
    const int32_t x2 = divide32(wrap32(int64_t{c.MC} * 2048), divisor);
    return wrap32(int64_t{x1} + x2);
}

std::optional<int32_t> samplePressure(uint16_t rawPressure, uint16_t rawTemperature,
                                      const Calibration& c) {
    const std::optional<int32_t> b5 = temperatureTermB5(rawTemperature, c);
    if (!b5) {
        return std::nullopt;
    }
    const int32_t b6 = wrap32(static_cast<int64_t>(*b5) - 4000);
    const int32_t b6Squared = divide32(wrap32(static_cast<int64_t>(b6) * b6), 4096);

    int32_t x1 = divide32(wrap32(static_cast<int64_t>(c.B2) * b6Squared), 2048);
    int32_t x2 = divide32(wrap32(static_cast<int64_t>(c.AC2) * b6), 2048);
    int32_t x3 = wrap32(static_cast<int64_t>(x1) + x2);
    const int32_t b3 = divide32(wrap32(static_cast<int64_t>(c.AC1) * 4 + x3), 4);

    x1 = divide32(wrap32(static_cast<int64_t>(c.AC3) * b6), 8192);
    x2 = divide32(wrap32(static_cast<int64_t>(c.B1) * b6Squared), 65536);
    x3 = divide32(wrap32(static_cast<int64_t>(x1) + x2 + 2), 4);
    const uint32_t b4 =
        (static_cast<uint32_t>(c.AC4) * static_cast<uint32_t>(wrap32(int64_t{x3} + 32768))) >> 15;
    if (b4 == 0) {
        return std::nullopt;
    }

    const int32_t b7 =
        wrap32(static_cast<int64_t>(wrap32(static_cast<int64_t>(rawPressure) - b3)) * 50000);
    const uint32_t b7Unsigned = static_cast<uint32_t>(b7);
    const uint32_t quotient =
        b7Unsigned < 0x80000000u ? (b7Unsigned * 2u) / b4 : (b7Unsigned / b4) * 2u;
    int32_t p = static_cast<int32_t>(quotient);

    const double pOver256 = p / 256.0;
    x1 = truncateToInt32(pOver256 * pOver256);
    x1 = divide32(wrap32(static_cast<int64_t>(x1) * 3038), 65536);
    x2 = divide32(wrap32(static_cast<int64_t>(-7357) * p), 65536);
    p = wrap32(static_cast<int64_t>(p) +
               divide32(wrap32(static_cast<int64_t>(x1) + x2 + 3791), 16));
    return p;
}

float altitudeFromPressure(float pressureHpa, float temperature, float referencePressure) {
    const double ratio = static_cast<double>(pressureHpa) / static_cast<double>(referencePressure);
    return static_cast<float>((static_cast<double>(temperature) + kKelvinOffset) *
                              static_cast<double>(kBarometricFactor) * -std::log(ratio));
}

struct Slot {
    uint16_t rawTemperature;
    uint16_t rawPressure;
};

Slot readSlot(const FlightRecord& record, uint32_t index) {
    const uint8_t* slot = record.rawImage.data() + image::kHeaderSize + image::kSlotSize * index;
    return {image::readWord(slot, image::kSlotTemperature),
            image::readWord(slot, image::kSlotPressure)};
}

uint32_t storedSlots(const FlightRecord& record) {
    const uint32_t fromLength = record.slotCount();
    const uint32_t fromCapacity = static_cast<uint32_t>(
        (FlightRecord::kImageCapacity - image::kHeaderSize) / image::kSlotSize);
    return std::min(fromLength, fromCapacity);
}

std::optional<float> referencePressureOf(const FlightRecord& record, uint32_t slots) {
    const int referencePressure = readSlot(record, 0).rawPressure;
    float sum = 0.0f;
    int counter = 0;
    for (uint32_t i = 0; i < std::min(slots, kReferenceSlots); ++i) {
        const Slot slot = readSlot(record, i);
        if (std::abs(slot.rawPressure - referencePressure) >= kReferenceTolerance) {
            continue;
        }
        const std::optional<int32_t> pascals =
            samplePressure(slot.rawPressure, slot.rawTemperature, record.calibration);
        if (!pascals) {
            return std::nullopt;
        }
        sum = static_cast<float>(static_cast<double>(sum) + *pascals * kPascalToHpa);
        ++counter;
    }
    return static_cast<float>(static_cast<double>(sum) / counter);
}

} // namespace

std::optional<int32_t> convertFlightSampleBySample(FlightRecord& record, FlightRole role) {
    const uint32_t slots = storedSlots(record);
    const uint32_t convertible =
        std::min(slots, static_cast<uint32_t>(FlightRecord::kSeriesCapacity - 1));

    if (slots > 0) {
        const std::optional<float> reference = referencePressureOf(record, slots);
        if (!reference) {
            return std::nullopt;
        }
        record.referencePressure = *reference;
    }

    uint32_t converted = 0;
    while (converted < convertible) {
        const Slot slot = readSlot(record, converted);
        const std::optional<int32_t> pascals =
            samplePressure(slot.rawPressure, slot.rawTemperature, record.calibration);
        if (!pascals) {
            return std::nullopt;
        }
        const float pressureHpa = static_cast<float>(*pascals * kPascalToHpa);
        const float metres =
            altitudeFromPressure(pressureHpa, record.temperature, record.referencePressure);
        record.altitudeCm[converted] = truncateToInt32(static_cast<double>(metres) * 100.0);
        ++converted;
        if (slot.rawPressure == image::kTerminatorPressure) {
            break;
        }
    }
    record.altitudeCm[converted] = conversionMarker(role);
    return static_cast<int32_t>(converted);
}

} // namespace vtl::testing
