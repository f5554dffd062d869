// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/device/port_names.h"

#include <gtest/gtest.h>

#include <set>

namespace vtl {
namespace {

#ifndef _WIN32
TEST(PortNames, AliasFirstThenTheUsualDevices) {
    std::set<std::string> present = {"/opt/v/ports/COM7", "/dev/ttyUSB0", "/dev/ttyACM1"};
    auto exists = [&present](const std::string& path) { return present.count(path) > 0; };
    EXPECT_EQ(devicePathForPort("COM7", "/opt/v", exists), "/opt/v/ports/COM7");
    EXPECT_EQ(devicePathForPort("COM1", "/opt/v", exists), "/dev/ttyS0");
    EXPECT_EQ(devicePathForPort("COM4", "/opt/v", exists), "/dev/ttyS3");
    EXPECT_EQ(devicePathForPort("COM5", "/opt/v", exists), "/dev/ttyUSB0");
    EXPECT_EQ(devicePathForPort("COM6", "/opt/v", exists), "/dev/ttyACM1");   // no ttyUSB1 here
    EXPECT_EQ(devicePathForPort("COM25", "/opt/v", exists), "/dev/ttyUSB20"); // neither exists
    EXPECT_EQ(devicePathForPort("/dev/pts/4", "/opt/v", exists), "/dev/pts/4");
}
#endif

TEST(PortNames, WindowsOpensCom10AndAboveThroughTheDeviceNamespace) {
    EXPECT_EQ(windowsPortPath("COM1"), "COM1");
    EXPECT_EQ(windowsPortPath("COM9"), "COM9");
    EXPECT_EQ(windowsPortPath("COM10"), "\\\\.\\COM10");
    EXPECT_EQ(windowsPortPath("COM25"), "\\\\.\\COM25");
    for (const char* refused : {"COM0", "COM26", "COM99", "COM05", "COM", "com5", "COM5 ", "LPT1",
                                "\\\\.\\COM5", "C:\\x", ""}) {
        EXPECT_EQ(windowsPortPath(refused), "") << refused;
        EXPECT_EQ(comPortNumber(refused), 0) << refused;
    }
    EXPECT_EQ(comPortNumber("COM25"), 25);
}

} // namespace
} // namespace vtl
