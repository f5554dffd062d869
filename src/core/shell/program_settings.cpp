// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/shell/program_settings.h"

#include "core/shell/atomic_file.h"
#include "core/shell/utf8_path.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace vtl {
namespace {

void putInt(uint8_t* bytes, size_t offset, int32_t value) {
    const auto bits = static_cast<uint32_t>(value);
    for (size_t i = 0; i < 4; ++i) {
        bytes[offset + i] = static_cast<uint8_t>(bits >> (8 * i));
    }
}

int32_t getInt(const uint8_t* bytes, size_t offset) {
    uint32_t bits = 0;
    for (size_t i = 0; i < 4; ++i) {
        bits |= static_cast<uint32_t>(bytes[offset + i]) << (8 * i);
    }
    return static_cast<int32_t>(bits);
}

} // namespace

std::string ProgramSettings::portNameText() const {
    const auto end = std::find(portName.begin(), portName.end(), '\0');
    return std::string(portName.begin(), end);
}

void ProgramSettings::setPortName(const std::string& name) {
    portName.fill('\0');
    std::copy_n(name.begin(), std::min(name.size(), portName.size() - 1), portName.begin());
}

bool ProgramSettings::operator==(const ProgramSettings& other) const {
    return encodeProgramSettings(*this) == encodeProgramSettings(other);
}

ProgramSettings defaultProgramSettings() {
    ProgramSettings s;
    s.setPortName("COM5");
    s.portIndex = 4;
    s.reserved = 50;
    s.language = 0;
    s.showAcceleration = 1;
    s.preCutCm = 350;
    s.finalCutCm = 250;
    s.preFilterLength = 8;
    s.finalFilterLength = 12;
    return s;
}

std::array<uint8_t, ProgramSettings::kRecordSize> encodeProgramSettings(const ProgramSettings& s) {
    std::array<uint8_t, ProgramSettings::kRecordSize> bytes{};
    std::memcpy(bytes.data(), s.portName.data(), s.portName.size());
    putInt(bytes.data(), 8, s.portIndex);
    putInt(bytes.data(), 12, s.reserved);
    putInt(bytes.data(), 16, s.language);
    putInt(bytes.data(), 20, s.showAcceleration);
    putInt(bytes.data(), 24, s.preCutCm);
    putInt(bytes.data(), 28, s.finalCutCm);
    putInt(bytes.data(), 32, s.preFilterLength);
    putInt(bytes.data(), 36, s.finalFilterLength);
    return bytes;
}

void overlayProgramSettings(ProgramSettings& settings, const uint8_t* bytes, size_t size) {
    auto record = encodeProgramSettings(settings);
    std::copy_n(bytes, std::min(size, record.size()), record.begin());
    std::memcpy(settings.portName.data(), record.data(), settings.portName.size());
    settings.portIndex = getInt(record.data(), 8);
    settings.reserved = getInt(record.data(), 12);
    settings.language = getInt(record.data(), 16);
    settings.showAcceleration = getInt(record.data(), 20);
    settings.preCutCm = getInt(record.data(), 24);
    settings.finalCutCm = getInt(record.data(), 28);
    settings.preFilterLength = getInt(record.data(), 32);
    settings.finalFilterLength = getInt(record.data(), 36);
}

std::string settingsFileNameFor(const std::string& executablePath) {
    const size_t folderEnd = executablePath.find_last_of("/\\");
    const size_t nameStart = folderEnd == std::string::npos ? 0 : folderEnd + 1;
    const size_t dot = executablePath.find_last_of('.');
    const bool hasExtension = dot != std::string::npos && dot > nameStart;
    return (hasExtension ? executablePath.substr(0, dot) : executablePath) + ".par";
}

SettingsFileState readProgramSettings(const std::string& path, ProgramSettings& settings) {
    std::error_code error;
    const auto status = std::filesystem::status(utf8Path(path), error);
    if (status.type() == std::filesystem::file_type::not_found) {
        return SettingsFileState::Missing;
    }
    // A folder opens for reading on some systems and only fails at the first read.
    if (std::filesystem::is_directory(status)) {
        return SettingsFileState::Unreadable;
    }
    std::FILE* file = openUtf8File(path, "rb");
    if (file == nullptr) {
        // Gone between the two looks, or never there behind a path that is no folder.
        return errno == ENOENT || errno == ENOTDIR ? SettingsFileState::Missing
                                                   : SettingsFileState::Unreadable;
    }
    std::array<uint8_t, ProgramSettings::kRecordSize> bytes{};
    const size_t read = std::fread(bytes.data(), 1, bytes.size(), file);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) {
        return SettingsFileState::Unreadable;
    }
    overlayProgramSettings(settings, bytes.data(), read);
    return SettingsFileState::Read;
}

ProgramSettings loadProgramSettings(const std::string& path) {
    ProgramSettings settings = defaultProgramSettings();
    readProgramSettings(path, settings);
    return settings;
}

bool saveProgramSettings(const std::string& path, const ProgramSettings& settings, int* error) {
    const auto bytes = encodeProgramSettings(settings);
    return writeFileAtomically(path, bytes.data(), bytes.size(), error);
}

} // namespace vtl
