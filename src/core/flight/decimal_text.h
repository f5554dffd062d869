// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

namespace vtl {

// A value with one decimal: the exact decimal value of the float rounded to one decimal, halves
// away from zero (0.25 gives "0.3"); a negative value that rounds to zero keeps its sign ("-0.0").
std::string oneDecimalText(float value, char decimalSeparator = '.');

// The same rule for an exact number of centimetres shown in metres.
std::string oneDecimalTextOfCentimetres(int32_t centimetres, char decimalSeparator = '.');

} // namespace vtl
