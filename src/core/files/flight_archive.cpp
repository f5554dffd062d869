// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/files/flight_archive.h"

#include "core/shell/atomic_file.h"
#include "core/shell/utf8_path.h"

#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace vtl {
namespace {

constexpr int kMaximumVariants = 1000;

// Moves the file to the target only where no file of that name exists.
bool moveWithoutReplacing(const std::string& from, const std::string& to) {
#ifdef _WIN32
    return MoveFileExW(wideFromUtf8(from).c_str(), wideFromUtf8(to).c_str(), 0) != 0;
#else
    if (::link(from.c_str(), to.c_str()) != 0) {
        return false;
    }
    ::unlink(from.c_str());
    return true;
#endif
}

} // namespace

std::string archiveFileName(const std::tm& localTime, uint16_t serialNumber,
                            uint16_t competitorNumber, ArchiveKind kind) {
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d_%H%M%S", &localTime);
    const char* suffix = kind == ArchiveKind::Partial   ? "_partial"
                         : kind == ArchiveKind::Corrupt ? "_corrupt"
                                                        : "";
    return std::string(stamp) + "_S" + std::to_string(serialNumber) + "_C" +
           std::to_string(competitorNumber) + suffix + ".bin";
}

std::optional<std::string> archiveFlight(const std::string& folder,
                                         const std::vector<uint8_t>& image,
                                         const std::tm& localTime, uint16_t serialNumber,
                                         uint16_t competitorNumber, ArchiveKind kind) {
    std::error_code error;
    std::filesystem::create_directories(utf8Path(folder), error);
    const std::filesystem::path base =
        utf8Path(folder) / archiveFileName(localTime, serialNumber, competitorNumber, kind);
    const auto written = writeTemporaryFile(folder, image.data(), image.size());
    if (!written) {
        return std::nullopt;
    }
    const std::string& temporary = *written;
    for (int variant = 1; variant <= kMaximumVariants; ++variant) {
        std::filesystem::path target = base;
        if (variant > 1) {
            target.replace_filename(base.stem().string() + "-" + std::to_string(variant) +
                                    base.extension().string());
        }
        if (moveWithoutReplacing(temporary, utf8String(target))) {
            return utf8String(target);
        }
        if (!std::filesystem::exists(target, error)) {
            break; // the move failed for another reason than an existing file
        }
    }
    std::filesystem::remove(utf8Path(temporary), error);
    return std::nullopt;
}

} // namespace vtl
