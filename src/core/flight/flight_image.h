// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>

// Byte layout of a flight image: a 32-byte little-endian header followed by 4-byte sample slots.
// The same bytes travel over the serial line and are stored in measurement files.
namespace vtl::image {

constexpr size_t kHeaderSize = 32;
constexpr size_t kSlotSize = 4;

constexpr size_t kCompetitorNumber = 1; // uint16
constexpr size_t kSerialNumber = 3;     // uint16
constexpr size_t kStartTemperature = 5; // uint16, raw sensor reading
constexpr size_t kSamplingCode = 7;     // low four bits
constexpr size_t kReferenceWord = 8;    // uint16
constexpr size_t kCalibration = 10;     // eleven 16-bit coefficients, AC1 first
constexpr size_t kSlotTemperature = 0;  // within a slot: uint16 raw temperature
constexpr size_t kSlotPressure = 2;     // within a slot: uint16 raw pressure

constexpr uint16_t kTerminatorPressure = 0xFFFF;

// Reference words outside this range are replaced by the nominal value.
constexpr uint16_t kReferenceWordMin = 9700;
constexpr uint16_t kReferenceWordMax = 10500;
constexpr uint16_t kReferenceWordNominal = 10000;

inline uint16_t readWord(const uint8_t* bytes, size_t offset) {
    return static_cast<uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

inline void writeWord(uint8_t* bytes, size_t offset, uint16_t value) {
    bytes[offset] = static_cast<uint8_t>(value & 0xFF);
    bytes[offset + 1] = static_cast<uint8_t>(value >> 8);
}

inline bool referenceWordInRange(uint16_t value) {
    return value >= kReferenceWordMin && value <= kReferenceWordMax;
}

} // namespace vtl::image
