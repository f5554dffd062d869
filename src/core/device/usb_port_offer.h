// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/device/port_finder.h"
#include "core/device/serial_port.h"

#include <functional>
#include <string>

namespace vtl {

class SettingsKeeper;

// Offers the one USB serial port that is there when the chosen port cannot be opened; taking it
// stores its name as the program's port and saves the settings, as the settings dialog does.
class UsbPortOffer : public PortOffer {
public:
    // `findPorts` looks at the ports that are there now.
    UsbPortOffer(SettingsKeeper& settings, std::function<PortFinder()> findPorts);

    std::string alternativeTo(const std::string& failedName) override;
    void choose(const std::string& name) override;

private:
    SettingsKeeper& m_settings;
    std::function<PortFinder()> m_findPorts;
};

} // namespace vtl
