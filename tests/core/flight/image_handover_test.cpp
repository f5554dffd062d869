// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/flight/image_handover.h"

#include "core/flight/flight_image.h"
#include "support/image_builder.h"

#include <gtest/gtest.h>

#include <memory>

namespace vtl {
namespace {

using testing::ImageBuilder;

constexpr uint16_t kUt = 27000;
constexpr uint16_t kGround = 40000;

std::vector<uint8_t> flightWithReference(uint16_t reference) {
    auto bytes = ImageBuilder().slots(12, kUt, kGround).terminator().bytes();
    image::writeWord(bytes.data(), image::kReferenceWord, reference);
    return bytes;
}

TEST(DownloadHandover, AnnouncedReferenceWordIsWrittenIntoTheHeader) {
    struct Case {
        std::optional<uint16_t> announced;
        uint16_t expected;
    };
    const Case cases[] = {{9700, 9700},   {10500, 10500}, {9699, 10000},
                          {10501, 10000}, {0, 10000},     {std::nullopt, 10000}};
    for (const Case& c : cases) {
        auto record = std::make_unique<FlightRecord>();
        const auto bytes = flightWithReference(1234);
        ASSERT_EQ(acceptDownloadedImage(*record, bytes.data(), bytes.size(), c.announced,
                                        FlightRole::Current),
                  HandoverResult::Accepted);
        EXPECT_EQ(record->referenceWord, c.expected);
        EXPECT_EQ(image::readWord(record->rawImage.data(), image::kReferenceWord), c.expected);
    }
}

TEST(LoadHandover, KeepsTheImageAndNormalisesOnlyTheField) {
    for (const uint16_t stored : {uint16_t{9800}, uint16_t{4}, uint16_t{60000}}) {
        auto record = std::make_unique<FlightRecord>();
        const auto bytes = flightWithReference(stored);
        ASSERT_EQ(acceptLoadedImage(*record, bytes.data(), bytes.size(), FlightRole::Current),
                  HandoverResult::Accepted);
        EXPECT_EQ(record->referenceWord, stored == 9800 ? 9800 : 10000);
        EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), record->rawImage.begin()));
        EXPECT_EQ(record->rawLength, static_cast<int32_t>(bytes.size()));
        EXPECT_EQ(record->payloadLength, bytes.size() - 32);
        EXPECT_EQ(record->wordCount, (bytes.size() - 32) / 2);
    }
}

TEST(Handover, FailedHandoverKeepsThePreviousFlight) {
    auto record = std::make_unique<FlightRecord>();
    const auto good = flightWithReference(10000);
    ASSERT_EQ(acceptLoadedImage(*record, good.data(), good.size(), FlightRole::Current),
              HandoverResult::Accepted);
    const auto before = std::make_unique<FlightRecord>(*record);

    Calibration broken;
    broken.AC4 = 0; // makes the pressure divisor zero
    const auto corrupt = ImageBuilder(broken).slots(12, kUt, kGround).terminator().bytes();
    EXPECT_EQ(acceptLoadedImage(*record, corrupt.data(), corrupt.size(), FlightRole::Current),
              HandoverResult::Corrupt);
    EXPECT_EQ(
        acceptDownloadedImage(*record, corrupt.data(), corrupt.size(), 10000, FlightRole::Current),
        HandoverResult::Corrupt);
    EXPECT_EQ(acceptDownloadedImage(*record, good.data(), 31, 10000, FlightRole::Current),
              HandoverResult::TooShort);

    EXPECT_EQ(record->rawLength, before->rawLength);
    EXPECT_EQ(record->rawImage, before->rawImage);
    EXPECT_EQ(record->calibration.AC4, before->calibration.AC4);
    EXPECT_EQ(record->altitudeCm, before->altitudeCm);
}

TEST(LoadHandover, AnOddByteAfterTheLastWholeWordIsNoWord) {
    auto bytes = flightWithReference(10000);
    bytes.resize(32 + 3);
    auto record = std::make_unique<FlightRecord>();
    ASSERT_EQ(acceptLoadedImage(*record, bytes.data(), bytes.size(), FlightRole::Current),
              HandoverResult::Accepted);
    EXPECT_EQ(record->payloadLength, 3u);
    EXPECT_EQ(record->wordCount, 1u);
    EXPECT_EQ(record->slotCount(), 0u);
}

TEST(Handover, ImageShorterThanItsHeaderHasNoSamples) {
    const auto bytes = flightWithReference(10000);
    // Twenty bytes reach AC5: the temperature term is defined, the later coefficients read zero.
    auto partial = std::make_unique<FlightRecord>();
    ASSERT_EQ(acceptLoadedImage(*partial, bytes.data(), 20, FlightRole::Current),
              HandoverResult::Accepted);
    EXPECT_EQ(partial->wordCount, 0u);
    EXPECT_EQ(partial->slotCount(), 0u);
    EXPECT_EQ(partial->calibration.MD, 0);
    EXPECT_EQ(partial->referenceWord, 10000);
    EXPECT_EQ(partial->altitudeCm[0], kCurrentConversionMarker);

    // Six bytes carry no coefficients at all, so the temperature divisor is zero.
    auto bare = std::make_unique<FlightRecord>();
    EXPECT_EQ(acceptLoadedImage(*bare, bytes.data(), 6, FlightRole::Current),
              HandoverResult::Corrupt);
    EXPECT_EQ(bare->rawLength, 0);
}

TEST(Handover, OversizedDownloadIsCutToTheImageCapacity) {
    std::vector<uint8_t> bytes = ImageBuilder().slots(25000, kUt, kGround).bytes();
    ASSERT_GT(bytes.size(), static_cast<size_t>(FlightRecord::kImageCapacity));
    auto record = std::make_unique<FlightRecord>();
    ASSERT_EQ(
        acceptDownloadedImage(*record, bytes.data(), bytes.size(), 10000, FlightRole::Current),
        HandoverResult::Accepted);
    EXPECT_EQ(record->rawLength, FlightRecord::kImageCapacity);
    EXPECT_EQ(record->slotCount(), (FlightRecord::kImageCapacity - 32u) / 4u);
}

} // namespace
} // namespace vtl
