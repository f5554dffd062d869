// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The command-line companion and the window program run as the user runs them, through a shell,
// with their standard output and standard error kept apart; a flight file for each test.

#include "flight_synthesiser.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

namespace cli_test {

namespace fs = std::filesystem;

struct CliRun {
    int status;
    std::string output; // standard output, then standard error
    std::string out;
    std::string err;
};

inline std::string readText(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

// Runs a shell command line with its standard output and standard error kept apart.
inline CliRun runCommand(const std::string& commandLine) {
    const fs::path errors =
        fs::temp_directory_path() / ("vtl-cli-stderr-" + std::to_string(::getpid()) + ".txt");
    const std::string command = commandLine + " 2>" + errors.string();
    std::FILE* pipe = popen(command.c_str(), "r");
    std::string out;
    std::array<char, 4096> buffer{};
    size_t read = 0;
    while ((read = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
        out.append(buffer.data(), read);
    }
    const int status = pclose(pipe);
    const std::string err = readText(errors);
    fs::remove(errors);
    return {WEXITSTATUS(status), out + err, out, err};
}

inline CliRun runCli(const std::string& arguments) {
    return runCommand(std::string(VTL_CLI_PATH) + " " + arguments);
}

// The flight copied to the safe writer's temporary name, as a save stopped ten minutes ago left it.
inline void leaveInterruptedSave(const fs::path& flight, const fs::path& temporary) {
    fs::create_directories(temporary.parent_path());
    fs::copy_file(flight, temporary);
    fs::last_write_time(temporary, fs::file_time_type::clock::now() - std::chrono::minutes(10));
}

// The one file of the folder whose name ends so, or an empty path.
inline fs::path fileEndingIn(const fs::path& folder, const std::string& ending) {
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.size() >= ending.size() &&
            name.compare(name.size() - ending.size(), ending.size(), ending) == 0) {
            return entry.path();
        }
    }
    return {};
}

class CliTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_file =
            fs::temp_directory_path() /
            ("vtl-cli-" +
             std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".bin");
        vtl::testing::FlightDescription flight;
        flight.samplingCode = 0x13; // code 3; the upper bits are not part of it
        flight.startTemperature = 15;
        flight.competitorNumber = 42;
        flight.serialNumber = 1234;
        flight.referenceWord = 9000;
        flight.altitudeCm = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 300, 600};
        const auto bytes = vtl::testing::synthesiseFlightImage(flight);
        std::ofstream(m_file, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
    }
    void TearDown() override { fs::remove(m_file); }

    fs::path m_file;
};

} // namespace cli_test
