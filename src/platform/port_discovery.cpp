// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/port_discovery.h"

#include <QDir>
#include <QFileInfo>
#include <QSerialPortInfo>

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

namespace vtl {

std::vector<PortDescription> presentPorts() {
    std::vector<PortDescription> ports;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        PortDescription port;
        port.systemPath = info.systemLocation().toStdString();
        port.description = info.description().toStdString();
        port.manufacturer = info.manufacturer().toStdString();
        if (info.hasVendorIdentifier()) {
            port.vendorId = info.vendorIdentifier();
        }
        if (info.hasProductIdentifier()) {
            port.productId = info.productIdentifier();
        }
        // Qt knows the bus only through the identifiers, which only USB devices carry.
        port.usb = info.hasVendorIdentifier() && info.hasProductIdentifier();
        ports.push_back(std::move(port));
    }
    return ports;
}

std::vector<PortAlias> portAliases(const QString& aliasFolder) {
    std::vector<PortAlias> aliases;
    const QDir folder(aliasFolder + QStringLiteral("/ports"));
    for (int number = 1; number <= PortFinder::kPortCount; ++number) {
        const QString name = QStringLiteral("COM%1").arg(number);
        const QFileInfo alias(folder.filePath(name));
        // A link whose device has gone is passed over when the port is opened, so here too.
        if (!alias.exists()) {
            continue;
        }
        const QString target = alias.isSymLink() ? alias.symLinkTarget() : alias.absoluteFilePath();
        aliases.push_back({name.toStdString(), target.toStdString()});
    }
    return aliases;
}

PortFinder discoverPorts(const QString& aliasFolder, vtl::Language language) {
    return PortFinder(presentPorts(), portAliases(aliasFolder), language);
}

PortOpenFailure openFailureReason(QSerialPort::SerialPortError error, const std::string& path) {
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        return PortOpenFailure::NotFound;
    case QSerialPort::PermissionError:
#ifdef _WIN32
        // Windows refuses access to a port that another program holds.
        (void)path;
        return PortOpenFailure::Busy;
#else
        // Qt reports a port held by another program (its lock file, its exclusive mode) as a
        // permission error too: whether this user may read and write the device tells them apart.
        return ::faccessat(AT_FDCWD, path.c_str(), R_OK | W_OK, AT_EACCESS) == 0
                   ? PortOpenFailure::Busy
                   : PortOpenFailure::PermissionDenied;
#endif
    case QSerialPort::OpenError:
    case QSerialPort::ResourceError:
        return PortOpenFailure::Busy;
    default:
        return PortOpenFailure::Unknown;
    }
}

} // namespace vtl
