// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/files/keep_download.h"

#include "core/flight/flight_image.h"
#include "flight_synthesiser.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <memory>

namespace vtl {
namespace {

namespace fs = std::filesystem;

using testing::june14;

size_t filesIn(const fs::path& folder) {
    std::error_code error;
    if (!fs::exists(folder, error)) {
        return 0;
    }
    return static_cast<size_t>(
        std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

// A download of a synthesised flight, announced with another reference word than its header's.
DownloadedImage download(uint16_t serial, uint16_t competitor) {
    testing::FlightDescription flight;
    flight.serialNumber = serial;
    flight.competitorNumber = competitor;
    flight.altitudeCm.assign(200, 0);
    for (size_t i = 60; i < 140; ++i) {
        flight.altitudeCm[i] = static_cast<int32_t>(i - 60) * 500;
    }
    DownloadedImage image;
    image.bytes = testing::synthesiseFlightImage(flight);
    image.referenceWord = 10020;
    image.announcedBytes = static_cast<uint32_t>(image.bytes.size());
    return image;
}

class KeepDownload : public ::testing::Test {
protected:
    std::string archive() const { return (m_folder / "archive").string(); }

    testing::TemporaryFolder m_folder;
    std::unique_ptr<FlightRecord> m_record = std::make_unique<FlightRecord>();
};

TEST_F(KeepDownload, AWholeFlightBecomesTheFlightAndIsKeptAsSaved) {
    const DownloadedImage image = download(1234, 42);
    const KeptDownload kept = keepDownload(image, *m_record, archive(), june14());
    EXPECT_TRUE(kept.accepted());
    EXPECT_TRUE(kept.complete);
    EXPECT_EQ(kept.kind, ArchiveKind::Whole);
    EXPECT_FALSE(kept.archiveFailed);
    ASSERT_TRUE(kept.keptPath);
    EXPECT_EQ(fs::path(*kept.keptPath).filename(), "2026-06-14_103512_S1234_C42.bin");
    EXPECT_EQ(m_record->serialNumber, 1234);
    EXPECT_EQ(m_record->competitorNumber, 42);
    // The archive holds what saving the flight writes: the announced reference word included.
    const std::vector<uint8_t> saved(m_record->rawImage.begin(),
                                     m_record->rawImage.begin() + m_record->rawLength);
    EXPECT_EQ(testing::readBytes(*kept.keptPath), saved);
    EXPECT_EQ(image::readWord(saved.data(), image::kReferenceWord), 10020);
}

TEST_F(KeepDownload, AnIncompleteTransferIsTheFlightButKeptAsPartial) {
    DownloadedImage image = download(1234, 7);
    image.complete = false;
    image.announcedBytes = static_cast<uint32_t>(image.bytes.size()) + 4096;
    const KeptDownload kept = keepDownload(image, *m_record, archive(), june14());
    EXPECT_TRUE(kept.accepted());
    EXPECT_FALSE(kept.complete);
    EXPECT_EQ(kept.receivedBytes, image.bytes.size());
    EXPECT_EQ(kept.announcedBytes, image.bytes.size() + 4096);
    ASSERT_TRUE(kept.keptPath);
    EXPECT_EQ(fs::path(*kept.keptPath).filename(), "2026-06-14_103512_S1234_C7_partial.bin");
}

TEST_F(KeepDownload, AnImageThatDoesNotDecodeLeavesTheFlightAndIsKeptAsCorrupt) {
    ASSERT_TRUE(keepDownload(download(1234, 42), *m_record, std::nullopt, june14()).accepted());
    DownloadedImage corrupt = download(99, 3);
    corrupt.bytes[16] = corrupt.bytes[17] = 0; // AC4 0: the pressure divisor is zero
    const KeptDownload kept = keepDownload(corrupt, *m_record, archive(), june14());
    EXPECT_FALSE(kept.accepted());
    EXPECT_EQ(kept.handover, HandoverResult::Corrupt);
    EXPECT_EQ(m_record->serialNumber, 1234); // the previous flight, whole
    ASSERT_TRUE(kept.keptPath);
    EXPECT_EQ(fs::path(*kept.keptPath).filename(), "2026-06-14_103512_S99_C3_corrupt.bin");
    std::vector<uint8_t> expected = corrupt.bytes;
    image::writeWord(expected.data(), image::kReferenceWord, 10020);
    EXPECT_EQ(testing::readBytes(*kept.keptPath), expected);

    // Too short for a header: still kept, so that the user sees what came.
    DownloadedImage scrap;
    scrap.bytes.assign(20, 0x11);
    const KeptDownload short_ = keepDownload(scrap, *m_record, archive(), june14());
    EXPECT_EQ(short_.handover, HandoverResult::TooShort);
    ASSERT_TRUE(short_.keptPath);
    std::vector<uint8_t> scrapKept = scrap.bytes;
    image::writeWord(scrapKept.data(), image::kReferenceWord, image::kReferenceWordNominal);
    EXPECT_EQ(testing::readBytes(*short_.keptPath), scrapKept);
    EXPECT_EQ(m_record->serialNumber, 1234);
}

TEST_F(KeepDownload, AnArchiveThatCannotBeWrittenStopsNothing) {
    testing::writeText(m_folder / "archive", "a file where the folder should be");
    const KeptDownload kept = keepDownload(download(1234, 42), *m_record, archive(), june14());
    EXPECT_TRUE(kept.accepted());
    EXPECT_TRUE(kept.archiveFailed);
    EXPECT_FALSE(kept.keptPath);
    EXPECT_EQ(m_record->serialNumber, 1234);
}

TEST_F(KeepDownload, WithoutAnArchiveNothingIsWrittenAndNothingFails) {
    DownloadedImage corrupt = download(99, 3);
    corrupt.bytes[16] = corrupt.bytes[17] = 0;
    for (const DownloadedImage& image : {download(1234, 42), corrupt}) {
        const KeptDownload kept = keepDownload(image, *m_record, std::nullopt, june14());
        EXPECT_FALSE(kept.archiveFailed);
        EXPECT_FALSE(kept.keptPath);
    }
    EXPECT_EQ(filesIn(archive()), 0u);
    EXPECT_EQ(m_record->serialNumber, 1234);
}

} // namespace
} // namespace vtl
