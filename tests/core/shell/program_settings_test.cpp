// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/shell/program_settings.h"

#include "core/shell/settings_keeper.h"
#include "support/scripted_prompter.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace vtl {
namespace {

namespace fs = std::filesystem;

class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_folder =
            fs::temp_directory_path() /
            ("vtl-settings-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
    }
    void TearDown() override { fs::remove_all(m_folder); }

    std::string path() const { return (m_folder / "vantorel.par").string(); }

    void writeFile(const std::vector<uint8_t>& bytes) const { testing::writeBytes(path(), bytes); }
    std::vector<uint8_t> readFile() const { return testing::readBytes(path()); }

    fs::path m_folder;
};

const std::vector<uint8_t> kDefaultRecord = {'C', 'O', 'M', '5', 0, 0, 0, 0, 4,  0, 0,  0, 50, 0,
                                             0,   0,   0,   0,   0, 0, 1, 0, 0,  0, 94, 1, 0,  0,
                                             250, 0,   0,   0,   8, 0, 0, 0, 12, 0, 0,  0};

TEST_F(SettingsFileTest, FirstStartUsesDefaultsAndWritesTheFortyBytes) {
    const ProgramSettings settings = loadProgramSettings(path());
    EXPECT_EQ(settings.portNameText(), "COM5");
    ASSERT_TRUE(saveProgramSettings(path(), settings));
    EXPECT_EQ(readFile(), kDefaultRecord);
}

TEST_F(SettingsFileTest, ShortFileOverlaysOnlyItsBytes) {
    // Ten bytes: the port name and the low half of the port index.
    writeFile({'C', 'O', 'M', '1', '2', 0, 0, 0, 11, 0});
    const ProgramSettings settings = loadProgramSettings(path());
    EXPECT_EQ(settings.portNameText(), "COM12");
    EXPECT_EQ(settings.portIndex, 11);
    EXPECT_EQ(settings.reserved, 50);
    EXPECT_EQ(settings.finalFilterLength, 12);

    // Two bytes of the index from the file, the upper two from the default 4 (which are zero).
    writeFile({'C', 'O', 'M', '1', 0, 0, 0, 0, 0xFF, 0xFF});
    EXPECT_EQ(loadProgramSettings(path()).portIndex, 0xFFFF);
}

TEST_F(SettingsFileTest, LongFileUsesTheFirstFortyBytes) {
    std::vector<uint8_t> bytes = kDefaultRecord;
    bytes[16] = 7; // language 7 is kept as it is; every nonzero language means English
    bytes[20] = 0;
    bytes.resize(50, 0xEE);
    writeFile(bytes);
    const ProgramSettings settings = loadProgramSettings(path());
    EXPECT_EQ(settings.language, 7);
    EXPECT_EQ(settings.showAcceleration, 0);
    ASSERT_TRUE(saveProgramSettings(path(), settings));
    EXPECT_EQ(readFile(), std::vector<uint8_t>(bytes.begin(), bytes.begin() + 40));
}

TEST_F(SettingsFileTest, FailedSaveIsReportedOnceAndKeepsTheRecord) {
    // A folder in the file's place cannot be replaced by the renamed temporary file.
    fs::create_directories(path());
    testing::ScriptedPrompter prompter;
    SettingsKeeper keeper(path(), prompter);
    keeper.load();
    keeper.settings().language = 1;
    EXPECT_FALSE(keeper.save());
    EXPECT_FALSE(keeper.save());
    // The folder was already told as unreadable when loading; the failed saves once more.
    ASSERT_EQ(prompter.messages().size(), 2u);
    EXPECT_EQ(prompter.messages()[0].text, "Nie można odczytać pliku ustawień " + path());
    EXPECT_EQ(prompter.messages()[1].text, "Cannot create file " + path());
    EXPECT_EQ(keeper.settings().language, 1);
    EXPECT_TRUE(fs::is_directory(path()));
    EXPECT_EQ(std::distance(fs::directory_iterator(m_folder), fs::directory_iterator()), 1)
        << "the temporary file was left behind";
}

TEST(SettingsFileName, ReplacesTheExtensionBesideTheExecutable) {
    EXPECT_EQ(settingsFileNameFor("C:\\Programs\\Vantorel\\VANTOREL.EXE"),
              "C:\\Programs\\Vantorel\\VANTOREL.par");
    EXPECT_EQ(settingsFileNameFor("/opt/vantorel/bin/vantorel"), "/opt/vantorel/bin/vantorel.par");
    EXPECT_EQ(settingsFileNameFor("/home/pilot/v1.2/vantorel"), "/home/pilot/v1.2/vantorel.par");
    EXPECT_EQ(settingsFileNameFor("vantorel.exe"), "vantorel.par");
}

TEST(ProgramSettingsRecord, PortNameIsZeroFilled) {
    ProgramSettings settings = defaultProgramSettings();
    settings.setPortName("COM10");
    settings.setPortName("COM5");
    const auto bytes = encodeProgramSettings(settings);
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 8),
              (std::vector<uint8_t>{'C', 'O', 'M', '5', 0, 0, 0, 0}));
}

} // namespace
} // namespace vtl
