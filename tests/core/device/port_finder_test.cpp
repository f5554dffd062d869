// SPDX-License-Identifier: GPL-3.0-or-later
// Which COMn leads to which port, worked out from what the system lists, never from the machine.
#include "core/device/port_finder.h"

#include <gtest/gtest.h>

namespace vtl {
namespace {

PortDescription usb(const std::string& path, const std::string& description,
                    const std::string& manufacturer = "", uint16_t vendor = 0x0403,
                    uint16_t product = 0x6001) {
    return {path, description, manufacturer, vendor, product, true};
}

PortDescription builtIn(const std::string& path) {
    return {path, "", "", std::nullopt, std::nullopt, false};
}

std::vector<std::string> names(const PortFinder& finder) {
    std::vector<std::string> result;
    for (const FoundPort& port : finder.ports()) {
        result.push_back(port.name + "=" + port.path);
    }
    return result;
}

#ifndef _WIN32
TEST(PortFinder, SeveralUsbAdaptersTakeTheUsualNamesAndSayWhatTheyAre) {
    const PortFinder finder({builtIn("/dev/ttyS0"), usb("/dev/ttyUSB1", "", "Prolific"),
                             usb("/dev/ttyUSB0", "FT232R USB UART"),
                             usb("/dev/ttyACM0", "", "", 0x2341, 0x0043)},
                            {});
    // ttyACM0 has no name: COM5 is the ttyUSB0 that is there.
    EXPECT_EQ(names(finder), (std::vector<std::string>{"COM1=/dev/ttyS0", "COM5=/dev/ttyUSB0",
                                                       "COM6=/dev/ttyUSB1"}));
    EXPECT_EQ(finder.entryText("COM1"), "COM1  (/dev/ttyS0)");
    EXPECT_EQ(finder.entryText("COM5"), "COM5  (USB: /dev/ttyUSB0, FT232R USB UART)");
    EXPECT_EQ(finder.entryText("COM6"), "COM6  (USB: /dev/ttyUSB1, Prolific)");
    EXPECT_EQ(finder.entryText("COM7"), "COM7");
    EXPECT_EQ(finder.usbPorts().size(), 3u);
    EXPECT_FALSE(finder.singleUsbPort());
    EXPECT_FALSE(finder.offerInsteadOf("COM9"));
}

TEST(PortFinder, AnAcmNodeTakesTheNameWhereTheUsbNodeIsMissing) {
    const PortFinder finder({usb("/dev/ttyACM1", "", "", 0x2341, 0x0043)}, {});
    EXPECT_EQ(names(finder), (std::vector<std::string>{"COM6=/dev/ttyACM1"}));
    EXPECT_EQ(finder.entryText("COM6"), "COM6  (USB: /dev/ttyACM1, 2341:0043)");
    EXPECT_EQ(finder.singleUsbPort(), "COM6");
    EXPECT_EQ(finder.offerInsteadOf("COM5"), "COM6");
    EXPECT_FALSE(finder.offerInsteadOf("COM6")); // already the configured port
    // Nor is it offered in place of an alias that leads to the same device.
    const PortFinder aliased({usb("/dev/ttyACM1", "")}, {{"COM8", "/dev/ttyACM1"}});
    EXPECT_EQ(aliased.singleUsbPort(), "COM6");
    EXPECT_FALSE(aliased.offerInsteadOf("COM8"));

    // The last name reaches the twenty-first USB node.
    const PortFinder last({usb("/dev/ttyUSB20", "CP2102")}, {});
    EXPECT_EQ(names(last), (std::vector<std::string>{"COM25=/dev/ttyUSB20"}));
    EXPECT_EQ(last.offerInsteadOf("COM5"), "COM25");

    // One USB port that no name reaches is found by its path, and cannot be offered as a name.
    const PortFinder far({usb("/dev/ttyUSB30", "CP2102")}, {});
    EXPECT_TRUE(far.ports().empty());
    EXPECT_EQ(far.singleUsbPort(), "/dev/ttyUSB30");
    EXPECT_FALSE(far.offerInsteadOf("COM5"));
}

TEST(PortFinder, AliasesComeBeforeTheUsualDevices) {
    const std::vector<PortAlias> aliases = {
        {"COM5", "/dev/pts/3"}, {"COM7", "/dev/ttyACM0"}, {"COM9", "/srv/line"}};
    const PortFinder finder(
        {usb("/dev/ttyUSB0", "FT232R USB UART"), usb("/dev/ttyACM0", "Arduino Uno")}, aliases);
    EXPECT_EQ(names(finder),
              (std::vector<std::string>{"COM5=/dev/pts/3", "COM7=/dev/ttyACM0", "COM9=/srv/line"}));
    EXPECT_EQ(finder.entryText("COM5"), "COM5  (ports/COM5 \u2192 /dev/pts/3, simulator)");
    EXPECT_EQ(finder.entryText("COM7"), "COM7  (ports/COM7 \u2192 USB: /dev/ttyACM0, Arduino Uno)");
    EXPECT_EQ(finder.entryText("COM9"), "COM9  (ports/COM9 \u2192 /srv/line)");
    EXPECT_EQ(PortFinder({}, aliases, Language::Polish).entryText("COM5"),
              "COM5  (ports/COM5 \u2192 /dev/pts/3, symulator)");

    // The one USB port, reached through an alias, is offered by that name; the simulator is no
    // USB port and is never offered.
    const PortFinder one({usb("/dev/ttyACM0", "Arduino Uno")}, aliases);
    EXPECT_EQ(one.offerInsteadOf("COM5"), "COM7");
    EXPECT_FALSE(PortFinder({}, aliases).singleUsbPort());
}
#endif

TEST(PortFinder, PortsTheSystemCallsComnKeepTheirNames) {
    const PortFinder finder(
        {usb("COM7", "USB Serial Port"), builtIn("\\\\.\\COM12"), builtIn("COM30")}, {});
    EXPECT_EQ(names(finder), (std::vector<std::string>{"COM7=COM7", "COM12=\\\\.\\COM12"}));
    EXPECT_EQ(finder.entryText("COM7"), "COM7  (USB: COM7, USB Serial Port)");
    EXPECT_EQ(finder.offerInsteadOf("COM5"), "COM7");
}

} // namespace
} // namespace vtl
