// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/contest/scoring_rule.h"

#include "core/files/flight_log.h"
#include "core/flight/flight_figures.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vtl {
namespace {

constexpr uint32_t kTenPerSecond = 100;

// Ten points a second: 100 cm is not above the 1 m threshold, 101 cm is (point 4, 0.4 s); the
// highest point, 500 cm, lies 0.3 s after the start; the last point above is 9, so the flight
// lands at 1.0 s.
const std::vector<int32_t> kFlight = {0, 0, 50, 100, 101, 150, 300, 500, 400, 200, 100, 50, 0};

std::optional<double> scoreOf(const std::string& rule, const std::vector<int32_t>& curve,
                              double thresholdM = 1.0) {
    const std::optional<ScoringRule> parsed = ScoringRule::parse(rule);
    EXPECT_TRUE(parsed) << rule;
    return parsed ? parsed->score(curve, kTenPerSecond, thresholdM) : std::nullopt;
}

TEST(ScoringRuleTest, RulesReadAndWriteTheirText) {
    for (const std::string text : {"max", "window:60", "at:12.5", "duration:180"}) {
        const std::optional<ScoringRule> rule = ScoringRule::parse(text);
        ASSERT_TRUE(rule) << text;
        EXPECT_EQ(rule->text(), text);
    }
    for (const std::string text : {"", "maximum", "window", "window:", "at:-1", "at:1,5",
                                   "duration:0", "window:60s", "height:3", "at: 3"}) {
        EXPECT_FALSE(ScoringRule::parse(text)) << text;
    }
}

TEST(ScoringRuleTest, MaximumIsThePanelsFigure) {
    EXPECT_EQ(scoreOf("max", kFlight), flightFigures(kFlight, kTenPerSecond).maximumM);
    EXPECT_EQ(scoreOf("max", kFlight), 5.0);
}

// The window counts from the first point above the threshold and takes the point at its end.
TEST(ScoringRuleTest, WindowEndsWithThePointAtItsEdge) {
    EXPECT_EQ(scoreOf("window:0.3", kFlight), 5.0);
    EXPECT_EQ(scoreOf("window:0.29", kFlight), 3.0);
    EXPECT_EQ(scoreOf("window:0", kFlight), 1.0);
    // A higher threshold starts the window later: the 300 cm point at 0.6 s.
    EXPECT_EQ(scoreOf("window:0", kFlight, 2.0), 3.0);
    EXPECT_EQ(scoreOf("window:1000", kFlight), 5.0);
}

TEST(ScoringRuleTest, AtTakesThePointAtOrJustBeforeTheTime) {
    EXPECT_EQ(scoreOf("at:0", kFlight), 1.0);
    EXPECT_EQ(scoreOf("at:0.2", kFlight), 3.0);
    EXPECT_EQ(scoreOf("at:0.25", kFlight), 3.0);
    EXPECT_EQ(scoreOf("at:0.8", kFlight), 0.0);
    // 2.3 s is 22.999999999999996 points in binary: still point 23 after the start.
    std::vector<int32_t> ramp = {0, 0};
    for (int32_t j = 0; j <= 30; ++j) {
        ramp.push_back(101 + 10 * j);
    }
    EXPECT_EQ(scoreOf("at:2.3", ramp), 3.3);
    EXPECT_EQ(scoreOf("window:2.3", ramp), 3.3);
    // Past the recording's end there is no altitude.
    EXPECT_EQ(scoreOf("at:0.9", kFlight), std::nullopt);
}

TEST(ScoringRuleTest, DurationIsTheFiguresFlightTimeCapped) {
    const std::optional<double> flightTime = flightFigures(kFlight, kTenPerSecond).flightTimeS;
    ASSERT_TRUE(flightTime);
    EXPECT_NEAR(*scoreOf("duration:10", kFlight), *flightTime, 0.005);
    EXPECT_EQ(scoreOf("duration:10", kFlight), 0.6);
    EXPECT_EQ(scoreOf("duration:0.5", kFlight), 0.5);
    // Launched later under a higher threshold, it flies shorter.
    EXPECT_EQ(scoreOf("duration:10", kFlight, 2.0), 0.3);
}

// A flight still aloft at the recording's end has flown the cap only if it was recorded that long.
TEST(ScoringRuleTest, FlightEndingInTheAirScoresTheCapOnlyWhenItReachedIt) {
    const std::vector<int32_t> aloft = {0, 0, 200, 300, 400};
    EXPECT_EQ(scoreOf("duration:0.3", aloft), 0.3);
    EXPECT_EQ(scoreOf("duration:0.4", aloft), std::nullopt);
    EXPECT_EQ(scoreOf("max", aloft), 4.0);
}

TEST(ScoringRuleTest, NoStartScoresNothing) {
    const std::vector<int32_t> ground = {0, 50, 100, 100, 0};
    for (const std::string rule : {"max", "window:5", "at:0", "duration:5"}) {
        EXPECT_EQ(scoreOf(rule, ground), std::nullopt) << rule;
    }
}

// A real flight scores what the flight log (and so the panel and the figures line) shows.
TEST(ScoringRuleTest, SampleFlightScoresTheFlightLogsFigures) {
    const std::string path = std::string(VTL_SAMPLES) + "/towed_glider_10_per_s.bin";
    FlightLogRow row;
    readFlightLogFile(path, row);
    ASSERT_EQ(row.status, LogStatus::Ok);
    std::vector<uint8_t> bytes;
    {
        std::FILE* file = std::fopen(path.c_str(), "rb");
        ASSERT_NE(file, nullptr);
        int c = 0;
        while ((c = std::fgetc(file)) != EOF) {
            bytes.push_back(static_cast<uint8_t>(c));
        }
        std::fclose(file);
    }
    const ContestFlightReading reading = readContestFlight(bytes);
    ASSERT_TRUE(reading.isFlight);
    EXPECT_TRUE(reading.hasEnd);
    EXPECT_EQ(reading.competitorNumber, static_cast<uint16_t>(*row.competitorNumber));
    const auto score = [&](const char* text) {
        return ScoringRule::parse(text)->score(reading.altitudeCm, reading.samplesPer10s, 1.0);
    };
    EXPECT_EQ(score("max"), row.figures.maximumM);
    EXPECT_EQ(score("window:100000"), row.figures.maximumM);
    ASSERT_TRUE(row.figures.flightTimeS);
    EXPECT_NEAR(*score("duration:100000"), *row.figures.flightTimeS, 0.005);
    EXPECT_NEAR(*score("duration:10"), 10.0, 1e-9);
}

} // namespace
} // namespace vtl
