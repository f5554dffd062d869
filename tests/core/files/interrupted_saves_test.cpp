// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/files/interrupted_saves.h"

#include "core/files/flight_archive.h"
#include "core/files/flight_log.h"
#include "core/flight/flight_image.h"
#include "core/shell/atomic_file.h"
#include "support/file_faults.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace vtl {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

std::vector<uint8_t> flightImage(uint16_t serial, uint16_t competitor) {
    testing::FlightDescription flight;
    flight.serialNumber = serial;
    flight.competitorNumber = competitor;
    flight.altitudeCm = testing::climbAndGlide(200, 4000, 200);
    return testing::synthesiseFlightImage(flight);
}

// 14 June 2025, 10:35:12 local time: a save that was interrupted a while ago.
std::tm lastYear() {
    std::tm time = testing::june14();
    time.tm_year = 2025 - 1900;
    return time;
}

// Gives the file the local time as its modification time. Half a second on, so that bridging the
// file clock and the system clock cannot carry it into the second before.
void touch(const fs::path& path, std::tm local) {
    const auto at = std::chrono::system_clock::from_time_t(std::mktime(&local)) + 500ms;
    fs::last_write_time(path, fs::file_time_type::clock::now() +
                                  std::chrono::duration_cast<fs::file_time_type::duration>(
                                      at - std::chrono::system_clock::now()));
}

class InterruptedSavesFolder : public ::testing::Test {
protected:
    // A temporary file left in the folder, unchanged since `local`.
    fs::path leave(const std::string& name, const std::vector<uint8_t>& bytes,
                   const std::tm& local = lastYear()) {
        testing::writeBytes(m_folder / name, bytes);
        touch(m_folder / name, local);
        return m_folder / name;
    }

    testing::TemporaryFolder m_folder;
};

TEST(TemporaryFileNames, OnlyTheSafeWritersNames) {
    for (const char* name : {".vtl-a1B2c3", ".vtl-XXXXXX", ".vtl-000000"}) {
        EXPECT_TRUE(isTemporaryFileName(name)) << name;
    }
    for (const char* name : {".vtl-abc", ".vtl-abcdefg", "vtl-abcdef", ".vtl-ab.def", ".vtl-ab-def",
                             ".VTL-abcdef", ".vantorel-log-cache", "", ".vtl-"}) {
        EXPECT_FALSE(isTemporaryFileName(name)) << name;
    }
    testing::TemporaryFolder folder;
    const uint8_t byte = 1;
    for (int i = 0; i < 20; ++i) {
        const auto written = writeTemporaryFile(folder.path().string(), &byte, 1);
        ASSERT_TRUE(written);
        EXPECT_TRUE(isTemporaryFileName(fs::path(*written).filename().string())) << *written;
    }
}

// A whole flight and one cut off before its end are kept under their archive names, the flight
// log reads them as the archive's own; a cache's temporary file goes; what a running program may
// still write, and every other file, stays as it is.
TEST_F(InterruptedSavesFolder, StaleFlightsAreKeptAndTheRestRemoved) {
    const std::vector<uint8_t> whole = flightImage(1234, 42);
    const std::vector<uint8_t> cut(whole.begin(), whole.begin() + image::kHeaderSize + 4 * 300);
    leave(".vtl-Ab12cd", whole);
    leave(".vtl-x9y8z7", cut);
    leave(".vtl-q8Zr2x", std::vector<uint8_t>(2000, 'c'));
    testing::writeBytes(m_folder / ".vtl-fresh1", flightImage(5, 6)); // written just now
    leave("notes.txt", {'a'});
    leave(".vtl-notes.txt", {'b'});

    const InterruptedSaves outcome = recoverInterruptedSaves(m_folder.path().string());

    const std::string wholeName = "2025-06-14_103512_S1234_C42_recovered.bin";
    const std::string cutName = "2025-06-14_103512_S1234_C42_partial_recovered.bin";
    EXPECT_EQ(testing::folderNames(m_folder.path()),
              (std::vector<std::string>{".vtl-fresh1", ".vtl-notes.txt", cutName, wholeName,
                                        "notes.txt"}));
    EXPECT_EQ(testing::readBytes(m_folder / wholeName), whole);
    EXPECT_EQ(testing::readBytes(m_folder / cutName), cut);
    std::vector<std::string> recovered = outcome.recovered;
    std::sort(recovered.begin(), recovered.end());
    EXPECT_EQ(recovered, (std::vector<std::string>{(m_folder / cutName).string(),
                                                   (m_folder / wholeName).string()}));
    EXPECT_EQ(outcome.removed, 1u);
    EXPECT_TRUE(outcome.leftBehind.empty());

    const auto rows = scanFlightLog(m_folder.path().string());
    ASSERT_EQ(rows.size(), 3u);
    for (const FlightLogRow& row : rows) {
        if (row.fileName == "notes.txt") {
            continue;
        }
        EXPECT_EQ(row.downloaded, "2025-06-14 10:35:12") << row.fileName;
        EXPECT_TRUE(row.downloadedFromName) << row.fileName;
        EXPECT_EQ(row.serialNumber, 1234) << row.fileName;
        EXPECT_EQ(row.status, row.fileName == wholeName ? LogStatus::Ok : LogStatus::Partial)
            << row.fileName;
    }
}

