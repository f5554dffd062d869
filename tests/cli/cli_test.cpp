// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli_run.h"
#include "flight_synthesiser.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace cli_test;

namespace {

TEST_F(CliTest, InfoPrintsTheDecodedHeader) {
    const CliRun run = runCli("info " + m_file.string());
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("{\"competitorNumber\":42,\"serialNumber\":1234,"), std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find("\"samplingCode\":3,\"samplesPer10s\":50,"
                              "\"samplingText\":\"  5 pom/sek\",\"referenceWord\":10000,"
                              "\"temperature\":15,"),
              std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find("\"rawLength\":84,\"slotCount\":13,\"plausible\":true}"),
              std::string::npos)
        << run.output;
}

TEST_F(CliTest, InfoTellsAFileThatIsNoFlight) {
    const fs::path csv = m_file.string() + ".csv";
    ASSERT_EQ(runCli("export " + m_file.string() + " " + csv.string()).status, 0);
    const CliRun run = runCli("info " + csv.string());
    fs::remove(csv);
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find(",\"plausible\":false}"), std::string::npos) << run.output;
}

TEST_F(CliTest, ConvertPrintsAltitudesUpToTheMarker) {
    const CliRun run = runCli("convert " + m_file.string() + " --temperature 30");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.output.rfind("{\"temperature\":30,\"referencePressure\":", 0), 0u) << run.output;
    EXPECT_NE(run.output.find("\"altitudeCm\":[0,0,0,0,0,0,0,0,0,0,"), std::string::npos);
    // Twelve samples and the terminator slot, which converts to a large negative altitude.
    const auto values = run.output.substr(run.output.find('['));
    EXPECT_EQ(std::count(values.begin(), values.end(), ','), 12) << run.output;
}

TEST_F(CliTest, CurveAndCompareUseTheWindowsPasses) {
    const CliRun curve = runCli("curve " + m_file.string());
    ASSERT_EQ(curve.status, 0) << curve.output;
    // Thirteen slots, the ten on the ground plotted but eight: eight points, six climb points.
    EXPECT_NE(curve.output.find("\"labels\":[\"0\",\"\",\"\",\"\",\"\",\"1\",\"\",\"\"]"),
              std::string::npos)
        << curve.output;
    EXPECT_NE(curve.output.find("\"climbCm\":[0,"), std::string::npos);
    EXPECT_NE(curve.output.find("\"maxText\":null,\"minText\":null,\"axisMaximum\":0,"
                                "\"minorTickCount\":4,\"seriesCount\":10}"),
              std::string::npos)
        << curve.output;
    const CliRun flat = runCli("curve " + m_file.string() + " --no-acceleration");
    EXPECT_NE(flat.output.find("\"climbCm\":[],"), std::string::npos) << flat.output;

    const CliRun compare = runCli("compare " + m_file.string());
    ASSERT_EQ(compare.status, 0) << compare.output;
    EXPECT_NE(compare.output.find("\"maxText\":null,\"minText\":null,\"axisMaximum\":null,"
                                  "\"minorTickCount\":4}"),
              std::string::npos)
        << compare.output;
}

// The integers of a JSON array after "key":[ in the output; empty when the key is missing.
std::vector<long> intArray(const std::string& output, const std::string& key) {
    std::vector<long> numbers;
    const size_t start = output.find("\"" + key + "\":[");
    if (start == std::string::npos) {
        return numbers;
    }
    const char* cursor = output.c_str() + start + key.size() + 4;
    while (*cursor != ']') {
        char* end = nullptr;
        numbers.push_back(std::strtol(cursor, &end, 10));
        cursor = *end == ',' ? end + 1 : end;
    }
    return numbers;
}

// The number after a key, or NaN for null or a missing key.
double numberAt(const std::string& output, const std::string& key) {
    const size_t start = output.find("\"" + key + "\":");
    if (start == std::string::npos || output.compare(start + key.size() + 3, 4, "null") == 0) {
        return std::nan("");
    }
    return std::strtod(output.c_str() + start + key.size() + 3, nullptr);
}

