// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vtl {

struct FlightRecord;

// The version of the scoring arithmetic below. A contest notes it beside the rule's text, so that
// scores kept by another version can be told apart when they are verified.
constexpr int kScoringRuleVersion = 1;

// How a round's flight is scored, from its drawn curve (the window's smoothed centimetres):
//   max           the flight's maximum, as the panel shows it (metres, one decimal);
//   window:W      the highest point within W seconds from the start (metres, as the panel);
//   at:T          the altitude T seconds after the start: the point at that time or, between
//                 points, the one just before it (metres, as the panel);
//   duration:CAP  the flight time, start to landing, at most CAP seconds (centiseconds).
// The start is the first point above the contest's start threshold. A flight without a start
// scores nothing under every rule.
class ScoringRule {
public:
    enum class Kind { Maximum, Window, At, Duration };

    // Nothing for a text that is no rule ("window:" without seconds, a negative time, "at:1,5").
    static std::optional<ScoringRule> parse(const std::string& text);
    std::string text() const;

    Kind kind() const { return m_kind; }
    double seconds() const { return m_seconds; }

    std::optional<double> score(const std::vector<int32_t>& altitudeCm, uint32_t samplesPer10s,
                                double startThresholdM) const;

private:
    Kind m_kind = Kind::Maximum;
    double m_seconds = 0.0;
};

// What a flight file says for a contest: whether it is a flight at all, its header's numbers,
// whether the recorder ended it, and its drawn curve, computed as the flight log reads a file.
struct ContestFlightReading {
    bool isFlight = false;
    uint16_t competitorNumber = 0;
    uint16_t serialNumber = 0;
    bool hasEnd = false;
    std::vector<int32_t> altitudeCm;
    uint32_t samplesPer10s = 0;
};

// `record` is where the flight is decoded: one a thread, reused from flight to flight.
ContestFlightReading readContestFlight(const std::vector<uint8_t>& bytes, FlightRecord& record);
ContestFlightReading readContestFlight(const std::vector<uint8_t>& bytes);

} // namespace vtl
