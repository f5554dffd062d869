// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/files/flight_log.h"

#include "core/files/flight_notes.h"
#include "core/flight/flight_image.h"
#include "support/file_faults.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>

#ifndef _WIN32
#include <dirent.h>
#endif

namespace vtl {
namespace {

namespace fs = std::filesystem;

// 2 s on the ground, 30 s up to `topCm`, 20 s down again, at 10 samples a second.
std::vector<uint8_t> flightImage(int32_t topCm, uint16_t serial, uint16_t competitor) {
    testing::FlightDescription flight;
    flight.serialNumber = serial;
    flight.competitorNumber = competitor;
    flight.altitudeCm = testing::climbAndGlide(300, topCm, 200, 0, 20);
    flight.altitudeCm.insert(flight.altitudeCm.end(), 20, 0);
    return testing::synthesiseFlightImage(flight);
}

using testing::readText;
using testing::writeBytes;
using testing::writeText;

class FlightLogFolder : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("vtl-log-test-" +
                  std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder);
        fs::create_directories(folder / "older flights");
        writeBytes(folder / "2026-06-14_103512_S1234_C42.bin", flightImage(5000, 1234, 42));
        writeBytes(folder / "2026-06-15_090000_S1234_C7_partial.bin", flightImage(3000, 1234, 7));
        std::vector<uint8_t> corrupt = flightImage(4000, 99, 3);
        corrupt[16] = corrupt[17] = 0; // AC4 0: the pressure divisor is zero
        writeBytes(folder / "2026-06-13_080000_S99_C3_corrupt.bin", corrupt);
        std::ofstream(folder / "notes.txt") << "Wind 3 m/s, thermals after noon.\n";
        // Windows lets only privileged users make symbolic links: there the folder has none.
        std::error_code noLink;
        fs::create_symlink(folder / "nowhere.bin", folder / "gone.bin", noLink);
        linked = !noLink;
        writeBytes(folder / ".hidden.bin", flightImage(5000, 1, 1));
        // A copy without an archive name: its modification time stands for the download.
        writeBytes(folder / "copy.bin", flightImage(2000, 555, 8));
        fs::last_write_time(folder / "copy.bin", fs::last_write_time(folder / "notes.txt") -
                                                     std::chrono::hours(24 * 365 * 30));
        fs::last_write_time(folder / "notes.txt", fs::last_write_time(folder / "notes.txt") -
                                                      std::chrono::hours(24 * 365 * 20));
    }
    void TearDown() override { fs::remove_all(folder); }

    fs::path folder;
    bool linked = false;
};

const FlightLogRow& rowOf(const std::vector<FlightLogRow>& rows, const std::string& name) {
    for (const FlightLogRow& row : rows) {
        if (row.fileName == name) {
            return row;
        }
    }
    throw std::runtime_error("no row for " + name);
}

