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

// The metres a drawn curve plots for its centimetres (single precision).
float plottedMetres(int32_t centimetres);

// Which rule the panel shows a curve's altitudes by: a drawn curve by its plotted metres, a
// filtered curve by its exact centimetres. The two differ where the float misses a half (5585 cm
// plots as 55.849998, shown "55.8"; exactly it is "55.9").
enum class AltitudeRounding { PlottedMetres, ExactCentimetres };

// An altitude of a curve as its panel shows it, so that every text of the same value agrees.
std::string altitudeText(int32_t centimetres, AltitudeRounding rounding,
                         char decimalSeparator = '.');

// The number that text says, for figures kept and written as numbers.
double shownMetres(int32_t centimetres, AltitudeRounding rounding);

} // namespace vtl