TEST_F(CliTest, SummaryGivesTheHeaderAndTheFlightFigures) {
    // At 5 samples per second: 2 s on the ground, a 3 m/s climb to 30 m, a 1 m/s descent.
    vtl::testing::FlightDescription flight;
    flight.samplingCode = 3;
    flight.competitorNumber = 7;
    flight.serialNumber = 4321;
    flight.altitudeCm.assign(10, 0);
    for (int32_t a = 60; a <= 3000; a += 60) {
        flight.altitudeCm.push_back(a);
    }
    for (int32_t a = 2980; a > 0; a -= 20) {
        flight.altitudeCm.push_back(a);
    }
    flight.altitudeCm.insert(flight.altitudeCm.end(), 20, 0);
    const fs::path file = m_file.string() + ".glide.bin";
    const auto bytes = vtl::testing::synthesiseFlightImage(flight);
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));

    const CliRun run = runCli("summary " + file.string());
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.out.rfind("{\"serial\":4321,\"competitor\":7,\"samplingCode\":3,"
                            "\"temperature\":20,",
                            0),
              0u)
        << run.out;
    // The synthesised curve is as exact as the sensor and the smoothing allow.
    EXPECT_NEAR(numberAt(run.out, "maximumM"), 30.0, 0.5) << run.out;
    EXPECT_NEAR(numberAt(run.out, "maximumS"), 11.8, 0.5) << run.out;
    EXPECT_NEAR(numberAt(run.out, "startS"), 2.2, 0.3) << run.out;
    EXPECT_NEAR(numberAt(run.out, "landingS"), 40.8, 0.5) << run.out;
    EXPECT_NEAR(numberAt(run.out, "flightTimeS"),
                numberAt(run.out, "landingS") - numberAt(run.out, "startS"), 0.011);
    EXPECT_NEAR(numberAt(run.out, "bestClimbMps"), 3.0, 0.2) << run.out;
    EXPECT_NEAR(numberAt(run.out, "meanSinkMps"), 1.0, 0.1) << run.out;

    // A warmer day makes the same pressures a higher flight: 313.16 / 293.16 times as high.
    const CliRun warm = runCli("summary " + file.string() + " --temperature 40");
    EXPECT_NEAR(numberAt(warm.out, "maximumM"), numberAt(run.out, "maximumM") * 1.0682, 0.05)
        << warm.out;
    const CliRun pretty = runCli("summary " + file.string() + " --temperature 40 --pretty");
    EXPECT_NE(pretty.out.find("\n  \"temperature\": 40,\n"), std::string::npos) << pretty.out;
    fs::remove(file);

    // The fixture's flight never leaves the ground within its drawn points.
    const CliRun flat = runCli("summary " + m_file.string());
    ASSERT_EQ(flat.status, 0) << flat.output;
    EXPECT_NE(flat.out.find("\"maximumM\":null,\"maximumS\":null,\"startS\":null,"
                            "\"landingS\":null,\"flightTimeS\":null,"),
              std::string::npos)
        << flat.out;
    EXPECT_EQ(runCli("summary").status, 2);
}

// A drawn curve peaking at exactly 5585 cm: the window's panel shows 55.8 (its plotted float is
// 55.8499985), and so do the summary and the log, as numbers, where the exact value gives 55.85.
TEST_F(CliTest, SummaryAndLogGiveTheMaximumThePanelShows) {
    vtl::testing::FlightDescription flight;
    flight.groundPressurePa = 101377;
    flight.altitudeCm = vtl::testing::climbAndGlide(200, 5596, 400, -200);
    const fs::path folder = m_file.string() + ".log";
    fs::create_directories(folder);
    const fs::path file = folder / "half.bin";
    vtl::testing::writeFlightFile(file, flight);

    const CliRun curve = runCli("curve " + file.string());
    ASSERT_EQ(curve.status, 0) << curve.output;
    ASSERT_NE(curve.out.find("\"maxText\":\"55.8\""), std::string::npos) << curve.out;
    const CliRun summary = runCli("summary " + file.string());
    EXPECT_NE(summary.out.find("\"maximumM\":55.8,"), std::string::npos) << summary.out;
    const CliRun log = runCli("log " + folder.string());
    EXPECT_NE(log.out.find("\"maximumM\":55.8,"), std::string::npos) << log.out;
    fs::remove_all(folder);
}