TEST_F(FlightLogFolder, ListsEveryFileNewestFirstWithWhatItHolds) {
    std::vector<std::string> reported;
    const auto rows =
        scanFlightLog(folder.string(), [&](const FlightLogRow& row, size_t index, size_t total) {
            EXPECT_EQ(index, reported.size());
            EXPECT_EQ(total, linked ? 6u : 5u);
            reported.push_back(row.fileName);
        });
    std::vector<std::string> names;
    for (const FlightLogRow& row : rows) {
        names.push_back(row.fileName);
    }
    // Folders and dot files are no flights of the log; a link to nowhere is, with no time.
    ASSERT_EQ(names.size(), linked ? 6u : 5u);
    EXPECT_EQ(reported, names);
    EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + 3),
              (std::vector<std::string>{"2026-06-15_090000_S1234_C7_partial.bin",
                                        "2026-06-14_103512_S1234_C42.bin",
                                        "2026-06-13_080000_S99_C3_corrupt.bin"}));
    EXPECT_EQ(names[3], "notes.txt");
    EXPECT_EQ(names[4], "copy.bin");
    if (linked) {
        EXPECT_EQ(names[5], "gone.bin");
        EXPECT_EQ(rowOf(rows, "gone.bin").status, LogStatus::Unreadable);
    }

    const FlightLogRow& good = rowOf(rows, "2026-06-14_103512_S1234_C42.bin");
    EXPECT_EQ(good.status, LogStatus::Ok);
    EXPECT_EQ(good.downloaded, "2026-06-14 10:35:12");
    EXPECT_TRUE(good.downloadedFromName);
    EXPECT_EQ(good.serialNumber, 1234);
    EXPECT_EQ(good.competitorNumber, 42);
    EXPECT_EQ(good.samplingCode, 2);
    EXPECT_EQ(good.temperature, 20);
    ASSERT_TRUE(good.figures.maximumM && good.figures.flightTimeS);
    EXPECT_NEAR(*good.figures.maximumM, 50.0, 0.5);
    EXPECT_NEAR(*good.figures.flightTimeS, 50.0, 1.0);
    EXPECT_EQ(good.size, fs::file_size(folder / good.fileName));

    const FlightLogRow& partial = rowOf(rows, "2026-06-15_090000_S1234_C7_partial.bin");
    EXPECT_EQ(partial.status, LogStatus::Partial);
    ASSERT_TRUE(partial.figures.maximumM);
    EXPECT_NEAR(*partial.figures.maximumM, 30.0, 0.5);

    const FlightLogRow& corrupt = rowOf(rows, "2026-06-13_080000_S99_C3_corrupt.bin");
    EXPECT_EQ(corrupt.status, LogStatus::Corrupt);
    EXPECT_FALSE(corrupt.figures.maximumM);

    const FlightLogRow& notes = rowOf(rows, "notes.txt");
    EXPECT_EQ(notes.status, LogStatus::NotAFlight);
    EXPECT_FALSE(notes.serialNumber || notes.figures.maximumM);
    EXPECT_FALSE(notes.downloadedFromName);

    const FlightLogRow& copy = rowOf(rows, "copy.bin");
    EXPECT_EQ(copy.status, LogStatus::Ok);
    EXPECT_EQ(copy.competitorNumber, 8);
    EXPECT_LT(copy.downloaded, notes.downloaded);
}

// A file cut off during the flight decodes and draws like a shorter flight: its missing
// terminator slot is what tells, whatever its name.
TEST_F(FlightLogFolder, FileCutOffDuringTheFlightIsPartial) {
    const std::vector<uint8_t> whole = flightImage(5000, 1234, 42);
    const std::vector<uint8_t> cut(whole.begin(), whole.begin() + image::kHeaderSize + 4 * 400);
    writeBytes(folder / "cut.bin", cut);
    writeBytes(folder / "2026-06-16_120000_S1234_C42.bin", cut);
    const auto rows = scanFlightLog(folder.string());
    for (const char* name : {"cut.bin", "2026-06-16_120000_S1234_C42.bin"}) {
        const FlightLogRow& row = rowOf(rows, name);
        EXPECT_EQ(row.status, LogStatus::Partial) << name;
        EXPECT_EQ(row.competitorNumber, 42) << name;
        ASSERT_TRUE(row.figures.maximumM) << name;
        EXPECT_NEAR(*row.figures.maximumM, 50.0, 0.5) << name;
    }
    EXPECT_EQ(rowOf(rows, "2026-06-14_103512_S1234_C42.bin").status, LogStatus::Ok);
    EXPECT_NE(flightLogCsv({rowOf(rows, "cut.bin")}).find(",partial,cut.bin,"), std::string::npos);
}

// A folder that cannot be listed is reported, never shown as an empty archive.
TEST_F(FlightLogFolder, FolderThatCannotBeListedIsAnError) {
    int error = -1;
    EXPECT_FALSE(scanFlightLog(folder.string(), {}, nullptr, nullptr, &error).empty());
    EXPECT_EQ(error, 0);
    EXPECT_TRUE(scanFlightLog((folder / "missing").string(), {}, nullptr, nullptr, &error).empty());
    EXPECT_EQ(error, ENOENT);
    EXPECT_TRUE(
        scanFlightLog((folder / "notes.txt").string(), {}, nullptr, nullptr, &error).empty());
    EXPECT_EQ(error, ENOTDIR);
#ifndef _WIN32
    const fs::path locked = folder / "older flights";
    writeBytes(locked / "lot.bin", flightImage(5000, 1, 1));
    fs::permissions(locked, fs::perms::none);
    bool denied = false;
    {
        const testing::WithoutPermissionOverride asAUser;
        if (DIR* probe = ::opendir(locked.c_str())) {
            ::closedir(probe);
        } else {
            denied = true;
            EXPECT_TRUE(scanFlightLog(locked.string(), {}, nullptr, nullptr, &error).empty());
        }
    }
    fs::permissions(locked, fs::perms::owner_all);
    if (!denied) {
        GTEST_SKIP() << "this user reads every folder";
    }
    EXPECT_EQ(error, EACCES);
#endif
}

