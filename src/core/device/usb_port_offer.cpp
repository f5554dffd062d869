// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/device/usb_port_offer.h"

#include "core/shell/settings_keeper.h"

#include <utility>

namespace vtl {

UsbPortOffer::UsbPortOffer(SettingsKeeper& settings, std::function<PortFinder()> findPorts)
    : m_settings(settings), m_findPorts(std::move(findPorts)) {}

std::string UsbPortOffer::alternativeTo(const std::string& failedName) {
    return m_findPorts().offerInsteadOf(failedName).value_or(std::string());
}

void UsbPortOffer::choose(const std::string& name) {
    ProgramSettings& settings = m_settings.settings();
    settings.setPortName(name);
    // The offer is always one of COM1 ... COM25, the items of the dialog's port list.
    settings.portIndex = std::stoi(name.substr(3)) - 1;
    m_settings.save();
}

} // namespace vtl
