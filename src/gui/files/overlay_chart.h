// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/files/flight_overlay.h"
#include "core/shell/language.h"

class ChartView;

// An overlay's flights on the chart as the overlay window and vantorel-cli both draw them: each
// curve named by its legend text, the common time base's seconds on the time axis, and one title
// line saying how the flights were aligned.
void showOverlay(ChartView& chart, const vtl::FlightOverlay& overlay, vtl::Language language);
