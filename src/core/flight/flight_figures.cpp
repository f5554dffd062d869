// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/flight/flight_figures.h"

#include <cstddef>

namespace vtl {

namespace {

double metres(int32_t centimetres) {
    return centimetres / 100.0;
}

// The best climb compares points one second apart; at one sample per second or slower, neighbours
// are compared and the rise is scaled to a second.
std::optional<double> bestClimb(const std::vector<int32_t>& altitudeCm, uint32_t samplesPer10s) {
    const size_t apart = samplesPer10s >= 10 ? samplesPer10s / 10 : 1;
    const double spanS = 10.0 * static_cast<double>(apart) / samplesPer10s;
    if (altitudeCm.size() <= apart)
        return std::nullopt;
    // int64 so that two far-apart centimetre values cannot overflow their difference.
    int64_t best = static_cast<int64_t>(altitudeCm[apart]) - altitudeCm[0];
    for (size_t i = 1; i + apart < altitudeCm.size(); ++i) {
        const int64_t rise = static_cast<int64_t>(altitudeCm[i + apart]) - altitudeCm[i];
        if (rise > best)
            best = rise;
    }
    return static_cast<double>(best) / 100.0 / spanS;
}

} // namespace

FlightFigures flightFigures(const std::vector<int32_t>& altitudeCm, uint32_t samplesPer10s,
                            AltitudeRounding rounding) {
    FlightFigures figures;
    if (samplesPer10s == 0 || altitudeCm.empty())
        return figures;
    const auto timeOf = [samplesPer10s](size_t j) {
        return 10.0 * static_cast<double>(j) / samplesPer10s;
    };

    std::optional<size_t> highest;
    std::optional<size_t> firstAbove;
    std::optional<size_t> lastAbove;
    for (size_t j = 0; j < altitudeCm.size(); ++j) {
        const int32_t a = altitudeCm[j];
        // Strictly higher, so the first of equal maxima stays; a curve never above 0 m has none.
        if (a > 0 && (!highest || a > altitudeCm[*highest]))
            highest = j;
        if (a > kLaunchThresholdCm) {
            if (!firstAbove)
                firstAbove = j;
            lastAbove = j;
        }
    }

    if (highest) {
        figures.maximumM = shownMetres(altitudeCm[*highest], rounding);
        figures.maximumS = timeOf(*highest);
    }
    if (firstAbove)
        figures.startS = timeOf(*firstAbove);
    // A recording that ends above the threshold has not seen the landing.
    const bool landed = lastAbove && *lastAbove + 1 < altitudeCm.size();
    if (landed) {
        const size_t touchdown = *lastAbove + 1;
        figures.landingS = timeOf(touchdown);
        figures.flightTimeS = *figures.landingS - *figures.startS;
        if (figures.maximumS && *figures.landingS > *figures.maximumS) {
            figures.meanSinkMps = (metres(altitudeCm[*highest]) - metres(altitudeCm[touchdown])) /
                                  (*figures.landingS - *figures.maximumS);
        }
    }
    figures.bestClimbMps = bestClimb(altitudeCm, samplesPer10s);
    return figures;
}

} // namespace vtl
