// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/flight/flight_record.h"

#include <cstdint>
#include <optional>

namespace vtl {

// Start temperature in whole degrees Celsius from the header's raw reading; empty when the
// coefficients make the sensor's temperature divisor zero.
std::optional<int8_t> headerTemperature(const FlightRecord& record);

// Reads the header of the record's image into its fields and sets its temperature from the
// header. Header bytes beyond the image's length read as zero. Returns false, leaving the
// temperature unchanged, when the start temperature cannot be computed.
bool decodeHeader(FlightRecord& record);

} // namespace vtl
