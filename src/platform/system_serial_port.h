// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#ifdef _WIN32

#include "platform/win32_serial_port.h"

#include <QString>

namespace vtl {

// Windows opens its COM ports by name: there are no aliases to resolve.
class SystemSerialPort : public Win32SerialPort {
public:
    explicit SystemSerialPort(const QString& /*aliasFolder*/) {}
};

} // namespace vtl

#else

#include "platform/qt_serial_port.h"

namespace vtl {
using SystemSerialPort = QtSerialPort;
} // namespace vtl

#endif
