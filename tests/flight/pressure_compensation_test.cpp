#include "flight/pressure_compensation.h"

#include <gtest/gtest.h>

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

// Whatever words and coefficients arrive, every step stays defined (the sanitizer build checks
// that overflowing steps wrap instead of invoking undefined behaviour).
TEST(PressureCompensation, ExtremeInputsStayDefined) {
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
    for (const Calibration& c : {Calibration{}, makersExample(), extreme}) {
        for (const uint16_t ut : words) {
            for (const uint16_t up : words) {
                (void)samplePressure(up, ut, c);
            }
        }
    }
}

} // namespace
} // namespace vtl
