// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/device/port_finder.h"
#include "core/device/serial_port.h"
#include "core/shell/language.h"

#include <QString>

#include <cstdint>
#include <string>
#include <vector>

namespace vtl {

// The serial ports the system lists now.
std::vector<PortDescription> presentPorts();

// The aliases ports/COM1 ... ports/COM25 in the folder that lead to something that is there.
std::vector<PortAlias> portAliases(const QString& aliasFolder);

// Which name leads to which port on this machine now.
PortFinder discoverPorts(const QString& aliasFolder, vtl::Language language);

} // namespace vtl
