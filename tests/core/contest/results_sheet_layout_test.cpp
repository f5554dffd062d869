// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/contest/results_sheet_layout.h"

#include "support/test_files.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vtl {
namespace {

using testing::TemporaryFolder;

std::vector<uint8_t> flightImage(uint16_t competitor, int32_t peakCm) {
    testing::FlightDescription flight;
    flight.competitorNumber = competitor;
    flight.altitudeCm = testing::climbAndGlide(20, peakCm, 40);
    return testing::synthesiseFlightImage(flight);
}

class ResultsSheetLayoutTest : public ::testing::Test {
protected:
    Contest makeContest(const std::string& rule, int rounds, int best) {
        ContestDocument document;
        document.name = "Puchar Wiosny";
        document.date = "2026-05-01";
        document.place = "Leszno";
        document.className = "F1A";
        document.rule = *ScoringRule::parse(rule);
        document.rounds = rounds;
        document.bestCount = best;
        return Contest::create(m_folder.path().string(), document);
    }

    TemporaryFolder m_folder;
    std::tm m_kept = testing::june14();
};

TEST_F(ResultsSheetLayoutTest, TheRuleIsStatedInWordsInEitherLanguage) {
    ContestDocument document;
    document.rule = *ScoringRule::parse("window:20");
    document.rounds = 5;
    document.bestCount = 3;
    EXPECT_EQ(ResultsSheetLayout::ruleText(document, Language::Polish),
              "Reguła: najwyższy punkt w 20 s od startu (window:20); próg startu 1,0 m; suma 3 "
              "najlepszych kolejek");
    EXPECT_EQ(ResultsSheetLayout::ruleText(document, Language::English),
              "Rule: the highest point within 20 s from the start (window:20); start threshold "
              "1.0 m; sum of the best 3 rounds");

    document.rule = *ScoringRule::parse("at:2.5");
    document.startThresholdM = 1.5;
    document.bestCount = 0;
    EXPECT_EQ(ResultsSheetLayout::ruleText(document, Language::Polish),
              "Reguła: wysokość 2,5 s po starcie (at:2.5); próg startu 1,5 m; suma wszystkich "
              "kolejek");
    document.rule = *ScoringRule::parse("duration:180");
    EXPECT_EQ(ResultsSheetLayout::ruleText(document, Language::English),
              "Rule: the flight time, at most 180 s (duration:180); start threshold 1.5 m; sum of "
              "all rounds");
    document.rule = *ScoringRule::parse("max");
    // Best of every round is the sum of all of them.
    document.bestCount = 5;
    EXPECT_EQ(ResultsSheetLayout::ruleText(document, Language::English),
              "Rule: the flight's highest point (max); start threshold 1.5 m; sum of all rounds");
}

TEST_F(ResultsSheetLayoutTest, RowsFollowTheRanksWithTheLanguagesSeparator) {
    Contest contest = makeContest("max", 2, 0);
    contest.setCompetitors({{7, "Ala Nowak", "Orlik"}, {12, "Jan Kot", "Sokół"}});
    contest.addFlight(1, flightImage(7, 3000), "", m_kept);
    contest.addFlight(1, flightImage(12, 5000), "", m_kept);
    contest.addFlight(2, flightImage(42, 4000), "", m_kept);

    const ResultsSheetLayout polish(contest, Language::Polish);
    EXPECT_EQ(polish.heading()[0], "Puchar Wiosny");
    EXPECT_EQ(polish.heading()[1], "Data: 2026-05-01 · Miejsce: Leszno · Klasa: F1A");
    EXPECT_EQ(polish.heading()[2].rfind("Reguła: najwyższy punkt lotu (max)", 0), 0u);
    EXPECT_EQ(polish.columns(), (std::vector<std::string>{"Miejsce", "Nr", "Zawodnik", "Klub",
                                                          "Kolejka 1", "Kolejka 2", "Suma"}));
    ASSERT_EQ(polish.rows().size(), 3u);
    EXPECT_EQ(polish.rows()[0][1], "12");
    EXPECT_EQ(polish.rows()[1][1], "42");
    EXPECT_EQ(polish.rows()[2][1], "7");
    for (size_t row = 0; row < 3; ++row) {
        EXPECT_EQ(polish.rows()[row][0], std::to_string(row + 1));
    }
    const std::vector<std::string>& first = polish.rows()[0];
    EXPECT_EQ(first[2], "Jan Kot");
    EXPECT_EQ(first[3], "Sokół");
    EXPECT_NE(first[4].find(','), std::string::npos) << first[4];
    EXPECT_EQ(first[5], "–");
    EXPECT_EQ(first[6], first[4]);
    EXPECT_EQ(polish.rows()[1][2], "nr 42 (?)");
    EXPECT_EQ(polish.notes(), std::vector<std::string>{"(?) – numer spoza listy zawodników"});

    const ResultsSheetLayout english(contest, Language::English);
    EXPECT_EQ(english.columns()[4], "Round 1");
    std::string expected = first[4];
    expected[expected.find(',')] = '.';
    EXPECT_EQ(english.rows()[0][4], expected);
    EXPECT_EQ(english.heading()[1], "Date: 2026-05-01 · Place: Leszno · Class: F1A");
}

TEST_F(ResultsSheetLayoutTest, SixtyCompetitorsSpreadOverNumberedPages) {
    Contest contest = makeContest("max", 1, 0);
    std::vector<Competitor> competitors;
    for (int number = 1; number <= 60; ++number) {
        competitors.push_back({number, "Zawodnik " + std::to_string(number), ""});
    }
    contest.setCompetitors(competitors);
    const ResultsSheetLayout layout(contest, Language::Polish);
    ASSERT_EQ(layout.rows().size(), 60u);
    EXPECT_TRUE(layout.notes().empty());
    EXPECT_EQ(layout.pageCount(40), 2u);
    EXPECT_EQ(layout.pageCount(60), 1u);
    EXPECT_EQ(layout.pageCount(7), 9u);
    EXPECT_EQ(layout.pageRows(0, 40), (std::pair<size_t, size_t>(0, 40)));
    EXPECT_EQ(layout.pageRows(1, 40), (std::pair<size_t, size_t>(40, 60)));
    EXPECT_EQ(layout.pageFooter(1, 2), "Strona 2 / 2");
    EXPECT_EQ(ResultsSheetLayout(contest, Language::English).pageFooter(0, 3), "Page 1 / 3");
}

} // namespace
} // namespace vtl
