// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/files/keep_download.h"

#include "core/flight/flight_image.h"

#include <vector>

namespace vtl {
namespace {

uint16_t wordOrZero(const std::vector<uint8_t>& image, size_t offset) {
    return image.size() >= offset + 2 ? image::readWord(image.data(), offset) : 0;
}

} // namespace

KeptDownload keepDownload(const DownloadedImage& downloaded, FlightRecord& target,
                          const std::optional<std::string>& archiveFolder,
                          const std::tm& localTime) {
    KeptDownload kept;
    kept.complete = downloaded.complete;
    kept.receivedBytes = static_cast<uint32_t>(downloaded.bytes.size());
    kept.announcedBytes = downloaded.announcedBytes;
    kept.handover = acceptDownloadedImage(target, downloaded.bytes.data(), downloaded.bytes.size(),
                                          downloaded.referenceWord, FlightRole::Current);
    kept.kind = !kept.accepted()      ? ArchiveKind::Corrupt
                : downloaded.complete ? ArchiveKind::Whole
                                      : ArchiveKind::Partial;
    if (!archiveFolder) {
        return kept;
    }
    // Byte for byte what saving the flight would write: the announced reference word in the
    // header, as the record keeps it.
    const std::vector<uint8_t> bytes = downloadedImageBytes(
        downloaded.bytes.data(), downloaded.bytes.size(), downloaded.referenceWord);
    kept.keptPath =
        archiveFlight(*archiveFolder, bytes, localTime, wordOrZero(bytes, image::kSerialNumber),
                      wordOrZero(bytes, image::kCompetitorNumber), kept.kind);
    kept.archiveFailed = !kept.keptPath;
    return kept;
}

} // namespace vtl
