// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/flight/flight_record.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vtl {

// One exported value: metres from whole centimetres, rounded to one decimal or to four significant
// digits, whichever keeps fewer, halves away from zero, always shown with one decimal
// (1234.56 m gives "1235.0", 12.34 m "12.3", -3.25 m "-3.3"); 10,000 m and beyond in scientific
// form ("1.235E+04").
std::string spreadsheetValueText(int32_t centimetres, char decimalSeparator);

// The lines of the export: the drawn altitude points of the current flight, each line ended by
// the bytes 0x0A 0x0D (line feed first).
std::vector<uint8_t> spreadsheetBytes(const FlightRecord& record, char decimalSeparator);

// The number of values the export writes: the points of the last drawing.
int32_t exportedPointCount(const FlightRecord& record);

// ".csv" is appended unless the name already holds it anywhere.
std::string withRequiredSuffix(const std::string& name, const std::string& suffix);

} // namespace vtl
