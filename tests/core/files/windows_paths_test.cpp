// SPDX-License-Identifier: GPL-3.0-or-later
// What the core writes and reads by name, in folders with Polish letters, on Linux and (through
// the Windows cross build under Wine) on Windows: every byte comes back as written, line ends
// included, since text mode on Windows would turn 0x0A into 0x0D 0x0A and end a read at 0x1A;
// the names are those the user gave, not their ANSI-code-page misreading.
#include "core/files/flight_archive.h"
#include "core/files/flight_log.h"
#include "core/files/measurement_commands.h"
#include "core/files/measurement_file.h"
#include "core/files/spreadsheet_export.h"
#include "core/shell/atomic_file.h"
#include "core/shell/program_settings.h"
#include "core/shell/settings_keeper.h"
#include "core/shell/text_tables.h"
#include "flight_synthesiser.h"
#include "support/scripted_prompter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

namespace vtl {
namespace {

namespace fs = std::filesystem;

// The bytes that a text-mode stream changes or stops at, among others.
std::vector<uint8_t> awkwardBytes(size_t size, uint8_t salt) {
    const uint8_t pattern[] = {0x0A, 0x0D, 0x0D, 0x0A, 0x1A, 0x00, 0xFF, 0x0A, 0x20};
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<uint8_t>(pattern[i % sizeof pattern] ^ (i % 7 == 6 ? salt : 0));
    }
    return bytes;
}

std::vector<uint8_t> bytesOf(const std::string& utf8) {
    std::ifstream in(fs::u8path(utf8), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> namesIn(const std::string& utf8) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(fs::u8path(utf8))) {
        names.push_back(entry.path().filename().u8string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

class PolishFolder : public ::testing::Test {
protected:
    static constexpr const char* kFolder = "Loty ąłż";

    void SetUp() override {
        m_base =
            fs::temp_directory_path() /
            ("vtl-paths-" +
             std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "-" +
             std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
        fs::remove_all(m_base);
        fs::create_directories(m_base / fs::u8path(kFolder));
    }
    void TearDown() override {
        std::error_code ignored;
        for (const auto& entry : fs::recursive_directory_iterator(m_base, ignored)) {
            fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::add, ignored);
        }
        fs::remove_all(m_base, ignored);
    }

    // A path in the Polish folder, as the core takes it: UTF-8, in the system's separators.
    std::string inFolder(const std::string& name) const {
        return (m_base / fs::u8path(kFolder) / fs::u8path(name)).u8string();
    }
    std::string folder() const { return (m_base / fs::u8path(kFolder)).u8string(); }

    fs::path m_base;
};

TEST_F(PolishFolder, AMeasurementFileIsWrittenReplacedAndReadByteForByte) {
    const std::string path = inFolder("lot żółw.bin");
    auto record = std::make_unique<FlightRecord>();
    for (const uint8_t salt : {0x00, 0x5A}) {
        const std::vector<uint8_t> image = awkwardBytes(1000, salt);
        std::copy(image.begin(), image.end(), record->rawImage.begin());
        record->rawLength = static_cast<int32_t>(image.size());
        int error = 0;
        ASSERT_TRUE(writeMeasurementFile(path, *record, &error)) << error;
        EXPECT_EQ(bytesOf(path), image);
        std::vector<uint8_t> read;
        ASSERT_TRUE(readMeasurementFile(path, read));
        EXPECT_EQ(read, image);
    }
    EXPECT_EQ(namesIn(folder()), std::vector<std::string>{"lot żółw.bin"});
    EXPECT_EQ(namesIn(m_base.u8string()), std::vector<std::string>{kFolder});
}

TEST_F(PolishFolder, TheExportKeepsLineFeedThenCarriageReturn) {
    auto record = std::make_unique<FlightRecord>();
    record->seriesCount = 5;
    const int32_t altitudes[] = {0, 50, 126, kEndMarker, 999};
    std::copy(std::begin(altitudes), std::end(altitudes), record->altitudeCm.begin());
    const std::vector<uint8_t> lines = spreadsheetBytes(*record, ',');
    const std::string path = inFolder("wysokość.csv");
    ASSERT_TRUE(writeFileAtomically(path, lines.data(), lines.size()));
    const std::string expected = "0,0\n\r0,5\n\r1,3\n\r";
    EXPECT_EQ(bytesOf(path), std::vector<uint8_t>(expected.begin(), expected.end()));
}

// The settings go to the configuration folder, which the keeper makes, and come back as written.
TEST_F(PolishFolder, TheSettingsFileIsMadeWrittenAndReadBack) {
    SettingsPlaces places;
    places.programFile = inFolder("program/vantorel.par");
    places.userFile = inFolder("konfiguracja ł/vantorel/vantorel.par");
    places.programFileWritable = false;
    testing::ScriptedPrompter prompter;
    SettingsKeeper keeper(places, prompter);
    keeper.load();
    keeper.settings().setPortName("COM13");
    keeper.settings().preCutCm = 0x1A0D0A;
    keeper.settings().finalCutCm = 0x0A0D;
    ASSERT_TRUE(keeper.save());
    EXPECT_TRUE(prompter.messages().empty());

    const auto record = encodeProgramSettings(keeper.settings());
    EXPECT_EQ(bytesOf(places.userFile), std::vector<uint8_t>(record.begin(), record.end()));
    ProgramSettings read = defaultProgramSettings();
    ASSERT_EQ(readProgramSettings(places.userFile, read), SettingsFileState::Read);
    EXPECT_TRUE(read == keeper.settings());
    EXPECT_EQ(namesIn(folder()), std::vector<std::string>{"konfiguracja ł"});
}

// Archive copies land in a folder that did not exist, and a second flight of the same second
// gets the next free name.
TEST_F(PolishFolder, ArchiveCopiesGoBesideEachOther) {
    std::tm time{};
    time.tm_year = 2026 - 1900;
    time.tm_mon = 5;
    time.tm_mday = 14;
    const std::string archive = inFolder("archiwum ą");
    const std::vector<uint8_t> first = awkwardBytes(300, 0x00);
    const std::vector<uint8_t> second = awkwardBytes(300, 0x33);
    const auto a = archiveFlight(archive, first, time, 1234, 42);
    const auto b = archiveFlight(archive, second, time, 1234, 42);
    ASSERT_TRUE(a && b);
    EXPECT_EQ(namesIn(archive), (std::vector<std::string>{"2026-06-14_000000_S1234_C42-2.bin",
                                                          "2026-06-14_000000_S1234_C42.bin"}));
    std::vector<uint8_t> read;
    ASSERT_TRUE(readMeasurementFile(*a, read));
    EXPECT_EQ(read, first);
    ASSERT_TRUE(readMeasurementFile(*b, read));
    EXPECT_EQ(read, second);
}

// The flight log lists the folder by its UTF-8 name, reads each file and keeps its cache there;
// names with Polish letters come back as they were written.
TEST_F(PolishFolder, AFlightLogIsListedAndCached) {
    testing::FlightDescription flight;
    flight.serialNumber = 1234;
    flight.competitorNumber = 42;
    flight.altitudeCm.assign(40, 0);
    for (int i = 1; i <= 200; ++i) {
        flight.altitudeCm.push_back(i * 20);
    }
    flight.altitudeCm.resize(flight.altitudeCm.size() + 200, 0);
    const std::vector<uint8_t> image = testing::synthesiseFlightImage(flight);
    std::tm time{};
    time.tm_year = 2026 - 1900;
    time.tm_mon = 5;
    time.tm_mday = 14;
    ASSERT_TRUE(archiveFlight(folder(), image, time, 1234, 42, ArchiveKind::Partial));
    ASSERT_TRUE(writeFileAtomically(inFolder("lot żółw.bin"), image.data(), image.size()));

    for (int pass = 0; pass < 2; ++pass) { // read, then from the cache
        const std::vector<FlightLogRow> rows = scanFlightLog(folder());
        ASSERT_EQ(rows.size(), 2u) << "pass " << pass;
        const auto row = [&](const std::string& name) {
            const auto found = std::find_if(rows.begin(), rows.end(), [&](const FlightLogRow& r) {
                return r.fileName == name;
            });
            return found == rows.end() ? FlightLogRow{} : *found;
        };
        const FlightLogRow archived = row("2026-06-14_000000_S1234_C42_partial.bin");
        EXPECT_EQ(archived.status, LogStatus::Partial) << "pass " << pass;
        EXPECT_EQ(archived.downloaded, "2026-06-14 00:00:00");
        EXPECT_EQ(archived.serialNumber, 1234);
        const FlightLogRow copy = row("lot żółw.bin");
        EXPECT_EQ(copy.status, LogStatus::Ok) << "pass " << pass;
        EXPECT_EQ(copy.size, image.size());
        EXPECT_EQ(copy.competitorNumber, 42);
        EXPECT_FALSE(copy.downloadedFromName);
    }
    EXPECT_EQ(namesIn(folder()),
              (std::vector<std::string>{
                  kFlightLogCacheName, "2026-06-14_000000_S1234_C42_partial.bin", "lot żółw.bin"}));
    const std::vector<uint8_t> cache = bytesOf(inFolder(kFlightLogCacheName));
    const auto cached = parseFlightLogCache(std::string(cache.begin(), cache.end()));
    ASSERT_TRUE(cached);
    EXPECT_EQ(cached->size(), 2u);
}

// A file marked read-only (the read-only attribute on Windows) is not replaced.
TEST_F(PolishFolder, AReadOnlyFileIsRefused) {
    const std::string path = inFolder("lot.bin");
    const std::vector<uint8_t> old = awkwardBytes(40, 0);
    ASSERT_TRUE(writeFileAtomically(path, old.data(), old.size()));
    fs::permissions(fs::u8path(path),
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
#ifndef _WIN32
    if (std::ofstream(fs::u8path(path), std::ios::binary | std::ios::app).is_open()) {
        GTEST_SKIP() << "a read-only file stays writable here (as for root)";
    }
#endif
    const std::vector<uint8_t> replacement = awkwardBytes(70, 0x44);
    int error = 0;
    EXPECT_FALSE(writeFileAtomically(path, replacement.data(), replacement.size(), &error));
    EXPECT_EQ(error, EACCES);
    EXPECT_EQ(bytesOf(path), old);
    EXPECT_EQ(namesIn(folder()), std::vector<std::string>{"lot.bin"});
}

// A folder with Polish letters chosen as the file to save is told as a folder, not as a new file.
TEST_F(PolishFolder, AFolderChosenToSaveIsTold) {
    testing::ScriptedPrompter prompter;
    const Language language = Language::English;
    MeasurementCommands commands(prompter, language);
    prompter.answerNextFiles({folder()});
    EXPECT_FALSE(commands.chooseSaveName());
    ASSERT_EQ(prompter.messages().size(), 1u);
    EXPECT_EQ(prompter.messages()[0].text, isAFolderText(folder(), language));
}

TEST(WindowsNames, SettingsFileAndTitlesAtEitherSeparator) {
    EXPECT_EQ(settingsFileNameFor("C:\\Program Files\\Vantorel\\vantorel.exe"),
              "C:\\Program Files\\Vantorel\\vantorel.par");
    EXPECT_EQ(settingsFileNameFor("C:\\Loty.v2\\vantorel"), "C:\\Loty.v2\\vantorel.par");
    EXPECT_EQ(fileTitle("C:\\Loty ąłż\\lot 7.bin", false), "lot 7.bin");
    EXPECT_EQ(fileTitle("C:\\Loty ąłż\\lot 7.bin", true), "lot 7.bin");
    EXPECT_EQ(fileTitle("C:/Loty ąłż/lot7.bin", true), "lot7.bin");
    EXPECT_EQ(fileTitle("C:\\Loty/lot7.bin", true), "lot7.bin");
    EXPECT_EQ(fileTitle("C:/Loty\\lot7.bin", true), "lot7.bin");
    // A path as Qt's file dialogs give it on Windows shows only its file name.
    EXPECT_EQ(fileTitle("C:/Users/pilot/Loty/lot7.bin"), "lot7.bin");
}

} // namespace
} // namespace vtl
