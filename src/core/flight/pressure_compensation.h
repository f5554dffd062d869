// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/flight/calibration.h"

#include <cstdint>
#include <optional>

namespace vtl {

// The sensor's temperature term B5 for a raw temperature word; empty when the coefficients make
// its divisor zero.
std::optional<int32_t> temperatureTermB5(uint16_t rawTemperature, const Calibration& calibration);

// Compensated pressure in pascals from a raw pressure and a raw temperature word (oversampling 0,
// no rounding term in B3, the square of step 15 in floating point). Empty when the coefficients
// make a divisor zero, so such a sample cannot be converted.
std::optional<int32_t> samplePressure(uint16_t rawPressure, uint16_t rawTemperature,
                                      const Calibration& calibration);

} // namespace vtl
