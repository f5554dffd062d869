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

} // namespace
} // namespace vtl
