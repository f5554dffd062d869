// SPDX-License-Identifier: GPL-3.0-or-later
// vantorel-cli log: what it lists, and what it refuses to write or print.
#include "cli_run.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

using namespace cli_test;

namespace {

// One object a file, newest first, with nulls where a file gives nothing; the archive folder
// when no folder is named.
TEST_F(CliTest, LogListsTheArchiveFolder) {
    const fs::path home =
        fs::temp_directory_path() / ("vtl-cli-log-home-" + std::to_string(::getpid()));
    const fs::path folder = home / ".local/share/vantorel/flights";
    fs::remove_all(home);
    fs::create_directories(folder);
    fs::copy_file(m_file, folder / "2026-06-14_103512_S1234_C42.bin");
    fs::copy_file(m_file, folder / "2026-06-15_080000_S1234_C42_partial.bin");
    std::ofstream(folder / "notes.txt") << "calm\n";

    const CliRun named = runCli("log " + folder.string());
    ASSERT_EQ(named.status, 0) << named.output;
    // The text file's modification time stands for its download: it is the newest.
    EXPECT_EQ(named.out.rfind("[{\"file\":\"notes.txt\",\"serial\":null,\"competitor\":null,"
                              "\"samplingCode\":null,\"temperature\":null,\"maximumM\":null,"
                              "\"maximumS\":null,\"startS\":null,\"landingS\":null,"
                              "\"flightTimeS\":null,\"bestClimbMps\":null,\"meanSinkMps\":null,"
                              "\"status\":\"not a flight\"},"
                              "{\"file\":\"2026-06-15_080000_S1234_C42_partial.bin\","
                              "\"serial\":1234,\"competitor\":42,\"samplingCode\":3,"
                              "\"temperature\":15,\"maximumM\":",
                              0),
              0u)
        << named.out;
    EXPECT_NE(
        named.out.find("\"status\":\"partial\"},{\"file\":\"2026-06-14_103512_S1234_C42.bin\""),
        std::string::npos)
        << named.out;
    EXPECT_EQ(named.out.substr(named.out.size() - 16), "\"status\":\"ok\"}]\n") << named.out;

    const CliRun archive = runCommand("env -u XDG_DATA_HOME HOME=" + home.string() + " " +
                                      std::string(VTL_CLI_PATH) + " log");
    EXPECT_EQ(archive.status, 0) << archive.output;
    EXPECT_EQ(archive.out, named.out);
    // A named folder that cannot be listed is an error that says why, not an empty log.
    for (const fs::path& unlisted : {home / "missing", folder / "notes.txt"}) {
        const CliRun failed = runCli("log " + unlisted.string());
        EXPECT_EQ(failed.status, 1) << unlisted;
        EXPECT_EQ(failed.out, "") << unlisted;
        EXPECT_NE(
            failed.err.find("Cannot read the folder " + unlisted.string() + ": no such folder"),
            std::string::npos)
            << failed.err;
    }
    fs::remove_all(folder);
    const CliRun none = runCommand("env -u XDG_DATA_HOME HOME=" + home.string() + " " +
                                   std::string(VTL_CLI_PATH) + " log");
    EXPECT_EQ(none.status, 0) << none.output;
    EXPECT_EQ(none.out, "[]\n");
    fs::remove_all(home);
}

// A name that is not UTF-8 is written with replacement characters, and its bytes beside it.
TEST_F(CliTest, LogGivesValidJsonForAnyFileName) {
    const fs::path folder =
        fs::temp_directory_path() / ("vtl-cli-log-names-" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    fs::copy_file(m_file, folder / "lot\xff\xc3(.bin");
    fs::copy_file(m_file, folder / "lot żółw.bin");
    const CliRun run = runCli("log " + folder.string());
    ASSERT_EQ(run.status, 0) << run.output;
    const std::string check =
        "import json,sys\n"
        "rows={r['file']:r for r in json.loads(sys.stdin.buffer.read().decode('utf-8','strict'))}\n"
        "bad=rows['lot\\ufffd\\ufffd(.bin']\n"
        "assert bytes.fromhex(bad['fileBytes'])==b'lot\\xff\\xc3(.bin', bad\n"
        "assert 'fileBytes' not in rows['lot \\u017c\\u00f3\\u0142w.bin']\n";
    std::ofstream(folder / ".check.py") << check;
    const fs::path output = folder / ".out.json";
    std::ofstream(output, std::ios::binary) << run.out;
    const CliRun parsed =
        runCommand("python3 " + (folder / ".check.py").string() + " < " + output.string());
    EXPECT_EQ(parsed.status, 0) << parsed.output << run.out;
    fs::remove_all(folder);
}

// The cache's name held by a link to another file: the link stays, the file keeps its bytes.
TEST_F(CliTest, LogWritesNoCacheThroughALink) {
    const fs::path folder =
        fs::temp_directory_path() / ("vtl-cli-log-link-" + std::to_string(::getpid()));
    fs::remove_all(folder / "flights");
    fs::create_directories(folder / "flights");
    fs::copy_file(m_file, folder / "flights" / "lot.bin");
    std::ofstream(folder / "victim.txt") << "keep me\n";
    fs::create_symlink("../victim.txt", folder / "flights" / ".vantorel-log-cache");
    const CliRun run = runCli("log " + (folder / "flights").string());
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.out.find("\"file\":\"lot.bin\""), std::string::npos) << run.out;
    EXPECT_EQ(run.err, "vantorel-cli: " + (folder / "flights" / ".vantorel-log-cache").string() +
                           " is not this program's cache; left alone\n");
    EXPECT_TRUE(fs::is_symlink(folder / "flights" / ".vantorel-log-cache"));
    EXPECT_EQ(readText(folder / "victim.txt"), "keep me\n");
    fs::remove_all(folder);
}

// Listing the archive takes back the flight a stopped save left there, and says so once; a folder
// named on the command line is only listed.
TEST_F(CliTest, LogOfTheArchiveRecoversInterruptedSaves) {
    const fs::path home =
        fs::temp_directory_path() / ("vtl-cli-log-recover-" + std::to_string(::getpid()));
    const fs::path folder = home / ".local/share/vantorel/flights";
    const fs::path other = home / "other";
    fs::remove_all(home);
    leaveInterruptedSave(m_file, folder / ".vtl-Ab12cd");
    leaveInterruptedSave(m_file, other / ".vtl-Ab12cd");

    const CliRun named = runCli("log " + other.string());
    EXPECT_EQ(named.status, 0) << named.output;
    EXPECT_EQ(named.err, "");
    EXPECT_TRUE(fs::exists(other / ".vtl-Ab12cd"));

    const std::string log =
        "env -u XDG_DATA_HOME HOME=" + home.string() + " " + std::string(VTL_CLI_PATH) + " log";
    const CliRun first = runCommand(log);
    EXPECT_EQ(first.status, 0) << first.output;
    const fs::path kept = fileEndingIn(folder, "_S1234_C42_recovered.bin");
    ASSERT_FALSE(kept.empty());
    EXPECT_FALSE(fs::exists(folder / ".vtl-Ab12cd"));
    EXPECT_EQ(readText(kept), readText(m_file));
    EXPECT_EQ(first.err,
              "Recovered the flight file " + kept.string() + " from an interrupted save.\n");
    EXPECT_NE(first.out.find("{\"file\":\"" + kept.filename().string() +
                             "\",\"serial\":1234,\"competitor\":42,"),
              std::string::npos)
        << first.out;
    const CliRun second = runCommand(log);
    EXPECT_EQ(second.err, "");
    EXPECT_EQ(second.out, first.out);
    fs::remove_all(home);
}

} // namespace
