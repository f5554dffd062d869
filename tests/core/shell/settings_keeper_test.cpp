// SPDX-License-Identifier: GPL-3.0-or-later
// Which settings file the program starts from and which it saves to, when the file beside the
// program cannot be read or written: nothing unreadable is ever written over, and the user's
// choices are found again at the next start.
#include "core/shell/settings_keeper.h"

#include "core/shell/framework_texts.h"
#include "core/shell/text_tables.h"
#include "support/file_faults.h"
#include "support/scripted_prompter.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include <sys/stat.h>

namespace vtl {
namespace {

namespace fs = std::filesystem;
using testing::readBytes;
using testing::writeBytes;

std::vector<uint8_t> recordOf(const ProgramSettings& settings) {
    const auto bytes = encodeProgramSettings(settings);
    return {bytes.begin(), bytes.end()};
}

ProgramSettings com12English() {
    ProgramSettings s = defaultProgramSettings();
    s.setPortName("COM12");
    s.portIndex = 11;
    s.language = 1;
    s.finalFilterLength = 30;
    return s;
}

class SettingsPlacesTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_base = fs::temp_directory_path() /
                 ("vtl-places-" +
                  std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
                  "-" + std::to_string(::getpid()));
        fs::remove_all(m_base);
        fs::create_directories(m_base / "program");
        m_places.programFile = (m_base / "program" / "vantorel.par").string();
        m_places.userFile = (m_base / "config" / "vantorel" / "vantorel.par").string();
    }
    void TearDown() override {
        ::chmod(m_places.programFile.c_str(), 0644);
        ::chmod(m_places.userFile.c_str(), 0644);
        fs::remove_all(m_base);
    }

    std::string unreadableText(const std::string& path, Language language) const {
        std::string text = message(Message::SettingsUnreadable, language);
        return text.replace(text.find("%s"), 2, path);
    }
    std::string savedInText(Language language) const {
        std::string text = message(Message::SettingsSavedIn, language);
        return text.replace(text.find("%s"), 2, (m_base / "config" / "vantorel").string());
    }

    fs::path m_base;
    SettingsPlaces m_places;
};

// Missing, unreadable for each reason, and readable though empty are three different answers,
// and only a readable file changes the record.
TEST_F(SettingsPlacesTest, ReadingTellsMissingFromUnreadable) {
    ProgramSettings settings = com12English();
    const fs::path file = m_places.programFile;
    EXPECT_EQ(readProgramSettings(file.string(), settings), SettingsFileState::Missing);
    EXPECT_EQ(readProgramSettings((file / "below").string(), settings), SettingsFileState::Missing);

    fs::create_directories(file);
    EXPECT_EQ(readProgramSettings(file.string(), settings), SettingsFileState::Unreadable);
    fs::remove(file);

    // Opens, then fails with an I/O error at the first read.
    if (std::FILE* mem = std::fopen("/proc/self/mem", "rb")) {
        std::fclose(mem);
        EXPECT_EQ(readProgramSettings("/proc/self/mem", settings), SettingsFileState::Unreadable);
    }

    writeBytes(file, recordOf(defaultProgramSettings()));
    ::chmod(file.string().c_str(), 0);
    {
        testing::WithoutPermissionOverride withoutOverride;
        if (std::FILE* open = std::fopen(file.string().c_str(), "rb")) {
            std::fclose(open);
        } else {
            EXPECT_EQ(readProgramSettings(file.string(), settings), SettingsFileState::Unreadable);
        }
    }
    EXPECT_TRUE(settings == com12English()) << "a file that was not read changed the record";

    ::chmod(file.string().c_str(), 0644);
    writeBytes(file, {});
    EXPECT_EQ(readProgramSettings(file.string(), settings), SettingsFileState::Read);
    EXPECT_TRUE(settings == com12English());
}

// A folder at the program's file, or a file of mode 000 (to a user who may or may not write the
// program's folder): told once in the language in force, kept as it is, and the choices made
// are found in the configuration folder at the next start.
TEST_F(SettingsPlacesTest, UnreadableProgramFileIsToldOnceAndKept) {
    for (const bool folderInItsPlace : {true, false}) {
        for (const bool programFileWritable : {true, false}) {
            SCOPED_TRACE(std::string(folderInItsPlace ? "folder" : "mode 000") +
                         (programFileWritable ? ", writable folder" : ", read-only folder"));
            TearDown();
            SetUp();
            m_places.programFileWritable = programFileWritable;
            const std::vector<uint8_t> old = recordOf(com12English());
            if (folderInItsPlace) {
                fs::create_directories(fs::path(m_places.programFile) / "inside");
            } else {
                writeBytes(m_places.programFile, old);
                ::chmod(m_places.programFile.c_str(), 0);
            }
            testing::WithoutPermissionOverride withoutOverride;
            if (!folderInItsPlace) {
                if (std::FILE* open = std::fopen(m_places.programFile.c_str(), "rb")) {
                    std::fclose(open);
                    GTEST_SKIP() << "a file of mode 000 stays readable here";
                }
            }

            testing::ScriptedPrompter prompter;
            SettingsKeeper first(m_places, prompter);
            first.load();
            EXPECT_TRUE(first.settings() == defaultProgramSettings());
            ASSERT_EQ(prompter.messages().size(), 1u);
            EXPECT_EQ(prompter.messages()[0].text,
                      unreadableText(m_places.programFile, Language::Polish) + "\n" +
                          savedInText(Language::Polish));
            EXPECT_EQ(prompter.messages()[0].caption,
                      message(Message::ErrorCaption, Language::Polish));

            first.settings().language = 1;
            first.settings().preCutCm = 410;
            EXPECT_TRUE(first.save());
            EXPECT_TRUE(first.save());
            EXPECT_EQ(first.path(), m_places.userFile);
            EXPECT_EQ(prompter.messages().size(), 1u);
            if (folderInItsPlace) {
                EXPECT_TRUE(fs::is_directory(fs::path(m_places.programFile) / "inside"));
                EXPECT_EQ(std::distance(fs::directory_iterator(m_base / "program"),
                                        fs::directory_iterator()),
                          1);
            } else {
                ::chmod(m_places.programFile.c_str(), 0644);
                EXPECT_EQ(readBytes(m_places.programFile), old);
                ::chmod(m_places.programFile.c_str(), 0);
            }

            testing::ScriptedPrompter nextPrompter;
            SettingsKeeper next(m_places, nextPrompter);
            next.load();
            EXPECT_EQ(next.settings().language, 1);
            EXPECT_EQ(next.settings().preCutCm, 410);
            if (!programFileWritable) {
                // The configuration folder's file comes first here: the other is not looked at.
                EXPECT_TRUE(nextPrompter.messages().empty());
                continue;
            }
            ASSERT_EQ(nextPrompter.messages().size(), 1u) << "still the file in charge, told again";
            EXPECT_EQ(nextPrompter.messages()[0].text,
                      unreadableText(m_places.programFile, Language::English) + "\n" +
                          savedInText(Language::English));
        }
    }
}

