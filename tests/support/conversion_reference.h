// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/flight/flight_record.h"

#include <cstdint>
#include <optional>

namespace vtl::testing {

// The altitude conversion written sample by sample, each sample's pressure compensated from
// scratch and its altitude from the full formula, to hold the program's conversion to it: same
// altitudes, same reference pressure, same result, also where a sample cannot be converted.
std::optional<int32_t> convertFlightSampleBySample(FlightRecord& record, FlightRole role);

} // namespace vtl::testing
