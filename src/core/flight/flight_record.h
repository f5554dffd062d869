// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/flight/calibration.h"

#include <array>
#include <cstdint>

namespace vtl {

// One flight in memory: its image as received or loaded, the decoded header and the derived
// series. The arrays have fixed capacity and are reused by every derivation.
struct FlightRecord {
    static constexpr int32_t kImageCapacity = 90000;
    static constexpr int32_t kSeriesCapacity = 17000;

    std::array<uint8_t, kImageCapacity> rawImage{};
    int32_t rawLength = 0;
    uint32_t payloadLength = 0;
    uint32_t wordCount = 0;

    uint16_t competitorNumber = 0;
    uint16_t serialNumber = 0;
    uint16_t startRawTemperature = 0;
    uint8_t samplingCode = 0;
    uint32_t samplesPer10s = 200;
    uint16_t referenceWord = 0;
    Calibration calibration;

    float temperature = 20.0f;
    float referencePressure = 0.0f;

    std::array<int32_t, kSeriesCapacity> altitudeCm{};
    std::array<int32_t, kSeriesCapacity> climbCm{};
    int32_t seriesCount = 0;
    float maxAltitude = 0.0f;
    float minAltitude = 0.0f;

    uint32_t slotCount() const { return payloadLength / 4; }
    bool holdsFlight() const { return wordCount != 0; }
};

// The current flight and the comparison flight differ in the end marker their conversion writes.
enum class FlightRole { Current, Comparison };

constexpr int32_t kCurrentConversionMarker = 0x7FFFFFF;
constexpr int32_t kEndMarker = 0x7FFFFFFF;

inline int32_t conversionMarker(FlightRole role) {
    return role == FlightRole::Current ? kCurrentConversionMarker : kEndMarker;
}

} // namespace vtl
