// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/flight/cursor_readings.h"

#include "core/flight/comparison_resampling.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace vtl {
namespace {

using Curve = std::vector<int32_t>;

TEST(NearestSample, TheEndsOfTheCurveHoldTheCursor) {
    // 10 samples a second, five samples: 0 s to 0.4 s.
    EXPECT_EQ(nearestSample(-3.0, 5, 100), 0u);
    EXPECT_EQ(nearestSample(0.0, 5, 100), 0u);
    EXPECT_EQ(nearestSample(0.4, 5, 100), 4u);
    EXPECT_EQ(nearestSample(0.46, 5, 100), 4u);
    EXPECT_EQ(nearestSample(120.0, 5, 100), 4u);
    EXPECT_EQ(nearestSample(5.0, 1, 100), 0u);
    EXPECT_FALSE(nearestSample(1.0, 0, 100));
    EXPECT_FALSE(nearestSample(1.0, 5, 0));
}

TEST(NearestSample, BetweenSamplesTheNearerAndAtTheHalfTheEarlier) {
    EXPECT_EQ(nearestSample(0.24, 50, 100), 2u);
    EXPECT_EQ(nearestSample(0.26, 50, 100), 3u);
    // 0.25 s is no exact binary fraction of a tenth: it still counts as the half.
    EXPECT_EQ(nearestSample(0.25, 50, 100), 2u);
    EXPECT_EQ(nearestSample(0.35, 50, 100), 3u);
    // 15 samples a second: 0.1 s lies halfway between samples 1 and 2.
    EXPECT_EQ(nearestSample(0.1, 50, 150), 1u);
    EXPECT_EQ(nearestSample(0.1001, 50, 150), 2u);
    // One sample in ten seconds: 14.9 s is sample 1, 15 s too, 15.1 s sample 2.
    EXPECT_EQ(nearestSample(14.9, 50, 1), 1u);
    EXPECT_EQ(nearestSample(15.0, 50, 1), 1u);
    EXPECT_EQ(nearestSample(15.1, 50, 1), 2u);
    EXPECT_DOUBLE_EQ(sampleTime(3, 150), 0.2);
    EXPECT_DOUBLE_EQ(sampleTime(3, 1), 30.0);
}

TEST(CursorReadings, ClimbAndSinkBetweenTwoCursors) {
    // 5 samples a second.
    const Curve curve{0, 120, 250, 8734, 8510, 8400};
    const auto cursors = cursorSamples(0.2, 0.8, curve.size(), 50);
    ASSERT_TRUE(cursors);
    const CursorReadings up = cursorReadings(curve, *cursors, 50);
    EXPECT_DOUBLE_EQ(up.a.seconds, 0.2);
    EXPECT_EQ(up.a.altitudeCm, 120);
    EXPECT_EQ(up.a.metres(), 1.2);
    EXPECT_DOUBLE_EQ(up.b.seconds, 0.8);
    EXPECT_EQ(up.b.metres(), 85.1);
    EXPECT_DOUBLE_EQ(up.dtS, 0.6);
    EXPECT_DOUBLE_EQ(*up.dhM, 83.9);
    EXPECT_DOUBLE_EQ(*up.climbMps, 83.9 / 0.6);

    // The cursors the other way round: the same climb, both differences negative.
    const CursorReadings back = cursorReadings(curve, {4, 1}, 50);
    EXPECT_DOUBLE_EQ(back.dtS, -0.6);
    EXPECT_DOUBLE_EQ(*back.dhM, -83.9);
    EXPECT_DOUBLE_EQ(*back.climbMps, 83.9 / 0.6);

    // Sinking after the top.
    const CursorReadings down = cursorReadings(curve, {3, 5}, 50);
    EXPECT_DOUBLE_EQ(*down.dhM, -3.34);
    EXPECT_DOUBLE_EQ(*down.climbMps, -3.34 / 0.4);

    // Level flight read right to left is level, not -0.
    const CursorReadings level = cursorReadings(Curve{300, 300, 300}, {2, 0}, 50);
    EXPECT_FALSE(std::signbit(*level.climbMps));
}

TEST(CursorReadings, CursorsOnOneSampleGiveNoClimb) {
    const Curve curve{0, 120, 250};
    const CursorReadings same = cursorReadings(curve, *cursorSamples(0.1, 0.1, 3, 100), 100);
    EXPECT_EQ(same.dtS, 0.0);
    EXPECT_EQ(same.dhM, 0.0);
    EXPECT_FALSE(same.climbMps);
    // Two times past the end of the flight both stand on its last sample.
    const auto past = cursorSamples(4.0, 9.0, 3, 100);
    ASSERT_TRUE(past);
    EXPECT_EQ(past->a, 2u);
    EXPECT_EQ(past->b, 2u);
    EXPECT_FALSE(cursorReadings(curve, *past, 100).climbMps);
    EXPECT_FALSE(cursorSamples(0.0, 1.0, 0, 100));
}

TEST(CursorReadings, AComparisonThatEndsEarlierHasNoHeightPastItsEnd) {
    const Curve current{0, 100, 200, 300, 400, 500};
    const Curve comparison{0, 50, 90};
    const CursorSamples cursors = *cursorSamples(0.1, 0.5, current.size(), 100);
    const CursorReadings readings = cursorReadings(comparison, cursors, 100);
    EXPECT_EQ(readings.a.altitudeCm, 50);
    EXPECT_DOUBLE_EQ(readings.b.seconds, 0.5);
    EXPECT_FALSE(readings.b.altitudeCm);
    EXPECT_FALSE(readings.b.metres());
    EXPECT_DOUBLE_EQ(readings.dtS, 0.4);
    EXPECT_FALSE(readings.dhM);
    EXPECT_FALSE(readings.climbMps);
}

TEST(CursorReadings, AComparisonAtAnotherRateIsReadOnTheCurrentTimes) {
    // The comparison at 5 samples a second beside a flight at 20: four current samples to each
    // of its own, so 0.15 s reads the interpolated point three quarters of the way to 0.2 s.
    const Curve own{0, 400, 1000};
    const Curve drawn = resampleCurve(own, 50, 200);
    const CursorSamples cursors = *cursorSamples(0.15, 0.4, 40, 200);
    EXPECT_EQ(cursors.a, 3u);
    EXPECT_EQ(cursors.b, 8u);
    const CursorReadings readings = cursorReadings(drawn, cursors, 200);
    EXPECT_EQ(readings.a.altitudeCm, 300);
    EXPECT_EQ(readings.b.altitudeCm, 1000);
    EXPECT_DOUBLE_EQ(readings.dtS, 0.25);
    EXPECT_DOUBLE_EQ(*readings.climbMps, 28.0);
}

} // namespace
} // namespace vtl
