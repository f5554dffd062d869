// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/flight/flight_drawing.h"

#include <cstdint>
#include <vector>

namespace vtl {

// A comparison flight recorded at another sampling rate is read at the current flight's sample
// times, so that both curves share one time axis: point j of the current flight lies at
// j / currentPer10s ten-second units, point k of the comparison at k / comparisonPer10s.

// The curve read at each current sample time up to its own last point, by linear interpolation
// between its two neighbouring points, truncated toward zero to whole centimetres. Exact integer
// arithmetic, so every build draws the same points. A zero rate or equal rates return the curve
// as it is. At most FlightRecord::kSeriesCapacity points, the most any curve holds.
std::vector<int32_t> resampleCurve(const std::vector<int32_t>& altitudeCm,
                                   uint32_t comparisonPer10s, uint32_t currentPer10s);

// The comparison drawing with its plotted points moved onto the current flight's sample times.
// Its statistics (texts, axis raise, minor ticks) stay those of its own samples.
ComparisonDrawing resampleComparison(ComparisonDrawing drawing, uint32_t comparisonPer10s,
                                     uint32_t currentPer10s);

// Plotted metres of a curve in centimetres, single precision as every curve is plotted.
std::vector<float> plottedMetres(const std::vector<int32_t>& altitudeCm);

// The whole seconds under point j of a flight sampled at samplesPer10s, or -1 between them.
int32_t sampleSecondsLabel(uint32_t j, uint32_t samplesPer10s);

} // namespace vtl
