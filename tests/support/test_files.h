// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Files as the tests make and read them: whole files in one call, a temporary folder that goes
// with its owner, and flights synthesised into measurement files. No Qt, so that the core tests,
// the sanitizer builds and the fuzz targets can use them too.

#include "flight_synthesiser.h"

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

namespace vtl::testing {

// The file's bytes, or none when it cannot be read.
std::vector<uint8_t> readBytes(const std::filesystem::path& path);
std::string readText(const std::filesystem::path& path);

// Writes the file anew; false when it cannot be written.
bool writeBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);
bool writeText(const std::filesystem::path& path, const std::string& text);

// The names in the folder, sorted.
std::vector<std::string> folderNames(const std::filesystem::path& folder);

// A new, empty folder in the system's temporary folder, removed with all it holds when the
// object goes.
class TemporaryFolder {
public:
    TemporaryFolder();
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    std::filesystem::path operator/(const std::string& name) const { return m_path / name; }
    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

// The altitudes of the flight most tests draw: `groundSamples` at zero, a straight climb to
// `peakCm` in `climbSamples`, then a straight glide of `glideSamples` that ends at `endCm`.
std::vector<int32_t> climbAndGlide(int climbSamples, int32_t peakCm, int glideSamples,
                                   int32_t endCm = 0, int groundSamples = 10);

// 14 June 2026, 10:35:12 local time: the download time the archive tests name their files after.
std::tm june14();

// Synthesises the flight's image and writes it as a measurement file; returns the image.
std::vector<uint8_t> writeFlightFile(const std::filesystem::path& path,
                                     const FlightDescription& flight);

} // namespace vtl::testing
