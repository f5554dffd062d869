// SPDX-License-Identifier: GPL-3.0-or-later
// The conversion reuses a temperature word's compensation terms and a pressure's altitude from
// sample to sample; every altitude must still be the one the sample-by-sample formula gives.
#include "core/flight/altitude_conversion.h"

#include "core/flight/flight_image.h"
#include "core/flight/header_decoder.h"
#include "support/conversion_reference.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace vtl {
namespace {

namespace fs = std::filesystem;

constexpr size_t kFuzzControlSize = 18;
constexpr uint8_t kFuzzPadImage = 0x80;
constexpr uint32_t kFuzzLengthMask = 0x1FFFF;
constexpr uint32_t kImageSlots =
    (FlightRecord::kImageCapacity - image::kHeaderSize) / image::kSlotSize;

uint32_t bitsOf(float value) {
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// Both conversions of the same record, each on a copy of its own. The copies are kept from call
// to call: fresh records of this size would cost more than the conversions.
::testing::AssertionResult sameConversion(const FlightRecord& record, FlightRole role) {
    static const auto fast = std::make_unique<FlightRecord>();
    static const auto reference = std::make_unique<FlightRecord>();
    *fast = record;
    *reference = record;
    const std::optional<int32_t> fastResult = convertFlight(*fast, role);
    const std::optional<int32_t> referenceResult =
        testing::convertFlightSampleBySample(*reference, role);
    if (fastResult != referenceResult) {
        return ::testing::AssertionFailure()
               << "converted " << fastResult.value_or(-1) << " samples instead of "
               << referenceResult.value_or(-1) << " (-1: refused)";
    }
    if (bitsOf(fast->referencePressure) != bitsOf(reference->referencePressure)) {
        return ::testing::AssertionFailure() << "reference pressure " << fast->referencePressure
                                             << " instead of " << reference->referencePressure;
    }
    const auto [at, expected] = std::mismatch(fast->altitudeCm.begin(), fast->altitudeCm.end(),
                                              reference->altitudeCm.begin());
    if (at != fast->altitudeCm.end()) {
        return ::testing::AssertionFailure()
               << "sample " << (at - fast->altitudeCm.begin()) << " at " << *at << " cm instead of "
               << *expected << " cm";
    }
    return ::testing::AssertionSuccess();
}

// The image in a record with its header decoded, as a download or a loaded file leaves it.
std::unique_ptr<FlightRecord> recordHolding(const std::vector<uint8_t>& bytes) {
    auto record = std::make_unique<FlightRecord>();
    const size_t kept = std::min(bytes.size(), static_cast<size_t>(FlightRecord::kImageCapacity));
    std::copy_n(bytes.begin(), kept, record->rawImage.begin());
    record->rawLength = static_cast<int32_t>(kept);
    record->payloadLength =
        kept > image::kHeaderSize ? static_cast<uint32_t>(kept - image::kHeaderSize) : 0;
    record->wordCount = record->payloadLength / 2;
    decodeHeader(*record);
    return record;
}

std::vector<uint8_t> fileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The image behind an image fuzzer seed's control block, padded with its own slots or cut to the
// length the block names, as the fuzzer does.
std::vector<uint8_t> fuzzSeedImage(const std::vector<uint8_t>& seed) {
    if (seed.size() < kFuzzControlSize) {
        return {};
    }
    const std::vector<uint8_t> given(seed.begin() + kFuzzControlSize, seed.end());
    if ((seed[0] & kFuzzPadImage) == 0) {
        return given;
    }
    const uint32_t length =
        (seed[1] | seed[2] << 8 | seed[3] << 16 | static_cast<uint32_t>(seed[4]) << 24) &
        kFuzzLengthMask;
    std::vector<uint8_t> image(given.begin(),
                               given.begin() + std::min<size_t>(given.size(), length));
    const size_t header = std::min(given.size(), image::kHeaderSize);
    while (given.size() > header && image.size() < length) {
        const size_t chunk = std::min(given.size() - header, length - image.size());
        image.insert(image.end(), given.begin() + static_cast<ptrdiff_t>(header),
                     given.begin() + static_cast<ptrdiff_t>(header + chunk));
    }
    return image;
}

// A flight as a recorder could have taken it: coefficients near a real sensor's, a start
// temperature, a temperature word that drifts, a pressure word that falls and rises with jitter,
// sometimes a terminator, sometimes an announced length past the series or past the image.
void fillPlausibleFlight(FlightRecord& record, std::mt19937& random) {
    const auto around = [&random](int value, int spread) {
        return value + std::uniform_int_distribution<int>(-spread, spread)(random);
    };
    Calibration& c = record.calibration;
    c = Calibration{};
    c.AC1 = static_cast<int16_t>(around(c.AC1, 1500));
    c.AC2 = static_cast<int16_t>(around(c.AC2, 500));
    c.AC3 = static_cast<int16_t>(around(c.AC3, 2000));
    c.AC4 = static_cast<uint16_t>(around(c.AC4, 3000));
    c.AC5 = static_cast<uint16_t>(around(c.AC5, 4000));
    c.AC6 = static_cast<uint16_t>(around(c.AC6, 4000));
    c.B1 = static_cast<int16_t>(around(c.B1, 1000));
    c.B2 = static_cast<int16_t>(around(c.B2, 60));
    c.MC = static_cast<int16_t>(around(c.MC, 2000));
    c.MD = static_cast<int16_t>(around(c.MD, 500));
    record.temperature = static_cast<float>(around(15, 30));

    const bool longFlight = around(0, 50) == 0;
    const uint32_t slots =
        static_cast<uint32_t>(longFlight ? around(16000, 7000) : around(300, 299));
    int temperatureWord = around(26000, 5000);
    int pressureWord = around(38000, 8000);
    int climb = 0;
    for (uint32_t i = 0; i < std::min(slots, kImageSlots); ++i) {
        if (around(0, 40) == 0) {
            temperatureWord += around(0, 1);
        }
        if (around(0, 200) == 0) {
            climb = around(0, 3);
        }
        pressureWord = std::clamp(pressureWord + climb + around(0, 2), 0, 0xFFFE);
        uint8_t* slot = record.rawImage.data() + image::kHeaderSize + image::kSlotSize * i;
        image::writeWord(slot, image::kSlotTemperature, static_cast<uint16_t>(temperatureWord));
        image::writeWord(slot, image::kSlotPressure, static_cast<uint16_t>(pressureWord));
    }
    if (slots <= kImageSlots && around(0, 1) == 0) {
        uint8_t* last =
            record.rawImage.data() + image::kHeaderSize + image::kSlotSize * (slots - 1);
        image::writeWord(last, image::kSlotPressure, image::kTerminatorPressure);
    }
    record.payloadLength = slots * image::kSlotSize;
}

TEST(ConversionEquivalence, SampleFlights) {
    int flights = 0;
    for (const auto& entry : fs::directory_iterator(VTL_SAMPLES)) {
        if (entry.path().extension() != ".bin") {
            continue;
        }
        const auto record = recordHolding(fileBytes(entry.path()));
        ASSERT_GT(record->slotCount(), 100u) << entry.path();
        EXPECT_TRUE(sameConversion(*record, FlightRole::Current)) << entry.path();
        EXPECT_TRUE(sameConversion(*record, FlightRole::Comparison)) << entry.path();
        ++flights;
    }
    EXPECT_GE(flights, 5);
}

TEST(ConversionEquivalence, FuzzSeedsAsImages) {
    int seeds = 0;
    for (const auto& folder : fs::directory_iterator(VTL_FUZZ_SEEDS)) {
        const bool imageSeeds = folder.path().filename() == "flight_image_fuzzer";
        for (const auto& entry : fs::directory_iterator(folder.path())) {
            const std::vector<uint8_t> bytes = fileBytes(entry.path());
            const auto record = recordHolding(imageSeeds ? fuzzSeedImage(bytes) : bytes);
            EXPECT_TRUE(sameConversion(*record, FlightRole::Current)) << entry.path();
            ++seeds;
        }
    }
    EXPECT_GE(seeds, 40);
}

TEST(ConversionEquivalence, RandomPlausibleFlights) {
    std::mt19937 random(20261210);
    auto record = std::make_unique<FlightRecord>();
    int refused = 0;
    for (int flight = 0; flight < 10000; ++flight) {
        fillPlausibleFlight(*record, random);
        ASSERT_TRUE(sameConversion(*record, FlightRole::Current)) << "flight " << flight;
        refused += !convertFlight(*record, FlightRole::Current) ? 1 : 0;
    }
    EXPECT_LT(refused, 100);
}

TEST(ConversionEquivalence, TemperatureWordThatRefusesMidFlight) {
    // At raw temperature 30000 the default coefficients give X1 = 7214, so MD = -7214 makes the
    // divisor zero there and nowhere near 27000: the flight converts up to that slot and stops.
    auto record = std::make_unique<FlightRecord>();
    record->calibration.MD = -7214;
    for (uint32_t i = 0; i < 300; ++i) {
        uint8_t* slot = record->rawImage.data() + image::kHeaderSize + image::kSlotSize * i;
        image::writeWord(slot, image::kSlotTemperature, i < 200 ? 27000 : 30000);
        image::writeWord(slot, image::kSlotPressure, static_cast<uint16_t>(40000 - i));
    }
    record->payloadLength = 300 * image::kSlotSize;
    EXPECT_FALSE(convertFlight(*std::make_unique<FlightRecord>(*record), FlightRole::Current));
    EXPECT_TRUE(sameConversion(*record, FlightRole::Current));
}

} // namespace
} // namespace vtl
