// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/flight/flight_figures.h"
#include "core/flight/flight_figures_text.h"

#include "core/flight/flight_drawing.h"

#include <gtest/gtest.h>

#include <memory>

namespace vtl {
namespace {

constexpr double kTolerance = 1e-9;

// A launch from the ground: `ground` points at 0 cm, a steady climb of `climbCm` per sample up to
// `peakCm`, a steady descent of `sinkCm` per sample down to the ground, then `tail` points on it.
std::vector<int32_t> flightCurve(int ground, int32_t climbCm, int32_t peakCm, int32_t sinkCm,
                                 int tail) {
    std::vector<int32_t> curve(ground, 0);
    for (int32_t a = 0; a < peakCm; a += climbCm)
        curve.push_back(a);
    for (int32_t a = peakCm; a > 0; a -= sinkCm)
        curve.push_back(a);
    curve.insert(curve.end(), tail, 0);
    return curve;
}

struct Expected {
    double startS, maximumS, landingS;
};

void expectFlight(const FlightFigures& f, const Expected& e) {
    ASSERT_TRUE(f.maximumM && f.maximumS && f.startS && f.landingS && f.flightTimeS &&
                f.bestClimbMps && f.meanSinkMps);
    EXPECT_NEAR(*f.maximumM, 60.0, kTolerance);
    EXPECT_NEAR(*f.maximumS, e.maximumS, kTolerance);
    EXPECT_NEAR(*f.startS, e.startS, kTolerance);
    EXPECT_NEAR(*f.landingS, e.landingS, kTolerance);
    EXPECT_NEAR(*f.flightTimeS, e.landingS - e.startS, kTolerance);
    EXPECT_NEAR(*f.bestClimbMps, 3.0, kTolerance);
    EXPECT_NEAR(*f.meanSinkMps, 0.4, kTolerance);
}

// Each rate climbs at 3 m/s to 60 m and sinks at 0.4 m/s. The landing is the sample after the last
// one above 1 m, whose altitude enters the mean sink.
TEST(FlightFigures, TwentySamplesPerSecond) {
    // 15 cm and 2 cm per sample; the first point above 1 m is 105 cm at point 47, the last 102 cm
    // at point 3389, so the landing lies at point 3390 (100 cm, 169.5 s).
    expectFlight(flightFigures(flightCurve(40, 15, 6000, 2, 100), 200), {2.35, 22.0, 169.5});
}

TEST(FlightFigures, FiveSamplesPerSecond) {
    // 60 cm and 8 cm per sample; the landing sample 848 holds 96 cm.
    expectFlight(flightFigures(flightCurve(10, 60, 6000, 8, 20), 50), {2.4, 22.0, 169.6});
}

TEST(FlightFigures, OneSampleEveryTwoSeconds) {
    // Neighbours are two seconds apart: 600 cm and 80 cm per sample, landing sample 86 at 80 cm.
    expectFlight(flightFigures(flightCurve(2, 600, 6000, 80, 3), 5), {6.0, 24.0, 172.0});
}

// The maximum is the value its panel shows, by the panel's rule for the curve; the mean sink still
// comes from the exact centimetres (55.85 m to 1 m in 6 s).
TEST(FlightFigures, MaximumIsThePanelsValue) {
    const std::vector<int32_t> curve{0, 2000, 5585, 4000, 2000, 100, 0};
    const FlightFigures drawn = flightFigures(curve, 5);
    EXPECT_EQ(*drawn.maximumM, 55.8);
    EXPECT_NEAR(*drawn.meanSinkMps, (55.85 - 1.0) / 6.0, kTolerance);
    EXPECT_EQ(*flightFigures(curve, 5, AltitudeRounding::ExactCentimetres).maximumM, 55.9);
    EXPECT_EQ(*flightFigures({0, 15, 0}, 5).maximumM, 0.2);

    // Over a run of peaks, the figures line says what the panel's pass says for the same curve.
    auto record = std::make_unique<FlightRecord>();
    record->samplesPer10s = 50;
    for (int32_t peak = 5500; peak <= 5700; ++peak) {
        const std::vector<int32_t> points{0, 0, 0, peak, peak, peak, peak, 0, 0, 0, 0, 0, 0};
        std::copy(points.begin(), points.end(), record->altitudeCm.begin());
        record->wordCount = static_cast<uint32_t>(2 * points.size());
        const FlightDrawing drawing =
            drawConvertedFlight(*record, static_cast<int32_t>(points.size()), false, ',');
        ASSERT_TRUE(drawing.maxText);
        const std::string line =
            flightFiguresText(flightFigures(drawing.altitudeCm, 50), Language::Polish, ',');
        EXPECT_NE(line.find("maks. " + *drawing.maxText + " m"), std::string::npos)
            << peak << ": " << line;
    }
}

TEST(FlightFigures, ThresholdAndMaximumAreStrict) {
    // 100 cm is not above 1 m; of the two equal maxima the first stays.
    const FlightFigures f = flightFigures({0, 100, 150, 300, 300, 100, 100, 40}, 10);
    EXPECT_NEAR(*f.startS, 2.0, kTolerance);
    EXPECT_NEAR(*f.maximumS, 3.0, kTolerance);
    EXPECT_NEAR(*f.landingS, 5.0, kTolerance);
    EXPECT_NEAR(*f.meanSinkMps, (3.0 - 1.0) / 2.0, kTolerance);
}

TEST(FlightFigures, BestClimbIsTheRiseOverOneSecond) {
    // A two-metre step between neighbours at 20 per second counts over the second around it
    // (2 m plus 19 samples of the steady 3 cm), not as 40 m/s.
    std::vector<int32_t> curve;
    for (int j = 0; j < 60; ++j)
        curve.push_back(3 * j);
    curve.push_back(curve.back() + 200);
    curve.insert(curve.end(), 40, curve.back());
    EXPECT_NEAR(*flightFigures(curve, 200).bestClimbMps, 2.57, kTolerance);

    // The first and the last second count as well as any other.
    std::vector<int32_t> lastSecond(40, 500);
    lastSecond.push_back(800);
    EXPECT_NEAR(*flightFigures(lastSecond, 200).bestClimbMps, 3.0, kTolerance);
    EXPECT_NEAR(*flightFigures({0, 0, 0, 400}, 5).bestClimbMps, 2.0, kTolerance);
    EXPECT_NEAR(*flightFigures({400, 800, 800, 800}, 5).bestClimbMps, 2.0, kTolerance);

    // Too few points for one second: no climb.
    EXPECT_FALSE(flightFigures(std::vector<int32_t>(20, 500), 200).bestClimbMps);
    EXPECT_TRUE(flightFigures(std::vector<int32_t>(21, 500), 200).bestClimbMps);
    EXPECT_FALSE(flightFigures({500}, 5).bestClimbMps);
}

TEST(FlightFigures, RecordingEndsInTheAir) {
    // Still at 50 m when the recording stops: no landing, so no flight time and no sink.
    std::vector<int32_t> curve(20, 0);
    for (int32_t a = 0; a <= 5000; a += 50)
        curve.push_back(a);
    const FlightFigures f = flightFigures(curve, 100);
    EXPECT_NEAR(*f.startS, 2.3, kTolerance);
    EXPECT_NEAR(*f.maximumM, 50.0, kTolerance);
    EXPECT_NEAR(*f.bestClimbMps, 5.0, kTolerance);
    EXPECT_FALSE(f.landingS);
    EXPECT_FALSE(f.flightTimeS);
    EXPECT_FALSE(f.meanSinkMps);
}

TEST(FlightFigures, NothingToMeasure) {
    // On the ground throughout: only the (nil) climb can be given.
    const FlightFigures flat = flightFigures(std::vector<int32_t>(300, 0), 200);
    EXPECT_FALSE(flat.maximumM);
    EXPECT_FALSE(flat.maximumS);
    EXPECT_FALSE(flat.startS);
    EXPECT_FALSE(flat.landingS);
    EXPECT_FALSE(flat.meanSinkMps);
    EXPECT_NEAR(*flat.bestClimbMps, 0.0, kTolerance);

    // Above ground but never above 1 m: a maximum, no start.
    const FlightFigures hop = flightFigures({0, 40, 90, 30, 0}, 10);
    EXPECT_NEAR(*hop.maximumM, 0.9, kTolerance);
    EXPECT_FALSE(hop.startS);
    EXPECT_FALSE(hop.landingS);

    const FlightFigures empty = flightFigures({}, 200);
    EXPECT_FALSE(empty.maximumM || empty.startS || empty.bestClimbMps);
    EXPECT_EQ(flightFiguresText(empty, Language::English, '.'), "");
}

FlightFigures sampleFigures() {
    FlightFigures f;
    f.flightTimeS = 174.6;
    f.startS = 4.1;
    f.maximumM = 70.1;
    f.maximumS = 43.9;
    f.bestClimbMps = 3.2;
    f.meanSinkMps = 0.383;
    return f;
}

TEST(FlightFiguresText, BothLanguages) {
    EXPECT_EQ(flightFiguresText(sampleFigures(), Language::Polish, ','),
              "Lot 2:55 \u00b7 start 4,1 s \u00b7 maks. 70,1 m po 43,9 s \u00b7 wznoszenie 3,2 "
              "m/s \u00b7 opadanie 0,38 m/s");
    EXPECT_EQ(flightFiguresText(sampleFigures(), Language::English, '.'),
              "Flight 2:55 \u00b7 start 4.1 s \u00b7 max 70.1 m after 43.9 s \u00b7 climb 3.2 "
              "m/s \u00b7 sink 0.38 m/s");
}

TEST(FlightFiguresText, AbsentPartsAreLeftOut) {
    FlightFigures f = sampleFigures();
    f.flightTimeS.reset();
    f.meanSinkMps.reset();
    EXPECT_EQ(flightFiguresText(f, Language::English, '.'),
              "start 4.1 s \u00b7 max 70.1 m after 43.9 s \u00b7 climb 3.2 m/s");
    FlightFigures climbOnly;
    climbOnly.bestClimbMps = -0.01;
    EXPECT_EQ(flightFiguresText(climbOnly, Language::Polish, ','), "wznoszenie 0,0 m/s");
}

TEST(FlightFiguresText, FlightTimeRoundsToWholeSeconds) {
    FlightFigures f;
    f.flightTimeS = 59.6;
    EXPECT_EQ(flightFiguresText(f, Language::English, '.'), "Flight 1:00");
    f.flightTimeS = 605.4;
    EXPECT_EQ(flightFiguresText(f, Language::English, '.'), "Flight 10:05");
}

} // namespace
} // namespace vtl
