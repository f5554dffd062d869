// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/flight/pressure_compensation.h"

#include <gtest/gtest.h>

#include <vector>

namespace vtl {
namespace {

// The sensor maker's worked example. The maker's procedure gives B5 = 2399 and 69,964 Pa; here
// every division truncates toward zero (X2 = -2343, not -2344), B3 has no rounding term and the
// square of step 15 is taken in floating point, which gives B5 = 2400 and 69,966 Pa.
Calibration makersExample() {
    Calibration c;
    c.AC1 = 408;
    c.AC2 = -72;
    c.AC3 = -14383;
    c.AC4 = 32741;
    c.AC5 = 32757;
    c.AC6 = 23153;
    c.B1 = 6190;
    c.B2 = 4;
    c.MB = -32768;
    c.MC = -8711;
    c.MD = 2868;
    return c;
}

TEST(PressureCompensation, MakersWorkedExample) {
    const Calibration c = makersExample();
    EXPECT_EQ(temperatureTermB5(27898, c), 2400);
    EXPECT_EQ(samplePressure(23843, 27898, c), 69966);
}

TEST(PressureCompensation, PressureRisesWithTheRawWord) {
    const Calibration c;
    int32_t previous = *samplePressure(20000, 27000, c);
    for (uint16_t up = 20001; up < 50000; up += 97) {
        const int32_t pressure = *samplePressure(up, 27000, c);
        EXPECT_GT(pressure, previous) << "raw pressure " << up;
        previous = pressure;
    }
}

TEST(PressureCompensation, ZeroDivisorsRefuseTheSample) {
    Calibration temperatureDivisor = makersExample();
    // X1 = (27898 - 23153) * 32757 / 32768 = 4743, so MD = -4743 zeroes X1 + MD.
    temperatureDivisor.MD = -4743;
    EXPECT_FALSE(temperatureTermB5(27898, temperatureDivisor));
    EXPECT_FALSE(samplePressure(23843, 27898, temperatureDivisor));

    Calibration pressureDivisor = makersExample();
    pressureDivisor.AC4 = 0;
    EXPECT_TRUE(temperatureTermB5(27898, pressureDivisor));
    EXPECT_FALSE(samplePressure(23843, 27898, pressureDivisor));
}

// Whatever words and coefficients arrive, every step is defined: overflowing steps wrap in 32 bits
// and divisions truncate. The expected pressures were computed apart from this code, in exact
// integer arithmetic with the same wrapping and truncation, for the default coefficients, the
// maker's example and coefficients at their extremes.
TEST(PressureCompensation, ExtremeInputsWrapAsTwosComplement) {
    const uint16_t words[] = {0, 1, 0x7FFF, 0x8000, 0xFFFE, 0xFFFF};
    Calibration extreme;
    extreme.AC1 = INT16_MIN;
    extreme.AC2 = INT16_MAX;
    extreme.AC3 = INT16_MIN;
    extreme.AC4 = 0xFFFF;
    extreme.AC5 = 0xFFFF;
    extreme.AC6 = 0;
    extreme.B1 = INT16_MAX;
    extreme.B2 = INT16_MIN;
    extreme.MC = INT16_MIN;
    extreme.MD = 1;
    const std::vector<int32_t> expected[] = {
        {172914, 172916, 49770,  49772,  125556, 125558, 172914, 172916, 49770,
         49772,  125556, 125558, 243535, 243537, 79979,  79982,  183080, 183084,
         243541, 243545, 79981,  79984,  183086, 183088, 332351, 332355, 113367,
         113371, 243832, 243836, 332355, 332359, 113371, 113375, 243836, 243840},
        {176972, 176974, 66406,  66408,   134466,  134468, 176974,  176976,  66408,
         66410,  134468, 134470, 273379,  273383,  104453, 104456,  210848,  210852,
         273389, 273392, 104456, 104460,  210856,  210858, 1069769, 1069782, 405907,
         405920, 812987, 813000, 1069769, 1069782, 405907, 405920,  812987,  813000},
        {75384, 75386, 4323,   4325,   48093, 48094,  114555, 114557, 39109,
         39110, 85579, 85579,  57163,  57164, 104188, 104188, 28033,  28035,
         57481, 57482, 104501, 104501, 28355, 28356,  115841, 115843, 33230,
         33232, 84106, 84108,  70211,  70211, 122944, 122946, 37556,  37558},
    };
    const Calibration sets[] = {Calibration{}, makersExample(), extreme};
    for (size_t set = 0; set < 3; ++set) {
        std::vector<int32_t> pressures;
        for (const uint16_t ut : words) {
            for (const uint16_t up : words) {
                pressures.push_back(samplePressure(up, ut, sets[set]).value_or(-1));
            }
        }
        EXPECT_EQ(pressures, expected[set]) << "coefficient set " << set;
    }
}

} // namespace
} // namespace vtl
