// SPDX-License-Identifier: GPL-3.0-or-later
// vantorel-cli note: a note written, found again after a rename, stale after a change.
#include "cli_run.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

using namespace cli_test;

namespace {

class CliNoteTest : public CliTest {
protected:
    void SetUp() override {
        CliTest::SetUp();
        m_folder = fs::temp_directory_path() / ("vtl-cli-note-" + std::to_string(::getpid()));
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
        m_flight = m_folder / "lot 1.bin";
        fs::copy_file(m_file, m_flight);
    }
    void TearDown() override {
        fs::remove_all(m_folder);
        CliTest::TearDown();
    }

    CliRun note(const fs::path& flight, const std::string& text = std::string()) {
        return runCli("note '" + flight.string() + "'" + text);
    }

    fs::path m_folder;
    fs::path m_flight;
};

TEST_F(CliNoteTest, WritesReadsAndRemovesTheNote) {
    const std::string file = "{\"file\":\"" + m_flight.string() + "\",";
    CliRun run = note(m_flight);
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.out, file + "\"note\":null,\"stale\":false}\n");
    EXPECT_FALSE(fs::exists(m_folder / ".vantorel-notes"));

    run = note(m_flight, " 'Hol 40 m, wiatr 3 m/s — żółw'");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.out, file + "\"note\":\"Hol 40 m, wiatr 3 m/s — żółw\",\"stale\":false}\n");
    EXPECT_EQ(note(m_flight).out, run.out);

    run = note(m_flight, " ''");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.out, file + "\"note\":null,\"stale\":false}\n");
}

TEST_F(CliNoteTest, RenamedFlightKeepsItsNoteAndAChangedOneShowsItStale) {
    ASSERT_EQ(note(m_flight, " 'best of the day'").status, 0);
    const fs::path renamed = m_folder / "renamed.bin";
    fs::rename(m_flight, renamed);
    CliRun run = note(renamed);
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.out, "{\"file\":\"" + renamed.string() +
                           "\",\"note\":\"best of the day\",\"stale\":false}\n");

    // Back under the name its note was written for, but with other bytes.
    fs::rename(renamed, m_flight);
    std::ofstream(m_flight, std::ios::binary | std::ios::app) << '\0';
    run = note(m_flight);
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.out, "{\"file\":\"" + m_flight.string() +
                           "\",\"note\":\"best of the day\",\"stale\":true}\n");
}

TEST_F(CliNoteTest, DamagedNotesFileIsAnErrorAndStaysAsItWas) {
    std::ofstream(m_folder / ".vantorel-notes") << "{ broken";
    const CliRun run = note(m_flight, " 'new'");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("Cannot read the notes file " + (m_folder / ".vantorel-notes").string() +
                           "; it is left as it is"),
              std::string::npos)
        << run.err;
    EXPECT_EQ(readText(m_folder / ".vantorel-notes"), "{ broken");
    EXPECT_EQ(runCli("note").status, 2);
}

} // namespace
