// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace vtl {

// The user's choices, held and stored as one 40-byte little-endian record.
struct ProgramSettings {
    static constexpr size_t kRecordSize = 40;

    std::array<char, 8> portName{}; // offset 0, NUL-terminated "COM1" ... "COM25"
    int32_t portIndex = 0;          // offset 8
    int32_t reserved = 0;           // offset 12, carried through unchanged
    int32_t language = 0;           // offset 16, kept as read; languageOf() gives the Language
    int32_t showAcceleration = 0;   // offset 20
    int32_t preCutCm = 0;           // offset 24
    int32_t finalCutCm = 0;         // offset 28
    int32_t preFilterLength = 0;    // offset 32
    int32_t finalFilterLength = 0;  // offset 36

    std::string portNameText() const;
    // Copies a port name into portName, zero-filling the rest (at most seven characters kept).
    void setPortName(const std::string& name);

    bool operator==(const ProgramSettings& other) const;
};

ProgramSettings defaultProgramSettings();

std::array<uint8_t, ProgramSettings::kRecordSize> encodeProgramSettings(const ProgramSettings& s);

// Overlays the first min(size, 40) bytes over the record; fields the bytes do not reach, or reach
// only in part, keep the rest of their current bytes.
void overlayProgramSettings(ProgramSettings& settings, const uint8_t* bytes, size_t size);

// The settings file that belongs to an executable: its path with the extension replaced by "par"
// ("C:\\x\\vantorel.exe" gives "C:\\x\\vantorel.par"; "/opt/vantorel" gives "/opt/vantorel.par").
std::string settingsFileNameFor(const std::string& executablePath);

// What reading a settings file found. An existing file that cannot be read (no permission, an
// I/O error, a folder in its place) is told apart from a missing one, so that nobody takes its
// absence for granted and writes defaults over it.
enum class SettingsFileState { Missing, Read, Unreadable };

// Overlays the file's first bytes over `settings` when it can be read; an empty file is read and
// changes nothing. Missing or unreadable: `settings` stays as it was.
SettingsFileState readProgramSettings(const std::string& path, ProgramSettings& settings);

// Defaults, then the overlay of the file's first bytes when the file can be read.
ProgramSettings loadProgramSettings(const std::string& path);

// Writes the 40 bytes through a temporary file and a rename; false when that fails.
bool saveProgramSettings(const std::string& path, const ProgramSettings& settings,
                         int* error = nullptr);

} // namespace vtl
