// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/files/flight_overlay.h"

#include "core/flight/flight_drawing.h"
#include "core/flight/flight_record.h"
#include "core/flight/image_handover.h"
#include "core/shell/utf8_path.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <memory>

namespace vtl {
namespace {

namespace fs = std::filesystem;
using testing::TemporaryFolder;

// `ground` samples on the ground, a climb to `topCm` and a glide down, at the code's rate.
testing::FlightDescription flightOf(int ground, int32_t topCm, uint8_t samplingCode,
                                    uint16_t competitor) {
    testing::FlightDescription flight;
    flight.samplingCode = samplingCode;
    flight.competitorNumber = competitor;
    flight.altitudeCm = testing::climbAndGlide(120, topCm, 80, 0, ground);
    flight.altitudeCm.insert(flight.altitudeCm.end(), 10, 0);
    return flight;
}

// The curve the window draws for the file, at its own rate.
std::vector<int32_t> drawnCurve(const std::vector<uint8_t>& image) {
    auto record = std::make_unique<FlightRecord>();
    EXPECT_EQ(acceptLoadedImage(*record, image.data(), image.size(), FlightRole::Current),
              HandoverResult::Accepted);
    return drawFlight(*record, false).value().altitudeCm;
}

class FlightOverlayFiles : public ::testing::Test {
protected:
    void SetUp() override {
        fast = testing::writeFlightFile(folder / "2026-06-14_103512_S1234_C42.bin",
                                        flightOf(10, 5000, 2, 42)); // 10 samples a second
        slow = testing::writeFlightFile(folder / "slow.bin",
                                        flightOf(40, 3000, 3, 7)); // 5 samples a second
        testing::writeText(folder / "notes.txt", "Wind 3 m/s, thermals after noon.\n");
    }
    std::string path(const std::string& name) const { return (folder / name).string(); }

