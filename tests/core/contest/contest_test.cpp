// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/contest/contest.h"

#include "core/flight/flight_image.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace vtl {
namespace {

using testing::readText;
using testing::TemporaryFolder;
using testing::writeText;

// A synthesised flight of the competitor climbing to the peak; without its end it is a flight
// cut off before the recorder closed it.
std::vector<uint8_t> flightImage(uint16_t competitor, int32_t peakCm, bool ended = true) {
    testing::FlightDescription flight;
    flight.competitorNumber = competitor;
    flight.altitudeCm = testing::climbAndGlide(20, peakCm, 40);
    std::vector<uint8_t> image = testing::synthesiseFlightImage(flight);
    if (!ended) {
        image.resize(image.size() - image::kSlotSize);
    }
    return image;
}

class ContestTest : public ::testing::Test {
protected:
    Contest makeContest(int rounds = 2, int best = 0) {
        ContestDocument document;
        document.name = "Puchar Wiosny";
        document.rounds = rounds;
        document.bestCount = best;
        Contest contest = Contest::create(m_folder.path().string(), document);
        contest.setCompetitors({{7, "Ala Nowak", "Orlik"}, {42, "Jan, \"Kot\"", ""}});
        return contest;
    }

    std::string path(const std::string& name) const { return (m_folder / name).string(); }

