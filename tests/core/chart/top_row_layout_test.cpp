// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/chart/top_row_layout.h"

#include <gtest/gtest.h>

namespace vtl {
namespace {

TEST(TopRowLayout, WorkedWidths) {
    struct Case {
        int width, filter, x0, g1, g2, p, g3;
    };
    const Case cases[] = {{800, 94, 6, 154, 438, 572, 674},
                          {1280, 98, 10, 184, 536, 863, 975},
                          {1920, 103, 15, 278, 812, 1496, 1615}};
    for (const Case& c : cases) {
        const TopRowLayout layout = layOutTopRow(c.width, 900);
        EXPECT_EQ(layout.readButtonLeft, c.x0) << c.width;
        EXPECT_EQ(layout.filterButtonLeft, c.filter) << c.width;
        EXPECT_EQ(layout.flightPanelLeft, c.g1) << c.width;
        EXPECT_EQ(layout.discPanelLeft, c.g2) << c.width;
        EXPECT_EQ(layout.comparisonButtonLeft, c.p) << c.width;
        EXPECT_EQ(layout.comparisonPanelLeft, c.g3) << c.width;
    }
}

TEST(TopRowLayout, ChartSizeAndOverlays) {
    const TopRowLayout normal = layOutTopRow(1280, 900);
    EXPECT_EQ(normal.chartWidth, 1265);
    // 900 less the top row's 120 and the figures strip's 64 (two figures lines and the note).
    EXPECT_EQ(normal.chartHeight, 716);
    EXPECT_EQ(normal.unitLabelsTop, 696);
    EXPECT_EQ(normal.figuresTop, 838);
    EXPECT_EQ(normal.noteTop, 876);
    EXPECT_LE(normal.noteTop + kNoteLineHeight, 900);
    EXPECT_EQ(normal.rightLabelsLeft, 1180);

    // A small window keeps a 500 by 200 chart, which then reaches past the window.
    const TopRowLayout small = layOutTopRow(400, 250);
    EXPECT_EQ(small.chartWidth, 500);
    EXPECT_EQ(small.chartHeight, 200);
    EXPECT_EQ(small.figuresTop, 322); // under the chart, past the window's bottom
    EXPECT_EQ(small.rightLabelsLeft, 415);
}

TEST(TopRowLayout, ExtremeWidthsNeverDivideByZero) {
    for (const int width : {0, 1, 128000, 128001, 1000000}) {
        const TopRowLayout layout = layOutTopRow(width, 0);
        EXPECT_GE(layout.comparisonPanelLeft, layout.comparisonButtonLeft) << width;
    }
    EXPECT_EQ(layOutTopRow(0, 0).readButtonLeft, 0);          // k = 128,000: 1000 / k is 0
    EXPECT_EQ(layOutTopRow(1000000, 0).readButtonLeft, 1000); // k held at 1
}

} // namespace
} // namespace vtl
