// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/flight/flight_record.h"

#include <cstddef>
#include <cstdint>
#include <optional>

namespace vtl {

// Whether the bytes can be a flight image that the recorder wrote: a header whose sensor
// coefficients are the recorder's, whose first samples give a ground pressure
// found on Earth, and at least one sample slot. Loading asks before it takes a file that fails.
bool plausibleFlightHeader(const uint8_t* bytes, size_t length);

// The same test, leaving the flight in the given record: its bytes taken as a loaded file's,
// its header decoded and its samples converted as the current flight's, once. Gives the number of
// converted samples (as convertFlight does), or nothing when the bytes are no plausible flight;
// the record holds no flight to keep then. Whatever the record held before does not count.
std::optional<int32_t> decodePlausibleFlight(FlightRecord& record, const uint8_t* bytes,
                                             size_t length);

// Whether the image's whole sample slots include the terminator slot the recorder writes when the
// flight ends. A file cut off during the flight has none, yet decodes and draws like a short one.
bool imageHasEnd(const uint8_t* bytes, size_t length);

} // namespace vtl
