// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/flight/flight_figures.h"
#include "core/shell/language.h"

#include <cstdint>
#include <string>

namespace vtl {

// The figures as one status line in a language, parts joined by " · ": flight time as m:ss,
// start, maximum and its time, best climb, mean sink. A part whose figure is absent is left out;
// nothing present gives the empty text. The separator is the window's, as in its other numbers.
std::string flightFiguresText(const FlightFigures& figures, Language language,
                              char decimalSeparator);

// A flight time as the figures line shows it: whole minutes and seconds ("2:55").
std::string flightTimeText(double seconds);

// What goes before the comparison flight's line, so it is not taken for the current flight's.
std::string comparisonFiguresPrefix(Language language);

} // namespace vtl
