// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/shell/language.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vtl {

// What the current flight's panel shows, as the chart's output title takes it.
struct FlightPanelTexts {
    std::string origin; // the panel's caption: the device word or the loaded file's name
    std::string competitorNumber;
    std::string serialNumber;
    std::string maximum;
    std::string minimum;
    std::string temperature;
    std::string sampling;
    std::string figures;    // the flight figures line of the drawn curve; empty when none
    std::string note;       // the flight's note; empty when it has none
    bool noteStale = false; // the note was written for an earlier version of the flight's file
};

// The three title lines of a printed or saved chart, the flight figures as a fourth when the
// drawn curve gives any, and the flight's note on one line when it has one.
std::vector<std::string> outputTitleLines(const FlightPanelTexts& panel, Language language);

// The title the chart gets back after output: eight leading blanks, where the start has twelve.
constexpr const char* kRestoredChartTitle = "        Wysokosc / Altitude";

} // namespace vtl
