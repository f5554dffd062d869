// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/flight/comparison_resampling.h"

#include <algorithm>
#include <cstdlib>
#include <numeric>

namespace vtl {
namespace {

// a + d * r / n truncated toward zero, exactly, for 0 <= r < n. |d| * r fits 64 unsigned bits
// whatever the 32-bit inputs, and the result lies between a and a + d, so it fits 32 bits.
int32_t interpolate(int32_t a, int64_t d, uint64_t r, uint64_t n) {
    const uint64_t product = static_cast<uint64_t>(std::llabs(d)) * r;
    const int64_t whole = static_cast<int64_t>(product / n);
    const bool fraction = product % n != 0;
    const int64_t base = d < 0 ? int64_t{a} - whole : int64_t{a} + whole;
    // The exact value lies a fraction beyond base, in the direction of d.
    if (fraction && d > 0 && base < 0) {
        return static_cast<int32_t>(base + 1);
    }
    if (fraction && d < 0 && base > 0) {
        return static_cast<int32_t>(base - 1);
    }
    return static_cast<int32_t>(base);
}

} // namespace

std::vector<int32_t> resampleCurve(const std::vector<int32_t>& altitudeCm,
                                   uint32_t comparisonPer10s, uint32_t currentPer10s) {
    if (comparisonPer10s == currentPer10s || comparisonPer10s == 0 || currentPer10s == 0) {
        return altitudeCm;
    }
    std::vector<int32_t> resampled;
    if (altitudeCm.empty()) {
        return resampled;
    }
    // Current point j lies at comparison position j * step / per, in lowest terms.
    const uint32_t common = std::gcd(comparisonPer10s, currentPer10s);
    const uint64_t step = comparisonPer10s / common;
    const uint64_t per = currentPer10s / common;
    const uint64_t last = altitudeCm.size() - 1;
    constexpr auto kCapacity = static_cast<size_t>(FlightRecord::kSeriesCapacity);
    for (uint64_t j = 0; resampled.size() < kCapacity; ++j) {
        const uint64_t position = j * step;
        const uint64_t k = position / per;
        const uint64_t r = position % per;
        if (k > last || (k == last && r != 0)) {
            break; // nothing past the comparison's last point
        }
        const int32_t a = altitudeCm[k];
        resampled.push_back(r == 0 ? a : interpolate(a, int64_t{altitudeCm[k + 1]} - a, r, per));
    }
    return resampled;
}

ComparisonDrawing resampleComparison(ComparisonDrawing drawing, uint32_t comparisonPer10s,
                                     uint32_t currentPer10s) {
    if (comparisonPer10s == currentPer10s) {
        return drawing;
    }
    drawing.altitudeCm = resampleCurve(drawing.altitudeCm, comparisonPer10s, currentPer10s);
    drawing.altitudeMetres = plottedMetres(drawing.altitudeCm);
    return drawing;
}

std::vector<float> plottedMetres(const std::vector<int32_t>& altitudeCm) {
    std::vector<float> metres;
    metres.reserve(altitudeCm.size());
    for (const int32_t centimetres : altitudeCm) {
        metres.push_back(static_cast<float>(centimetres * 0.01));
    }
    return metres;
}

int32_t sampleSecondsLabel(uint32_t j, uint32_t samplesPer10s) {
    if (samplesPer10s == 0) {
        return -1;
    }
    const uint64_t tick = uint64_t{10} * j;
    return tick % samplesPer10s == 0 ? static_cast<int32_t>(tick / samplesPer10s) : -1;
}

} // namespace vtl
