// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/flight/altitude_conversion.h"

#include "core/flight/flight_image.h"
#include "core/flight/pressure_compensation.h"
#include "core/flight/wrapping_arithmetic.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace vtl {
namespace {

constexpr float kKelvinOffset = 273.16f;
constexpr float kBarometricFactor = 29.271767f;
constexpr double kPascalToHpa = 0.01;
constexpr uint32_t kReferenceSlots = 10;
constexpr int kReferenceTolerance = 5;

struct Slot {
    uint16_t rawTemperature;
    uint16_t rawPressure;
};

Slot readSlot(const FlightRecord& record, uint32_t index) {
    const uint8_t* slot = record.rawImage.data() + image::kHeaderSize + image::kSlotSize * index;
    return {image::readWord(slot, image::kSlotTemperature),
            image::readWord(slot, image::kSlotPressure)};
}

// Slots that lie wholly inside the image as held, whatever its announced length says.
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

float altitudeFromPressure(float pressureHpa, float temperature, float referencePressure) {
    const double ratio = static_cast<double>(pressureHpa) / static_cast<double>(referencePressure);
    return static_cast<float>((static_cast<double>(temperature) + kKelvinOffset) *
                              static_cast<double>(kBarometricFactor) * -std::log(ratio));
}

std::optional<int32_t> convertFlight(FlightRecord& record, FlightRole role) {
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

} // namespace vtl
