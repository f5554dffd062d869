// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/files/flight_archive.h"

#include "core/shell/atomic_file.h"
#include "core/shell/utf8_path.h"

#include <cstring>
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
constexpr const char* kExtension = ".bin";
constexpr const char* kRecoveredSuffix = "_recovered";

const char* kindSuffix(ArchiveKind kind) {
    return kind == ArchiveKind::Partial   ? "_partial"
           : kind == ArchiveKind::Corrupt ? "_corrupt"
                                          : "";
}

// Reads a name from the front, field by field.
struct NameReader {
    const std::string& text;
    size_t at = 0;

    bool atEnd() const { return at == text.size(); }
    bool skip(const char* expected) {
        const size_t length = std::strlen(expected);
        if (text.compare(at, length, expected) != 0) {
            return false;
        }
        at += length;
        return true;
    }
    // Exactly `count` digits.
    bool digits(size_t count, int& value) {
        if (at + count > text.size()) {
            return false;
        }
        value = 0;
        for (size_t i = 0; i < count; ++i) {
            const char c = text[at + i];
            if (c < '0' || c > '9') {
                return false;
            }
            value = value * 10 + (c - '0');
        }
        at += count;
        return true;
    }
    // A number as std::to_string writes it: no sign, no leading zero, at most `highest`.
    template <typename Number> bool number(long highest, Number& value) {
        size_t end = at;
        long read = 0;
        while (end < text.size() && text[end] >= '0' && text[end] <= '9' && read <= highest) {
            read = read * 10 + (text[end] - '0');
            ++end;
        }
        if (end == at || read > highest || (text[at] == '0' && end - at > 1)) {
            return false;
        }
        value = static_cast<Number>(read);
        at = end;
        return true;
    }
};

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
                            uint16_t competitorNumber, ArchiveKind kind, int variant,
                            bool recovered) {
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d_%H%M%S", &localTime);
    return std::string(stamp) + "_S" + std::to_string(serialNumber) + "_C" +
           std::to_string(competitorNumber) + kindSuffix(kind) +
           (recovered ? kRecoveredSuffix : "") +
           (variant > 1 ? "-" + std::to_string(variant) : std::string()) + kExtension;
}

std::optional<ArchiveName> parseArchiveFileName(const std::string& fileName) {
    // YYYY-MM-DD_HHMMSS_S<serial>_C<competitor>[_partial|_corrupt][_recovered][-<variant>].bin
    NameReader in{fileName};
    ArchiveName name;
    std::tm& t = name.localTime;
    int year = 0, month = 0;
    if (!in.digits(4, year) || !in.skip("-") || !in.digits(2, month) || !in.skip("-") ||
        !in.digits(2, t.tm_mday) || !in.skip("_") || !in.digits(2, t.tm_hour) ||
        !in.digits(2, t.tm_min) || !in.digits(2, t.tm_sec) || !in.skip("_S") ||
        !in.number(0xFFFF, name.serialNumber) || !in.skip("_C") ||
        !in.number(0xFFFF, name.competitorNumber)) {
        return std::nullopt;
    }
    if (year < 1000 || month < 1 || month > 12 || t.tm_mday < 1 || t.tm_mday > 31 ||
        t.tm_hour > 23 || t.tm_min > 59 || t.tm_sec > 60) {
        return std::nullopt;
    }
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    for (ArchiveKind kind : {ArchiveKind::Partial, ArchiveKind::Corrupt}) {
        if (in.skip(kindSuffix(kind))) {
            name.kind = kind;
            break;
        }
    }
    name.recovered = in.skip(kRecoveredSuffix);
    if (in.skip("-") && (!in.number(kMaximumVariants, name.variant) || name.variant < 2)) {
        return std::nullopt;
    }
    if (!in.skip(kExtension) || !in.atEnd()) {
        return std::nullopt;
    }
    return name;
}

std::optional<std::string> archiveFlight(const std::string& folder,
                                         const std::vector<uint8_t>& image,
                                         const std::tm& localTime, uint16_t serialNumber,
                                         uint16_t competitorNumber, ArchiveKind kind) {
    std::error_code error;
    std::filesystem::create_directories(utf8Path(folder), error);
    const auto written = writeTemporaryFile(folder, image.data(), image.size());
    if (!written) {
        return std::nullopt;
    }
    const auto moved =
        moveIntoArchive(*written, folder, localTime, serialNumber, competitorNumber, kind, false);
    if (!moved) {
        std::filesystem::remove(utf8Path(*written), error);
    }
    return moved;
}

std::optional<std::string> moveIntoArchive(const std::string& file, const std::string& folder,
                                           const std::tm& localTime, uint16_t serialNumber,
                                           uint16_t competitorNumber, ArchiveKind kind,
                                           bool recovered) {
    std::error_code error;
    for (int variant = 1; variant <= kMaximumVariants; ++variant) {
        const std::filesystem::path target =
            utf8Path(folder) /
            archiveFileName(localTime, serialNumber, competitorNumber, kind, variant, recovered);
        if (moveWithoutReplacing(file, utf8String(target))) {
            return utf8String(target);
        }
        if (!std::filesystem::exists(target, error)) {
            break; // the move failed for another reason than an existing file
        }
    }
    return std::nullopt;
}

} // namespace vtl
