// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/files/spreadsheet_export.h"

#include "core/files/output_title.h"

#include <gtest/gtest.h>

#include <memory>

namespace vtl {
namespace {

TEST(SpreadsheetExport, ValuesKeepOneDecimalOrFourDigits) {
    const std::pair<int32_t, const char*> cases[] = {{0, "0.0"},
                                                     {50, "0.5"},
                                                     {126, "1.3"},
                                                     {125, "1.3"},
                                                     {-125, "-1.3"},
                                                     {123456, "1235.0"},
                                                     {1234, "12.3"},
                                                     {-325, "-3.3"},
                                                     {-4, "-0.0"},
                                                     {-5, "-0.1"},
                                                     {12345, "123.5"},
                                                     {99995, "1000.0"},
                                                     {99994, "999.9"},
                                                     {999949, "9999.0"},
                                                     {999950, "1.000E+04"},
                                                     {1234567, "1.235E+04"},
                                                     {-123456789, "-1.235E+06"},
                                                     {INT32_MIN, "-2.147E+07"}};
    for (const auto& [centimetres, text] : cases) {
        EXPECT_EQ(spreadsheetValueText(centimetres, '.'), text) << centimetres;
    }
    EXPECT_EQ(spreadsheetValueText(126, ','), "1,3");
}

TEST(SpreadsheetExport, DrawnPointsWithLineFeedThenCarriageReturn) {
    auto record = std::make_unique<FlightRecord>();
    record->seriesCount = 5; // eight usable slots: three drawn points
    const int32_t altitudes[] = {0, 50, 126, kEndMarker, 999};
    std::copy(std::begin(altitudes), std::end(altitudes), record->altitudeCm.begin());
    const std::vector<uint8_t> bytes = spreadsheetBytes(*record, '.');
    const std::string expected = "0.0\n\r0.5\n\r1.3\n\r";
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), expected);

    record->seriesCount = 2; // five slots: nothing drawn, an empty file
    EXPECT_TRUE(spreadsheetBytes(*record, '.').empty());
}

TEST(SpreadsheetExport, SuffixIsAddedUnlessHeldAnywhere) {
    EXPECT_EQ(withRequiredSuffix("lot", ".csv"), "lot.csv");
    EXPECT_EQ(withRequiredSuffix("lot.CSV", ".csv"), "lot.CSV.csv");
    EXPECT_EQ(withRequiredSuffix("a.csv.txt", ".csv"), "a.csv.txt");
    EXPECT_EQ(withRequiredSuffix("chart.BMP", ".bmp"), "chart.BMP.bmp");
}

TEST(OutputTitle, LinesFromThePanel) {
    FlightPanelTexts panel{"lot7.bin", "42",         "1234", "70.1", "-0.3",
                           "18",       "10 pom/sek", "",     "",     false};
    EXPECT_EQ(outputTitleLines(panel, Language::Polish),
              (std::vector<std::string>{
                  "        Odczyt z: lot7.bin    Nr.Zawodnika: 42    Nr.Seryjny: 1234", " ",
                  "        Max: 70.1 m    Min: -0.3m    Temp: 18°C    Pomiary: 10 pom/sek"}));
    EXPECT_EQ(outputTitleLines(FlightPanelTexts{"Vantoreal", "", "", "", "", "", "", "", "", false},
                               Language::English)[0],
              "        Read from:Vantoreal    Competitor No.:     Serial No.: ");

    // The flight figures follow under the title when the curve gives any.
    panel.figures = "Flight 2:55 \u00b7 start 4.1 s";
    const std::vector<std::string> withFigures = outputTitleLines(panel, Language::English);
    ASSERT_EQ(withFigures.size(), 4u);
    EXPECT_EQ(withFigures[3], "        Flight 2:55 \u00b7 start 4.1 s");

    // The note is one more line, however it was typed; an earlier version's note says so.
    panel.note = "tow 40 m\nwind 3";
    EXPECT_EQ(outputTitleLines(panel, Language::Polish).back(), "        Uwagi: tow 40 m wind 3");
    panel.noteStale = true;
    const std::vector<std::string> stale = outputTitleLines(panel, Language::English);
    ASSERT_EQ(stale.size(), 5u);
    EXPECT_EQ(stale.back(), "        Notes (earlier version of the file): tow 40 m wind 3");
}

} // namespace
} // namespace vtl
