// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/device/serial_port.h"

namespace vtl {

// The device link's port through the Win32 communications calls: "COM1" ... "COM9" are opened by
// name, "COM10" ... "COM25" through the device namespace ("\\.\COM12"). Reads never block: the
// port answers with what its input queue holds. Built on Windows only; this header keeps
// windows.h out of the files that include it.
class Win32SerialPort : public SerialPort {
public:
    Win32SerialPort() = default;
    ~Win32SerialPort() override;
    Win32SerialPort(const Win32SerialPort&) = delete;
    Win32SerialPort& operator=(const Win32SerialPort&) = delete;

    bool open(const std::string& name) override;
    PortOpenError lastOpenError() const override { return m_openError; }
    void close() override;
    bool isOpen() const override;
    size_t bytesWaiting() override;
    size_t read(uint8_t* buffer, size_t count) override;
    bool write(const uint8_t* bytes, size_t count) override;
    void waitUntilSent() override;
    bool hasFailed() override;

private:
    void applyLineSettings();

    void* m_handle = nullptr;
    bool m_failed = false;
    PortOpenError m_openError;
};

// Why opening a port failed, from the system's error code.
PortOpenFailure win32OpenFailureReason(unsigned long errorCode);

} // namespace vtl