// Beside a longer comparison at the same rate, the bottom axis goes on counting seconds to the
// comparison's end, at the current flight's rate.
TEST_F(CliTest, CurveLabelsTheSecondsOverTheComparisonsWholeLength) {
    vtl::testing::FlightDescription longer;
    longer.samplingCode = 3;
    longer.altitudeCm.assign(10, 0);
    for (int i = 1; i <= 40; ++i) {
        longer.altitudeCm.push_back(i * 100);
    }
    const fs::path comparison = m_file.string() + ".longer.bin";
    const auto bytes = vtl::testing::synthesiseFlightImage(longer);
    std::ofstream(comparison, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));

    const CliRun run = runCli("curve " + m_file.string() + " --comparison " + comparison.string());
    ASSERT_EQ(run.status, 0) << run.output;
    const size_t start = run.output.find("\"labels\":[");
    ASSERT_NE(start, std::string::npos) << run.output;
    const std::string labels =
        run.output.substr(start + 10, run.output.find(']', start) - start - 10);
    // The current flight's eight points, then the comparison's to its 46th: a label every 5.
    const size_t points = intArray(run.output, "comparisonCm").size();
    EXPECT_EQ(points, 46u);
    EXPECT_EQ(static_cast<size_t>(std::count(labels.begin(), labels.end(), ',')) + 1, points)
        << labels;
    EXPECT_EQ(labels.rfind("\"0\",\"\",\"\",\"\",\"\",\"1\",\"\",\"\",\"\",\"\",\"2\",", 0), 0u)
        << labels;
    EXPECT_EQ(labels.substr(labels.size() - 20), ",\"8\",\"\",\"\",\"\",\"\",\"9\"") << labels;
    fs::remove(comparison);
}

TEST_F(CliTest, CurveDrawsTheComparisonOnTheCurrentFlightsSampleTimes) {
    // A climb at 5 samples per second beside a flight at 10 samples per second.
    vtl::testing::FlightDescription climb;
    climb.samplingCode = 3;
    climb.altitudeCm.assign(10, 0);
    for (int i = 1; i <= 20; ++i) {
        climb.altitudeCm.push_back(i * 333);
    }
    const fs::path slow = m_file.string() + ".slow.bin";
    const auto climbBytes = vtl::testing::synthesiseFlightImage(climb);
    std::ofstream(slow, std::ios::binary)
        .write(reinterpret_cast<const char*>(climbBytes.data()),
               static_cast<long>(climbBytes.size()));
    climb.samplingCode = 2;
    const fs::path fast = m_file.string() + ".fast.bin";
    const auto fastBytes = vtl::testing::synthesiseFlightImage(climb);
    std::ofstream(fast, std::ios::binary)
        .write(reinterpret_cast<const char*>(fastBytes.data()),
               static_cast<long>(fastBytes.size()));

    const std::vector<long> own = intArray(runCli("compare " + slow.string()).output, "altitudeCm");
    ASSERT_EQ(own.size(), 26u);
    const CliRun beside = runCli("curve " + fast.string() + " --comparison " + slow.string());
    ASSERT_EQ(beside.status, 0) << beside.output;
    // Two current points per comparison point, up to its last one.
    const std::vector<long> drawn = intArray(beside.output, "comparisonCm");
    ASSERT_EQ(drawn.size(), 51u) << beside.output;
    for (size_t k = 0; k + 1 < own.size(); ++k) {
        EXPECT_EQ(drawn[2 * k], own[k]);
        EXPECT_EQ(drawn[2 * k + 1], (own[k] + own[k + 1]) / 2) << k;
    }
    EXPECT_EQ(drawn.back(), own.back());

    // The same rate draws the comparison's own points; without a comparison there is no key.
    const CliRun same = runCli("curve " + slow.string() + " --comparison " + slow.string());
    EXPECT_EQ(intArray(same.output, "comparisonCm"), own) << same.output;
    EXPECT_EQ(runCli("curve " + slow.string()).output.find("comparisonCm"), std::string::npos);
    EXPECT_EQ(runCli("curve " + slow.string() + " --comparison").status, 2);
    fs::remove(slow);
    fs::remove(fast);
}

