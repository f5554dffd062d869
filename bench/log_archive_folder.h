// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A year's archive for the flight log benchmarks: 2,000 copies of the largest sample flight under
// distinct archive names, made once a run in a temporary folder.

#include "core/files/flight_archive.h"

#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace vtl::bench {

constexpr int kArchiveFlights = 2000;

inline const std::filesystem::path& logArchiveFolder() {
    namespace fs = std::filesystem;
    static const fs::path folder = [] {
        const fs::path path = fs::temp_directory_path() / "vtl-flight-log-bench";
        fs::remove_all(path);
        fs::create_directories(path);
        std::ifstream in(VTL_LARGEST_SAMPLE, std::ios::binary);
        const std::vector<char> image{std::istreambuf_iterator<char>(in),
                                      std::istreambuf_iterator<char>()};
        std::tm time{};
        time.tm_year = 2026 - 1900;
        for (int i = 0; i < kArchiveFlights; ++i) {
            // Ten flights a day over 200 days.
            time.tm_mon = (i / 10) / 28;
            time.tm_mday = 1 + (i / 10) % 28;
            time.tm_hour = 8 + i % 10;
            time.tm_min = i % 60;
            std::ofstream(path / archiveFileName(time, 1234, static_cast<uint16_t>(i)),
                          std::ios::binary)
                .write(image.data(), static_cast<std::streamsize>(image.size()));
        }
        return path;
    }();
    return folder;
}

} // namespace vtl::bench
