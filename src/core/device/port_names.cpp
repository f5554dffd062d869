// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/device/port_names.h"

#include <cctype>
#include <filesystem>

namespace vtl {
namespace {

constexpr int kLastPort = 25;

// The number n of "COMn", or 0 for any other name.
int comNumber(const std::string& name) {
    if (name.size() < 4 || name.size() > 5 || name.compare(0, 3, "COM") != 0) {
        return 0;
    }
    int number = 0;
    for (size_t i = 3; i < name.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(name[i]))) {
            return 0;
        }
        number = number * 10 + (name[i] - '0');
    }
    return number;
}

} // namespace

int comPortNumber(const std::string& portName) {
    const int number = comNumber(portName);
    // "COM05" is no name Windows knows.
    return number <= kLastPort && portName[3] != '0' ? number : 0;
}

std::string windowsPortPath(const std::string& portName) {
    const int number = comPortNumber(portName);
    if (number == 0) {
        return {};
    }
    return number < 10 ? portName : "\\\\.\\" + portName;
}

std::string devicePathForPort(const std::string& portName, const std::string& aliasFolder,
                              const std::function<bool(const std::string&)>& exists) {
#ifdef _WIN32
    (void)aliasFolder;
    (void)exists;
    return portName;
#else
    if (portName.find('/') != std::string::npos) {
        return portName;
    }
    if (!aliasFolder.empty()) {
        const std::string alias = aliasFolder + "/ports/" + portName;
        if (exists(alias)) {
            return alias;
        }
    }
    const int number = comNumber(portName);
    if (number >= 1 && number <= 4) {
        return "/dev/ttyS" + std::to_string(number - 1);
    }
    if (number >= 5) {
        const std::string usb = "/dev/ttyUSB" + std::to_string(number - 5);
        const std::string acm = "/dev/ttyACM" + std::to_string(number - 5);
        return exists(usb) || !exists(acm) ? usb : acm;
    }
    return portName;
#endif
}

std::string devicePathForPort(const std::string& portName, const std::string& aliasFolder) {
    return devicePathForPort(portName, aliasFolder, [](const std::string& path) {
        std::error_code error;
        return std::filesystem::exists(path, error);
    });
}

} // namespace vtl
