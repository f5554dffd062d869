// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/flight/header_decoder.h"

#include "core/flight/flight_image.h"
#include "core/flight/sampling_code.h"

#include <gtest/gtest.h>

#include <memory>

namespace vtl {
namespace {

// With AC5 = 32768, AC6 = 0 and MC = 0 the sensor's temperature term B5 equals the raw word, so
// a raw word of 160 C - 8 gives exactly C whole degrees before scaling.
std::unique_ptr<FlightRecord> recordWithHeaderDegrees(int degrees, uint16_t offset = 0) {
    auto record = std::make_unique<FlightRecord>();
    record->calibration.AC5 = 32768;
    record->calibration.AC6 = offset;
    record->calibration.MC = 0;
    record->calibration.MD = 1;
    record->startRawTemperature = static_cast<uint16_t>(offset + 160 * degrees - 8);
    return record;
}

TEST(HeaderTemperature, ScalesLimitsAndFallsBack) {
    struct Case {
        int degrees;
        int expected;
    };
    const Case cases[] = {
        {25, 20},  {1, 0},     {0, 0},    {-5, -5}, {99, 80},
        {100, 20}, {-30, -30}, {-31, 20}, {286, 24}}; // 286 keeps its low byte, 30
    for (const Case& c : cases) {
        const uint16_t offset = c.degrees <= 0 ? 32768 : 0;
        const auto record = recordWithHeaderDegrees(c.degrees, offset);
        EXPECT_EQ(headerTemperature(*record), c.expected) << c.degrees << " degrees";
    }
}

TEST(DecodeHeader, ReadsEveryFieldFromItsOffset) {
    auto record = std::make_unique<FlightRecord>();
    const uint8_t header[32] = {0xAA, 0x2A, 0x00, 0xD2, 0x04, 0xFA, 0x6C, 0x85, 0x10, 0x27, 0x98,
                                0x01, 0xB8, 0xFF, 0xD1, 0xC7, 0xE5, 0x7F, 0xF5, 0x7F, 0x71, 0x5A,
                                0x2E, 0x18, 0x04, 0x00, 0x00, 0x80, 0xF9, 0xDD, 0x34, 0x0B};
    std::copy(std::begin(header), std::end(header), record->rawImage.begin());
    record->rawLength = 32;
    ASSERT_TRUE(decodeHeader(*record));
    EXPECT_EQ(record->competitorNumber, 42);
    EXPECT_EQ(record->serialNumber, 1234);
    EXPECT_EQ(record->startRawTemperature, 27898);
    EXPECT_EQ(record->samplingCode, 5); // bits 4-7 of 0x85 are ignored
    EXPECT_EQ(record->samplesPer10s, 5u);
    EXPECT_EQ(samplingTextForCode(record->samplingCode), "  2 sek/pom");
    const Calibration& c = record->calibration;
    EXPECT_EQ(c.AC1, 408);
    EXPECT_EQ(c.AC2, -72);
    EXPECT_EQ(c.AC3, -14383);
    EXPECT_EQ(c.AC4, 32741);
    EXPECT_EQ(c.AC5, 32757);
    EXPECT_EQ(c.AC6, 23153);
    EXPECT_EQ(c.B1, 6190);
    EXPECT_EQ(c.B2, 4);
    EXPECT_EQ(c.MB, -32768);
    EXPECT_EQ(c.MC, -8711);
    EXPECT_EQ(c.MD, 2868);
    // B5 = 2400: T = 150, C = 15, scaled to 12 degrees.
    EXPECT_FLOAT_EQ(record->temperature, 12.0f);
}

TEST(DecodeHeader, MissingHeaderBytesReadAsZero) {
    auto record = std::make_unique<FlightRecord>();
    record->rawImage.fill(0x55); // stale bytes of an earlier flight
    record->rawImage[1] = 7;
    record->rawLength = 2;
    EXPECT_FALSE(decodeHeader(*record)); // all-zero coefficients make the divisor zero
    EXPECT_EQ(record->competitorNumber, 7);
    EXPECT_EQ(record->serialNumber, 0);
    EXPECT_EQ(record->calibration.AC1, 0);
}

TEST(SamplingCode, TableAndTexts) {
    const uint32_t rates[] = {200, 150, 100, 50, 10, 5, 2, 1, 1, 1, 1, 1, 1, 1, 1, 1};
    for (uint8_t code = 0; code < kSamplingCodeCount; ++code) {
        EXPECT_EQ(samplesPer10sForCode(code), rates[code]) << int(code);
    }
    EXPECT_EQ(samplingTextForCode(0), "20 pom/sek");
    EXPECT_EQ(samplingTextForCode(3), "  5 pom/sek");
    EXPECT_EQ(samplingTextForCode(6), "  5 sek/pom");
    EXPECT_EQ(samplingTextForCode(15), " 10 sek/pom");
}

} // namespace
} // namespace vtl
