// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/files/flight_log.h"

#include <string>

namespace vtl::testing {

// A file's row read the long way: the plausibility test on a fresh record of its own, then the
// load's all-or-nothing handover, then the window's whole drawing pass, each converting the flight
// again. The program reads a row in one pass; its rows must equal these, field by field.
void readFlightLogFileInThreePasses(const std::string& path, FlightLogRow& row);

} // namespace vtl::testing
