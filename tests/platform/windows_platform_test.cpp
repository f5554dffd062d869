// SPDX-License-Identifier: GPL-3.0-or-later
// Windows's own places and serial line: the settings file beside the program or under
// %APPDATA%, the archive under the local application-data folder, and the COM names the port
// opens and refuses.
#include "platform/archive_location.h"
#include "platform/settings_location.h"
#include "platform/win32_serial_port.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <windows.h>

namespace vtl {
namespace {

void touch(const QString& path) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
}

class WindowsPlacesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_root.isValid());
        m_previousAppData = qgetenv("APPDATA");
        qputenv("APPDATA", QDir::toNativeSeparators(m_root.filePath("Roaming")).toLocal8Bit());
        ASSERT_TRUE(QDir().mkpath(program()));
    }
    void TearDown() override { qputenv("APPDATA", m_previousAppData); }

    QString program() const {
        return m_root.filePath(QStringLiteral("Program Files/Vantorel ąłż"));
    }
    QString executable() const { return program() + QStringLiteral("/vantorel.exe"); }

    QTemporaryDir m_root;
    QByteArray m_previousAppData;
};

TEST_F(WindowsPlacesTest, AProgramFolderOfItsOwnKeepsTheSettingsBesideTheProgram) {
    const SettingsPlaces places = settingsPlacesFor(executable());
    EXPECT_TRUE(places.programFileWritable);
    EXPECT_EQ(QString::fromStdString(places.homeFile()),
              program() + QStringLiteral("/vantorel.par"));
}

TEST_F(WindowsPlacesTest, AnInstalledProgramKeepsThemUnderAppData) {
    touch(program() + QStringLiteral("/Uninstall.exe"));
    const SettingsPlaces places = settingsPlacesFor(executable());
    EXPECT_FALSE(places.programFileWritable);
    EXPECT_EQ(QString::fromStdString(places.homeFile()),
              m_root.filePath(QStringLiteral("Roaming/Vantorel/vantorel.par")));
}

TEST(WindowsArchive, FlightsAreKeptUnderTheLocalApplicationData) {
    const QString local = QDir::fromNativeSeparators(qEnvironmentVariable("LOCALAPPDATA"));
    ASSERT_FALSE(local.isEmpty());
    EXPECT_EQ(defaultArchiveFolder().toLower(),
              (local + QStringLiteral("/vantorel/flights")).toLower());
}

TEST(Win32SerialPort, NamesOutsideCom1ToCom25AreRefusedWithoutAsking) {
    for (const char* name : {"COM0", "COM26", "LPT1", "COM5 ", "\\\\.\\COM5"}) {
        Win32SerialPort port;
        EXPECT_FALSE(port.open(name)) << name;
        EXPECT_FALSE(port.isOpen());
        EXPECT_EQ(port.lastOpenError().reason, PortOpenFailure::NotFound) << name;
        EXPECT_EQ(port.lastOpenError().path, name);
    }
}

TEST(Win32SerialPort, APortThatIsNotThereIsNamedWithThePathTried) {
    Win32SerialPort port;
    EXPECT_FALSE(port.open("COM23"));
    EXPECT_EQ(port.lastOpenError().reason, PortOpenFailure::NotFound);
    EXPECT_EQ(port.lastOpenError().path, "\\\\.\\COM23");
    EXPECT_EQ(port.bytesWaiting(), 0u);
    EXPECT_FALSE(port.write(reinterpret_cast<const uint8_t*>("x"), 1));
}

TEST(Win32SerialPort, SystemErrorsAreTheReasonsTheUserCanActOn) {
    EXPECT_EQ(win32OpenFailureReason(ERROR_FILE_NOT_FOUND), PortOpenFailure::NotFound);
    EXPECT_EQ(win32OpenFailureReason(ERROR_PATH_NOT_FOUND), PortOpenFailure::NotFound);
    EXPECT_EQ(win32OpenFailureReason(ERROR_ACCESS_DENIED), PortOpenFailure::Busy);
    EXPECT_EQ(win32OpenFailureReason(ERROR_SHARING_VIOLATION), PortOpenFailure::Busy);
    EXPECT_EQ(win32OpenFailureReason(ERROR_GEN_FAILURE), PortOpenFailure::Unknown);
}

} // namespace
} // namespace vtl
