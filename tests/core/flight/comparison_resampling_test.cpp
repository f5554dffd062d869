// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/flight/comparison_resampling.h"

#include <gtest/gtest.h>

#include <vector>

namespace vtl {
namespace {

using Curve = std::vector<int32_t>;

TEST(ResampleCurve, UpsamplingInterpolatesAndTruncatesTowardZero) {
    // 5 samples/s read at 20 samples/s: four current points per comparison point.
    const Curve resampled = resampleCurve({0, 100, -100, 7}, 50, 200);
    // -100 + 107/4 = -73.25 reads -73 (not -74); -100 + 321/4 = -19.75 reads -19: the whole
    // interpolated value is truncated, not the step added to the left neighbour.
    EXPECT_EQ(resampled, (Curve{0, 25, 50, 75, 100, 50, 0, -50, -100, -73, -46, -19, 7}));
}

TEST(ResampleCurve, DownsamplingReadsBetweenPointsAndStopsAtTheLastOne) {
    // 10 samples/s read at 5 samples/s: every other point.
    EXPECT_EQ(resampleCurve({1, 2, 3, 4, 5, 6, 7}, 100, 50), (Curve{1, 3, 5, 7}));
    EXPECT_EQ(resampleCurve({1, 2, 3, 4, 5, 6}, 100, 50), (Curve{1, 3, 5}));

    // 15 samples/s read at 10 samples/s: positions 0, 1.5, 3, 4.5, 6.
    EXPECT_EQ(resampleCurve({0, 10, 21, -30, -31, 40, 7}, 150, 100), (Curve{0, 15, -30, 4, 7}));
    // Without the point at 6 the curve ends at 4.5; nothing is read past the last point.
    EXPECT_EQ(resampleCurve({0, 10, 21, -30, -31, 40}, 150, 100), (Curve{0, 15, -30, 4}));
    // 5 -> 2 at one half is 3.5 cm: 3.
    EXPECT_EQ(resampleCurve({5, 2}, 50, 100), (Curve{5, 3, 2}));
    // Between -1 and 1 cm, on either side of zero and climbing or sinking, is 0.
    EXPECT_EQ(resampleCurve({-1, 2}, 50, 100), (Curve{-1, 0, 2}));
    EXPECT_EQ(resampleCurve({1, -2}, 50, 100), (Curve{1, 0, -2}));
    EXPECT_EQ(resampleCurve({0, 1, 0, -1, 0}, 50, 100), (Curve{0, 0, 1, 0, 0, 0, -1, 0, 0}));
}

TEST(ResampleCurve, EdgesOfTheCurve) {
    EXPECT_TRUE(resampleCurve({}, 50, 200).empty());
    EXPECT_EQ(resampleCurve({42}, 50, 200), (Curve{42}));
    EXPECT_EQ(resampleCurve({3, -8, 9}, 150, 150), (Curve{3, -8, 9}));
    // Extreme neighbours do not overflow: halfway between the 32-bit limits is -0.5, read 0.
    EXPECT_EQ(resampleCurve({INT32_MIN, INT32_MAX}, 50, 100), (Curve{INT32_MIN, 0, INT32_MAX}));
    // One sample per ten seconds at 20 samples per second would outgrow any curve: it stops at
    // the series capacity.
    EXPECT_EQ(resampleCurve(Curve(100, 0), 1, 200).size(),
              static_cast<size_t>(FlightRecord::kSeriesCapacity));
}

TEST(ResampleComparison, MovesOnlyThePlottedPoints) {
    ComparisonDrawing drawing;
    drawing.altitudeCm = {0, 1001, -333};
    drawing.altitudeMetres = plottedMetres(drawing.altitudeCm);
    drawing.maxText = "10.0";
    drawing.minText = "-3.3";
    drawing.axisRaise = 11;
    drawing.minorTickCount = 4;

    const ComparisonDrawing same = resampleComparison(drawing, 50, 50);
    EXPECT_EQ(same.altitudeCm, drawing.altitudeCm);
    EXPECT_EQ(same.altitudeMetres, drawing.altitudeMetres);

    const ComparisonDrawing moved = resampleComparison(drawing, 50, 100);
    EXPECT_EQ(moved.altitudeCm, (Curve{0, 500, 1001, 334, -333}));
    EXPECT_EQ(moved.altitudeMetres, (std::vector<float>{0.0f, 5.0f, static_cast<float>(1001 * 0.01),
                                                        static_cast<float>(334 * 0.01),
                                                        static_cast<float>(-333 * 0.01)}));
    EXPECT_EQ(moved.maxText, drawing.maxText);
    EXPECT_EQ(moved.minText, drawing.minText);
    EXPECT_EQ(moved.axisRaise, drawing.axisRaise);
    EXPECT_EQ(moved.minorTickCount, drawing.minorTickCount);
}

} // namespace
} // namespace vtl
