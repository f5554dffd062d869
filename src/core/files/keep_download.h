// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/files/flight_archive.h"
#include "core/flight/flight_record.h"
#include "core/flight/image_handover.h"

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

namespace vtl {

// What became of a downloaded image: whether it is the flight now, what the archive holds of it,
// and what the "incomplete download" sentence needs. The window and the command line tell it
// each in its own way.
struct KeptDownload {
    HandoverResult handover = HandoverResult::Accepted;
    ArchiveKind kind = ArchiveKind::Whole; // what the archive copy is (or would have been)
    bool complete = true;
    uint32_t receivedBytes = 0;
    uint32_t announcedBytes = 0;         // 0: the device announced no size
    std::optional<std::string> keptPath; // where the archive copy was written
    bool archiveFailed = false;          // a copy was asked for and could not be written

    bool accepted() const { return handover == HandoverResult::Accepted; }
};

// The one way a download is taken: the image replaces the flight in `target` only when it decodes
// (otherwise `target` keeps what it held), and every image that came is kept in the archive folder
// before the caller writes or draws anything: whole, "_partial" when the transfer ended early,
// "_corrupt" when it cannot be decoded. No folder: nothing is archived (and nothing fails).
// `localTime` names the copy.
KeptDownload keepDownload(const DownloadedImage& downloaded, FlightRecord& target,
                          const std::optional<std::string>& archiveFolder,
                          const std::tm& localTime);

} // namespace vtl
