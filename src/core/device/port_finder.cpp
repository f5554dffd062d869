// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/device/port_finder.h"

#include "core/device/port_names.h"
#include "core/shell/text_tables.h"

#include <cstdio>
#include <utility>

namespace vtl {
namespace {

// A folder no real path lies in: the resolver asks for aliases there, and the answers come from
// the listed aliases, not from the disk.
const std::string kAliasFolder = "<aliases>";
const std::string kWindowsPrefix = "\\\\.\\";
const std::string kPseudoTerminals = "/dev/pts/";

std::string withoutWindowsPrefix(const std::string& path) {
    return path.compare(0, kWindowsPrefix.size(), kWindowsPrefix) == 0
               ? path.substr(kWindowsPrefix.size())
               : path;
}

std::string hexId(uint16_t id) {
    char text[8];
    std::snprintf(text, sizeof text, "%04x", id);
    return text;
}

} // namespace

PortFinder::PortFinder(std::vector<PortDescription> present, std::vector<PortAlias> aliases,
                       Language language)
    : m_present(std::move(present)), m_aliases(std::move(aliases)), m_language(language) {
    const auto aliasTarget = [this](const std::string& path) -> const std::string* {
        for (const PortAlias& alias : m_aliases) {
            if (path == kAliasFolder + "/ports/" + alias.name) {
                return &alias.target;
            }
        }
        return nullptr;
    };
    const auto exists = [&](const std::string& path) {
        return aliasTarget(path) != nullptr || presentAt(path) != nullptr;
    };
    for (int number = 1; number <= kPortCount; ++number) {
        const std::string name = "COM" + std::to_string(number);
        // A port the system itself calls COMn (Windows) is that name whatever else is there.
        if (const PortDescription* port = presentAt(name)) {
            m_found.push_back({name, port->systemPath, describe(*port), port->usb});
            continue;
        }
        const std::string path = devicePathForPort(name, kAliasFolder, exists);
        if (const std::string* target = aliasTarget(path)) {
            const std::string link = "ports/" + name + " \u2192 ";
            if (const PortDescription* port = presentAt(*target)) {
                m_found.push_back({name, *target, link + describe(*port), port->usb});
            } else if (target->compare(0, kPseudoTerminals.size(), kPseudoTerminals) == 0) {
                m_found.push_back(
                    {name, *target,
                     link + *target + ", " + message(Message::PortSimulator, m_language), false});
            } else {
                m_found.push_back({name, *target, link + *target, false});
            }
        } else if (const PortDescription* port = presentAt(path)) {
            m_found.push_back({name, port->systemPath, describe(*port), port->usb});
        }
    }
}

const PortDescription* PortFinder::presentAt(const std::string& path) const {
    for (const PortDescription& port : m_present) {
        if (port.systemPath == path || withoutWindowsPrefix(port.systemPath) == path) {
            return &port;
        }
    }
    return nullptr;
}

// "USB: /dev/ttyUSB0, FT232R USB UART": the kind, where it is, and what the device calls itself.
std::string PortFinder::describe(const PortDescription& port) const {
    std::string text = (port.usb ? "USB: " : "") + port.systemPath;
    std::string what = port.description;
    if (what.empty()) {
        what = port.manufacturer;
    }
    if (what.empty() && port.vendorId && port.productId) {
        what = hexId(*port.vendorId) + ":" + hexId(*port.productId);
    }
    return what.empty() ? text : text + ", " + what;
}

const FoundPort* PortFinder::find(const std::string& name) const {
    for (const FoundPort& port : m_found) {
        if (port.name == name) {
            return &port;
        }
    }
    return nullptr;
}

std::string PortFinder::entryText(const std::string& name) const {
    const FoundPort* port = find(name);
    return port == nullptr ? name : name + "  (" + port->description + ")";
}

std::vector<PortDescription> PortFinder::usbPorts() const {
    std::vector<PortDescription> usb;
    for (const PortDescription& port : m_present) {
        if (port.usb) {
            usb.push_back(port);
        }
    }
    return usb;
}

std::optional<std::string> PortFinder::singleUsbPort() const {
    const std::vector<PortDescription> usb = usbPorts();
    if (usb.size() != 1) {
        return std::nullopt;
    }
    for (const FoundPort& port : m_found) {
        if (port.path == usb.front().systemPath) {
            return port.name;
        }
    }
    return usb.front().systemPath;
}

std::optional<std::string> PortFinder::offerInsteadOf(const std::string& configured) const {
    const std::optional<std::string> single = singleUsbPort();
    // Only a name can be stored as the program's port.
    if (!single || find(*single) == nullptr || *single == configured) {
        return std::nullopt;
    }
    const FoundPort* current = find(configured);
    if (current != nullptr && current->path == find(*single)->path) {
        return std::nullopt;
    }
    return single;
}

} // namespace vtl
