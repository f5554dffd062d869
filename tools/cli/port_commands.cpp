// SPDX-License-Identifier: GPL-3.0-or-later
#include "port_commands.h"

#include "flight_files.h"
#include "json_output.h"

#include "core/device/port_finder.h"
#include "core/shell/settings_places.h"
#include "platform/port_discovery.h"

#include <QFileInfo>

namespace vtl::cli {
namespace {

PortFinder portsFor(const CommandLine& args) {
    const SettingsPlaces places = programSettingsPlaces(args);
    const QString aliasFolder = QFileInfo(QString::fromStdString(places.homeFile())).absolutePath();
    return discoverPorts(aliasFolder, Language::English);
}

} // namespace

std::string runPorts(const CommandLine& args) {
    const PortFinder finder = portsFor(args);
    nlohmann::ordered_json ports = nlohmann::ordered_json::array();
    for (const FoundPort& port : finder.ports()) {
        nlohmann::ordered_json item;
        item["name"] = port.name;
        item["path"] = port.path;
        item["description"] = port.description;
        ports.push_back(item);
    }
    return jsonText(ports, requestedLayout(args));
}

std::string automaticPort(const CommandLine& args) {
    const PortFinder finder = portsFor(args);
    if (const auto single = finder.singleUsbPort()) {
        return *single;
    }
    const auto usb = finder.usbPorts();
    if (usb.empty()) {
        throw CommandError("--port auto: no USB serial port is connected "
                           "(vantorel-cli ports lists the ports there are)");
    }
    std::string paths;
    for (const PortDescription& port : usb) {
        paths += (paths.empty() ? "" : ", ") + port.systemPath;
    }
    throw CommandError("--port auto: several USB serial ports (" + paths +
                       "); name one with --port");
}

} // namespace vtl::cli
