// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/flight/altitude_conversion.h"

#include "core/flight/flight_image.h"
#include "core/flight/pressure_compensation.h"
#include "core/flight/wrapping_arithmetic.h"

#include <algorithm>
#include <array>
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

// The altitude of a pressure once the flight's temperature and reference are fixed. The scale
// is (temperature + kelvin offset) x barometric factor, computed in the same order and types as
// altitudeFromPressure, so that both give the same float.
double altitudeScale(float temperature) {
    return (static_cast<double>(temperature) + kKelvinOffset) *
           static_cast<double>(kBarometricFactor);
}

int32_t altitudeCmAt(int32_t pascals, double scale, double referencePressure) {
    const float pressureHpa = static_cast<float>(pascals * kPascalToHpa);
    const double ratio = static_cast<double>(pressureHpa) / referencePressure;
    const float metres = static_cast<float>(scale * -std::log(ratio));
    return truncateToInt32(static_cast<double>(metres) * 100.0);
}

// The altitudes computed so far in one flight, by pressure. A flight's pressures lie within a
// few thousand pascals and repeat from sample to sample, so most samples find their altitude
// here instead of taking a logarithm. An entry at index i only ever holds a pressure whose low
// bits are i; the blank entries hold one whose low bits are not, so they never match.
class AltitudesByPressure {
public:
    AltitudesByPressure(double scale, double referencePressure)
        : m_scale(scale), m_referencePressure(referencePressure) {
        for (uint32_t i = 0; i < kEntries; ++i) {
            m_entries[i].pascals = static_cast<int32_t>(i ^ 1u);
        }
    }

    int32_t altitudeCm(int32_t pascals) {
        Entry& entry = m_entries[static_cast<uint32_t>(pascals) & (kEntries - 1)];
        if (entry.pascals != pascals) {
            entry.pascals = pascals;
            entry.altitudeCm = altitudeCmAt(pascals, m_scale, m_referencePressure);
        }
        return entry.altitudeCm;
    }

private:
    static constexpr uint32_t kEntries = 2048;
    struct Entry {
        int32_t pascals;
        int32_t altitudeCm;
    };
    std::array<Entry, kEntries> m_entries;
    double m_scale;
    double m_referencePressure;
};

} // namespace

float altitudeFromPressure(float pressureHpa, float temperature, float referencePressure) {
    const double ratio = static_cast<double>(pressureHpa) / static_cast<double>(referencePressure);
    return static_cast<float>(altitudeScale(temperature) * -std::log(ratio));
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

    AltitudesByPressure altitudes(altitudeScale(record.temperature),
                                  static_cast<double>(record.referencePressure));
    // The temperature word changes seldom: its terms are computed again only when it does.
    const uint8_t* slot = record.rawImage.data() + image::kHeaderSize;
    uint16_t termsTemperature = image::readWord(slot, image::kSlotTemperature);
    std::optional<TemperatureTerms> terms = temperatureTerms(termsTemperature, record.calibration);

    uint32_t converted = 0;
    for (; converted < convertible; slot += image::kSlotSize) {
        const uint16_t rawTemperature = image::readWord(slot, image::kSlotTemperature);
        const uint16_t rawPressure = image::readWord(slot, image::kSlotPressure);
        if (rawTemperature != termsTemperature) {
            termsTemperature = rawTemperature;
            terms = temperatureTerms(rawTemperature, record.calibration);
        }
        if (!terms) {
            return std::nullopt;
        }
        record.altitudeCm[converted] =
            altitudes.altitudeCm(compensatedPressure(rawPressure, *terms));
        ++converted;
        if (rawPressure == image::kTerminatorPressure) {
            break;
        }
    }
    record.altitudeCm[converted] = conversionMarker(role);
    return static_cast<int32_t>(converted);
}

} // namespace vtl