// A readable file that may not be written gives its values; the save goes to the configuration
// folder, whose file is then what the next start reads, even after the program's file changed.
TEST_F(SettingsPlacesTest, ReadOnlyProgramFileGivesItsValuesAndTheUserFileWinsOnceWritten) {
    m_places.programFileWritable = false;
    const std::vector<uint8_t> old = recordOf(com12English());
    writeBytes(m_places.programFile, old);
    testing::ScriptedPrompter prompter;
    SettingsKeeper first(m_places, prompter);
    first.load();
    EXPECT_TRUE(first.settings() == com12English());
    EXPECT_FALSE(fs::exists(m_base / "config")) << "nothing is made before a save";
    first.settings().setPortName("COM3");
    first.settings().portIndex = 2;
    ASSERT_TRUE(first.save());
    EXPECT_EQ(readBytes(m_places.programFile), old);
    EXPECT_TRUE(prompter.messages().empty());

    ProgramSettings administrators = com12English();
    administrators.setPortName("COM7");
    writeBytes(m_places.programFile, recordOf(administrators));
    SettingsKeeper next(m_places, prompter);
    next.load();
    EXPECT_EQ(next.settings().portNameText(), "COM3");
    EXPECT_EQ(next.settings().language, 1) << "the rest came over from the program's file";
    EXPECT_TRUE(prompter.messages().empty());

    // A writable install keeps to its own file and never looks at the configuration folder.
    m_places.programFileWritable = true;
    SettingsKeeper writable(m_places, prompter);
    writable.load();
    EXPECT_EQ(writable.settings().portNameText(), "COM7");
    EXPECT_EQ(writable.path(), m_places.programFile);
}

// Where the configuration folder's file is unreadable too, nothing is written anywhere: the
// start says so without promising a place, and the save is refused and told once.
TEST_F(SettingsPlacesTest, NothingUnreadableIsWrittenEvenAsTheLastPlace) {
    m_places.programFileWritable = false;
    writeBytes(m_places.programFile, recordOf(com12English()));
    fs::create_directories(m_places.userFile);
    testing::ScriptedPrompter prompter;
    SettingsKeeper keeper(m_places, prompter);
    keeper.load();
    EXPECT_TRUE(keeper.settings() == com12English());
    ASSERT_EQ(prompter.messages().size(), 1u);
    EXPECT_EQ(prompter.messages()[0].text, unreadableText(m_places.userFile, Language::English));
    EXPECT_FALSE(keeper.save());
    EXPECT_FALSE(keeper.save());
    ASSERT_EQ(prompter.messages().size(), 2u);
    EXPECT_EQ(prompter.messages()[1].text, cannotCreateFileText(m_places.userFile));
    EXPECT_TRUE(fs::is_directory(m_places.userFile));

    // One file named for the run (a command line's, a test's) has no other place to go.
    writeBytes(m_places.programFile, {'C', 'O', 'M', '9'});
    ::chmod(m_places.programFile.c_str(), 0200);
    testing::WithoutPermissionOverride withoutOverride;
    if (std::FILE* open = std::fopen(m_places.programFile.c_str(), "rb")) {
        std::fclose(open);
        GTEST_SKIP() << "a file of mode 200 stays readable here";
    }
    testing::ScriptedPrompter single;
    SettingsKeeper one(m_places.programFile, single);
    one.load();
    EXPECT_FALSE(one.save());
    ASSERT_EQ(single.messages().size(), 2u);
    EXPECT_EQ(single.messages()[0].text, unreadableText(m_places.programFile, Language::Polish));
    ::chmod(m_places.programFile.c_str(), 0644);
    EXPECT_EQ(readBytes(m_places.programFile), (std::vector<uint8_t>{'C', 'O', 'M', '9'}))
        << "a file the user may write but not read was replaced";
}

} // namespace
} // namespace vtl