TEST_F(CliTest, ExportAndRenderWriteFiles) {
    const fs::path csv = m_file.string() + ".csv";
    ASSERT_EQ(runCli("export " + m_file.string() + " " + csv.string()).status, 0);
    std::ifstream exported(csv, std::ios::binary);
    const std::string lines((std::istreambuf_iterator<char>(exported)),
                            std::istreambuf_iterator<char>());
    EXPECT_EQ(lines, "0.0\n\r0.0\n\r0.0\n\r0.0\n\r0.0\n\r0.0\n\r0.0\n\r0.0\n\r");
    fs::remove(csv);

    // A folder where OUT should go: the reason is told in the program's language.
    const fs::path folder = m_file.string() + ".folder.csv";
    fs::create_directories(folder);
    const CliRun intoFolder = runCli("export " + m_file.string() + " " + folder.string());
    EXPECT_EQ(intoFolder.status, 1);
    const std::string told = "Cannot create file " + folder.string() + " (";
    EXPECT_TRUE(intoFolder.output.find(told + "to jest folder)") != std::string::npos ||
                intoFolder.output.find(told + "it is a folder)") != std::string::npos)
        << intoFolder.output;
    EXPECT_TRUE(fs::is_empty(folder));
    fs::remove(folder);

    const fs::path picture = m_file.string() + ".bmp";
    const CliRun render = runCommand("env -u XDG_RUNTIME_DIR -u QT_QPA_PLATFORM " +
                                     std::string(VTL_CLI_PATH) + " render " + m_file.string() +
                                     " " + picture.string() + " --width 800 --height 400");
    ASSERT_EQ(render.status, 0) << render.output;
    EXPECT_EQ(render.output, "") << "no warnings from Qt";
    std::ifstream bitmap(picture, std::ios::binary);
    std::array<unsigned char, 26> header{};
    bitmap.read(reinterpret_cast<char*>(header.data()), header.size());
    EXPECT_EQ(header[0], 'B');
    EXPECT_EQ(header[1], 'M');
    EXPECT_EQ(header[18] | header[19] << 8, 800);
    EXPECT_EQ(header[22] | header[23] << 8, 400);
    fs::remove(picture);
    EXPECT_EQ(runCli("render " + m_file.string() + " out.gif").status, 1);
}

struct PdfPages {
    int count = 0;
    double width = 0.0; // the first page's media box, in points
    double height = 0.0;
};

// Qt writes its page objects uncompressed, so their dictionaries can be read as text.
PdfPages pdfPages(const std::string& pdf) {
    PdfPages pages;
    for (size_t at = pdf.find("/Type /Page"); at != std::string::npos;
         at = pdf.find("/Type /Page", at + 1)) {
        if (pdf.compare(at, 12, "/Type /Pages") != 0) {
            ++pages.count;
        }
    }
    const size_t box = pdf.find("/MediaBox [");
    if (box != std::string::npos) {
        double left = 0.0;
        double bottom = 0.0;
        std::sscanf(pdf.c_str() + box, "/MediaBox [%lf %lf %lf %lf", &left, &bottom, &pages.width,
                    &pages.height);
    }
    return pages;
}

TEST_F(CliTest, RenderPrintsIntoAPdfPortraitOrLandscape) {
    const fs::path out = m_file.string() + ".pdf";
    for (const bool landscape : {false, true}) {
        const CliRun run = runCli("render " + m_file.string() + " " + out.string() +
                                  (landscape ? " --landscape" : ""));
        ASSERT_EQ(run.status, 0) << run.output;
        std::ifstream file(out, std::ios::binary);
        const std::string pdf((std::istreambuf_iterator<char>(file)),
                              std::istreambuf_iterator<char>());
        EXPECT_EQ(pdf.rfind("%PDF-", 0), 0u);
        const PdfPages pages = pdfPages(pdf);
        EXPECT_EQ(pages.count, 1);
        ASSERT_GT(pages.width * pages.height, 0.0);
        EXPECT_EQ(pages.width > pages.height, landscape) << pages.width << " x " << pages.height;
        fs::remove(out);
    }
    EXPECT_EQ(runCli("render " + m_file.string() + " " + out.string() + ".png --landscape").status,
              1);
    const CliRun unwritable = runCli("render " + m_file.string() + " /nonexistent/page.pdf");
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_NE(unwritable.output.find("Cannot create file /nonexistent/page.pdf"), std::string::npos)
        << unwritable.output;
}

