// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/flight/flight_record.h"

#include <cstdint>
#include <optional>

namespace vtl {

// Altitude in metres above the reference level for a pressure in hPa at the given temperature.
float altitudeFromPressure(float pressureHpa, float temperature, float referencePressure);

// Computes the reference pressure from the first slots and converts the samples into
// record.altitudeCm, ending with the role's end marker. Conversion stops after the first
// terminator slot, after the image's last slot, or where the series is full (the marker always
// fits). Returns the number of converted values (the index of the end marker), or nothing when a
// sample cannot be converted because the coefficients make a divisor zero.
std::optional<int32_t> convertFlight(FlightRecord& record, FlightRole role);

} // namespace vtl
