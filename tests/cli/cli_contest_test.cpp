// SPDX-License-Identifier: GPL-3.0-or-later
// The contest commands as a director runs them: a folder made, the list read, flights added,
// the results and their check.

#include "cli_run.h"
#include "support/test_files.h"

#include <nlohmann/json.hpp>

namespace cli_test {
namespace {

using nlohmann::json;
using vtl::testing::TemporaryFolder;

class CliContestTest : public ::testing::Test {
protected:
    // A flight of the competitor with its peak at the given centimetres.
    std::string flightFile(const std::string& name, uint16_t competitor, int32_t peakCm) {
        vtl::testing::FlightDescription flight;
        flight.competitorNumber = competitor;
        flight.altitudeCm = vtl::testing::climbAndGlide(20, peakCm, 40);
        vtl::testing::writeFlightFile(m_folder / name, flight);
        return (m_folder / name).string();
    }

    std::string contest() const { return (m_folder / "contest").string(); }

    TemporaryFolder m_folder;
};

TEST_F(CliContestTest, NewListAddResultsAndVerify) {
    ASSERT_EQ(runCli("contest new " + contest() +
                     " --name 'Puchar Wiosny' --rule max --rounds 2 --best 1")
                  .status,
              0);
    vtl::testing::writeText(m_folder / "list.csv",
                            "number,name,club\n7,\"Nowak, Ala\",Orlik\n42,Jan,\n");
    EXPECT_EQ(
        runCli("contest competitors " + contest() + " " + (m_folder / "list.csv").string()).status,
        0);
    const CliRun added =
        runCli("contest add " + contest() + " " + flightFile("a.bin", 42, 5000) + " --round 2");
    ASSERT_EQ(added.status, 0) << added.output;
    EXPECT_EQ(json::parse(added.out)["flags"], json({"counted"}));
    runCli("contest add " + contest() + " " + flightFile("b.bin", 7, 3000) + " --round 1");
    const CliRun unknown =
        runCli("contest add " + contest() + " " + flightFile("c.bin", 99, 3000) + " --round 1");
    EXPECT_EQ(json::parse(unknown.out)["flags"], json({"counted", "unregistered"}));

    const CliRun results =
        runCli("contest results " + contest() + " --csv " + (m_folder / "r.csv").string());
    ASSERT_EQ(results.status, 0) << results.output;
    const json table = json::parse(results.out);
    EXPECT_EQ(table["name"], "Puchar Wiosny");
    EXPECT_EQ(table["rule"], "max");
    EXPECT_EQ(table["rounds"], 2);
    const json& first = table["competitors"][0];
    EXPECT_EQ(first["number"], 42);
    EXPECT_TRUE(first["scores"][0].is_null());
    ASSERT_TRUE(first["scores"][1].is_number());
    EXPECT_EQ(first["total"], first["scores"][1]);
    EXPECT_EQ(first["rank"], 1);
    // Two competitors with the same flight's height share the second place.
    EXPECT_EQ(table["competitors"][1]["rank"], 2);
    EXPECT_EQ(table["competitors"][2]["rank"], 2);
    EXPECT_EQ(table["competitors"][2]["name"], "nr 99 (?)");
    const std::string csv = readText(m_folder / "r.csv");
    EXPECT_EQ(csv.rfind("competition,round,number,name,club,score,file,sha256\n", 0), 0u);
    EXPECT_NE(csv.find("Puchar Wiosny,1,7,\"Nowak, Ala\",Orlik,"), std::string::npos) << csv;
    const json flight = json::parse(added.out);
    EXPECT_NE(csv.find("Puchar Wiosny,2,42,Jan,," + flight["score"].dump() + ",round-2/a.bin," +
                       flight["sha256"].get<std::string>() + "\n"),
              std::string::npos)
        << csv;

    EXPECT_EQ(runCli("contest verify " + contest()).status, 0);
    std::vector<uint8_t> bytes = vtl::testing::readBytes(m_folder / "contest/round-1/b.bin");
    bytes[40] ^= 0x10;
    vtl::testing::writeBytes(m_folder / "contest/round-1/b.bin", bytes);
    const CliRun verified = runCli("contest verify " + contest());
    EXPECT_EQ(verified.status, 1);
    const json report = json::parse(verified.out);
    EXPECT_EQ(report["ok"], false);
    EXPECT_EQ(report["mismatches"][0]["kind"], "changed file");
    EXPECT_EQ(report["mismatches"][0]["file"], "round-1/b.bin");
}

TEST_F(CliContestTest, BadCommandLinesAndDamagedFilesAreRefused) {
    EXPECT_EQ(runCli("contest new " + contest()).status, 2);
    EXPECT_EQ(runCli("contest new " + contest() + " --name X --rule window").status, 2);
    EXPECT_EQ(runCli("contest new " + contest() + " --name X --rounds 2 --best 3").status, 2);
    EXPECT_EQ(runCli("contest frobnicate " + contest()).status, 2);
    ASSERT_EQ(runCli("contest new " + contest() + " --name X --rounds 2").status, 0);
    EXPECT_EQ(runCli("contest new " + contest() + " --name Y").status, 1);

    const CliRun noRound =
        runCli("contest add " + contest() + " " + flightFile("a.bin", 7, 3000) + " --round 3");
    EXPECT_EQ(noRound.status, 1);
    EXPECT_NE(noRound.err.find("The contest has no round 3"), std::string::npos) << noRound.err;

    vtl::testing::writeText(m_folder / "list.csv", "number,name,club\n7,Ala,Orlik\n");
    ASSERT_EQ(
        runCli("contest competitors " + contest() + " " + (m_folder / "list.csv").string()).status,
        0);
    const std::string before = readText(m_folder / "contest/competitors.csv");
    vtl::testing::writeText(m_folder / "list.csv", "number,name,club\n7,\"Ala\"x,Orlik\n");
    const CliRun damagedList =
        runCli("contest competitors " + contest() + " " + (m_folder / "list.csv").string());
    EXPECT_EQ(damagedList.status, 1);
    EXPECT_NE(damagedList.err.find("(line 2, column 8)"), std::string::npos) << damagedList.err;
    EXPECT_EQ(readText(m_folder / "contest/competitors.csv"), before);

    vtl::testing::writeText(m_folder / "contest/contest.json", "{\n  \"name\": 1,,\n}\n");
    const CliRun damaged = runCli("contest results " + contest());
    EXPECT_EQ(damaged.status, 1);
    EXPECT_NE(damaged.err.find("(line 2, column 13)"), std::string::npos) << damaged.err;
}

// The printed sheet as a PDF: the table of 60 competitors does not fit one A4 page.
TEST_F(CliContestTest, ResultsSheetIsWrittenAsAPdfOfSeveralPages) {
    ASSERT_EQ(
        runCli("contest new " + contest() + " --name Puchar --rule window:20 --rounds 7").status,
        0);
    std::string list = "number,name,club\n";
    for (int number = 1; number <= 60; ++number) {
        list += std::to_string(number) + ",Zawodnik " + std::to_string(number) + ",Klub\n";
    }
    vtl::testing::writeText(m_folder / "list.csv", list);
    ASSERT_EQ(
        runCli("contest competitors " + contest() + " " + (m_folder / "list.csv").string()).status,
        0);
    runCli("contest add " + contest() + " " + flightFile("a.bin", 12, 5000) + " --round 3");
    const std::string pdf = (m_folder / "wyniki.pdf").string();
    const CliRun run = runCli("contest results " + contest() + " --pdf " + pdf);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(json::parse(run.out)["competitors"].size(), 60u);
    const std::string bytes = readText(pdf);
    EXPECT_EQ(bytes.rfind("%PDF", 0), 0u);
    size_t pages = 0;
    for (size_t at = bytes.find("/Type /Page"); at != std::string::npos;
         at = bytes.find("/Type /Page", at + 1)) {
        pages += bytes.compare(at, 12, "/Type /Pages") != 0 ? 1 : 0;
    }
    EXPECT_GE(pages, 2u);

    const CliRun nowhere = runCli("contest results " + contest() + " --pdf " +
                                  (m_folder / "missing" / "wyniki.pdf").string());
    EXPECT_EQ(nowhere.status, 1);
    EXPECT_NE(nowhere.err.find("wyniki.pdf"), std::string::npos) << nowhere.err;
}

} // namespace
} // namespace cli_test
