// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>

namespace vtl {

// Whether the bytes can be a flight image that the recorder wrote: a header whose sensor
// coefficients are the recorder's, whose first samples give a ground pressure
// found on Earth, and at least one sample slot. Loading asks before it takes a file that fails.
bool plausibleFlightHeader(const uint8_t* bytes, size_t length);

// Whether the image's whole sample slots include the terminator slot the recorder writes when the
// flight ends. A file cut off during the flight has none, yet decodes and draws like a short one.
bool imageHasEnd(const uint8_t* bytes, size_t length);

} // namespace vtl
