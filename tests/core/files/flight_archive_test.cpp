// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/files/flight_archive.h"

#include "support/test_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace vtl {
namespace {

namespace fs = std::filesystem;

using testing::june14;

TEST(FlightArchive, NamedAfterTimeSerialAndCompetitor) {
    EXPECT_EQ(archiveFileName(june14(), 1234, 42), "2026-06-14_103512_S1234_C42.bin");
    EXPECT_EQ(archiveFileName(june14(), 1234, 42, ArchiveKind::Partial),
              "2026-06-14_103512_S1234_C42_partial.bin");
    EXPECT_EQ(archiveFileName(june14(), 7, 0, ArchiveKind::Corrupt),
              "2026-06-14_103512_S7_C0_corrupt.bin");
}

// Every name the archive writes reads back as what it was written from; the flight log relies
// on it for the download time and the kind.
TEST(FlightArchive, NamesReadBackAsWritten) {
    std::tm midnight = june14();
    midnight.tm_hour = midnight.tm_min = midnight.tm_sec = 0;
    for (const std::tm& time : {june14(), midnight}) {
        for (ArchiveKind kind : {ArchiveKind::Whole, ArchiveKind::Partial, ArchiveKind::Corrupt}) {
            for (int variant : {1, 2, 17, 1000}) {
                for (auto [serial, competitor] :
                     {std::pair<uint16_t, uint16_t>{1234, 42}, {0, 0}, {65535, 10000}}) {
                    for (bool recovered : {false, true}) {
                        const std::string name =
                            archiveFileName(time, serial, competitor, kind, variant, recovered);
                        const auto parsed = parseArchiveFileName(name);
                        ASSERT_TRUE(parsed) << name;
                        EXPECT_EQ(parsed->serialNumber, serial) << name;
                        EXPECT_EQ(parsed->competitorNumber, competitor) << name;
                        EXPECT_EQ(parsed->kind, kind) << name;
                        EXPECT_EQ(parsed->variant, variant) << name;
                        EXPECT_EQ(parsed->recovered, recovered) << name;
                        EXPECT_EQ(archiveFileName(parsed->localTime, parsed->serialNumber,
                                                  parsed->competitorNumber, parsed->kind,
                                                  parsed->variant, parsed->recovered),
                                  name);
                    }
                }
            }
        }
    }
    EXPECT_EQ(archiveFileName(june14(), 1234, 42, ArchiveKind::Partial, 2),
              "2026-06-14_103512_S1234_C42_partial-2.bin");
    EXPECT_EQ(archiveFileName(june14(), 1234, 42, ArchiveKind::Partial, 2, true),
              "2026-06-14_103512_S1234_C42_partial_recovered-2.bin");
}

TEST(FlightArchive, OtherNamesAreNotArchiveNames) {
    for (const char* name : {
             "lot7.bin",
             "2026-06-14_103512.bin",                           // no serial or competitor
             "2026-06-14_1035x2_S1_C2.bin",                     // not a time
             "2026-06-14 103512_S1_C2.bin",                     // no '_' between date and time
             "2026-13-14_103512_S1_C2.bin",                     // no thirteenth month
             "2026-06-14_243512_S1_C2.bin",                     // no hour 24
             "0026-06-14_103512_S1_C2.bin",                     // %Y would not write it so
             "2026-06-14_103512_S01_C2.bin",                    // leading zero
             "2026-06-14_103512_S65536_C2.bin",                 // beyond a word
             "2026-06-14_103512_S1_C-2.bin",                    // a sign
             "2026-06-14_103512_S1_C2_broken.bin",              // another suffix
             "2026-06-14_103512_S1_C2-1.bin",                   // the first carries no variant
             "2026-06-14_103512_S1_C2-02.bin",                  // leading zero
             "2026-06-14_103512_S1_C2-1001.bin",                // more than the archive tries
             "2026-06-14_103512_S1_C2-.bin",                    // a dash alone
             "2026-06-14_103512_S1_C2_partial_corrupt.bin",     // two kinds
             "2026-06-14_103512_S1_C2_recovered_partial.bin",   // the mark before the kind
             "2026-06-14_103512_S1_C2_recovered_recovered.bin", // twice
             "2026-06-14_103512_S1_C2-2_recovered.bin",         // the variant comes last
             "2026-06-14_103512_S1_C2.BIN",                     // another extension
             "2026-06-14_103512_S1_C2.bin.txt",
             "2026-06-14_103512_S1_C2 (copy).bin",
             "",
         }) {
        EXPECT_FALSE(parseArchiveFileName(name)) << name;
    }
}

TEST(FlightArchive, NeverReplacesAnArchivedFlight) {
    const fs::path folder = fs::temp_directory_path() / "vtl-archive-test" / "flights";
    fs::remove_all(folder.parent_path());
    const std::vector<uint8_t> first = {1, 2, 3};
    const std::vector<uint8_t> second = {4, 5};
    const auto a = archiveFlight(folder.string(), first, june14(), 1234, 42);
    const auto b = archiveFlight(folder.string(), second, june14(), 1234, 42);
    ASSERT_TRUE(a && b);
    EXPECT_EQ(fs::path(*a).filename(), "2026-06-14_103512_S1234_C42.bin");
    EXPECT_EQ(fs::path(*b).filename(), "2026-06-14_103512_S1234_C42-2.bin");
    EXPECT_EQ(testing::readBytes(*a), first);
    EXPECT_EQ(testing::readBytes(*b), second);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 2);

    // A file where the folder should be: nothing can be written, and nothing is left behind.
    const fs::path blocked = folder.parent_path() / "blocked";
    std::ofstream(blocked) << "x";
    EXPECT_FALSE(archiveFlight((blocked / "flights").string(), first, june14(), 1, 2));
    fs::remove_all(folder.parent_path());
}

// The copy is written under a short name of its own before it takes its archive name, so that
// nothing standing at a name derived from the archive name (left by an earlier run) stops it.
TEST(FlightArchive, NothingLeftBesideTheNameStopsTheCopy) {
    const fs::path folder = fs::temp_directory_path() / "vtl-archive-leftovers" / "flights";
    fs::remove_all(folder.parent_path());
    const std::string name = archiveFileName(june14(), 1234, 42);
    for (const char* suffix : {".partial", ".tmp", "~"}) {
        fs::create_directories(folder / (name + suffix));
    }
    const std::vector<uint8_t> image(200, 0x5C);
    const auto written = archiveFlight(folder.string(), image, june14(), 1234, 42);
    ASSERT_TRUE(written);
    EXPECT_EQ(fs::path(*written), folder / name);
    EXPECT_EQ(testing::readBytes(folder / name), image);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 4);
    fs::remove_all(folder.parent_path());
}

} // namespace
} // namespace vtl
