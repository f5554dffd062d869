// SPDX-License-Identifier: GPL-3.0-or-later
// A file's row is read in one pass over one record that the reading thread reuses; the rows must
// be those of the plausibility test, the load and the drawing pass made one after another, for
// flights, cut and damaged flights and files that are none, under names of every archive kind.
#include "core/files/flight_archive.h"
#include "core/files/flight_log.h"
#include "core/flight/flight_image.h"
#include "support/flight_log_reference.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace vtl {
namespace {

namespace fs = std::filesystem;

constexpr size_t kFuzzControlSize = 18;

::testing::AssertionResult sameRow(const FlightLogRow& row, const FlightLogRow& expected) {
    const FlightFigures& f = row.figures;
    const FlightFigures& e = expected.figures;
    const std::pair<const char*, bool> fields[] = {
        {"status", row.status == expected.status},
        {"serial", row.serialNumber == expected.serialNumber},
        {"competitor", row.competitorNumber == expected.competitorNumber},
        {"sampling code", row.samplingCode == expected.samplingCode},
        {"temperature", row.temperature == expected.temperature},
        {"maximum", f.maximumM == e.maximumM},
        {"time of maximum", f.maximumS == e.maximumS},
        {"start", f.startS == e.startS},
        {"landing", f.landingS == e.landingS},
        {"flight time", f.flightTimeS == e.flightTimeS},
        {"best climb", f.bestClimbMps == e.bestClimbMps},
        {"mean sink", f.meanSinkMps == e.meanSinkMps},
    };
    for (const auto& [name, same] : fields) {
        if (!same) {
            return ::testing::AssertionFailure()
                   << name << " differs; rows as cached:\n"
                   << flightLogCacheText({row}) << flightLogCacheText({expected});
        }
    }
    return ::testing::AssertionSuccess();
}

// Every content the log may meet, by a name that says where it came from.
std::map<std::string, std::vector<uint8_t>> contents() {
    std::map<std::string, std::vector<uint8_t>> found;
    for (const auto& entry : fs::directory_iterator(VTL_SAMPLES)) {
        if (entry.path().extension() != ".bin") {
            continue;
        }
        const std::vector<uint8_t> bytes = testing::readBytes(entry.path());
        const std::string stem = entry.path().stem().string();
        found["sample " + stem] = bytes;
        // Cut off during the flight; cut inside a slot; with one coefficient zeroed (a divisor of
        // zero) and out of its range; a ground pressure no launch site has.
        found["cut " + stem] = {bytes.begin(), bytes.begin() + bytes.size() / 2};
        found["ragged " + stem] = {bytes.begin(), bytes.begin() + image::kHeaderSize + 4 * 50 + 3};
        std::vector<uint8_t> damaged = bytes;
        damaged[16] = damaged[17] = 0;
        found["no AC4 " + stem] = damaged;
        damaged = bytes;
        damaged[10] ^= 0x80;
        found["AC1 out of range " + stem] = damaged;
        damaged = bytes;
        for (size_t slot = image::kHeaderSize; slot + image::kSlotSize <= damaged.size();
             slot += image::kSlotSize) {
            image::writeWord(damaged.data(), slot + image::kSlotPressure, 0x0800);
        }
        found["low pressure " + stem] = damaged;
    }
    for (const auto& folder : fs::directory_iterator(VTL_FUZZ_SEEDS)) {
        const bool imageSeeds = folder.path().filename() == "flight_image_fuzzer";
        for (const auto& entry : fs::directory_iterator(folder.path())) {
            const std::vector<uint8_t> bytes = testing::readBytes(entry.path());
            const std::string name =
                folder.path().filename().string() + " " + entry.path().filename().string();
            found["seed " + name] = bytes;
            if (imageSeeds && bytes.size() > kFuzzControlSize) {
                found["image of seed " + name] = {bytes.begin() + kFuzzControlSize, bytes.end()};
            }
        }
    }
    found["empty"] = {};
    found["header only"] = std::vector<uint8_t>(image::kHeaderSize, 0x55);
    found["text"] = {'W', 'i', 'n', 'd', ' ', '3', ' ', 'm', '/', 's', '\n'};
    return found;
}

// Each content under a plain name and under an archive name of each kind, in one folder.
struct ListedFolder {
    testing::TemporaryFolder folder;
    std::map<std::string, std::string> contentOf; // file name -> what it holds

    ListedFolder() {
        const ArchiveKind kinds[] = {ArchiveKind::Whole, ArchiveKind::Partial,
                                     ArchiveKind::Corrupt};
        std::tm time = testing::june14();
        uint16_t competitor = 0;
        for (const auto& [what, bytes] : contents()) {
            const std::string plain = "file" + std::to_string(competitor) + ".bin";
            testing::writeBytes(folder / plain, bytes);
            contentOf[plain] = what;
            for (const ArchiveKind kind : kinds) {
                const std::string name = archiveFileName(time, 1234, competitor, kind);
                testing::writeBytes(folder / name, bytes);
                contentOf[name] = what;
            }
            ++competitor;
            time.tm_hour = competitor / 60;
            time.tm_min = competitor % 60;
        }
    }
};

TEST(FlightLogRows, OnePassGivesTheRowsOfThePassesOneAfterAnother) {
    const ListedFolder listed;
    ASSERT_GE(listed.contentOf.size(), 4u * (5 * 6 + 40));
    std::map<LogStatus, int> statuses;
    // Read one after another on this thread, so that each file's record held another flight.
    for (const auto& [name, what] : listed.contentOf) {
        const std::string path = (listed.folder / name).string();
        FlightLogRow row;
        FlightLogRow expected;
        readFlightLogFile(path, row);
        testing::readFlightLogFileInThreePasses(path, expected);
        EXPECT_TRUE(sameRow(row, expected)) << what << " as " << name;
        ++statuses[expected.status];
    }
    // Every state but unreadable met, and many of each.
    for (const LogStatus status :
         {LogStatus::Ok, LogStatus::Partial, LogStatus::Corrupt, LogStatus::NotAFlight}) {
        EXPECT_GE(statuses[status], 5) << logStatusName(status);
    }
}

TEST(FlightLogRows, ListingOnEveryCoreGivesTheSameRowsAndCache) {
    const ListedFolder listed;
    const std::vector<FlightLogRow> rows = scanFlightLog(listed.folder.path().string());
    ASSERT_EQ(rows.size(), listed.contentOf.size());
    std::vector<FlightLogRow> expectedRows;
    for (const FlightLogRow& row : rows) {
        FlightLogRow expected = row;
        testing::readFlightLogFileInThreePasses((listed.folder / row.fileName).string(), expected);
        EXPECT_TRUE(sameRow(row, expected)) << listed.contentOf.at(row.fileName);
        expectedRows.push_back(expected);
    }
    EXPECT_EQ(testing::readText(listed.folder / kFlightLogCacheName),
              flightLogCacheText(expectedRows));
}

} // namespace
} // namespace vtl
