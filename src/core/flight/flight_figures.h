// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/flight/decimal_text.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace vtl {

// The figures competitors trim by, from the drawn altitude curve. Point j of the curve lies at
// 10 * j / samplesPer10s seconds. A figure is absent where the curve cannot give it.
struct FlightFigures {
    std::optional<double> maximumM;     // highest point, metres as the panel shows it (one decimal)
    std::optional<double> maximumS;     // its time
    std::optional<double> startS;       // first point above the launch threshold
    std::optional<double> landingS;     // last point above the threshold plus one sample period
    std::optional<double> flightTimeS;  // landing - start
    std::optional<double> bestClimbMps; // largest rise over one second
    std::optional<double> meanSinkMps;  // (maximum - altitude at landing) / (landing - maximum)
};

constexpr int32_t kLaunchThresholdCm = 100;

// altitudeCm: the plotted points' smoothed centimetres (FlightDrawing::altitudeCm), or the filtered
// curve's; `rounding` is the rule its panel shows the maximum by, so that the two never differ.
// The rates are taken from the exact centimetres.
FlightFigures flightFigures(const std::vector<int32_t>& altitudeCm, uint32_t samplesPer10s,
                            AltitudeRounding rounding = AltitudeRounding::PlottedMetres);

} // namespace vtl