// The device commands start from the settings as the program would, and a settings file that
// cannot be read is said on stderr (in the default language, as none was read), then left alone.
TEST_F(CliTest, OverlayDrawsTheFlightsItCanAndNamesTheOthers) {
    const fs::path picture = m_file.string() + ".overlay.png";
    const fs::path missing = m_file.string() + ".gone.bin";
    const CliRun drawn = runCli("overlay " + m_file.string() + " " + missing.string() + " " +
                                m_file.string() + " " + picture.string() + " --align record");
    ASSERT_EQ(drawn.status, 0) << drawn.output;
    EXPECT_NE(drawn.err.find(missing.string()), std::string::npos) << drawn.err;
    std::ifstream png(picture, std::ios::binary);
    std::array<char, 4> signature{};
    png.read(signature.data(), signature.size());
    EXPECT_EQ(std::string(signature.data() + 1, 3), "PNG");
    png.close();
    fs::remove(picture);

    // Nothing to draw: no picture, and the reason.
    const CliRun nothing = runCli("overlay " + missing.string() + " " + picture.string());
    EXPECT_EQ(nothing.status, 1);
    EXPECT_NE(nothing.err.find(missing.string()), std::string::npos) << nothing.err;
    EXPECT_FALSE(fs::exists(picture));

    std::string nine;
    for (int i = 0; i < 9; ++i) {
        nine += m_file.string() + " ";
    }
    const CliRun tooMany = runCli("overlay " + nine + picture.string());
    EXPECT_EQ(tooMany.status, 1);
    EXPECT_NE(tooMany.err.find("at most 8"), std::string::npos) << tooMany.err;
    EXPECT_FALSE(fs::exists(picture));
    EXPECT_EQ(
        runCli("overlay " + m_file.string() + " " + picture.string() + " --align sideways").status,
        2);
}

TEST_F(CliTest, UnreadableSettingsFileIsToldAndLeftAlone) {
    const fs::path settings = m_file.string() + ".par";
    fs::create_directories(settings / "inside");
    const CliRun run = runCli("setup-read --port COM25 --settings " + settings.string());
    const std::string told = "Nie można odczytać pliku ustawień " + settings.string() + "\n";
    const size_t at = run.output.find(told);
    EXPECT_NE(at, std::string::npos) << run.output;
    EXPECT_EQ(run.output.find(told, at + 1), std::string::npos) << "told more than once";
    EXPECT_TRUE(fs::is_directory(settings / "inside"));
    fs::remove_all(settings);
}

// A device command first takes back the flight a stopped save left in the archive, and says so
// in the settings' language, whatever becomes of the command: a flight without its end is kept as
// partial.
TEST_F(CliTest, DeviceCommandsRecoverInterruptedSaves) {
    const fs::path home =
        fs::temp_directory_path() / ("vtl-cli-recover-" + std::to_string(::getpid()));
    const fs::path folder = home / ".local/share/vantorel/flights";
    fs::remove_all(home);
    std::string image = readText(m_file);
    image.resize(image.size() - 4); // the terminator slot
    const fs::path cut = home / "cut.bin";
    fs::create_directories(home);
    std::ofstream(cut, std::ios::binary) << image;
    leaveInterruptedSave(cut, folder / ".vtl-x9y8z7");
    const CliRun run =
        runCommand("env -u XDG_DATA_HOME HOME=" + home.string() + " " + std::string(VTL_CLI_PATH) +
                   " zero --port COM25 --settings " + (home / "vantorel.par").string());
    EXPECT_EQ(run.status, 1) << run.output;
    const fs::path kept = fileEndingIn(folder, "_S1234_C42_partial_recovered.bin");
    ASSERT_FALSE(kept.empty());
    EXPECT_EQ(readText(kept), image);
    EXPECT_EQ(run.err.rfind("Odzyskano plik lotu " + kept.string() + " z przerwanego zapisu.\n", 0),
              0u)
        << run.err;
    fs::remove_all(home);
}