    TemporaryFolder m_folder;
    std::tm m_kept = testing::june14();
};

TEST_F(ContestTest, KeepsTheFlightByteForByteAndReadsBackTheSame) {
    const std::vector<uint8_t> image = flightImage(42, 5000);
    {
        Contest contest = makeContest();
        const ContestFlight flight = contest.addFlight(1, image, "", m_kept);
        EXPECT_EQ(flight.file, "round-1/2026-06-14_103512_S1234_C42.bin");
        EXPECT_TRUE(flight.counted);
        EXPECT_FALSE(flight.unregistered);
        ASSERT_TRUE(flight.score);
    }
    EXPECT_EQ(testing::readBytes(m_folder / "round-1/2026-06-14_103512_S1234_C42.bin"), image);
    const Contest reopened = Contest::open(m_folder.path().string(), false);
    ASSERT_EQ(reopened.document().flights.size(), 1u);
    EXPECT_EQ(reopened.competitors()[1].name, "Jan, \"Kot\"");
    EXPECT_EQ(reopened.document().flights[0].kept, "2026-06-14 10:35:12");
    EXPECT_TRUE(reopened.verify().empty());
}

TEST_F(ContestTest, TheSameFlightAgainIsNotedButNotCountedTwice) {
    Contest contest = makeContest();
    const std::vector<uint8_t> image = flightImage(42, 5000);
    contest.addFlight(1, image, "first.bin", m_kept);
    const ContestFlight again = contest.addFlight(1, image, "again.bin", m_kept);
    EXPECT_TRUE(again.duplicate);
    EXPECT_FALSE(again.counted);
    EXPECT_EQ(again.file, "round-1/first.bin");
    EXPECT_FALSE(std::filesystem::exists(m_folder / "round-1/again.bin"));
    EXPECT_EQ(contest.results()[0].scores[0], contest.document().flights[0].score);
    EXPECT_TRUE(contest.verify().empty());
}

// The first flight stays counted until the director chooses the second.
TEST_F(ContestTest, SecondFlightWaitsForTheDirectorsChoice) {
    Contest contest = makeContest();
    const ContestFlight first = contest.addFlight(1, flightImage(42, 5000), "a.bin", m_kept);
    const ContestFlight second = contest.addFlight(1, flightImage(42, 8000), "a.bin", m_kept);
    EXPECT_EQ(second.file, "round-1/a-2.bin");
    EXPECT_FALSE(second.counted);
    EXPECT_TRUE(second.secondFlight);
    EXPECT_EQ(contest.results()[0].scores[0], first.score);

    contest.chooseFlight(1, second.file);
    EXPECT_EQ(contest.results()[0].scores[0], second.score);
    EXPECT_TRUE(contest.document().flights[0].secondFlight);
    EXPECT_FALSE(contest.document().flights[1].secondFlight);
    EXPECT_THROW(contest.chooseFlight(2, second.file), ContestError);
}

TEST_F(ContestTest, UnregisteredNumberIsKeptAndNamedWithAQuestionMark) {
    Contest contest = makeContest();
    const ContestFlight flight = contest.addFlight(2, flightImage(99, 3000), "", m_kept);
    EXPECT_TRUE(flight.unregistered);
    EXPECT_TRUE(flight.counted);
    const std::vector<CompetitorResult> results = contest.results();
    ASSERT_EQ(results.size(), 3u);
    EXPECT_EQ(results[0].competitor.name, "nr 99 (?)");
    EXPECT_FALSE(results[0].registered);
    EXPECT_EQ(results[0].scores[0], std::nullopt);
    // Registering the number afterwards clears the flag.
    contest.setCompetitors({{99, "Ewa", "Sokół"}});
    EXPECT_FALSE(contest.document().flights[0].unregistered);
}

TEST_F(ContestTest, IncompleteFlightCountsOnlyWhenTheDirectorSaysSo) {
    Contest contest = makeContest();
    const ContestFlight cut = contest.addFlight(1, flightImage(7, 4000, false), "", m_kept);
    EXPECT_TRUE(cut.incomplete);
    EXPECT_FALSE(cut.counted);
    EXPECT_EQ(cut.file, "round-1/2026-06-14_103512_S1234_C7_partial.bin");
    EXPECT_EQ(contest.results()[0].total, 0.0);
    contest.chooseFlight(1, cut.file);
    EXPECT_EQ(contest.results()[0].scores[0], cut.score);
}

// Best two of three rounds; equal totals share a place and the next place is skipped.
TEST_F(ContestTest, BestRoundsTotalAndSharedPlaces) {
    Contest contest = makeContest(3, 2);
    contest.setCompetitors({{1, "A", ""}, {2, "B", ""}, {3, "C", ""}, {4, "D", ""}});
    std::vector<uint8_t> low = flightImage(1, 2000);
    const double lowScore = *contest.addFlight(1, low, "1a.bin", m_kept).score;
    const double midScore = *contest.addFlight(2, flightImage(1, 3000), "1b.bin", m_kept).score;
    const double highScore = *contest.addFlight(3, flightImage(1, 4000), "1c.bin", m_kept).score;
    contest.addFlight(1, flightImage(2, 3000), "2a.bin", m_kept);
    contest.addFlight(2, flightImage(2, 4000), "2b.bin", m_kept);
    contest.addFlight(1, flightImage(3, 4000), "3a.bin", m_kept);
    ASSERT_LT(lowScore, midScore);

    const std::vector<CompetitorResult> results = contest.results();
    ASSERT_EQ(results.size(), 4u);
    EXPECT_NEAR(results[0].total, midScore + highScore, 1e-9);
    EXPECT_EQ(results[0].rank, 1);
    EXPECT_EQ(results[1].rank, 1);
    EXPECT_EQ(results[2].competitor.number, 3);
    EXPECT_EQ(results[2].rank, 3);
    EXPECT_EQ(results[3].rank, 4);
    EXPECT_EQ(results[3].scores, std::vector<std::optional<double>>(3));
}

TEST_F(ContestTest, ChangingTheRuleRescoresFromTheFiles) {
    Contest contest = makeContest();
    contest.addFlight(1, flightImage(7, 5000), "", m_kept);
    contest.setRule(*ScoringRule::parse("duration:3"));
    EXPECT_EQ(contest.document().flights[0].score, 3.0);
    EXPECT_TRUE(contest.verify().empty());
    EXPECT_EQ(Contest::open(m_folder.path().string(), false).document().rule.text(), "duration:3");
}

TEST_F(ContestTest, VerifyFindsAChangedByteAMissingFileAndAnExtraFile) {
    {
        Contest contest = makeContest();
        contest.addFlight(1, flightImage(7, 5000), "a.bin", m_kept);
        contest.addFlight(2, flightImage(42, 5000), "b.bin", m_kept);
    }
    std::vector<uint8_t> bytes = testing::readBytes(m_folder / "round-1/a.bin");
    bytes.back() ^= 1;
    testing::writeBytes(m_folder / "round-1/a.bin", bytes);
    std::filesystem::remove(m_folder / "round-2/b.bin");
    testing::writeBytes(m_folder / "round-2/stray.bin", flightImage(7, 1000));

    const std::vector<ContestMismatch> found =
        Contest::open(m_folder.path().string(), false).verify();
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[0].kind, ContestMismatch::Kind::ChangedFile);
    EXPECT_EQ(found[0].file, "round-1/a.bin");
    EXPECT_EQ(found[1].kind, ContestMismatch::Kind::MissingFile);
    EXPECT_EQ(found[2].kind, ContestMismatch::Kind::ExtraFile);
    EXPECT_EQ(found[2].file, "round-2/stray.bin");
}