// Links that lead to no file are rows of their own, whether they point nowhere or at each other.
TEST_F(FlightLogFolder, LinksThatLeadToNoFileAreUnreadable) {
    std::error_code noLink;
    fs::create_symlink(folder / "loop-b.bin", folder / "loop-a.bin", noLink);
    fs::create_symlink(folder / "loop-a.bin", folder / "loop-b.bin", noLink);
    fs::create_symlink(folder / "self.bin", folder / "self.bin", noLink);
    if (noLink) {
        GTEST_SKIP() << "no symbolic links here: " << noLink.message();
    }
    fs::create_symlink(folder / "older flights", folder / "folder link");
    const auto rows = scanFlightLog(folder.string());
    for (const char* name : {"gone.bin", "loop-a.bin", "loop-b.bin", "self.bin"}) {
        EXPECT_EQ(rowOf(rows, name).status, LogStatus::Unreadable) << name;
    }
    EXPECT_THROW(rowOf(rows, "folder link"), std::runtime_error);
}

// The plausibility of the header decides first: bytes the recorder never wrote are no flight,
// even where they would decode as a corrupt one; what the download archived as corrupt stays so.
TEST_F(FlightLogFolder, ImplausibleFilesAreNoFlights) {
    const std::vector<uint8_t> flight = flightImage(4000, 99, 3);
    writeBytes(folder / "zeros.bin", std::vector<uint8_t>(flight.size(), 0));
    writeBytes(folder / "2026-06-12_080000_S0_C0_corrupt.bin",
               std::vector<uint8_t>(flight.size(), 0));
    std::vector<uint8_t> divisorZero = flight;
    divisorZero[16] = divisorZero[17] = 0;
    writeBytes(folder / "copy of corrupt.bin", divisorZero);
    const auto rows = scanFlightLog(folder.string());
    EXPECT_EQ(rowOf(rows, "zeros.bin").status, LogStatus::NotAFlight);
    EXPECT_EQ(rowOf(rows, "copy of corrupt.bin").status, LogStatus::NotAFlight);
    EXPECT_EQ(rowOf(rows, "2026-06-12_080000_S0_C0_corrupt.bin").status, LogStatus::Corrupt);
    EXPECT_EQ(rowOf(rows, "2026-06-13_080000_S99_C3_corrupt.bin").status, LogStatus::Corrupt);
}

TEST(FlightLog, DownloadTimeComesOnlyFromArchiveNames) {
    for (const char* name :
         {"2026-06-14_103512_S1234_C42-2.bin", "2026-06-14_103512_S1234_C42_partial-2.bin",
          "2026-06-14_103512_S1234_C42_corrupt-3.bin"}) {
        EXPECT_EQ(downloadTimeFromName(name), "2026-06-14 10:35:12") << name;
    }
    EXPECT_EQ(downloadTimeFromName("2026-06-14_103512.bin"), "");
    EXPECT_EQ(downloadTimeFromName("2026-06-14_1035x2_S1_C2.bin"), "");
    EXPECT_EQ(downloadTimeFromName("lot7.bin"), "");
}

