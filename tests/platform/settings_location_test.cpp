// SPDX-License-Identifier: GPL-3.0-or-later
// Whether the program may keep its settings beside itself, and the name it uses in the user's
// configuration folder otherwise.
#include "platform/settings_location.h"

#include "support/file_faults.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <sys/stat.h>

namespace vtl {
namespace {

namespace fs = std::filesystem;

class SettingsLocationTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_root.isValid());
        m_config = m_root.filePath("config").toStdString();
        ::setenv("XDG_CONFIG_HOME", m_config.c_str(), 1);
        fs::create_directories(program());
    }
    void TearDown() override {
        ::chmod(program().c_str(), 0755);
        ::unsetenv("XDG_CONFIG_HOME");
    }

    std::string program() const { return m_root.filePath("program").toStdString(); }
    QString executable() const { return QString::fromStdString(program() + "/vantorel"); }
    SettingsPlaces places() const { return settingsPlacesFor(executable()); }

    QTemporaryDir m_root;
    std::string m_config;
};

TEST_F(SettingsLocationTest, AProgramFolderOfOurOwnKeepsTheFileBesideTheProgram) {
    const SettingsPlaces p = places();
    EXPECT_EQ(p.programFile, program() + "/vantorel.par");
    EXPECT_EQ(p.userFile, m_config + "/vantorel/vantorel.par");
    EXPECT_TRUE(p.programFileWritable);
    EXPECT_EQ(resolveSettingsFilePath(executable()).toStdString(), p.programFile);
    EXPECT_FALSE(fs::exists(m_config)) << "asking makes nothing in the user's folders";

    // A folder in the file's place is still the program's own file: the keeper finds it
    // unreadable and goes elsewhere.
    fs::create_directories(p.programFile);
    EXPECT_TRUE(places().programFileWritable);
}

// An installed program, a read-only file and a read-only folder all save to the configuration
// folder (even for root, once its override is dropped, as for a user).
TEST_F(SettingsLocationTest, ProgramFolderThatIsNotOursSavesInTheConfigurationFolder) {
    fs::create_directories(m_root.filePath("share/vantorel").toStdString());
    EXPECT_FALSE(places().programFileWritable) << "installed";
    EXPECT_EQ(resolveSettingsFilePath(executable()).toStdString(),
              m_config + "/vantorel/vantorel.par");
    fs::remove_all(m_root.filePath("share").toStdString());
    ASSERT_TRUE(places().programFileWritable);

    const std::string file = program() + "/vantorel.par";
    std::ofstream(file) << "COM5";
    ::chmod(file.c_str(), 0444);
    {
        testing::WithoutPermissionOverride withoutOverride;
        EXPECT_FALSE(places().programFileWritable) << "read-only file";
    }
    ::chmod(file.c_str(), 0644);
    fs::remove(file);

    ::chmod(program().c_str(), 0555);
    testing::WithoutPermissionOverride withoutOverride;
    EXPECT_FALSE(places().programFileWritable) << "read-only folder";
}

} // namespace
} // namespace vtl