TEST_F(ContestTest, VerifyFindsAScoreThatIsNotTheRules) {
    {
        Contest contest = makeContest();
        contest.addFlight(1, flightImage(7, 5000), "a.bin", m_kept);
    }
    std::string json = readText(m_folder / "contest.json");
    const size_t score = json.find("\"score\": ") + 9;
    json.insert(score, "1");
    writeText(m_folder / "contest.json", json);
    const std::vector<ContestMismatch> found =
        Contest::open(m_folder.path().string(), false).verify();
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].kind, ContestMismatch::Kind::ScoreDiffers);
}

TEST_F(ContestTest, DamagedContestFileIsRefusedWithItsPlaceAndLeftAlone) {
    { makeContest(); }
    std::string json = readText(m_folder / "contest.json");
    // Line 3 of the file: the name's line, its closing quote taken away, so that the string
    // runs into the line's end (column 26), where JSON allows no line break.
    const size_t quote = json.find("Wiosny\"") + 6;
    json.erase(quote, 1);
    writeText(m_folder / "contest.json", json);
    try {
        Contest::open(m_folder.path().string(), true);
        FAIL() << "a damaged contest opened";
    } catch (const ContestError& error) {
        EXPECT_EQ(error.which(), Message::ContestDamaged);
        EXPECT_EQ(error.line(), 3);
        EXPECT_EQ(error.column(), 26);
        EXPECT_NE(error.text(Language::Polish).find("(wiersz 3, kolumna 26)"), std::string::npos);
    }
    EXPECT_EQ(readText(m_folder / "contest.json"), json);
    EXPECT_THROW(Contest::create(m_folder.path().string(), {}), ContestError);
    EXPECT_EQ(readText(m_folder / "contest.json"), json);
}

TEST_F(ContestTest, CompetitorsListReadsQuotedFieldsAndPointsAtTheFault) {
    const std::vector<Competitor> read = parseCompetitorsCsv(
        "\xEF\xBB\xBFnumber,name,club\r\n7,\"Nowak, Ala\",\"Klub \"\"Orlik\"\"\"\r\n"
        "12,Łukasz Żak,\"Wiele\nlinii\"\n",
        "c.csv");
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0].name, "Nowak, Ala");
    EXPECT_EQ(read[0].club, "Klub \"Orlik\"");
    EXPECT_EQ(read[1].club, "Wiele\nlinii");
    EXPECT_EQ(parseCompetitorsCsv(competitorsCsvText(read), "c.csv")[1].club, "Wiele\nlinii");

    const auto faultAt = [](const std::string& text) {
        try {
            parseCompetitorsCsv(text, "c.csv");
        } catch (const ContestError& error) {
            return std::make_pair(error.line(), error.column());
        }
        return std::make_pair(0, 0);
    };
    EXPECT_EQ(faultAt("number,name,club\n7,Ala,X\n8,\"Ola\"x,Y\n"), std::make_pair(3, 8));
    EXPECT_EQ(faultAt("number,name,club\n7,Ala,X\n7,Ola,Y\n"), std::make_pair(3, 1));
    EXPECT_EQ(faultAt("number,name,club\nsiedem,Ala,X\n"), std::make_pair(2, 1));
    EXPECT_EQ(faultAt("number,name\n7,Ala\n"), std::make_pair(1, 1));
    EXPECT_EQ(faultAt("number,name,club\n7,\"Ala,X\n"), std::make_pair(3, 1));
}

TEST_F(ContestTest, ASecondWriterIsRefusedUntilTheFirstCloses) {
    {
        Contest writer = makeContest();
        try {
            Contest::open(m_folder.path().string(), true);
            FAIL() << "two writers";
        } catch (const ContestError& error) {
            EXPECT_EQ(error.which(), Message::ContestLocked);
        }
        // Reading needs no lock.
        EXPECT_NO_THROW(Contest::open(m_folder.path().string(), false));
    }
    EXPECT_NO_THROW(Contest::open(m_folder.path().string(), true));
}

TEST_F(ContestTest, ResultsCsvHasALinePerCompetitorAndRound) {
    Contest contest = makeContest(2);
    const ContestFlight flight = contest.addFlight(1, flightImage(42, 5000), "", m_kept);
    const std::string csv = contest.resultsCsv();
    char score[32];
    std::snprintf(score, sizeof score, "%.15g", *flight.score);
    EXPECT_NE(csv.find("Puchar Wiosny,1,42,\"Jan, \"\"Kot\"\"\",," + std::string(score) + "," +
                       flight.file + "," + flight.sha256 + "\n"),
              std::string::npos)
        << csv;
    EXPECT_NE(csv.find("Puchar Wiosny,2,42,\"Jan, \"\"Kot\"\"\",,,,\n"), std::string::npos);
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 5);
}

} // namespace
} // namespace vtl
