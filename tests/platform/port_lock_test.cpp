// SPDX-License-Identifier: GPL-3.0-or-later
// One device, one program: every name of a pseudo-terminal leads to the same lock, whoever opens
// it, root too, and the refused program learns which process holds the device.
#include "platform/posix_device_lock.h"
#include "platform/qt_serial_port.h"

#include "support/pseudo_terminal.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QSerialPort>
#include <QTemporaryDir>

#include <filesystem>

#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vtl {
namespace {

namespace fs = std::filesystem;
using testing::PseudoTerminal;

constexpr uid_t kNobody = 65534;

class PortLockTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing::ensureCoreApplication(); }
    void SetUp() override {
        ASSERT_TRUE(m_folder.isValid());
        ASSERT_FALSE(m_pty.slave().empty()) << "no pseudo-terminal";
        // Two aliases of the one device, as the simulator or a user makes them.
        const fs::path ports = m_folder.filePath("ports").toStdString();
        fs::create_directories(ports);
        fs::create_symlink(m_pty.slave(), ports / "COM5");
        fs::create_symlink(m_pty.slave(), ports / "COM6");
    }

    QTemporaryDir m_folder;
    PseudoTerminal m_pty;
};

TEST_F(PortLockTest, TwoNamesOfOneDeviceAreOnePort) {
    QtSerialPort holder(m_folder.path());
    ASSERT_TRUE(holder.open("COM5"));

    for (const char* name : {"COM6", "COM5"}) {
        QtSerialPort second(m_folder.path());
        EXPECT_FALSE(second.open(name)) << name;
        EXPECT_EQ(second.lastOpenError().reason, PortOpenFailure::Busy) << name;
        EXPECT_EQ(second.lastOpenError().path, m_pty.slave()) << name;
        EXPECT_EQ(second.lastOpenError().holderProcess, ::getpid()) << name;
    }
    // A program that knows nothing of the aliases finds the device held too: Qt's lock file is
    // the device's, not the alias's (root passes the terminal's exclusive mode).
    QSerialPort byDevice(QString::fromStdString(m_pty.slave()));
    EXPECT_FALSE(byDevice.open(QIODevice::ReadWrite));

    holder.close();
    QtSerialPort second(m_folder.path());
    EXPECT_TRUE(second.open("COM6"));
}

// The lock on the device's node holds where Qt's lock file is not seen (a user who keeps it in
// another folder), for root as for anyone.
TEST_F(PortLockTest, TheDeviceLockBindsEveryOpenOfTheDevice) {
    const int first = ::open(m_pty.slave().c_str(), O_RDWR | O_NOCTTY);
    const int second = ::open(m_pty.slave().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(first, 0);
    ASSERT_GE(second, 0);
    EXPECT_EQ(DeviceLock::holderOf(m_pty.slave()), 0);
    EXPECT_TRUE(DeviceLock::take(first));
    EXPECT_FALSE(DeviceLock::take(second));
    EXPECT_EQ(DeviceLock::holderOf(m_pty.slave()), ::getpid());

    ::close(first);
    EXPECT_TRUE(DeviceLock::take(second));
    ::close(second);
}

TEST(DeviceLockTable, TheWholeFileLockOfTheFileNamesTheHolder) {
    const std::string table = "1: POSIX  ADVISORY  WRITE 99 00:19:3 0 EOF\n"
                              "2: FLOCK  ADVISORY  WRITE 1234 00:19:4 0 EOF\n"
                              "3: FLOCK  ADVISORY  WRITE 4321 00:19:3 0 EOF\n"
                              "3: -> FLOCK  ADVISORY  WRITE 555 00:19:3 0 EOF\n"
                              "4: FLOCK  ADVISORY  WRITE 777 fe:01:10954455 0 EOF\n";
    EXPECT_EQ(DeviceLock::holderIn(table, makedev(0, 0x19), 3), 4321);
    EXPECT_EQ(DeviceLock::holderIn(table, makedev(0xfe, 1), 10954455), 777);
    EXPECT_EQ(DeviceLock::holderIn(table, makedev(0, 0x19), 5), 0);
    EXPECT_EQ(DeviceLock::holderIn(table, makedev(0, 25), 5), 0);
}

// What a child that runs as `nobody` saw when it opened COM6: the reason and the holder.
struct ChildReport {
    int opened = 0;
    int reason = 0;
    long holder = 0;
};

// A child that waits for orders; it ends when its order pipe closes, and is reaped however the
// test ends.
struct OrderedChild {
    pid_t pid;
    int orders;
    int reports;
    ~OrderedChild() {
        ::close(orders);
        ::close(reports);
        int status = 0;
        ::waitpid(pid, &status, 0);
    }
};

// Root and an ordinary user keep each other off the device, each told who holds it.
TEST_F(PortLockTest, RootAndAnOrdinaryUserShareNoPort) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root can run a child as another user";
    }
    // The user may use the device and reach the aliases, as a member of dialout would.
    ASSERT_EQ(::chmod(m_pty.slave().c_str(), 0666), 0);
    ASSERT_EQ(::chmod(m_folder.path().toUtf8().constData(), 0755), 0);

    // The child is made before the port is opened, so that it holds none of root's descriptors.
    int reports[2];
    int orders[2];
    ASSERT_EQ(::pipe(reports), 0);
    ASSERT_EQ(::pipe(orders), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(reports[0]);
        ::close(orders[1]);
        if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) {
            ::_exit(2);
        }
        QtSerialPort user(m_folder.path());
        char order = 0;
        for (int attempt = 0; attempt < 2; ++attempt) {
            if (::read(orders[0], &order, 1) != 1) {
                ::_exit(3);
            }
            const ChildReport report{user.open("COM6") ? 1 : 0,
                                     static_cast<int>(user.lastOpenError().reason),
                                     user.lastOpenError().holderProcess};
            if (::write(reports[1], &report, sizeof report) != sizeof report) {
                ::_exit(3);
            }
        }
        // The port is held until the parent has tried it; the order pipe's end says when.
        const bool ended = ::read(orders[0], &order, 1) >= 0;
        user.close(); // no lock file is left behind
        ::_exit(ended ? 0 : 3);
    }
    ::close(reports[1]);
    ::close(orders[0]);
    const OrderedChild guard{child, orders[1], reports[0]};
    QtSerialPort root(m_folder.path());
    ASSERT_TRUE(root.open("COM5"));
    const char go = 'g';
    ASSERT_EQ(::write(orders[1], &go, 1), 1);
    ChildReport report;
    ASSERT_EQ(::read(reports[0], &report, sizeof report), static_cast<ssize_t>(sizeof report));
    EXPECT_EQ(report.opened, 0);
    EXPECT_EQ(report.reason, static_cast<int>(PortOpenFailure::Busy));
    EXPECT_EQ(report.holder, ::getpid());

    root.close();
    ASSERT_EQ(::write(orders[1], &go, 1), 1);
    ASSERT_EQ(::read(reports[0], &report, sizeof report), static_cast<ssize_t>(sizeof report));
    EXPECT_EQ(report.opened, 1);
    // The user holds the device now: root is refused, and told the user's process.
    EXPECT_FALSE(root.open("COM5"));
    EXPECT_EQ(root.lastOpenError().reason, PortOpenFailure::Busy);
    EXPECT_EQ(root.lastOpenError().holderProcess, child);
}

} // namespace
} // namespace vtl
