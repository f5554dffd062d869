// SPDX-License-Identifier: GPL-3.0-or-later
// Why a real port cannot be opened, and what the port list says of the aliases, on real
// pseudo-terminals.
#include "platform/port_discovery.h"
#include "platform/qt_serial_port.h"

#include "support/file_faults.h"
#include "support/pseudo_terminal.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTemporaryDir>

#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vtl {
namespace {

namespace fs = std::filesystem;
using testing::PseudoTerminal;

class PortDiscoveryTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing::ensureCoreApplication(); }
    void SetUp() override {
        ASSERT_TRUE(m_folder.isValid());
        ASSERT_FALSE(m_pty.slave().empty()) << "no pseudo-terminal";
    }

    QTemporaryDir m_folder;
    PseudoTerminal m_pty;
};

TEST_F(PortDiscoveryTest, TellsAMissingDeviceFromOneThatAnotherPortHolds) {
    QtSerialPort port(m_folder.path());
    EXPECT_FALSE(port.open("/dev/ttyVtlNoSuchDevice"));
    EXPECT_EQ(port.lastOpenError().reason, PortOpenFailure::NotFound);
    EXPECT_EQ(port.lastOpenError().path, "/dev/ttyVtlNoSuchDevice");

    QtSerialPort holder(m_folder.path());
    ASSERT_TRUE(holder.open(m_pty.slave()));
    EXPECT_FALSE(port.open(m_pty.slave()));
    EXPECT_EQ(port.lastOpenError().reason, PortOpenFailure::Busy);
    holder.close();
    EXPECT_TRUE(port.open(m_pty.slave()));
}

TEST_F(PortDiscoveryTest, ADeviceTheUserMayNotUseIsAPermissionFault) {
    ASSERT_EQ(::chmod(m_pty.slave().c_str(), 0), 0);
    // Root opens any device whatever its mode; without that power it meets the mode as a user.
    testing::WithoutPermissionOverride asAUser;
    const int probe = ::open(m_pty.slave().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (probe >= 0) {
        ::close(probe);
        GTEST_SKIP() << "this process opens a device of mode 000 (cannot drop CAP_DAC_OVERRIDE)";
    }
    // Reached through an alias, the message names the device itself.
    fs::create_directories(m_folder.filePath("ports").toStdString());
    fs::create_symlink(m_pty.slave(), m_folder.filePath("ports/COM5").toStdString());
    QtSerialPort port(m_folder.path());
    EXPECT_FALSE(port.open("COM5"));
    EXPECT_EQ(port.lastOpenError().reason, PortOpenFailure::PermissionDenied);
    EXPECT_EQ(port.lastOpenError().path, m_pty.slave());
}

TEST_F(PortDiscoveryTest, AliasesThatLeadSomewhereAreListed) {
    const fs::path ports = m_folder.filePath("ports").toStdString();
    fs::create_directories(ports);
    fs::create_symlink(m_pty.slave(), ports / "COM5");
    fs::create_symlink("/dev/pts/vtl-gone", ports / "COM6");
    // The last name is looked for as well as the first.
    fs::create_symlink(m_pty.slave(), ports / "COM25");
    const PortFinder finder = discoverPorts(m_folder.path(), Language::English);
    EXPECT_EQ(finder.entryText("COM5"),
              "COM5  (ports/COM5 \u2192 " + m_pty.slave() + ", simulator)");
    EXPECT_EQ(finder.entryText("COM6"), "COM6");
    EXPECT_EQ(finder.entryText("COM25"),
              "COM25  (ports/COM25 \u2192 " + m_pty.slave() + ", simulator)");
}

} // namespace
} // namespace vtl
