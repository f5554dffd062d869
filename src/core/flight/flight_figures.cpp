// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/flight/flight_figures.h"

#include <algorithm>

namespace vtl {

FlightFigures flightFigures(const std::vector<int32_t>& altitudeCm, uint32_t samplesPer10s) {
    FlightFigures figures;
    if (altitudeCm.empty() || samplesPer10s == 0) {
        return figures;
    }
    const double period = 10.0 / samplesPer10s;
    const auto at = [&](size_t j) { return static_cast<double>(j) * period; };
    const auto highest = std::max_element(altitudeCm.begin(), altitudeCm.end());
    const size_t top = static_cast<size_t>(highest - altitudeCm.begin());
    figures.maximumM = *highest / 100.0;
    figures.maximumS = at(top);
    size_t first = altitudeCm.size();
    size_t last = 0;
    for (size_t j = 0; j < altitudeCm.size(); ++j) {
        if (altitudeCm[j] > kLaunchThresholdCm) {
            first = std::min(first, j);
            last = j;
        }
    }
    if (first < altitudeCm.size()) {
        figures.startS = at(first);
        figures.landingS = at(last) + period;
        figures.flightTimeS = *figures.landingS - *figures.startS;
        const size_t landing = std::min(last + 1, altitudeCm.size() - 1);
        if (*figures.landingS > *figures.maximumS) {
            figures.meanSinkMps = (altitudeCm[top] - altitudeCm[landing]) / 100.0 /
                                  (*figures.landingS - *figures.maximumS);
        }
    }
    const size_t perSecond = std::max<size_t>(1, samplesPer10s / 10);
    for (size_t j = perSecond; j < altitudeCm.size(); ++j) {
        const double climb = (altitudeCm[j] - altitudeCm[j - perSecond]) / 100.0 /
                             (static_cast<double>(perSecond) * period);
        if (!figures.bestClimbMps || climb > *figures.bestClimbMps) {
            figures.bestClimbMps = climb;
        }
    }
    return figures;
}

} // namespace vtl