TEST_F(FlightLogFolder, CacheServesUnchangedFilesAndRereadsChangedOnes) {
    const fs::path good = folder / "2026-06-14_103512_S1234_C42.bin";
    scanFlightLog(folder.string());
    ASSERT_TRUE(fs::exists(folder / kFlightLogCacheName));

    // Same size and time stamp, other bytes: the cache is believed, so the file is not read.
    const auto stamp = fs::last_write_time(good);
    const std::vector<uint8_t> garbage(fs::file_size(good), 0x55);
    writeBytes(good, garbage);
    fs::last_write_time(good, stamp);
    EXPECT_EQ(rowOf(scanFlightLog(folder.string()), good.filename().string()).status,
              LogStatus::Ok);

    // Same size as noted, a new time stamp: read again.
    const std::vector<uint8_t> lower = flightImage(4000, 1234, 42);
    ASSERT_EQ(lower.size(), garbage.size());
    writeBytes(good, lower);
    fs::last_write_time(good, stamp + std::chrono::seconds(5));
    const auto rows = scanFlightLog(folder.string());
    const FlightLogRow& reread = rowOf(rows, good.filename().string());
    EXPECT_EQ(reread.status, LogStatus::Ok);
    ASSERT_TRUE(reread.figures.maximumM);
    EXPECT_NEAR(*reread.figures.maximumM, 40.0, 0.5);

    // The time stamp as noted, another size: read again.
    const auto newStamp = fs::last_write_time(good);
    writeBytes(good, std::vector<uint8_t>(100, 0x55));
    fs::last_write_time(good, newStamp);
    EXPECT_EQ(rowOf(scanFlightLog(folder.string()), good.filename().string()).status,
              LogStatus::NotAFlight);
}

// Notes come from the notes file at every listing, for cached rows too, and never go into the
// cache: a renamed flight keeps its note, a changed one shows its old note as stale.
TEST_F(FlightLogFolder, NotesAreReadWithEveryListingAndNeverCached) {
    const std::string good = "2026-06-14_103512_S1234_C42.bin";
    const std::string copy = "copy.bin";
    scanFlightLog(folder.string());
    const std::string cache = readText(folder / kFlightLogCacheName);
    writeFlightNote((folder / good).string(), "tow 40 m");
    writeFlightNote((folder / copy).string(), "wind 3");

    auto rows = scanFlightLog(folder.string());
    EXPECT_EQ(rowOf(rows, good).note, "tow 40 m");
    EXPECT_FALSE(rowOf(rows, good).noteStale);
    EXPECT_EQ(rowOf(rows, "notes.txt").note, "");
    EXPECT_EQ(readText(folder / kFlightLogCacheName), cache);

    fs::rename(folder / good, folder / "renamed.bin");
    writeBytes(folder / copy, flightImage(2500, 555, 8));
    rows = scanFlightLog(folder.string());
    EXPECT_EQ(rowOf(rows, "renamed.bin").note, "tow 40 m");
    EXPECT_FALSE(rowOf(rows, "renamed.bin").noteStale);
    EXPECT_EQ(rowOf(rows, copy).note, "wind 3");
    EXPECT_TRUE(rowOf(rows, copy).noteStale);
    EXPECT_EQ(readText(folder / kFlightLogCacheName).find("tow 40 m"), std::string::npos);

    // A notes file that cannot be read as notes hides the notes and stops no listing.
    writeText(folder / kFlightNotesFileName, "{ not notes");
    rows = scanFlightLog(folder.string());
    EXPECT_EQ(rowOf(rows, "renamed.bin").note, "");
    EXPECT_EQ(rowOf(rows, "renamed.bin").status, LogStatus::Ok);
}

// A file that is gone leaves the cache at the next listing, though nothing else changed.
TEST_F(FlightLogFolder, CacheForgetsFilesThatAreGone) {
    scanFlightLog(folder.string());
    const fs::path cache = folder / kFlightLogCacheName;
    const auto cachedNames = [&] {
        std::vector<std::string> names;
        if (const auto rows = parseFlightLogCache(readText(cache))) {
            for (const FlightLogRow& row : *rows) {
                names.push_back(row.fileName);
            }
        }
        std::sort(names.begin(), names.end());
        return names;
    };
    const std::string gone = "2026-06-14_103512_S1234_C42.bin";
    const std::vector<std::string> before = cachedNames();
    ASSERT_EQ(std::count(before.begin(), before.end(), gone), 1);

    fs::remove(folder / gone);
    const auto rows = scanFlightLog(folder.string());
    EXPECT_THROW(rowOf(rows, gone), std::runtime_error);
    EXPECT_EQ(cachedNames(), (std::vector<std::string>{"2026-06-13_080000_S99_C3_corrupt.bin",
                                                       "2026-06-15_090000_S1234_C7_partial.bin",
                                                       "copy.bin", "notes.txt"}));
}