TEST_F(CliTest, UnreadableFileFailsWithOneLine) {
    const CliRun run = runCli("info /nonexistent/flight.bin");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.output, "vantorel-cli: cannot read /nonexistent/flight.bin\n");
}

// A pipe or a folder in a flight's place fails at once; `timeout` ends a run that would wait.
TEST_F(CliTest, OnlyRegularFilesAreReadAsFlights) {
    const fs::path pipe = m_file.string() + ".fifo";
    fs::remove(pipe);
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    for (const std::string command : {"info", "export", "curve"}) {
        const CliRun run =
            runCommand("timeout 10 " + std::string(VTL_CLI_PATH) + " " + command + " " +
                       pipe.string() + (command == "export" ? " " + pipe.string() + ".csv" : ""));
        EXPECT_EQ(run.status, 1) << command << ": " << run.output;
        EXPECT_EQ(run.err,
                  "vantorel-cli: cannot read " + pipe.string() + ": is not a regular file\n")
            << command;
    }
    fs::remove(pipe);
    const std::string folder = fs::temp_directory_path().string();
    EXPECT_EQ(runCli("info " + folder).err,
              "vantorel-cli: cannot read " + folder + ": is not a regular file\n");
}

// Status 2 and the usage on stderr for a command line that cannot be understood; status 1 stays
// for what was understood and failed.
TEST_F(CliTest, BadCommandLinesExitWithStatusTwo) {
    const std::string file = m_file.string();
    for (const std::string& arguments :
         {std::string(), std::string("bogus"), std::string("--trace"), std::string("--pretty"),
          std::string("info"), "info " + file + " extra", "info " + file + " --width 3",
          "convert " + file + " --temperature warm", "curve " + file + " --comparison",
          "filter " + file + " --params 1,2,3", "export " + file,
          std::string("setup-write --trigger 5 --competitor 1 --sampling x --manual-zero 0 "
                      "--delay 1 --port COM25"),
          std::string("setup-write --trigger 5 --port COM25")}) {
        const CliRun run = runCli(arguments);
        EXPECT_EQ(run.status, 2) << arguments << ": " << run.output;
        EXPECT_EQ(run.out, "") << arguments;
        EXPECT_EQ(run.err.rfind("vantorel-cli: ", 0), 0u) << arguments << ": " << run.err;
        EXPECT_NE(run.err.find("\nusage: vantorel-cli "), std::string::npos) << arguments;
    }
    // A value out of range is understood, and refused: status 1, one line.
    const CliRun range = runCli("setup-write --trigger 201 --competitor 1 --sampling 0 "
                                "--manual-zero 0 --delay 1 --port COM25");
    EXPECT_EQ(range.status, 1);
    EXPECT_EQ(std::count(range.err.begin(), range.err.end(), '\n'), 1) << range.err;
}

TEST_F(CliTest, PrettyJsonIsTheSameJsonLaidOut) {
    for (const std::string& arguments :
         {"info " + m_file.string() + " --pretty", "--pretty info " + m_file.string()}) {
        const CliRun run = runCli(arguments);
        ASSERT_EQ(run.status, 0) << run.output;
        EXPECT_EQ(run.out.rfind("{\n  \"competitorNumber\": 42,\n  \"serialNumber\": 1234,\n", 0),
                  0u)
            << run.out;
        // Texts keep their spaces; nested objects go one level deeper and close on their own line.
        EXPECT_NE(run.out.find("\n  \"samplingText\": \"  5 pom/sek\",\n"), std::string::npos);
        EXPECT_NE(run.out.find("\n  \"calibration\": {\n    \"AC1\": "), std::string::npos);
        EXPECT_NE(run.out.find("\n    \"MD\": "), std::string::npos);
        EXPECT_NE(run.out.find("\n  },\n  \"rawLength\": 84,"), std::string::npos) << run.out;
        EXPECT_EQ(run.out.substr(run.out.size() - 23), "\n  \"plausible\": true\n}\n") << run.out;
    }
    // Arrays stay on one line.
    const CliRun curve = runCli("curve " + m_file.string() + " --pretty");
    EXPECT_NE(curve.out.find("\n  \"climbCm\": [0, "), std::string::npos) << curve.out;
    // Commands that print nothing do not take it.
    EXPECT_EQ(runCli("export " + m_file.string() + " x.csv --pretty").status, 2);
}

