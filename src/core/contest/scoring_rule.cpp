// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/contest/scoring_rule.h"

#include "core/flight/decimal_text.h"
#include "core/flight/flight_drawing.h"
#include "core/flight/flight_figures.h"
#include "core/flight/flight_plausibility.h"
#include "core/flight/flight_record.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <memory>

namespace vtl {

namespace {

struct NamedKind {
    const char* name;
    ScoringRule::Kind kind;
};
constexpr NamedKind kKinds[] = {{"window", ScoringRule::Kind::Window},
                                {"at", ScoringRule::Kind::At},
                                {"duration", ScoringRule::Kind::Duration}};

// Seconds as plain decimal digits with '.', whatever the locale says.
std::optional<double> parseSeconds(const std::string& text) {
    if (text.empty() || !(std::isdigit(static_cast<unsigned char>(text[0])))) {
        return std::nullopt;
    }
    double value = 0.0;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value, std::chars_format::fixed);
    if (result.ec != std::errc() || result.ptr != end || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::string secondsText(double seconds) {
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, seconds);
    return std::string(text, result.ptr);
}

double timeOf(size_t point, uint32_t samplesPer10s) {
    return 10.0 * static_cast<double>(point) / samplesPer10s;
}

// The points of the curve from the start that lie within the seconds after it; a time between
// two points takes the one before. The small allowance keeps 2.3 s at 10 samples a second on
// point 23 although 2.3 * 100 / 10 is 22.999999999999996 in binary.
size_t pointsWithin(double seconds, uint32_t samplesPer10s) {
    return static_cast<size_t>(std::floor(seconds * samplesPer10s / 10.0 + 1e-9));
}

} // namespace

std::optional<ScoringRule> ScoringRule::parse(const std::string& text) {
    ScoringRule rule;
    if (text == "max") {
        return rule;
    }
    const size_t colon = text.find(':');
    if (colon == std::string::npos) {
        return std::nullopt;
    }
    const std::string name = text.substr(0, colon);
    const std::optional<double> seconds = parseSeconds(text.substr(colon + 1));
    if (!seconds) {
        return std::nullopt;
    }
    for (const NamedKind& named : kKinds) {
        if (name == named.name) {
            rule.m_kind = named.kind;
            rule.m_seconds = *seconds;
            // A cap of nothing would score every flight alike.
            if (rule.m_kind == Kind::Duration && *seconds <= 0.0) {
                return std::nullopt;
            }
            return rule;
        }
    }
    return std::nullopt;
}

std::string ScoringRule::text() const {
    for (const NamedKind& named : kKinds) {
        if (named.kind == m_kind) {
            return std::string(named.name) + ':' + secondsText(m_seconds);
        }
    }
    return "max";
}

std::optional<double> ScoringRule::score(const std::vector<int32_t>& altitudeCm,
                                         uint32_t samplesPer10s, double startThresholdM) const {
    if (samplesPer10s == 0) {
        return std::nullopt;
    }
    const auto thresholdCm = static_cast<int32_t>(std::lround(startThresholdM * 100.0));
    std::optional<size_t> start;
    std::optional<size_t> lastAbove;
    for (size_t j = 0; j < altitudeCm.size(); ++j) {
        if (altitudeCm[j] > thresholdCm) {
            if (!start) {
                start = j;
            }
            lastAbove = j;
        }
    }
    if (!start) {
        return std::nullopt;
    }
    switch (m_kind) {
    case Kind::Maximum:
        return flightFigures(altitudeCm, samplesPer10s).maximumM;
    case Kind::Window: {
        const size_t last =
            std::min(altitudeCm.size() - 1, *start + pointsWithin(m_seconds, samplesPer10s));
        int32_t highest = altitudeCm[*start];
        for (size_t j = *start; j <= last; ++j) {
            highest = std::max(highest, altitudeCm[j]);
        }
        return shownMetres(highest, AltitudeRounding::PlottedMetres);
    }
    case Kind::At: {
        const size_t point = *start + pointsWithin(m_seconds, samplesPer10s);
        // A recording that ended before that time has no altitude to give.
        if (point >= altitudeCm.size()) {
            return std::nullopt;
        }
        return shownMetres(altitudeCm[point], AltitudeRounding::PlottedMetres);
    }
    case Kind::Duration: {
        const double startS = timeOf(*start, samplesPer10s);
        double flown = 0.0;
        if (*lastAbove + 1 < altitudeCm.size()) {
            flown = timeOf(*lastAbove + 1, samplesPer10s) - startS;
        } else {
            // Still in the air when the recording ended: the flight time is unknown, yet a
            // flight recorded aloft for the whole cap has flown it.
            flown = timeOf(altitudeCm.size(), samplesPer10s) - startS;
            if (flown < m_seconds) {
                return std::nullopt;
            }
        }
        return std::round(std::min(flown, m_seconds) * 100.0) / 100.0;
    }
    }
    return std::nullopt;
}

ContestFlightReading readContestFlight(const std::vector<uint8_t>& bytes) {
    const auto record = std::make_unique<FlightRecord>();
    return readContestFlight(bytes, *record);
}

ContestFlightReading readContestFlight(const std::vector<uint8_t>& bytes, FlightRecord& record) {
    ContestFlightReading reading;
    // The flight is judged, decoded and converted once, as a load would, and smoothed as its
    // drawing is.
    const std::optional<int32_t> converted =
        decodePlausibleFlight(record, bytes.data(), bytes.size());
    if (!converted) {
        return reading;
    }
    plottedAltitudeCm(record, *converted, reading.altitudeCm);
    reading.isFlight = true;
    reading.competitorNumber = record.competitorNumber;
    reading.serialNumber = record.serialNumber;
    reading.hasEnd = imageHasEnd(bytes.data(), bytes.size());
    reading.samplesPer10s = record.samplesPer10s;
    return reading;
}

} // namespace vtl
