// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/flight/altitude_conversion.h"

#include "core/flight/image_handover.h"
#include "core/flight/pressure_compensation.h"
#include "support/image_builder.h"

#include <gtest/gtest.h>

#include <memory>

namespace vtl {
namespace {

using testing::ImageBuilder;

constexpr uint16_t kUt = 27000;
constexpr uint16_t kGround = 40000;

std::unique_ptr<FlightRecord> loaded(const std::vector<uint8_t>& bytes,
                                     FlightRole role = FlightRole::Current) {
    auto record = std::make_unique<FlightRecord>();
    EXPECT_EQ(acceptLoadedImage(*record, bytes.data(), bytes.size(), role),
              HandoverResult::Accepted);
    return record;
}

float hpa(uint16_t rawPressure) {
    return static_cast<float>(*samplePressure(rawPressure, kUt, Calibration{}) * 0.01);
}

TEST(AltitudeFromPressure, SinglePrecisionFormula) {
    // (20 + 273.16) x 29.271767 x -ln(1000 / 1013.25), rounded to float once.
    EXPECT_FLOAT_EQ(altitudeFromPressure(1000.0f, 20.0f, 1013.25f), 112.95568f);
    EXPECT_GT(altitudeFromPressure(1000.0f, 20.0f, 1001.0f), 0.0f);
    EXPECT_LT(altitudeFromPressure(1002.0f, 20.0f, 1001.0f), 0.0f);
    EXPECT_EQ(altitudeFromPressure(1001.0f, -5.0f, 1001.0f), 0.0f);
}

TEST(ConvertFlight, IdenticalGroundSlotsAreAtZero) {
    auto record = loaded(ImageBuilder().slots(12, kUt, kGround).terminator().bytes());
    EXPECT_FLOAT_EQ(record->referencePressure, hpa(kGround));
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(record->altitudeCm[i], 0) << i;
    }
}

TEST(ConvertFlight, ReferenceTakesOnlySlotsCloseToTheFirst) {
    // Slot 1 differs by 4 raw counts and counts; slot 2 differs by 5 and is left out.
    auto record = loaded(ImageBuilder()
                             .slot(kUt, kGround)
                             .slot(kUt, kGround + 4)
                             .slot(kUt, kGround - 5)
                             .slots(7, kUt, kGround)
                             .terminator()
                             .bytes());
    float sum = 0.0f;
    for (const uint16_t word : {kGround, static_cast<uint16_t>(kGround + 4)}) {
        sum = static_cast<float>(sum + *samplePressure(word, kUt, Calibration{}) * 0.01);
    }
    for (int i = 0; i < 7; ++i) {
        sum = static_cast<float>(sum + *samplePressure(kGround, kUt, Calibration{}) * 0.01);
    }
    EXPECT_FLOAT_EQ(record->referencePressure, static_cast<float>(sum / 9.0));
    // The excluded slot is converted all the same: its lower pressure lies above the ground.
    EXPECT_GT(record->altitudeCm[2], 0);
    EXPECT_LT(record->altitudeCm[1], 0);
}

TEST(ConvertFlight, ReferenceIsTheMeanOfTheFirstTenSlotsOnly) {
    // Slot 10 would count by its pressure word, but lies past the first ten.
    auto record =
        loaded(ImageBuilder().slots(10, kUt, kGround).slot(kUt, kGround + 4).terminator().bytes());
    EXPECT_FLOAT_EQ(record->referencePressure, hpa(kGround));
    EXPECT_EQ(record->altitudeCm[0], 0);
    EXPECT_LT(record->altitudeCm[10], 0);
}

TEST(ConvertFlight, TerminatorEndsConversionWithTheRolesMarker) {
    const auto bytes =
        ImageBuilder().slots(5, kUt, kGround).terminator().slots(3, kUt, kGround).bytes();
    auto current = loaded(bytes, FlightRole::Current);
    EXPECT_EQ(convertFlight(*current, FlightRole::Current), 6);
    EXPECT_NE(current->altitudeCm[5], kCurrentConversionMarker); // the terminator slot is stored
    EXPECT_EQ(current->altitudeCm[6], 0x7FFFFFF);

    auto comparison = loaded(bytes, FlightRole::Comparison);
    EXPECT_EQ(convertFlight(*comparison, FlightRole::Comparison), 6);
    EXPECT_EQ(comparison->altitudeCm[6], 0x7FFFFFFF);
}

TEST(ConvertFlight, WithoutTerminatorStopsAtTheLastSlot) {
    auto record = loaded(ImageBuilder().slots(4, kUt, kGround).bytes());
    EXPECT_EQ(convertFlight(*record, FlightRole::Current), 4);
    EXPECT_EQ(record->altitudeCm[4], kCurrentConversionMarker);
}

TEST(ConvertFlight, HeaderOnlyImagePutsTheMarkerFirst) {
    auto record = loaded(ImageBuilder().bytes());
    EXPECT_EQ(record->wordCount, 0u);
    EXPECT_EQ(convertFlight(*record, FlightRole::Current), 0);
    EXPECT_EQ(record->altitudeCm[0], kCurrentConversionMarker);
}

TEST(ConvertFlight, LongImageStopsWhereTheSeriesIsFull) {
    // 20,000 slots fit the 90,000-byte image but not the 17,000-value series.
    auto record = loaded(ImageBuilder().slots(20000, kUt, kGround).bytes());
    EXPECT_EQ(record->slotCount(), 20000u);
    const int32_t last = FlightRecord::kSeriesCapacity - 1;
    EXPECT_EQ(convertFlight(*record, FlightRole::Current), last);
    EXPECT_EQ(record->altitudeCm[last], kCurrentConversionMarker);
}

TEST(ConvertFlight, TemperatureScalesAltitudes) {
    auto record = loaded(
        ImageBuilder().slots(10, kUt, kGround).slot(kUt, kGround - 400).terminator().bytes());
    record->temperature = 0.0f;
    convertFlight(*record, FlightRole::Current);
    const int32_t cold = record->altitudeCm[10];
    record->temperature = 30.0f;
    convertFlight(*record, FlightRole::Current);
    const int32_t warm = record->altitudeCm[10];
    EXPECT_GT(cold, 0);
    // Altitude is proportional to the absolute temperature.
    EXPECT_NEAR(warm, cold * (303.16 / 273.16), 1.0);
}

} // namespace
} // namespace vtl
