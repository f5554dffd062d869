// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/flight/cursor_texts.h"

#include <gtest/gtest.h>

namespace vtl {
namespace {

constexpr auto kPlotted = AltitudeRounding::PlottedMetres;
constexpr auto kExact = AltitudeRounding::ExactCentimetres;

TEST(CursorTexts, ReadoutNamesEachCurveInTheWindowsSeparator) {
    EXPECT_EQ(readoutText(12.4, 100, ReadoutHeight{8730, kPlotted}, ReadoutHeight{8510, kPlotted},
                          Language::Polish, ','),
              "t 12,4 s \u00b7 87,3 m \u00b7 por\u00f3wnanie 85,1 m");
    EXPECT_EQ(readoutText(12.4, 100, ReadoutHeight{8730, kPlotted}, ReadoutHeight{8510, kPlotted},
                          Language::English, '.'),
              "t 12.4 s \u00b7 87.3 m \u00b7 comparison 85.1 m");
    // Past the comparison's end only the current flight speaks, and the other way round.
    EXPECT_EQ(
        readoutText(40.0, 100, ReadoutHeight{-120, kPlotted}, std::nullopt, Language::English, '.'),
        "t 40.0 s \u00b7 -1.2 m");
    EXPECT_EQ(
        readoutText(40.0, 100, std::nullopt, ReadoutHeight{500, kPlotted}, Language::English, '.'),
        "t 40.0 s \u00b7 comparison 5.0 m");
    // Each height by its panel's rule: 5585 cm plots as 55.849998 but is exactly 55.85.
    EXPECT_EQ(readoutText(1.0, 100, ReadoutHeight{5585, kPlotted}, ReadoutHeight{5585, kExact},
                          Language::English, '.'),
              "t 1.0 s \u00b7 55.8 m \u00b7 comparison 55.9 m");
}

TEST(CursorTexts, TimesKeepNeighbouringSamplesApart) {
    EXPECT_EQ(cursorTimeText(0.3, 100, '.'), "0.3 s");
    EXPECT_EQ(cursorTimeText(0.05, 200, ','), "0,05 s");
    EXPECT_EQ(cursorTimeText(10.0 / 15, 150, '.'), "0.67 s");
    EXPECT_EQ(cursorTimeText(20.0, 1, '.'), "20.0 s");
}

TEST(CursorTexts, RowGivesBothCursorsAndTheSignedDifferences) {
    // Sinking from 87.30 m at 10 s to 80.05 m at 15 s.
    const std::vector<int32_t> curve = {8730, 8005};
    CursorReadings sink = cursorReadings(curve, {0, 1}, 2);
    sink.a.seconds = 10.0;
    sink.b.seconds = 15.0;
    sink.dtS = 5.0;
    const CursorRowTexts row = cursorRowTexts(sink, true, true, 100, kExact, ',');
    EXPECT_EQ(row.a, "10,0 s \u00b7 87,3 m");
    EXPECT_EQ(row.b, "15,0 s \u00b7 80,1 m");
    EXPECT_EQ(row.dt, "+5,0 s");
    EXPECT_EQ(row.dh, "-7,3 m");
    EXPECT_EQ(row.climb, "-1,45 m/s");

    // Level flight reads zero, not a signed zero.
    const CursorRowTexts level =
        cursorRowTexts(cursorReadings({500, 500}, {1, 0}, 100), true, true, 100, kPlotted, '.');
    EXPECT_EQ(level.dh, "0.0 m");
    EXPECT_EQ(level.climb, "0.00 m/s");
    EXPECT_EQ(level.dt, "-0.1 s");
    // Down by 4 cm is level to a tenth of a metre.
    EXPECT_EQ(
        cursorRowTexts(cursorReadings({504, 500}, {0, 1}, 100), true, true, 100, kPlotted, '.').dh,
        "0.0 m");
}

TEST(CursorTexts, RowLeavesEmptyWhatItCannotSay) {
    // One cursor: its own cell only.
    const CursorReadings one = cursorReadings({100, 200}, {1, 1}, 100);
    const CursorRowTexts onlyB = cursorRowTexts(one, false, true, 100, kPlotted, '.');
    EXPECT_EQ(onlyB.a, "");
    EXPECT_EQ(onlyB.b, "0.1 s \u00b7 2.0 m");
    EXPECT_EQ(onlyB.dt + onlyB.dh + onlyB.climb, "");
    // A comparison that ended before cursor B: B's time without a height, no differences of it.
    const CursorReadings ended = cursorReadings({100, 200}, {0, 5}, 100);
    const CursorRowTexts row = cursorRowTexts(ended, true, true, 100, kPlotted, '.');
    EXPECT_EQ(row.b, "0.5 s");
    EXPECT_EQ(row.dt, "+0.5 s");
    EXPECT_EQ(row.dh, "");
    EXPECT_EQ(row.climb, "");
}

} // namespace
} // namespace vtl