    TemporaryFolder folder;
    std::vector<uint8_t> fast;
    std::vector<uint8_t> slow;
};

TEST_F(FlightOverlayFiles, MissingAndNonFlightFilesAreNamedAndTheRestIsDrawn) {
    const FlightOverlay overlay =
        buildFlightOverlay({path("2026-06-14_103512_S1234_C42.bin"), path("gone.bin"),
                            path("notes.txt"), path("slow.bin")},
                           OverlayAlignment::Recorded);
    ASSERT_EQ(overlay.flights.size(), 2u);
    EXPECT_EQ(overlay.flights[0].fileName, "2026-06-14_103512_S1234_C42.bin");
    EXPECT_EQ(overlay.flights[1].fileName, "slow.bin");
    ASSERT_EQ(overlay.problems.size(), 2u);
    EXPECT_EQ(overlay.problems[0].kind, OverlayProblemKind::Missing);
    EXPECT_EQ(overlay.problems[0].path, path("gone.bin"));
    EXPECT_EQ(overlay.problems[1].kind, OverlayProblemKind::NotAFlight);
    for (const Language language : {Language::Polish, Language::English}) {
        EXPECT_NE(overlayProblemText(overlay.problems[1], language).find(path("notes.txt")),
                  std::string::npos);
    }
    EXPECT_NE(overlayProblemText(overlay.problems[0], Language::English),
              overlayProblemText(overlay.problems[1], Language::English));

    const FlightOverlay nothing = buildFlightOverlay({path("gone.bin")}, OverlayAlignment::Start);
    EXPECT_TRUE(nothing.flights.empty());
    EXPECT_EQ(nothing.problems.size(), 1u);
}

TEST_F(FlightOverlayFiles, LegendAndFiguresComeFromEachFlight) {
    const FlightOverlay overlay = buildFlightOverlay(
        {path("2026-06-14_103512_S1234_C42.bin"), path("slow.bin")}, OverlayAlignment::Start);
    ASSERT_EQ(overlay.flights.size(), 2u);
    EXPECT_EQ(overlay.flights[0].legendText(), "2026-06-14_103512_S1234_C42.bin · 42 · 2026-06-14");
    // A file without an archive name is dated by its modification day.
    EXPECT_EQ(overlay.flights[1].date.size(), 10u);
    EXPECT_EQ(overlay.flights[1].competitorNumber, 7);
    const FlightFigures own = flightFigures(drawnCurve(slow), 50);
    EXPECT_EQ(overlay.flights[1].figures.maximumM, own.maximumM);
    EXPECT_EQ(overlay.flights[1].figures.flightTimeS, own.flightTimeS);
    ASSERT_TRUE(own.maximumM);
    EXPECT_NEAR(*own.maximumM, 30.0, 0.5);
}

TEST_F(FlightOverlayFiles, TwoRatesShareTheFastestTimeBaseAndEndAtTheLastSample) {
    const FlightOverlay overlay = buildFlightOverlay(
        {path("slow.bin"), path("2026-06-14_103512_S1234_C42.bin")}, OverlayAlignment::Recorded);
    ASSERT_EQ(overlay.flights.size(), 2u);
    EXPECT_EQ(overlay.samplesPer10s, 100u);
    EXPECT_EQ(overlay.flights[1].curveCm, drawnCurve(fast));
    const std::vector<int32_t> own = drawnCurve(slow);
    const std::vector<int32_t>& curve = overlay.flights[0].curveCm;
    // Two points a sample: the recorded ones, and their mean truncated to whole centimetres
    // between them; nothing after the last.
    ASSERT_EQ(curve.size(), 2 * own.size() - 1);
    for (size_t k = 0; k + 1 < own.size(); ++k) {
        ASSERT_EQ(curve[2 * k], own[k]) << k;
        ASSERT_EQ(curve[2 * k + 1], (own[k] + own[k + 1]) / 2) << k;
    }
    EXPECT_EQ(curve.back(), own.back());
}

TEST_F(FlightOverlayFiles, StartAlignmentPutsEveryStartAtTimeZero) {
    const std::vector<std::string> paths = {path("2026-06-14_103512_S1234_C42.bin"),
                                            path("slow.bin")};
    const FlightOverlay recorded = buildFlightOverlay(paths, OverlayAlignment::Recorded);
    const FlightOverlay started = buildFlightOverlay(paths, OverlayAlignment::Start);
    ASSERT_EQ(started.flights.size(), 2u);
    EXPECT_TRUE(started.problems.empty());
    for (size_t i = 0; i < 2; ++i) {
        const OverlayFlight& flight = started.flights[i];
        const std::vector<int32_t>& whole = recorded.flights[i].curveCm;
        ASSERT_TRUE(flight.figures.startS);
        EXPECT_EQ(flight.firstPointS, *flight.figures.startS);
        EXPECT_EQ(recorded.flights[i].firstPointS, 0.0);
        ASSERT_FALSE(flight.curveCm.empty());
        EXPECT_GT(flight.curveCm.front(), kLaunchThresholdCm);
        // The recorded curve from the start's point on, on the common time base.
        const auto skipped = static_cast<size_t>(*flight.figures.startS * 10);
        ASSERT_EQ(whole.size(), skipped + flight.curveCm.size()) << i;
        EXPECT_LE(whole[skipped - 1], kLaunchThresholdCm);
        EXPECT_TRUE(std::equal(flight.curveCm.begin(), flight.curveCm.end(),
                               whole.begin() + static_cast<std::ptrdiff_t>(skipped)));
    }
    // The two flights left the ground at different times.
    EXPECT_NE(*started.flights[0].figures.startS, *started.flights[1].figures.startS);
}

TEST_F(FlightOverlayFiles, AFlightThatNeverStartsIsDrawnAsRecordedAndNamed) {
    testing::FlightDescription ground = flightOf(10, 80, 2, 9);
    const std::vector<uint8_t> hop = testing::writeFlightFile(folder / "hop.bin", ground);
    const FlightOverlay overlay = buildFlightOverlay({path("hop.bin")}, OverlayAlignment::Start);
    ASSERT_EQ(overlay.flights.size(), 1u);
    ASSERT_EQ(overlay.problems.size(), 1u);
    EXPECT_EQ(overlay.problems[0].kind, OverlayProblemKind::NoStart);
    EXPECT_EQ(overlay.flights[0].curveCm, drawnCurve(hop));
}

TEST_F(FlightOverlayFiles, EightFlightsAreDrawnAndNineRefused) {
    std::vector<std::string> paths(8, path("slow.bin"));
    EXPECT_EQ(buildFlightOverlay(paths, OverlayAlignment::Start).flights.size(), 8u);
    paths.push_back(path("slow.bin"));
    const FlightOverlay refused = buildFlightOverlay(paths, OverlayAlignment::Start);
    EXPECT_TRUE(refused.flights.empty());
    ASSERT_EQ(refused.problems.size(), 1u);
    EXPECT_EQ(refused.problems[0].kind, OverlayProblemKind::TooMany);
    const std::string text = overlayProblemText(refused.problems[0], Language::English);
    EXPECT_NE(text.find('8'), std::string::npos);
    EXPECT_NE(text.find('9'), std::string::npos);
}

TEST(OverlayDescription, WritesRelativePathsAndReadsThemBack) {
    TemporaryFolder folder;
    TemporaryFolder elsewhere;
    fs::create_directories(folder / "day one");
    const std::string inside = utf8String(folder / "day one" / utf8Path("lot ż.bin"));
    const std::string outside = (elsewhere / "far.bin").string();
    const std::string file = (folder / "evening.overlay").string();
    OverlayDescription description;
    description.alignment = OverlayAlignment::Recorded;
    description.paths = {inside, outside};
    ASSERT_TRUE(writeOverlayDescription(description, file));
    const std::string text = testing::readText(file);
    EXPECT_EQ(text, "vantorel-overlay 1\nalign record\nday one/lot ż.bin\n" +
                        fs::path(outside).generic_string() + "\n");

    const auto back = readOverlayDescription(file);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->alignment, OverlayAlignment::Recorded);
    EXPECT_EQ(back->paths, description.paths);

    // Moved with its flights, the description still finds them.
    const auto moved = parseOverlayDescription(text, (elsewhere / "copy.overlay").string());
    ASSERT_TRUE(moved);
    EXPECT_EQ(moved->paths[0], utf8String(elsewhere / "day one" / utf8Path("lot ż.bin")));
}

TEST(OverlayDescription, AcceptsWindowsLineEndsAndRefusesForeignText) {
    const auto start = parseOverlayDescription("vantorel-overlay 1\r\nalign start\r\n/a/b.bin\r\n",
                                               "/x/o.overlay");
    ASSERT_TRUE(start);
    EXPECT_EQ(start->alignment, OverlayAlignment::Start);
    // On Windows the root-relative path lands on the description's drive.
    EXPECT_EQ(start->paths, std::vector<std::string>{
                                utf8String(fs::absolute(utf8Path("/a/b.bin")).lexically_normal())});
    EXPECT_FALSE(parseOverlayDescription("vantorel-overlay 1\nalign sideways\n", "/x/o.overlay"));
    EXPECT_FALSE(parseOverlayDescription("Wind 3 m/s\nalign start\n", "/x/o.overlay"));
    EXPECT_FALSE(parseOverlayDescription("", "/x/o.overlay"));
}

} // namespace
} // namespace vtl
