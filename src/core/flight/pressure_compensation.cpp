// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/flight/pressure_compensation.h"

#include "core/flight/wrapping_arithmetic.h"

namespace vtl {

std::optional<int32_t> temperatureTermB5(uint16_t rawTemperature, const Calibration& c) {
    const int32_t difference = static_cast<int32_t>(rawTemperature) - c.AC6;
    const int32_t x1 = divide32(wrap32(int64_t{difference} * c.AC5), 32768);
    const int32_t divisor = wrap32(int64_t{x1} + c.MD);
    if (divisor == 0) {
        return std::nullopt;
    }
    const int32_t x2 = divide32(wrap32(int64_t{c.MC} * 2048), divisor);
    return wrap32(int64_t{x1} + x2);
}

std::optional<int32_t> samplePressure(uint16_t rawPressure, uint16_t rawTemperature,
                                      const Calibration& c) {
    const std::optional<int32_t> b5 = temperatureTermB5(rawTemperature, c);
    if (!b5) {
        return std::nullopt;
    }
    const int32_t b6 = wrap32(static_cast<int64_t>(*b5) - 4000);
    const int32_t b6Squared = divide32(wrap32(static_cast<int64_t>(b6) * b6), 4096);

    int32_t x1 = divide32(wrap32(static_cast<int64_t>(c.B2) * b6Squared), 2048);
    int32_t x2 = divide32(wrap32(static_cast<int64_t>(c.AC2) * b6), 2048);
    int32_t x3 = wrap32(static_cast<int64_t>(x1) + x2);
    const int32_t b3 = divide32(wrap32(static_cast<int64_t>(c.AC1) * 4 + x3), 4);

    x1 = divide32(wrap32(static_cast<int64_t>(c.AC3) * b6), 8192);
    x2 = divide32(wrap32(static_cast<int64_t>(c.B1) * b6Squared), 65536);
    x3 = divide32(wrap32(static_cast<int64_t>(x1) + x2 + 2), 4);
    const uint32_t b4 =
        (static_cast<uint32_t>(c.AC4) * static_cast<uint32_t>(wrap32(int64_t{x3} + 32768))) >> 15;
    if (b4 == 0) {
        return std::nullopt;
    }

    const int32_t b7 =
        wrap32(static_cast<int64_t>(wrap32(static_cast<int64_t>(rawPressure) - b3)) * 50000);
    const uint32_t b7Unsigned = static_cast<uint32_t>(b7);
    const uint32_t quotient =
        b7Unsigned < 0x80000000u ? (b7Unsigned * 2u) / b4 : (b7Unsigned / b4) * 2u;
    int32_t p = static_cast<int32_t>(quotient);

    const double pOver256 = p / 256.0;
    x1 = truncateToInt32(pOver256 * pOver256);
    x1 = divide32(wrap32(static_cast<int64_t>(x1) * 3038), 65536);
    x2 = divide32(wrap32(static_cast<int64_t>(-7357) * p), 65536);
    p = wrap32(static_cast<int64_t>(p) +
               divide32(wrap32(static_cast<int64_t>(x1) + x2 + 3791), 16));
    return p;
}

} // namespace vtl
