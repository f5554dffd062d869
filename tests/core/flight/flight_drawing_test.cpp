// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/flight/flight_drawing.h"

#include "core/flight/decimal_text.h"
#include "core/flight/image_handover.h"
#include "flight_synthesiser.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace vtl {
namespace {

// A record whose converted altitudes are given directly, as the conversion would leave them.
std::unique_ptr<FlightRecord> recordWithAltitudes(const std::vector<int32_t>& centimetres,
                                                  uint32_t samplesPer10s = 100) {
    auto record = std::make_unique<FlightRecord>();
    record->wordCount = static_cast<uint32_t>(centimetres.size() * 2);
    record->samplesPer10s = samplesPer10s;
    std::copy(centimetres.begin(), centimetres.end(), record->altitudeCm.begin());
    record->altitudeCm[centimetres.size()] = kCurrentConversionMarker;
    return record;
}

FlightDrawing draw(const std::vector<int32_t>& centimetres, uint32_t samplesPer10s = 100,
                   bool climb = true) {
    auto record = recordWithAltitudes(centimetres, samplesPer10s);
    return drawConvertedFlight(*record, static_cast<int32_t>(centimetres.size()), climb);
}

TEST(DrawFlight, LabelsAndMinorTicksFollowTheSamplingRate) {
    const std::vector<int32_t> flat(60, 0);
    const FlightDrawing twenty = draw(flat, 200);
    ASSERT_EQ(twenty.labelSeconds.size(), 55u);
    EXPECT_EQ(twenty.label(0), "0");
    EXPECT_EQ(twenty.label(1), "");
    EXPECT_EQ(twenty.label(19), "");
    EXPECT_EQ(twenty.label(20), "1");
    EXPECT_EQ(twenty.label(40), "2");
    EXPECT_EQ(twenty.minorTickCount, 19);

    const FlightDrawing fifteen = draw(flat, 150);
    EXPECT_EQ(fifteen.label(15), "1");
    EXPECT_EQ(fifteen.label(14), "");
    EXPECT_EQ(fifteen.minorTickCount, 14);

    const FlightDrawing everyTwoSeconds = draw(flat, 5);
    EXPECT_EQ(everyTwoSeconds.label(0), "0");
    EXPECT_EQ(everyTwoSeconds.label(1), "2");
    EXPECT_EQ(everyTwoSeconds.label(2), "4");
    EXPECT_EQ(everyTwoSeconds.minorTickCount, -1);
    EXPECT_EQ(draw(flat, 10).minorTickCount, 0);
}

TEST(DrawFlight, SmoothingIsRecursiveAndTheLastFiveSlotsAreNotPlotted) {
    auto record = recordWithAltitudes({0, 300, 0, 0, 0, 0, 0, 0, 0, 0});
    const FlightDrawing drawing = drawConvertedFlight(*record, 10, false);
    // A[1] = (0 + 300 + 0) / 3 = 100; A[2] = (100 + 0 + 0) / 3 = 33; A[3] = 33 / 3 = 11 ...
    EXPECT_EQ(drawing.altitudeCm, (std::vector<int32_t>{0, 100, 33, 11, 3}));
    EXPECT_EQ(record->altitudeCm[5], kEndMarker);
    EXPECT_EQ(drawing.seriesCount, 7);
    EXPECT_EQ(record->seriesCount, 7);
    EXPECT_TRUE(drawing.climbCm.empty());
}

TEST(DrawFlight, ClimbOfFiveCentimetresPerSampleSettlesAtFour) {
    std::vector<int32_t> rising;
    for (int i = 0; i < 20; ++i) {
        rising.push_back(5 * i);
    }
    const FlightDrawing drawing = draw(rising);
    ASSERT_EQ(drawing.altitudeCm.size(), 15u);
    EXPECT_EQ(drawing.altitudeCm[1], 5);
    EXPECT_EQ(drawing.altitudeCm[2], 10);
    EXPECT_EQ(drawing.climbCm.size(), 13u);
    EXPECT_EQ(std::vector<int32_t>(drawing.climbCm.begin(), drawing.climbCm.begin() + 6),
              (std::vector<int32_t>{0, 5, 3, 4, 4, 4}));
    EXPECT_FLOAT_EQ(drawing.climbMetres[1], 0.05f);
}

TEST(DrawFlight, ClimbSwitchedOffAndOnReproducesTheCurves) {
    std::vector<int32_t> flight;
    for (int i = 0; i < 200; ++i) {
        flight.push_back(i < 100 ? i * 37 : 3700 - (i - 100) * 11);
    }
    auto record = recordWithAltitudes(flight);
    const FlightDrawing first = drawConvertedFlight(*record, 200, true);
    std::copy(flight.begin(), flight.end(), record->altitudeCm.begin());
    const FlightDrawing off = drawConvertedFlight(*record, 200, false);
    std::copy(flight.begin(), flight.end(), record->altitudeCm.begin());
    const FlightDrawing again = drawConvertedFlight(*record, 200, true);
    EXPECT_EQ(first.altitudeCm, off.altitudeCm);
    EXPECT_EQ(first.altitudeCm, again.altitudeCm);
    EXPECT_EQ(first.climbCm, again.climbCm);
    EXPECT_EQ(first.climbMetres, again.climbMetres);
}

// Holds a value long enough for the smoothing to reach it exactly.
std::vector<int32_t> plateau(std::vector<std::pair<int32_t, int>> steps) {
    std::vector<int32_t> values;
    for (const auto& [value, count] : steps) {
        values.insert(values.end(), static_cast<size_t>(count), value);
    }
    values.insert(values.end(), 5, values.back());
    return values;
}

TEST(DrawFlight, MaximumAndAxis) {
    const FlightDrawing hundred = draw(plateau({{0, 10}, {10000, 30}, {5000, 30}}));
    EXPECT_EQ(hundred.maxText, "100.0");
    EXPECT_EQ(hundred.axisMaximum, 103);
    // 29 m + 29/30 m stays below 30.
    EXPECT_EQ(draw(plateau({{2900, 30}, {0, 10}})).axisMaximum, 29);

    const FlightDrawing grounded = draw(plateau({{0, 20}, {-50, 20}}));
    EXPECT_FALSE(grounded.maxText);
    EXPECT_FALSE(grounded.minText); // below ground before ever reaching 10 m
    EXPECT_EQ(grounded.axisMaximum, 0);
}

TEST(DrawFlight, MinimumNeedsTwoCentimetresBelowGroundAfterTenMetres) {
    // Approached from above, the truncating smoothing settles one centimetre short of a plateau:
    // at -1 cm for -2 and at -2 cm for -3.
    EXPECT_FALSE(draw(plateau({{0, 10}, {1200, 30}, {-2, 30}})).minText);
    EXPECT_EQ(draw(plateau({{0, 10}, {1200, 30}, {-3, 30}})).minText, "-0.0");
    EXPECT_EQ(draw(plateau({{0, 10}, {1200, 30}, {-260, 30}})).minText, "-2.6");
    // Exactly 10 m is not above 10 m. Climbing, the smoothing settles at 9.99 m; a flight that
    // starts at 10 m holds it exactly.
    EXPECT_FALSE(draw(plateau({{0, 10}, {1000, 30}, {-260, 30}})).minText);
    const FlightDrawing tenMetres = draw(plateau({{1000, 30}, {-260, 30}}));
    EXPECT_EQ(tenMetres.maxText, "10.0");
    EXPECT_FALSE(tenMetres.minText);
}

TEST(DrawComparison, MinimumCountsPositiveAltitudesAndAxisIsRaisedOnly) {
    auto record = recordWithAltitudes(plateau({{0, 10}, {5000, 30}, {300, 30}}));
    record->altitudeCm[75] = kEndMarker;
    const ComparisonDrawing drawing = drawConvertedComparison(*record, 75);
    EXPECT_EQ(drawing.maxText, "50.0");
    EXPECT_EQ(drawing.minText, "3.0");
    EXPECT_EQ(drawing.axisRaise, 54); // the smoothed top is 49.99 m: 54.989 truncated
    EXPECT_EQ(drawing.minorTickCount, 9);
    EXPECT_EQ(record->altitudeCm[drawing.altitudeCm.size()], kEndMarker);

    // Its minimum too waits for a flight above 10 m, not at 10 m.
    auto tenMetres = recordWithAltitudes(plateau({{1000, 30}, {300, 30}}));
    const ComparisonDrawing atTen = drawConvertedComparison(*tenMetres, 65);
    EXPECT_EQ(atTen.maxText, "10.0");
    EXPECT_FALSE(atTen.minText);

    auto shortFlight = recordWithAltitudes({0, 0, 0, 0, 0});
    const ComparisonDrawing none = drawConvertedComparison(*shortFlight, 5);
    EXPECT_TRUE(none.altitudeCm.empty());
    EXPECT_FALSE(none.maxText);
    EXPECT_FALSE(none.axisRaise);
}

TEST(DrawFlight, SlotsAfterTheFirstTerminatorAreNotUsed) {
    // Terminator in slot 12 of a 40-slot image: the passes stop there, not at the image's end.
    testing::FlightDescription flight;
    flight.altitudeCm.assign(12, 0);
    auto bytes = testing::synthesiseFlightImage(flight);
    bytes.resize(bytes.size() + 27 * 4, 0x11);
    auto record = std::make_unique<FlightRecord>();
    ASSERT_EQ(acceptLoadedImage(*record, bytes.data(), bytes.size(), FlightRole::Current),
              HandoverResult::Accepted);
    ASSERT_EQ(record->slotCount(), 40u);
    const auto drawing = drawFlight(*record, true);
    ASSERT_TRUE(drawing);
    EXPECT_EQ(drawing->altitudeCm.size(), 8u); // 13 usable slots, less five
    EXPECT_EQ(drawing->seriesCount, 10);
}

TEST(DecimalText, RoundsTheExactValueHalvesAwayFromZero) {
    EXPECT_EQ(oneDecimalText(0.25f), "0.3");
    EXPECT_EQ(oneDecimalText(-0.25f), "-0.3");
    EXPECT_EQ(oneDecimalText(0.35f), "0.3"); // 0.3499999940...
    EXPECT_EQ(oneDecimalText(-0.02f), "-0.0");
    EXPECT_EQ(oneDecimalText(0.0f), "0.0");
    EXPECT_EQ(oneDecimalText(103.45f, ','), "103,4"); // 103.4499969... is below the half
    EXPECT_EQ(oneDecimalText(1234.75f), "1234.8");
    EXPECT_EQ(oneDecimalTextOfCentimetres(-4), "-0.0");
    EXPECT_EQ(oneDecimalTextOfCentimetres(125), "1.3");
    EXPECT_EQ(oneDecimalTextOfCentimetres(-125), "-1.3");
}

// Every text of an altitude follows the panel of its curve: a drawn curve rounds its plotted float,
// a filtered one its exact centimetres. They part where the float misses the half.
TEST(DecimalText, AltitudesAsTheirPanelShowsThem) {
    using R = AltitudeRounding;
    EXPECT_EQ(altitudeText(5585, R::PlottedMetres), "55.8"); // 55.8499985...
    EXPECT_EQ(altitudeText(5585, R::ExactCentimetres, ','), "55,9");
    EXPECT_EQ(altitudeText(15, R::PlottedMetres), "0.2"); // 0.150000006..., where a double is below
    EXPECT_EQ(altitudeText(-5, R::PlottedMetres), "-0.1");
    EXPECT_EQ(altitudeText(-5, R::ExactCentimetres), "-0.1");
    EXPECT_EQ(altitudeText(-4, R::PlottedMetres), "-0.0");
    EXPECT_EQ(altitudeText(-4, R::ExactCentimetres), "-0.0");

    EXPECT_EQ(shownMetres(5585, R::PlottedMetres), 55.8);
    EXPECT_EQ(shownMetres(5585, R::ExactCentimetres), 55.9);
    EXPECT_EQ(shownMetres(15, R::PlottedMetres), 0.2);
    EXPECT_EQ(shownMetres(-5, R::ExactCentimetres), -0.1);
    EXPECT_TRUE(std::signbit(shownMetres(-4, R::PlottedMetres)));
    // The panel's own pass plots these metres.
    const FlightDrawing peak = draw(plateau({{0, 10}, {5586, 30}, {0, 30}}));
    EXPECT_EQ(peak.maxText, altitudeText(5585, R::PlottedMetres));
}

} // namespace
} // namespace vtl
