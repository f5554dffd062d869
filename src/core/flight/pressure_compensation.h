// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/flight/calibration.h"
#include "core/flight/wrapping_arithmetic.h"

#include <cstdint>
#include <optional>

namespace vtl {

// The sensor's temperature term B5 for a raw temperature word; empty when the coefficients make
// its divisor zero.
std::optional<int32_t> temperatureTermB5(uint16_t rawTemperature, const Calibration& calibration);

// The steps of the compensation that depend on the raw temperature word alone (B3 and B4), shared
// by every sample taken at that temperature.
struct TemperatureTerms {
    int32_t b3 = 0;
    uint32_t b4 = 0;
};

// Empty when the coefficients make a divisor zero at this temperature.
std::optional<TemperatureTerms> temperatureTerms(uint16_t rawTemperature,
                                                 const Calibration& calibration);

// The steps that follow from the raw pressure word: the compensated pressure in pascals.
inline int32_t compensatedPressure(uint16_t rawPressure, TemperatureTerms terms) {
    const int32_t b7 =
        wrap32(static_cast<int64_t>(wrap32(static_cast<int64_t>(rawPressure) - terms.b3)) * 50000);
    const uint32_t b7Unsigned = static_cast<uint32_t>(b7);
    const uint32_t quotient =
        b7Unsigned < 0x80000000u ? (b7Unsigned * 2u) / terms.b4 : (b7Unsigned / terms.b4) * 2u;
    const int32_t p = static_cast<int32_t>(quotient);

    const double pOver256 = p / 256.0;
    int32_t x1 = truncateToInt32(pOver256 * pOver256);
    x1 = divide32(wrap32(static_cast<int64_t>(x1) * 3038), 65536);
    const int32_t x2 = divide32(wrap32(static_cast<int64_t>(-7357) * p), 65536);
    return wrap32(static_cast<int64_t>(p) +
                  divide32(wrap32(static_cast<int64_t>(x1) + x2 + 3791), 16));
}

// Compensated pressure in pascals from a raw pressure and a raw temperature word (oversampling 0,
// no rounding term in B3, the square of step 15 in floating point). Empty when the coefficients
// make a divisor zero, so such a sample cannot be converted.
std::optional<int32_t> samplePressure(uint16_t rawPressure, uint16_t rawTemperature,
                                      const Calibration& calibration);

} // namespace vtl
