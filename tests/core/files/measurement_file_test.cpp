// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/files/measurement_commands.h"
#include "core/files/measurement_file.h"
#include "support/scripted_prompter.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <memory>
#include <thread>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace vtl {
namespace {

namespace fs = std::filesystem;

class MeasurementFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Unique per run, so that parallel runs of the suite never share a folder.
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        m_folder = fs::temp_directory_path() / ("vtl-measurement-test-" + std::to_string(stamp));
        fs::create_directories(m_folder);
    }
    void TearDown() override { fs::remove_all(m_folder); }
    std::string path(const std::string& name) const { return (m_folder / name).string(); }

    fs::path m_folder;
};

std::unique_ptr<FlightRecord> recordOfLength(int32_t length) {
    auto record = std::make_unique<FlightRecord>();
    for (int32_t i = 0; i < length; ++i) {
        record->rawImage[static_cast<size_t>(i)] = static_cast<uint8_t>(i * 7 + 3);
    }
    record->rawLength = length;
    return record;
}

TEST(FileTitle, AfterTheLastBackslashThatIsNotTheLastCharacter) {
    EXPECT_EQ(fileTitle("D:\\dane\\lot7.bin", false), "lot7.bin");
    EXPECT_EQ(fileTitle("lot7.bin", false), "lot7.bin");
    EXPECT_EQ(fileTitle("D:\\dane\\", false), "dane\\");
    EXPECT_EQ(fileTitle("\\", false), "\\");
    EXPECT_EQ(fileTitle("", false), "");
    EXPECT_EQ(fileTitle("/home/pilot/lot7.bin", false), "/home/pilot/lot7.bin");
    // Where '/' separates folders, both separators count.
    EXPECT_EQ(fileTitle("/home/pilot/lot7.bin", true), "lot7.bin");
    EXPECT_EQ(fileTitle("D:\\dane\\lot7.bin", true), "lot7.bin");
}

TEST_F(MeasurementFileTest, WrittenWholeAndReadBackUpTo33000Bytes) {
    const auto record = recordOfLength(40000);
    ASSERT_TRUE(writeMeasurementFile(path("long.bin"), *record));
    EXPECT_EQ(fs::file_size(path("long.bin")), 40000u);

    std::vector<uint8_t> bytes;
    ASSERT_TRUE(readMeasurementFile(path("long.bin"), bytes));
    ASSERT_EQ(bytes.size(), kMeasurementReadLimit);
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), record->rawImage.begin()));

    EXPECT_FALSE(readMeasurementFile(path("missing.bin"), bytes));
    EXPECT_FALSE(writeMeasurementFile(path("no-such-folder/lot.bin"), *record));
}

TEST_F(MeasurementFileTest, SaveRefusesOnlyAnEmptyRecordAndReportsAFailedWrite) {
    testing::ScriptedPrompter prompter;
    const Language language = Language::Polish;
    MeasurementCommands commands(prompter, language);

    EXPECT_FALSE(commands.saveMeasurement(*recordOfLength(0)));
    EXPECT_TRUE(prompter.fileDialogs().empty());
    ASSERT_EQ(prompter.messages().size(), 1u);
    EXPECT_EQ(prompter.messages()[0].text, "Brak danych");
    prompter.clear();

    // A header without samples is still a flight image to keep.
    prompter.answerNextFiles({path("header.bin"), path("no-such-folder/lot.bin")});
    EXPECT_TRUE(commands.saveMeasurement(*recordOfLength(32)));
    EXPECT_EQ(fs::file_size(path("header.bin")), 32u);
    EXPECT_TRUE(prompter.messages().empty());

    EXPECT_FALSE(commands.saveMeasurement(*recordOfLength(100)));
    ASSERT_EQ(prompter.messages().size(), 1u);
    EXPECT_EQ(prompter.messages()[0].text,
              "Cannot create file " + path("no-such-folder/lot.bin") + " (nie ma takiego folderu)");
    // The save dialog opens at the name of the previous save.
    ASSERT_EQ(prompter.fileDialogs().size(), 2u);
    EXPECT_EQ(prompter.fileDialogs()[1].second, path("header.bin"));
}

TEST_F(MeasurementFileTest, LoadOfAMissingFileIsReportedAndBringsNothing) {
    testing::ScriptedPrompter prompter;
    const Language language = Language::English;
    MeasurementCommands commands(prompter, language);
    prompter.answerNextFiles({path("missing.bin")});
    EXPECT_FALSE(commands.chooseMeasurement());
    ASSERT_EQ(prompter.messages().size(), 1u);
    EXPECT_EQ(prompter.messages()[0].text, "Cannot open file " + path("missing.bin"));
}

#ifndef _WIN32
// A pipe would hold the open until a writer came, a folder gives no bytes: both are refused at
// once, and the window says why.
TEST_F(MeasurementFileTest, OnlyRegularFilesAreRead) {
    const std::string pipe = path("pipe.bin");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    // Should the read block after all, a writer comes by to end it, so that the test fails
    // instead of hanging.
    std::atomic<bool> done{false};
    std::thread rescue([&] {
        for (int i = 0; i < 300 && !done; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        const int fd = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0) {
            ::close(fd);
        }
    });
    std::vector<uint8_t> bytes;
    MeasurementReadFailure failure = MeasurementReadFailure::None;
    EXPECT_FALSE(readMeasurementFile(pipe, bytes, &failure));
    EXPECT_EQ(failure, MeasurementReadFailure::NotARegularFile);
    done = true;
    rescue.join();

    failure = MeasurementReadFailure::None;
    EXPECT_FALSE(readMeasurementFile(m_folder.string(), bytes, &failure));
    EXPECT_EQ(failure, MeasurementReadFailure::NotARegularFile);
    EXPECT_FALSE(readMeasurementFile(path("missing.bin"), bytes, &failure));
    EXPECT_EQ(failure, MeasurementReadFailure::CannotRead);

    testing::ScriptedPrompter prompter;
    const Language language = Language::Polish;
    MeasurementCommands commands(prompter, language);
    prompter.answerNextFiles({m_folder.string()});
    EXPECT_FALSE(commands.chooseMeasurement());
    ASSERT_EQ(prompter.messages().size(), 1u);
    EXPECT_EQ(prompter.messages()[0].text,
              "Cannot open file " + m_folder.string() + ": nie jest zwykłym plikiem");
}
#endif

} // namespace
} // namespace vtl