TEST_F(CliTest, ExportNamesTheFileAsTheWindowDoes) {
    const fs::path folder = m_file.string() + ".names";
    fs::create_directories(folder);
    const std::string from = "export " + m_file.string() + " ";
    struct Case {
        const char* given;
        const char* written;
        const char* options;
    };
    for (const Case& c :
         {Case{"lot", "lot.csv", ""}, Case{"lot.CSV", "lot.CSV.csv", ""},
          Case{"a.csv.txt", "a.csv.txt", ""}, Case{"exact", "exact", " --exact-name"}}) {
        const CliRun run = runCli(from + (folder / c.given).string() + c.options);
        EXPECT_EQ(run.status, 0) << c.given << ": " << run.output;
        EXPECT_TRUE(fs::exists(folder / c.written)) << c.given;
        EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1)
            << c.given;
        fs::remove_all(folder);
        fs::create_directories(folder);
    }

    // A flight with nothing drawn: the window's "No data", and nothing written.
    vtl::testing::FlightDescription empty;
    const fs::path headerOnly = folder / "header.bin";
    const auto bytes = vtl::testing::synthesiseFlightImage(empty);
    std::ofstream(headerOnly, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
    const CliRun none = runCli("export " + headerOnly.string() + " " + (folder / "out").string());
    EXPECT_EQ(none.status, 1) << none.output;
    EXPECT_EQ(none.err, "vantorel-cli: No data\n");
    EXPECT_FALSE(fs::exists(folder / "out.csv"));
    EXPECT_FALSE(fs::exists(folder / "out"));
    fs::remove_all(folder);
}

} // namespace

// The port list names the aliases beside the settings file that lead somewhere, and "--port auto"
// refuses to guess when no USB serial port is connected.
TEST(CliPorts, ListsTheAliasesAndAutoNeedsOneUsbPort) {
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(::grantpt(master), 0);
    ASSERT_EQ(::unlockpt(master), 0);
    const std::string slave = ::ptsname(master);
    const fs::path folder =
        fs::temp_directory_path() / ("vtl-cli-ports-" + std::to_string(::getpid()));
    fs::create_directories(folder / "ports");
    fs::create_symlink(slave, folder / "ports" / "COM9");
    fs::create_symlink("/dev/pts/vtl-gone", folder / "ports" / "COM6");
    const std::string settings = (folder / "vantorel.par").string();

    const CliRun run = runCli("ports --settings " + settings);
    EXPECT_EQ(run.status, 0) << run.output;
    const std::string entry = "{\"name\":\"COM9\",\"path\":\"" + slave +
                              "\",\"description\":\"ports/COM9 \u2192 " + slave + ", simulator\"}";
    EXPECT_NE(run.out.find(entry), std::string::npos) << run.out;
    EXPECT_EQ(run.out.front(), '[');
    EXPECT_EQ(run.out.find("COM6"), std::string::npos) << run.out;
    ::close(master);
    fs::remove_all(folder);

    if (fs::exists("/dev/serial/by-id")) {
        GTEST_SKIP() << "this machine has USB serial ports; --port auto would use them";
    }
    const CliRun automatic = runCli("zero --port auto --settings " + settings);
    EXPECT_EQ(automatic.status, 1);
    EXPECT_NE(automatic.err.find("--port auto: no USB serial port"), std::string::npos)
        << automatic.err;
}
