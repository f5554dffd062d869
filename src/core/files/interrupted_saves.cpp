// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/files/interrupted_saves.h"

#include "core/files/flight_archive.h"
#include "core/files/measurement_file.h"
#include "core/flight/flight_image.h"
#include "core/flight/flight_plausibility.h"
#include "core/shell/atomic_file.h"
#include "core/shell/local_time.h"
#include "core/shell/utf8_path.h"

#include <cstdint>
#include <filesystem>
#include <system_error>

namespace vtl {
namespace {

namespace fs = std::filesystem;

std::time_t toTimeT(fs::file_time_type stamp) {
    // The file clock's epoch is not the system clock's in C++17; both are read now to bridge them.
    const auto system = std::chrono::system_clock::now() +
                        std::chrono::duration_cast<std::chrono::system_clock::duration>(
                            stamp - fs::file_time_type::clock::now());
    return std::chrono::system_clock::to_time_t(system);
}

struct StaleFile {
    fs::path path;
    fs::file_time_type modified;
};

// The folder's stale temporary files, taken before any of them is moved or removed.
std::vector<StaleFile> staleTemporaryFiles(const fs::path& folder) {
    std::vector<StaleFile> stale;
    std::error_code error;
    const auto now = fs::file_time_type::clock::now();
    fs::directory_iterator entries(folder, error);
    for (; !error && entries != fs::directory_iterator(); entries.increment(error)) {
        const fs::directory_entry& entry = *entries;
        if (!isTemporaryFileName(utf8String(entry.path().filename()))) {
            continue;
        }
        // A link of such a name is no file of ours.
        std::error_code fileError;
        if (!fs::is_regular_file(entry.symlink_status(fileError)) || fileError) {
            continue;
        }
        const fs::file_time_type modified = fs::last_write_time(entry.path(), fileError);
        // A time stamp ahead of the clock is not judged stale either.
        if (!fileError && now - modified > kStaleTemporaryAge) {
            stale.push_back({entry.path(), modified});
        }
    }
    return stale;
}

} // namespace

InterruptedSaves recoverInterruptedSaves(const std::string& folder) {
    InterruptedSaves outcome;
    for (const StaleFile& file : staleTemporaryFiles(utf8Path(folder))) {
        const std::string path = utf8String(file.path);
        std::vector<uint8_t> bytes;
        if (!readMeasurementFile(path, bytes)) {
            outcome.leftBehind.push_back(path);
            continue;
        }
        if (!plausibleFlightHeader(bytes.data(), bytes.size())) {
            std::error_code error;
            if (fs::remove(file.path, error)) {
                ++outcome.removed;
            }
            continue;
        }
        const ArchiveKind kind =
            imageHasEnd(bytes.data(), bytes.size()) ? ArchiveKind::Whole : ArchiveKind::Partial;
        const auto moved =
            moveIntoArchive(path, folder, localTime(toTimeT(file.modified)),
                            image::readWord(bytes.data(), image::kSerialNumber),
                            image::readWord(bytes.data(), image::kCompetitorNumber), kind, true);
        if (moved) {
            outcome.recovered.push_back(*moved);
        } else {
            outcome.leftBehind.push_back(path);
        }
    }
    return outcome;
}

} // namespace vtl
