// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/flight/cursor_readings.h"

#include <cmath>

namespace vtl {
namespace {

// A time typed as a decimal rarely lands exactly on a half sample in binary; this much either
// side of a half still counts as the half, far below any sample spacing.
constexpr double kHalfTolerance = 1e-9;

CursorPoint pointAt(const std::vector<int32_t>& altitudeCm, size_t j, uint32_t samplesPer10s) {
    CursorPoint point;
    point.seconds = sampleTime(j, samplesPer10s);
    if (j < altitudeCm.size()) {
        point.altitudeCm = altitudeCm[j];
    }
    return point;
}

} // namespace

double sampleTime(size_t j, uint32_t samplesPer10s) {
    return samplesPer10s == 0 ? 0.0 : 10.0 * static_cast<double>(j) / samplesPer10s;
}

std::optional<size_t> nearestSample(double seconds, size_t sampleCount, uint32_t samplesPer10s) {
    if (sampleCount == 0 || samplesPer10s == 0 || std::isnan(seconds)) {
        return std::nullopt;
    }
    const size_t last = sampleCount - 1;
    const double position = seconds * samplesPer10s / 10.0;
    if (position <= 0.0) {
        return 0;
    }
    if (position >= static_cast<double>(last)) {
        return last;
    }
    const double below = std::floor(position);
    const auto j = static_cast<size_t>(below);
    return position - below <= 0.5 + kHalfTolerance ? j : j + 1;
}

std::optional<double> CursorPoint::metres() const {
    if (!altitudeCm) {
        return std::nullopt;
    }
    return *altitudeCm / 100.0;
}

std::optional<CursorSamples> cursorSamples(double timeA, double timeB, size_t currentCount,
                                           uint32_t samplesPer10s) {
    const auto a = nearestSample(timeA, currentCount, samplesPer10s);
    const auto b = nearestSample(timeB, currentCount, samplesPer10s);
    if (!a || !b) {
        return std::nullopt;
    }
    return CursorSamples{*a, *b};
}

CursorReadings cursorReadings(const std::vector<int32_t>& altitudeCm, CursorSamples cursors,
                              uint32_t samplesPer10s) {
    CursorReadings readings;
    readings.a = pointAt(altitudeCm, cursors.a, samplesPer10s);
    readings.b = pointAt(altitudeCm, cursors.b, samplesPer10s);
    // From the sample count, not by subtracting two rounded times, so 0.3 s stays 0.3.
    const double samples = static_cast<double>(cursors.b) - static_cast<double>(cursors.a);
    readings.dtS = samplesPer10s == 0 ? 0.0 : 10.0 * samples / samplesPer10s;
    if (readings.a.altitudeCm && readings.b.altitudeCm) {
        // int64 so that two far-apart centimetre values cannot overflow their difference.
        const int64_t dhCm = int64_t{*readings.b.altitudeCm} - *readings.a.altitudeCm;
        readings.dhM = static_cast<double>(dhCm) / 100.0;
        if (cursors.a != cursors.b && readings.dtS != 0.0) {
            // Level between cursors placed right to left is 0, not -0.
            readings.climbMps = dhCm == 0 ? 0.0 : *readings.dhM / readings.dtS;
        }
    }
    return readings;
}

} // namespace vtl
