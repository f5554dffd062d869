// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/port_discovery.h"

#include <QDir>
#include <QFileInfo>

#include <iterator>

#ifdef _WIN32
#include <windows.h>
#else
#include <QSerialPortInfo>
#endif

namespace vtl {

#ifdef _WIN32

// Windows lists its COM ports in the registry: each value names the driver's device
// ("\\Device\\USBSER000") and holds the port's name ("COM7"). The bus is not recorded there;
// the usual USB serial drivers are known by their device names.
std::vector<PortDescription> presentPorts() {
    std::vector<PortDescription> ports;
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ,
                        &key) != ERROR_SUCCESS) {
        return ports;
    }
    for (DWORD index = 0;; ++index) {
        wchar_t device[256];
        DWORD deviceLength = static_cast<DWORD>(std::size(device));
        wchar_t name[64];
        DWORD nameBytes = sizeof name - sizeof(wchar_t);
        DWORD type = 0;
        const LONG result = ::RegEnumValueW(key, index, device, &deviceLength, nullptr, &type,
                                            reinterpret_cast<BYTE*>(name), &nameBytes);
        if (result == ERROR_NO_MORE_ITEMS) {
            break;
        }
        if (result != ERROR_SUCCESS || type != REG_SZ) {
            continue;
        }
        name[nameBytes / sizeof(wchar_t)] = L'\0';
        PortDescription port;
        port.systemPath = QString::fromWCharArray(name).trimmed().toStdString();
        const QString driver = QString::fromWCharArray(device, static_cast<int>(deviceLength));
        port.description = driver.section(QLatin1Char('\\'), -1).toStdString();
        const QString upper = driver.toUpper();
        port.usb = upper.contains(QStringLiteral("USB")) || upper.contains(QStringLiteral("VCP")) ||
                   upper.contains(QStringLiteral("SILAB")) ||
                   upper.contains(QStringLiteral("CH34"));
        ports.push_back(std::move(port));
    }
    ::RegCloseKey(key);
    return ports;
}

#else

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

#endif

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

} // namespace vtl
