// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace vtl {

// Point j of a drawn curve lies at 10 * j / samplesPer10s seconds, the comparison included once
// it is drawn on the current flight's sample times.
double sampleTime(size_t j, uint32_t samplesPer10s);

// The drawn sample nearest to a time: before the first sample reads the first, past the last
// reads the last, and a time halfway between two samples reads the earlier, so that a cursor
// dragged over the curve never wavers between two neighbours. Empty for an empty curve or a zero
// rate.
std::optional<size_t> nearestSample(double seconds, size_t sampleCount, uint32_t samplesPer10s);

// One cursor on one curve: its sample's time and height. The height is absent where the curve
// has no sample under the cursor (a comparison that ends earlier).
struct CursorPoint {
    double seconds = 0.0;
    std::optional<int32_t> altitudeCm;

    std::optional<double> metres() const;
};

// What the two cursors read on one curve. dt and dh run from cursor A to cursor B; the climb is
// their ratio, absent where either height is or where both cursors stand on the same sample.
struct CursorReadings {
    CursorPoint a;
    CursorPoint b;
    double dtS = 0.0;
    std::optional<double> dhM;
    std::optional<double> climbMps;
};

// The two cursors stand on the current flight's samples nearest to timeA and timeB. Empty when the
// current flight has nothing drawn.
struct CursorSamples {
    size_t a = 0;
    size_t b = 0;
};
std::optional<CursorSamples> cursorSamples(double timeA, double timeB, size_t currentCount,
                                           uint32_t samplesPer10s);

// The readings of a curve drawn on the current flight's sample times, at the cursors' samples.
CursorReadings cursorReadings(const std::vector<int32_t>& altitudeCm, CursorSamples cursors,
                              uint32_t samplesPer10s);

} // namespace vtl
