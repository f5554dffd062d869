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

std::optional<TemperatureTerms> temperatureTerms(uint16_t rawTemperature, const Calibration& c) {
    const std::optional<int32_t> b5 = temperatureTermB5(rawTemperature, c);
    if (!b5) {
        return std::nullopt;
    }
    const int32_t b6 = wrap32(static_cast<int64_t>(*b5) - 4000);
    const int32_t b6Squared = divide32(wrap32(static_cast<int64_t>(b6) * b6), 4096);

    int32_t x1 = divide32(wrap32(static_cast<int64_t>(c.B2) * b6Squared), 2048);
    int32_t x2 = divide32(wrap32(static_cast<int64_t>(c.AC2) * b6), 2048);
    int32_t x3 = wrap32(static_cast<int64_t>(x1) + x2);
    TemperatureTerms terms;
    terms.b3 = divide32(wrap32(static_cast<int64_t>(c.AC1) * 4 + x3), 4);

    x1 = divide32(wrap32(static_cast<int64_t>(c.AC3) * b6), 8192);
    x2 = divide32(wrap32(static_cast<int64_t>(c.B1) * b6Squared), 65536);
    x3 = divide32(wrap32(static_cast<int64_t>(x1) + x2 + 2), 4);
    terms.b4 =
        (static_cast<uint32_t>(c.AC4) * static_cast<uint32_t>(wrap32(int64_t{x3} + 32768))) >> 15;
    if (terms.b4 == 0) {
        return std::nullopt;
    }
    return terms;
}

std::optional<int32_t> samplePressure(uint16_t rawPressure, uint16_t rawTemperature,
                                      const Calibration& c) {
    const std::optional<TemperatureTerms> terms = temperatureTerms(rawTemperature, c);
    if (!terms) {
        return std::nullopt;
    }
    return compensatedPressure(rawPressure, *terms);
}

} // namespace vtl