TEST_F(FlightLogFolder, DamagedCacheIsRebuilt) {
    const auto first = scanFlightLog(folder.string());
    const fs::path cache = folder / kFlightLogCacheName;
    const std::string whole = readText(cache);
    ASSERT_TRUE(parseFlightLogCache(whole));

    for (const std::string& damaged :
         {whole.substr(0, whole.size() / 2), std::string(), whole.substr(0, whole.find('\t'))}) {
        std::ofstream(cache, std::ios::binary | std::ios::trunc) << damaged;
        const auto rows = scanFlightLog(folder.string());
        ASSERT_EQ(rows.size(), first.size());
        for (size_t i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(rows[i].fileName, first[i].fileName);
            EXPECT_EQ(rows[i].status, first[i].status);
            EXPECT_EQ(rows[i].figures.maximumM, first[i].figures.maximumM);
        }
        EXPECT_TRUE(parseFlightLogCache(readText(cache))) << "not rebuilt";
    }
}

// Whatever else bears the cache's name is the user's: it is neither followed nor replaced, and
// the folder is listed as well as without it.
TEST_F(FlightLogFolder, WhatIsNoCacheOfOursIsLeftAlone) {
    const auto first = scanFlightLog(folder.string());
    const fs::path cache = folder / kFlightLogCacheName;
    const std::string foreign("\x7f"
                              "ELF\0\0garbage",
                              12);
    const fs::path victim = folder / "older flights" / "victim.txt";
    std::ofstream(victim, std::ios::binary) << "the user's own words\n";
    const auto listsAsBefore = [&](const char* what) {
        bool told = false;
        const auto rows = scanFlightLog(folder.string(), {}, nullptr, &told);
        EXPECT_TRUE(told) << what;
        ASSERT_EQ(rows.size(), first.size()) << what;
        for (size_t i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(rows[i].fileName, first[i].fileName) << what;
            EXPECT_EQ(rows[i].status, first[i].status) << what;
        }
    };

    fs::remove(cache);
    std::ofstream(cache, std::ios::binary) << foreign;
    listsAsBefore("a foreign file");
    EXPECT_EQ(readText(cache), foreign);

    // Far larger than any cache, though it begins as one: neither read into memory nor replaced.
    // Sparse, so it takes no room on the disk.
    constexpr uintmax_t kHuge = 65u * 1024 * 1024;
    fs::remove(cache);
    std::ofstream(cache, std::ios::binary) << "vantorel-log-cache 2\n";
    fs::resize_file(cache, kHuge);
    listsAsBefore("a file too large for a cache");
    EXPECT_EQ(fs::file_size(cache), kHuge);

    std::error_code noLink;
    fs::remove(cache);
    fs::create_symlink(fs::path("older flights") / "victim.txt", cache, noLink);
    if (!noLink) {
        listsAsBefore("a link to a file");
        EXPECT_TRUE(fs::is_symlink(fs::symlink_status(cache)));
        EXPECT_EQ(readText(victim), "the user's own words\n");
    }

    fs::remove(cache);
    fs::create_directory(cache);
    listsAsBefore("a folder");
    EXPECT_TRUE(fs::is_empty(cache));
    fs::remove(cache);

    bool told = true;
    scanFlightLog(folder.string(), {}, nullptr, &told);
    EXPECT_FALSE(told);
    EXPECT_TRUE(parseFlightLogCache(readText(cache))) << "no cache where nothing stood";
}

