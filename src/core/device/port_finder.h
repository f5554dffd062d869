// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/shell/language.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vtl {

// A serial port the system reports as present.
struct PortDescription {
    std::string systemPath; // "/dev/ttyUSB0"; on Windows "COM7" or "\\.\COM12"
    std::string description;
    std::string manufacturer;
    std::optional<uint16_t> vendorId;
    std::optional<uint16_t> productId;
    bool usb = false;
};

// A link ports/COMn beside the settings file and the device it points at.
struct PortAlias {
    std::string name;   // "COM5"
    std::string target; // "/dev/pts/3"
};

// A port name that leads to a port that is there.
struct FoundPort {
    std::string name;        // "COM5"
    std::string path;        // the device it opens: "/dev/ttyUSB0", "/dev/pts/3", "COM7"
    std::string description; // what the port list shows after the name, without parentheses
    bool usb = false;
};

// Which of the names COM1 ... COM25 leads to which present port, with the same resolution as
// the program uses when it opens a port: an alias first, then the usual device of the name.
// Built from what the system lists, so that it can be worked out without touching the machine.
class PortFinder {
public:
    static constexpr int kPortCount = 25;

    PortFinder(std::vector<PortDescription> present, std::vector<PortAlias> aliases,
               Language language = Language::English);

    // Every name that leads to a port, in the order COM1 ... COM25.
    const std::vector<FoundPort>& ports() const { return m_found; }
    // "COM5  (USB: /dev/ttyUSB0, FT232R USB UART)", or the bare name when it leads nowhere.
    std::string entryText(const std::string& name) const;
    // The USB serial ports that are there, whether or not a name leads to them.
    std::vector<PortDescription> usbPorts() const;
    // The name (or, when no name leads to it, the path) of the one USB serial port that is
    // there; nothing when there are none or several.
    std::optional<std::string> singleUsbPort() const;
    // The one USB serial port's name when `configured` does not lead to it already.
    std::optional<std::string> offerInsteadOf(const std::string& configured) const;

private:
    const FoundPort* find(const std::string& name) const;
    const PortDescription* presentAt(const std::string& path) const;
    std::string describe(const PortDescription& port) const;

    std::vector<PortDescription> m_present;
    std::vector<PortAlias> m_aliases;
    Language m_language;
    std::vector<FoundPort> m_found;
};

} // namespace vtl
