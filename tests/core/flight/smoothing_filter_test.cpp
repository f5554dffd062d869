// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/flight/smoothing_filter.h"

#include "core/flight/wrapping_arithmetic.h"
#include "support/filter_reference.h"

#include <gtest/gtest.h>

#include <random>
#include <tuple>

namespace vtl {
namespace {

std::vector<int32_t> withMarker(std::vector<int32_t> samples) {
    samples.push_back(kEndMarker);
    return samples;
}

FilterResult filter(const std::vector<int32_t>& samples, const FilterParameters& p = {}) {
    const std::vector<int32_t> curve = withMarker(samples);
    return filterCurve(curve.data(), curve.size(), p);
}

// A climb and a glide as a logger sees them: a few centimetres of sensor noise on a smooth curve.
std::vector<int32_t> quietFlight(size_t samples, uint32_t seed = 7) {
    std::mt19937 noise(seed);
    std::vector<int32_t> curve;
    for (size_t i = 0; i < samples; ++i) {
        const auto t = static_cast<int32_t>(i);
        const int32_t smooth = i < samples / 3 ? 40 * t
                                               : 40 * static_cast<int32_t>(samples / 3) -
                                                     6 * (t - static_cast<int32_t>(samples / 3));
        curve.push_back(smooth + static_cast<int32_t>(noise() % 21) - 10);
    }
    return curve;
}

std::vector<int32_t> line(size_t samples, int32_t start, int32_t slope) {
    std::vector<int32_t> curve;
    for (size_t i = 0; i < samples; ++i) {
        curve.push_back(start + slope * static_cast<int32_t>(i));
    }
    return curve;
}

TEST(SmoothingFilter, CurveInsideEveryToleranceComesBackUnchanged) {
    for (const auto& curve : {quietFlight(3000), line(500, 5000, 0), line(500, -200, -25)}) {
        const FilterResult result = filter(curve);
        EXPECT_EQ(result.filteredCm, curve);
        EXPECT_EQ(result.unfilteredCm, curve);
    }
}

TEST(SmoothingFilter, TenMetreSpikeIsBridgedAndNothingElseMoves) {
    for (const int32_t slope : {0, 10, 7, -13}) {
        for (const int32_t spike : {1000, -1000}) {
            const std::vector<int32_t> clean = line(600, 5000, slope);
            for (const size_t at : {size_t{60}, size_t{300}, size_t{590}}) {
                std::vector<int32_t> spiky = clean;
                spiky[at] += spike;
                const FilterResult result = filter(spiky);
                EXPECT_EQ(result.filteredCm, clean) << slope << " " << spike << " " << at;
                EXPECT_EQ(result.unfilteredCm, spiky);
            }
        }
    }
}

TEST(SmoothingFilter, LastSampleAndSamplesAfterTheLastAcceptedOneKeepTheirValues) {
    std::vector<int32_t> curve = line(400, 3000, 5);
    curve.back() += 2000;
    EXPECT_EQ(filter(curve).filteredCm, curve);

    // A jump in the last few samples has nothing after it to bridge to.
    for (size_t i = curve.size() - 6; i < curve.size(); ++i) {
        curve[i] = 90000;
    }
    EXPECT_EQ(filter(curve).filteredCm, curve);
}

TEST(SmoothingFilter, CoarseBridgeStepsFromTheAnchorAndTruncatesTowardZero) {
    SmoothingFilter f;
    for (const int32_t sign : {1, -1}) {
        f.takeCurve(withMarker({0, sign * 5000, sign * 701, sign * 701, sign * 720}));
        f.coarseCut(350);
        // Step 701 / 3 = 233: the accepted sample itself ends the line at 699.
        EXPECT_EQ(std::vector<int32_t>(f.work(), f.work() + 6),
                  withMarker({0, sign * 233, sign * 466, sign * 699, sign * 720}));
    }
}

TEST(SmoothingFilter, EachRunStartsAgainFromTheCurveItIsGiven) {
    std::vector<int32_t> first = quietFlight(2000, 3);
    first[500] += 1500;
    first[900] -= 3000;
    const std::vector<int32_t> second = line(16999, -4000, 3);
    SmoothingFilter f;
    const std::vector<int32_t> a = withMarker(first);
    const std::vector<int32_t> b = withMarker(second);
    const FilterResult once = filterCurve(f, a.data(), a.size(), {});
    filterCurve(f, b.data(), b.size(), {});
    EXPECT_EQ(filterCurve(f, a.data(), a.size(), {}).filteredCm, once.filteredCm);
    EXPECT_NE(once.filteredCm, first);
}

TEST(SmoothingFilter, ShortCurvesAreJudgedAgainstTheFirstAverageOnly) {
    SmoothingFilter f;
    std::vector<int32_t> curve = line(42, 1000, 0);
    curve[20] += 1000;
    f.takeCurve(withMarker(curve));
    f.runFilter({});
    EXPECT_EQ(std::vector<int32_t>(f.trend(), f.trend() + 43),
              std::vector<int32_t>(f.pass1(), f.pass1() + 43));
    EXPECT_EQ(std::vector<int32_t>(f.work(), f.work() + 42), line(42, 1000, 0));

    curve.push_back(1400);
    f.takeCurve(withMarker(curve));
    f.runFilter({});
    EXPECT_NE(f.trend()[42], f.pass1()[42]);

    for (size_t n = 0; n < 4; ++n) {
        const std::vector<int32_t> tiny = line(n, 70, 9000);
        EXPECT_EQ(filter(tiny).filteredCm, tiny);
    }
}

TEST(SmoothingFilter, MaximumAndMinimumStartFromZeroAndFiftyMetres) {
    const FilterResult high = filter(line(300, 6000, 4));
    EXPECT_EQ(high.maxText, "72.0");
    EXPECT_EQ(high.minText, "50.0");
    const FilterResult low = filter(line(300, -20, -1));
    EXPECT_EQ(low.maxText, "0.0");
    EXPECT_EQ(low.minText, "-3.2");
    const FilterResult none = filter({});
    EXPECT_EQ(none.maxText, "0.0");
    EXPECT_EQ(none.minText, "50.0");
    const std::vector<int32_t> curve = withMarker(line(100, 4025, 0));
    EXPECT_EQ(filterCurve(curve.data(), curve.size(), {}, ',').minText, "40,3");
}

// One sample of `height` at index `at` in a flat curve of zeros.
std::vector<int32_t> pulse(size_t samples, size_t at, int32_t height) {
    std::vector<int32_t> curve(samples, 0);
    curve[at] = height;
    return curve;
}

TEST(SmoothingFilter, FirstAverageReachesLengthBackAndItsReachAhead) {
    // Length 8 reaches 11 ahead: i-8 ... i+10, 19 samples. Length 12 reaches 16: i-12 ... i+15.
    for (const auto& [length, first, last] :
         {std::tuple<int32_t, size_t, size_t>{8, 190, 208}, {12, 185, 212}}) {
        const int32_t samples = static_cast<int32_t>(last - first + 1);
        SmoothingFilter f;
        f.takeCurve(withMarker(pulse(300, 200, 100 * samples)));
        f.smoothPass1(length);
        EXPECT_EQ(f.pass1()[first - 1], 0) << length;
        EXPECT_EQ(f.pass1()[first], 100) << length;
        EXPECT_EQ(f.pass1()[last], 100) << length;
        EXPECT_EQ(f.pass1()[last + 1], 0) << length;
    }
}

TEST(SmoothingFilter, SecondAverageGrowsFromIndex42WithItsBackEdgeAt41) {
    // A first average longer than the curve copies it, so the second one sees the pulse itself.
    SmoothingFilter f;
    f.takeCurve(withMarker(pulse(80, 41, 2400)));
    f.smoothPass1(100);
    f.smoothPass2(12);
    // Up to 41 the input is kept; then windows of 2, 4, 6, 8 samples all start at 41.
    EXPECT_EQ(std::vector<int32_t>(f.trend() + 40, f.trend() + 46),
              (std::vector<int32_t>{0, 2400, 1200, 600, 400, 300}));
    // Length 2 stops growing at 2 back and 3 ahead: from index 44 the window leaves 41 behind.
    f.smoothPass2(2);
    EXPECT_EQ(std::vector<int32_t>(f.trend() + 40, f.trend() + 46),
              (std::vector<int32_t>{0, 2400, 1200, 600, 0, 0}));
    // Grown, it covers i-2 ... i+2: a pulse at 50 shows at 48 to 52 over five samples.
    f.takeCurve(withMarker(pulse(80, 50, 2400)));
    f.smoothPass1(100);
    f.smoothPass2(2);
    EXPECT_EQ(std::vector<int32_t>(f.trend() + 46, f.trend() + 54),
              (std::vector<int32_t>{0, 0, 480, 480, 480, 480, 480, 0}));
}

TEST(SmoothingFilter, OddLengthsGiveDefinedCurves) {
    std::vector<int32_t> curve = quietFlight(400, 11);
    curve[200] += 5000;
    const FilterParameters one{350, 250, 1, 1};
    EXPECT_EQ(filter(curve, {350, 250, 0, -5}).filteredCm, filter(curve, one).filteredCm);

    SmoothingFilter f;
    f.takeCurve(withMarker(curve));
    f.smoothPass1(150);
    // Below the length the input is kept, also past the first hundred slots.
    EXPECT_EQ(std::vector<int32_t>(f.pass1(), f.pass1() + 150),
              std::vector<int32_t>(curve.begin(), curve.begin() + 150));
    EXPECT_EQ(f.pass1()[400], kEndMarker);

    for (const FilterParameters& p :
         {FilterParameters{350, 250, 150, 150}, FilterParameters{350, 250, 5000, INT32_MAX},
          FilterParameters{350, 250, INT32_MIN, INT32_MAX}}) {
        const FilterResult result = filter(curve, p);
        EXPECT_EQ(result.filteredCm.size(), curve.size());
        EXPECT_EQ(filter(curve, p).filteredCm, result.filteredCm);
    }
}

TEST(SmoothingFilter, InputIsReadUpToItsFirstMarkerAndNeverPastTheWorkingCapacity) {
    std::vector<int32_t> curve = line(300, 100, 1);
    curve[120] = kEndMarker;
    EXPECT_EQ(filterCurve(curve.data(), curve.size(), {}).filteredCm.size(), 120u);
    // No marker at all: as far as the caller's slots reach, and at most the arrays' capacity.
    EXPECT_EQ(filterCurve(curve.data(), 50, {}).filteredCm.size(), 50u);
    const std::vector<int32_t> endless(20000, 300);
    EXPECT_EQ(filterCurve(endless.data(), endless.size(), {}).filteredCm.size(),
              SmoothingFilter::kMaximumLength);
}

TEST(SmoothingFilter, HostileCurvesAndParametersStillEnd) {
    std::vector<int32_t> alternating;
    std::vector<int32_t> extreme;
    for (int i = 0; i < 16999; ++i) {
        alternating.push_back(i % 2 == 0 ? 0 : 100000);
        extreme.push_back(i % 2 == 0 ? INT32_MIN : INT32_MAX - 1);
    }
    const FilterResult result = filter(alternating);
    ASSERT_EQ(result.filteredCm.size(), 16999u);
    EXPECT_EQ(result.filteredCm.back(), alternating.back());
    EXPECT_EQ(filter(extreme).filteredCm.size(), 16999u);
    EXPECT_EQ(filter(alternating, {INT32_MIN, INT32_MIN, 8, 12}).filteredCm.size(), 16999u);
    EXPECT_EQ(filter(extreme, {INT32_MAX, INT32_MAX, 2, 3}).filteredCm.size(), 16999u);
}

TEST(SmoothingFilter, RestartShortcutMatchesRestartingOneStepAtATime) {
    std::mt19937 random(5);
    std::vector<std::pair<std::vector<int32_t>, FilterParameters>> cases;
    std::vector<int32_t> plateaus;
    std::vector<int32_t> square;
    for (int i = 0; i < 400; ++i) {
        plateaus.push_back((i / 60) % 2 == 0 ? 0 : 20000);
        square.push_back((i / 47) % 2 == 0 ? -2000000000 : 2000000000);
    }
    cases.push_back({plateaus, {}});
    cases.push_back({plateaus, {-300, -300, 100, 300}});
    cases.push_back({square, {}});
    for (int trial = 0; trial < 200; ++trial) {
        std::vector<int32_t> curve;
        int32_t v = 0;
        for (uint32_t i = random() % 300; i > 0; --i) {
            v = random() % 4 == 0 ? static_cast<int32_t>(random() % 40000) - 20000
                                  : v + static_cast<int32_t>(random() % 200) - 100;
            curve.push_back(v);
        }
        const auto pick = [&](int32_t low, uint32_t span) {
            return low + static_cast<int32_t>(random() % span);
        };
        cases.push_back({curve, {pick(-400, 1000), pick(-400, 800), pick(-3, 30), pick(-3, 40)}});
    }

    for (const auto& [curve, p] : cases) {
        SmoothingFilter f;
        f.takeCurve(withMarker(curve));
        const size_t n = f.length();
        std::vector<int32_t> expected(f.input(), f.input() + n);
        testing::coarseCutStepByStep(expected, n, p.preCutCm);
        f.coarseCut(p.preCutCm);
        ASSERT_EQ(std::vector<int32_t>(f.work(), f.work() + n), expected);
        for (const int64_t t : {2 * int64_t{p.finalCutCm}, int64_t{p.finalCutCm}}) {
            f.smoothPass1(p.preFilterLength);
            f.smoothPass2(p.finalFilterLength);
            expected.assign(f.input(), f.input() + n);
            testing::fineCutStepByStep(expected, f.trend(), n, t);
            f.fineCut(t);
            ASSERT_EQ(std::vector<int32_t>(f.work(), f.work() + n), expected);
        }
    }
}

TEST(SmoothingFilter, LabelsAtWholeSecondsOfTheSamplingRate) {
    EXPECT_EQ(filterLabelSeconds(0, 200), 0);
    EXPECT_EQ(filterLabelSeconds(19, 200), -1);
    EXPECT_EQ(filterLabelSeconds(40, 200), 2);
    EXPECT_EQ(filterLabelSeconds(15, 150), 1);
    EXPECT_EQ(filterLabelSeconds(3, 5), 6);
    EXPECT_EQ(filterLabelSeconds(7, 0), -1);
}

} // namespace
} // namespace vtl
