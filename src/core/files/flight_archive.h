// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

namespace vtl {

// Every downloaded flight is also kept in the user's flight archive, so that a flight that was
// downloaded but not saved is not lost when the next one replaces it.

// What the archived copy is: a whole flight, an incomplete transfer, or an image that cannot be
// decoded. The kind is part of the name ("_partial", "_corrupt"), so the user sees it in the
// folder.
enum class ArchiveKind { Whole, Partial, Corrupt };

// "2026-06-14_103512_S1234_C42.bin": local download time, serial and competitor number, and the
// kind's suffix before ".bin". A flight taken back from an interrupted save says so after the
// kind: "..._C42_recovered.bin", "..._C42_partial_recovered.bin". A name that met an existing
// file carries its variant last: "..._C42_partial-2.bin", "..._C42_recovered-2.bin".
std::string archiveFileName(const std::tm& localTime, uint16_t serialNumber,
                            uint16_t competitorNumber, ArchiveKind kind = ArchiveKind::Whole,
                            int variant = 1, bool recovered = false);

// What an archive name says; `archiveFileName` of these fields gives the name back.
struct ArchiveName {
    std::tm localTime{}; // year, month, day, hour, minute and second; the rest zero
    uint16_t serialNumber = 0;
    uint16_t competitorNumber = 0;
    ArchiveKind kind = ArchiveKind::Whole;
    int variant = 1;
    bool recovered = false;
};

// The fields of an archive name, or nothing for a name this program does not write (a renamed
// file, another extension, a date that is no date, a number with leading zeros or out of range).
std::optional<ArchiveName> parseArchiveFileName(const std::string& fileName);

// Writes the image into the folder (made when missing) under its archive name, through a
// temporary file; an existing file is never replaced: the name gets "-2", "-3" ... instead.
// Returns the path written, or nothing when the archive cannot be written.
std::optional<std::string> archiveFlight(const std::string& folder,
                                         const std::vector<uint8_t>& image,
                                         const std::tm& localTime, uint16_t serialNumber,
                                         uint16_t competitorNumber,
                                         ArchiveKind kind = ArchiveKind::Whole);

// Moves the file into the folder under its archive name without replacing any file, the first
// free variant taken; returns the new path, or nothing when no move succeeded (the file stays).
std::optional<std::string> moveIntoArchive(const std::string& file, const std::string& folder,
                                           const std::tm& localTime, uint16_t serialNumber,
                                           uint16_t competitorNumber, ArchiveKind kind,
                                           bool recovered);

} // namespace vtl
