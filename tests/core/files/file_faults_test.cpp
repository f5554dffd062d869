// SPDX-License-Identifier: GPL-3.0-or-later
// Every file the core writes, into a folder that refuses it: the old file keeps its bytes, no
// temporary file is left, and the failure is returned (the settings told to the user) once.
#include "core/files/flight_archive.h"
#include "core/shell/atomic_file.h"
#include "core/shell/framework_texts.h"
#include "core/shell/settings_keeper.h"
#include "support/file_faults.h"
#include "support/scripted_prompter.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cerrno>

#include <unistd.h>

namespace vtl {
namespace {

namespace fs = std::filesystem;
using testing::FaultyPlace;
using testing::FileFault;

using testing::june14;

class FileFaultTest : public ::testing::TestWithParam<FileFault> {
protected:
    void SetUp() override {
        std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::replace(name.begin(), name.end(), '/', '-');
        m_base =
            fs::temp_directory_path() / ("vtl-faults-" + std::to_string(getpid()) + "-" + name);
        fs::remove_all(m_base);
        fs::create_directories(m_base);
    }
    void TearDown() override {
        m_place.reset();
        fs::remove_all(m_base);
    }

    FaultyPlace& place(const std::string& targetName, const std::vector<uint8_t>& oldBytes) {
        m_place = std::make_unique<FaultyPlace>(m_base, GetParam(), targetName, oldBytes);
        return *m_place;
    }

    fs::path m_base;
    std::unique_ptr<FaultyPlace> m_place;
};

TEST_P(FileFaultTest, AtomicWriteFailsAndChangesNothing) {
    const std::vector<uint8_t> old(300, 0x11);
    FaultyPlace& p = place("flight.bin", old);
    if (!p.unavailable().empty()) {
        GTEST_SKIP() << p.unavailable();
    }
    const std::vector<uint8_t> replacement(2000, 0x22);
    int error = 0;
    EXPECT_FALSE(
        writeFileAtomically(p.target().string(), replacement.data(), replacement.size(), &error));
    EXPECT_EQ(p.changes(), std::vector<std::string>());
    // The reason the user is told; a file-size limit stands in for a full disk where no small
    // file system may be mounted.
    switch (GetParam()) {
    case FileFault::ReadOnlyFolder:
        EXPECT_EQ(error, EACCES);
        break;
    case FileFault::MissingFolder:
        EXPECT_EQ(error, ENOENT);
        break;
    case FileFault::TargetIsFolder:
        EXPECT_EQ(error, EISDIR);
        break;
    case FileFault::FullDisk:
        EXPECT_TRUE(error == ENOSPC || error == EFBIG) << error;
        break;
    }
}

// The settings keeper tells the user once per run, however often the program saves.
TEST_P(FileFaultTest, SettingsSaveIsReportedOnce) {
    const std::vector<uint8_t> old = {'C', 'O', 'M', '1', '2', 0, 0, 0, 11};
    FaultyPlace& p = place("vantorel.par", old);
    if (!p.unavailable().empty()) {
        GTEST_SKIP() << p.unavailable();
    }
    testing::ScriptedPrompter prompter;
    SettingsKeeper keeper(p.target().string(), prompter);
    keeper.load();
    keeper.settings().language = 1;
    EXPECT_FALSE(keeper.save());
    EXPECT_FALSE(keeper.save());
    EXPECT_EQ(keeper.settings().language, 1) << "the choice stays in memory";
    // A folder at the target was told as unreadable when loading, before the failed saves.
    const size_t toldAtLoad = GetParam() == FileFault::TargetIsFolder ? 1 : 0;
    ASSERT_EQ(prompter.messages().size(), toldAtLoad + 1);
    // With the system's reason where a write was tried; an unreadable file is never tried.
    const std::string plain = cannotCreateFileText(p.target().string());
    const std::string& told = prompter.messages().back().text;
    if (toldAtLoad == 1) {
        EXPECT_EQ(told, plain);
    } else {
        EXPECT_EQ(told.rfind(plain + " (", 0), 0u) << told;
    }
    EXPECT_EQ(p.changes(), std::vector<std::string>());
}

// The archive makes its folder when it is missing and never replaces what stands at a name, so
// only a folder that refuses the file makes it fail.
TEST_P(FileFaultTest, ArchiveCopyKeepsWhatIsThere) {
    const std::string name = archiveFileName(june14(), 1234, 42);
    const std::vector<uint8_t> old(100, 0x33);
    FaultyPlace& p = place(name, old);
    if (!p.unavailable().empty()) {
        GTEST_SKIP() << p.unavailable();
    }
    const std::vector<uint8_t> image(1500, 0x44);
    const auto written = archiveFlight(p.folder().string(), image, june14(), 1234, 42);
    switch (GetParam()) {
    case FileFault::MissingFolder:
        ASSERT_TRUE(written);
        EXPECT_EQ(p.changes(), std::vector<std::string>{"+" + name});
        EXPECT_EQ(testing::readBytes(*written), image);
        break;
    case FileFault::TargetIsFolder: {
        const std::string second = "2026-06-14_103512_S1234_C42-2.bin";
        ASSERT_TRUE(written);
        EXPECT_EQ(fs::path(*written).filename(), second);
        EXPECT_EQ(p.changes(), std::vector<std::string>{"+" + second});
        break;
    }
    default:
        EXPECT_FALSE(written);
        EXPECT_EQ(p.changes(), std::vector<std::string>());
    }
}

INSTANTIATE_TEST_SUITE_P(Faults, FileFaultTest, ::testing::ValuesIn(testing::allFileFaults()),
                         [](const ::testing::TestParamInfo<FileFault>& info) {
                             std::string name = testing::faultName(info.param);
                             for (char& c : name) {
                                 c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             }
                             return name;
                         });

} // namespace
} // namespace vtl
