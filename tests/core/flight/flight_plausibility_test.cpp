// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/flight/flight_plausibility.h"

#include "core/files/measurement_file.h"
#include "core/files/spreadsheet_export.h"
#include "core/flight/flight_drawing.h"
#include "core/flight/flight_image.h"
#include "core/flight/image_handover.h"
#include "core/flight/pressure_compensation.h"
#include "flight_synthesiser.h"
#include "support/image_builder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <random>

namespace vtl {
namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> sampleFlight() {
    testing::FlightDescription flight;
    flight.altitudeCm = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 500, 1500, 3000, 2000, 0};
    return testing::synthesiseFlightImage(flight);
}

bool plausible(const std::vector<uint8_t>& bytes) {
    return plausibleFlightHeader(bytes.data(), bytes.size());
}

TEST(FlightPlausibility, EverySampleFlightIsPlausible) {
    int samples = 0;
    for (const auto& entry : fs::directory_iterator(VTL_SAMPLES)) {
        if (entry.path().extension() != ".bin") {
            continue;
        }
        std::vector<uint8_t> bytes;
        ASSERT_TRUE(readMeasurementFile(entry.path().string(), bytes));
        EXPECT_TRUE(plausible(bytes)) << entry.path();
        EXPECT_TRUE(imageHasEnd(bytes.data(), bytes.size())) << entry.path();
        ++samples;
    }
    EXPECT_GE(samples, 5);
    EXPECT_TRUE(plausible(sampleFlight()));
}

// The end is the terminator's pressure word in a whole slot: not a temperature word, not header
// bytes, not a slot the file cut in half.
TEST(FlightPlausibility, OnlyATerminatorSlotEndsTheImage) {
    const auto ends = [](const std::vector<uint8_t>& bytes) {
        return imageHasEnd(bytes.data(), bytes.size());
    };
    const std::vector<uint8_t> whole = sampleFlight();
    EXPECT_TRUE(ends(whole));
    EXPECT_FALSE(ends(std::vector<uint8_t>(whole.begin(), whole.end() - 4)));
    EXPECT_FALSE(ends(std::vector<uint8_t>(whole.begin(), whole.end() - 1)));

    testing::ImageBuilder image;
    image.header(image::kHeaderSize - 2, 0xFF).header(image::kHeaderSize - 1, 0xFF);
    image.slots(5, 27000, 0xFFFE).slot(0xFFFF, 40000);
    EXPECT_FALSE(ends(image.bytes()));
    image.terminator().slots(3, 27000, 40000);
    EXPECT_TRUE(ends(image.bytes())); // slots after the end are not looked at for it
}

TEST(FlightPlausibility, FilesThatAreNoFlightAreNot) {
    std::mt19937 random(20240611);
    for (int i = 0; i < 200; ++i) {
        std::vector<uint8_t> bytes(36 + random() % 8000);
        for (uint8_t& b : bytes) {
            b = static_cast<uint8_t>(random());
        }
        EXPECT_FALSE(plausible(bytes)) << "random image " << i;
    }

    // The spreadsheet column of a real flight.
    auto record = std::make_unique<FlightRecord>();
    const auto flight = sampleFlight();
    ASSERT_EQ(acceptLoadedImage(*record, flight.data(), flight.size(), FlightRole::Current),
              HandoverResult::Accepted);
    ASSERT_TRUE(drawFlight(*record, false, '.'));
    const std::vector<uint8_t> csv = spreadsheetBytes(*record, '.');
    ASSERT_GT(csv.size(), 36u);
    EXPECT_FALSE(plausible(csv));

    // A 2 x 2 picture, 24 bits a pixel, and the start of a PNG file.
    std::vector<uint8_t> bmp = {'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0,  0,
                                2,   0,   0,  0, 2, 0, 0, 0, 1, 0, 24, 0, 0, 0, 0,  0, 16, 0};
    bmp.resize(70, 0xFF);
    EXPECT_FALSE(plausible(bmp));
    const std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', 13, 10,   26,   10,   0,    0, 0, 13,
                                      'I',  'H', 'D', 'R', 0,  0,    3,    32,   0,    0, 1, 144,
                                      8,    6,   0,   0,   0,  0x5C, 0x72, 0xA8, 0x66, 0, 0, 0};
    EXPECT_FALSE(plausible(png));

    EXPECT_FALSE(plausible(std::vector<uint8_t>(400, 0)));
    EXPECT_FALSE(plausible(std::vector<uint8_t>(400, 0xFF)));
}

TEST(FlightPlausibility, AHeaderNeedsASampleToJudge) {
    const auto flight = sampleFlight();
    EXPECT_FALSE(plausibleFlightHeader(flight.data(), 0));
    EXPECT_FALSE(plausibleFlightHeader(flight.data(), 10));
    EXPECT_FALSE(plausibleFlightHeader(flight.data(), image::kHeaderSize));
    EXPECT_FALSE(plausibleFlightHeader(flight.data(), image::kHeaderSize + 3));
    EXPECT_TRUE(plausibleFlightHeader(flight.data(), image::kHeaderSize + 4));
}

// Each part of the rule on its own turns an otherwise good flight down.
TEST(FlightPlausibility, EachCriterionCounts) {
    auto withWord = [](size_t offset, uint16_t value) {
        auto bytes = sampleFlight();
        image::writeWord(bytes.data(), offset, value);
        return bytes;
    };
    const size_t mc = image::kCalibration + 2 * 9;
    EXPECT_FALSE(plausible(withWord(mc, 1000))); // decodes, but no sensor has a positive MC
    const size_t ac3 = image::kCalibration + 2 * 2;
    EXPECT_FALSE(plausible(withWord(ac3, 2000)));
    const size_t ac4 = image::kCalibration + 2 * 3;
    EXPECT_FALSE(plausible(withWord(ac4, 0))); // cannot be decoded at all

    for (const uint8_t code : {0, 1, 2, 3, 4, 5, 6, 15, 0x15, 0xF3}) {
        auto bytes = sampleFlight();
        bytes[image::kSamplingCode] = code;
        EXPECT_TRUE(plausible(bytes)) << int{code};
    }

    // Ground pressures from the raw words: 30,000 Pa is the lowest still taken.
    const uint16_t ut = 27000;
    const uint16_t low = testing::rawPressureFor(29000, ut, Calibration{});
    const uint16_t lowest = testing::rawPressureFor(30100, ut, Calibration{});
    const uint16_t high = testing::rawPressureFor(111000, ut, Calibration{});
    EXPECT_TRUE(plausible(testing::ImageBuilder().slots(10, ut, lowest).terminator().bytes()));
    EXPECT_FALSE(plausible(testing::ImageBuilder().slots(10, ut, low).terminator().bytes()));
    EXPECT_FALSE(plausible(testing::ImageBuilder().slots(10, ut, high).terminator().bytes()));

    // A later sample whose temperature word makes the sensor's divisor zero: the load would
    // refuse the flight as corrupt.
    uint16_t zeroDivisor = 0;
    while (temperatureTermB5(zeroDivisor, Calibration{})) {
        ++zeroDivisor;
    }
    const uint16_t ground = testing::rawPressureFor(95000, ut, Calibration{});
    EXPECT_TRUE(plausible(testing::ImageBuilder().slots(12, ut, ground).terminator().bytes()));
    EXPECT_FALSE(plausible(testing::ImageBuilder()
                               .slots(11, ut, ground)
                               .slot(zeroDivisor, ground)
                               .terminator()
                               .bytes()));
}

} // namespace
} // namespace vtl