TEST(FlightLogCache, KeepsEveryValueAndRefusesWhatIsOutOfBounds) {
    FlightLogRow row;
    row.fileName = "lot 7, final.bin";
    row.size = 4321;
    row.modifiedTicks = -1234567890123;
    row.status = LogStatus::Partial;
    row.serialNumber = 65535;
    row.competitorNumber = 0;
    row.samplingCode = 15;
    row.temperature = -12;
    row.figures.maximumM = 123.456789012345;
    row.figures.maximumS = 0.1;
    row.figures.meanSinkMps = -0.3;
    FlightLogRow empty;
    empty.fileName = "notes.txt";
    empty.status = LogStatus::NotAFlight;
    const std::string text = flightLogCacheText({row, empty});
    const auto back = parseFlightLogCache(text);
    ASSERT_TRUE(back);
    ASSERT_EQ(back->size(), 2u);
    const FlightLogRow& r = back->front();
    EXPECT_EQ(r.fileName, row.fileName);
    EXPECT_EQ(r.size, row.size);
    EXPECT_EQ(r.modifiedTicks, row.modifiedTicks);
    EXPECT_EQ(r.status, row.status);
    EXPECT_EQ(r.serialNumber, row.serialNumber);
    EXPECT_EQ(r.competitorNumber, row.competitorNumber);
    EXPECT_EQ(r.samplingCode, row.samplingCode);
    EXPECT_EQ(r.temperature, row.temperature);
    EXPECT_EQ(r.figures.maximumM, row.figures.maximumM);
    EXPECT_EQ(r.figures.maximumS, row.figures.maximumS);
    EXPECT_FALSE(r.figures.startS);
    EXPECT_EQ(r.figures.meanSinkMps, row.figures.meanSinkMps);
    EXPECT_FALSE(back->back().serialNumber);

    const auto replaced = [&](const std::string& from, const std::string& to) {
        std::string changed = text;
        changed.replace(changed.find(from), from.size(), to);
        return changed;
    };
    EXPECT_FALSE(parseFlightLogCache(replaced("\t65535\t", "\t65536\t")));
    EXPECT_FALSE(parseFlightLogCache(replaced("\t15\t", "\t16\t")));
    EXPECT_FALSE(parseFlightLogCache(replaced("\t-12\t", "\t-129\t")));
    EXPECT_FALSE(parseFlightLogCache(replaced("\t4321\t", "\t-4321\t")));
    EXPECT_FALSE(parseFlightLogCache(replaced("\t1\t65535", "\t9\t65535"))); // no such status
    EXPECT_FALSE(parseFlightLogCache(replaced("\t1\t65535", "\t3\t65535"))); // never cached
    EXPECT_FALSE(parseFlightLogCache(replaced("\t0.1\t", "\tnan\t")));
    EXPECT_FALSE(parseFlightLogCache(replaced("\t0.1\t", "\t0.1\t\t")));
    EXPECT_FALSE(parseFlightLogCache(replaced("end 2", "end 3")));
    // A cache of the earlier version (cut files called whole, maxima not as the panel shows
    // them) is read anew.
    EXPECT_FALSE(parseFlightLogCache(replaced("cache 2", "cache 1")));
}

TEST(FlightLogCsv, GoldenText) {
    FlightLogRow row;
    row.fileName = "2026-06-14_103512_S1234_C42.bin";
    row.size = 2164;
    row.downloaded = "2026-06-14 10:35:12";
    row.status = LogStatus::Ok;
    row.serialNumber = 1234;
    row.competitorNumber = 42;
    row.samplingCode = 2;
    row.temperature = -3;
    row.figures.maximumM = 52.35;
    row.figures.maximumS = 31.2;
    row.figures.flightTimeS = 50.1;
    row.figures.bestClimbMps = 1.666;
    row.figures.meanSinkMps = -0.001;
    FlightLogRow odd;
    odd.fileName = "wind \"3\", gusts.txt";
    odd.size = 33;
    odd.downloaded = "2026-06-01 07:00:00";
    odd.status = LogStatus::NotAFlight;
    odd.note = "ciepło, \"termika\"\nzłe lądowanie";
    // A note written for other bytes under this name is marked, as the window greys it.
    odd.noteStale = true;
    EXPECT_EQ(flightLogCsv({row, odd}),
              "downloaded,serial,competitor,sampling_code,temperature_c,maximum_m,"
              "time_to_maximum_s,flight_time_s,best_climb_mps,mean_sink_mps,status,file,"
              "size_bytes,note,note_stale\r\n"
              "2026-06-14 10:35:12,1234,42,2,-3,52.4,31.20,50.10,1.67,0.00,ok,"
              "2026-06-14_103512_S1234_C42.bin,2164,,\r\n"
              "2026-06-01 07:00:00,,,,,,,,,,not a flight,\"wind \"\"3\"\", gusts.txt\",33,"
              "\"ciepło, \"\"termika\"\"\nzłe lądowanie\",yes\r\n");
    EXPECT_EQ(figureText(2.5, 1, ','), "2,5");
}

} // namespace
} // namespace vtl
