// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/test_files.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <random>

namespace vtl::testing {

namespace fs = std::filesystem;

std::vector<uint8_t> readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string readText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool writeBytes(const fs::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out.flush());
}

bool writeText(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    return static_cast<bool>(out.flush());
}

std::vector<std::string> folderNames(const fs::path& folder) {
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(folder)) {
        found.push_back(entry.path().filename().string());
    }
    std::sort(found.begin(), found.end());
    return found;
}

TemporaryFolder::TemporaryFolder() {
    // A random name made with create_directory, which fails on a name already taken: mkdtemp's
    // guarantee, on every system the tests build for.
    std::random_device seed;
    std::mt19937_64 names(seed());
    for (;;) {
        m_path = fs::temp_directory_path() / ("vantorel-test-" + std::to_string(names()));
        std::error_code error;
        if (fs::create_directory(m_path, error)) {
            return;
        }
        if (error) {
            m_path.clear();
            return;
        }
    }
}

TemporaryFolder::~TemporaryFolder() {
    if (!m_path.empty()) {
        std::error_code ignored;
        fs::remove_all(m_path, ignored);
    }
}

std::vector<int32_t> climbAndGlide(int climbSamples, int32_t peakCm, int glideSamples,
                                   int32_t endCm, int groundSamples) {
    std::vector<int32_t> altitudes(static_cast<size_t>(groundSamples), 0);
    for (int i = 1; i <= climbSamples; ++i) {
        altitudes.push_back(peakCm * i / climbSamples);
    }
    for (int i = 1; i <= glideSamples; ++i) {
        altitudes.push_back(peakCm - (peakCm - endCm) * i / glideSamples);
    }
    return altitudes;
}

std::vector<uint8_t> writeFlightFile(const fs::path& path, const FlightDescription& flight) {
    const std::vector<uint8_t> image = synthesiseFlightImage(flight);
    writeBytes(path, image);
    return image;
}

std::tm june14() {
    std::tm time{};
    time.tm_year = 2026 - 1900;
    time.tm_mon = 5;
    time.tm_mday = 14;
    time.tm_hour = 10;
    time.tm_min = 35;
    time.tm_sec = 12;
    return time;
}

} // namespace vtl::testing