// The stale limit: a minute and a half ago is taken back, half a minute ago is not.
TEST_F(InterruptedSavesFolder, OnlyFilesUnchangedForAMinute) {
    const std::time_t now = std::time(nullptr);
    std::tm older = *std::localtime(&now);
    std::tm younger = older;
    older.tm_sec -= 90;
    younger.tm_sec -= 30;
    std::mktime(&older);
    std::mktime(&younger);
    leave(".vtl-older1", flightImage(1, 2), older);
    leave(".vtl-young1", flightImage(3, 4), younger);
    const InterruptedSaves outcome = recoverInterruptedSaves(m_folder.path().string());
    ASSERT_EQ(outcome.recovered.size(), 1u);
    EXPECT_EQ(fs::path(outcome.recovered[0]).filename().string(),
              archiveFileName(older, 1, 2, ArchiveKind::Whole, 1, true));
    EXPECT_TRUE(fs::exists(m_folder / ".vtl-young1"));
}

// Nothing archived is ever replaced: a taken name gives the next variant.
TEST_F(InterruptedSavesFolder, AnExistingNameGetsAVariant) {
    const std::string taken = "2025-06-14_103512_S1234_C42_recovered.bin";
    testing::writeBytes(m_folder / taken, {1, 2, 3});
    const std::vector<uint8_t> whole = flightImage(1234, 42);
    leave(".vtl-Ab12cd", whole);
    const InterruptedSaves outcome = recoverInterruptedSaves(m_folder.path().string());
    const fs::path variant = m_folder / "2025-06-14_103512_S1234_C42_recovered-2.bin";
    EXPECT_EQ(outcome.recovered, std::vector<std::string>{variant.string()});
    EXPECT_EQ(testing::readBytes(m_folder / taken), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(testing::readBytes(variant), whole);
}

// A folder that may not be written keeps the flight where it is, and says so: it is never lost.
TEST_F(InterruptedSavesFolder, AFlightThatCannotBeMovedIsLeftAndReported) {
#ifdef _WIN32
    GTEST_SKIP() << "a folder's permission bits do not bind renames on Windows";
#else
    const std::vector<uint8_t> whole = flightImage(1234, 42);
    const fs::path left = leave(".vtl-Ab12cd", whole);
    leave(".vtl-q8Zr2x", {'c', 'a', 'c', 'h', 'e'});
    fs::permissions(m_folder.path(), fs::perms::owner_read | fs::perms::owner_exec);
    InterruptedSaves outcome;
    {
        const testing::WithoutPermissionOverride asAnOrdinaryUser;
        outcome = recoverInterruptedSaves(m_folder.path().string());
    }
    fs::permissions(m_folder.path(), fs::perms::owner_all);
    EXPECT_TRUE(outcome.recovered.empty());
    EXPECT_EQ(outcome.leftBehind, std::vector<std::string>{left.string()});
    EXPECT_EQ(outcome.removed, 0u);
    EXPECT_EQ(testing::readBytes(left), whole);
    EXPECT_EQ(testing::folderNames(m_folder.path()),
              (std::vector<std::string>{".vtl-Ab12cd", ".vtl-q8Zr2x"}));
#endif
}

} // namespace
} // namespace vtl
