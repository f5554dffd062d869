// SPDX-License-Identifier: GPL-3.0-or-later
#include "port_commands.h"

#include "flight_files.h"
#include "json_writer.h"

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
    std::string text = "[";
    for (const FoundPort& port : finder.ports()) {
        JsonWriter object;
        object.beginObject()
            .key("name")
            .value(port.name)
            .key("path")
            .value(port.path)
            .key("description")
            .value(port.description)
            .endObject();
        text += (text.size() > 1 ? "," : "") + object.text();
    }
    return text + "]";
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
