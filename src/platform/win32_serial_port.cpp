// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/win32_serial_port.h"

#include "core/device/command_frame.h"
#include "core/device/port_names.h"

#include <windows.h>

#include <algorithm>
#include <functional>
#include <limits>
#include <vector>

namespace vtl {
namespace {

constexpr DWORD kWriteTimeoutMs = 2000;

HANDLE handleOf(void* handle) {
    return static_cast<HANDLE>(handle);
}

DWORD chunkOf(size_t count) {
    return static_cast<DWORD>(std::min<size_t>(count, std::numeric_limits<DWORD>::max()));
}

} // namespace

PortOpenFailure win32OpenFailureReason(unsigned long errorCode) {
    switch (errorCode) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
        return PortOpenFailure::NotFound;
    // Windows opens a port for one program at a time and refuses everyone else its access.
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_BUSY:
        return PortOpenFailure::Busy;
    default:
        return PortOpenFailure::Unknown;
    }
}

Win32SerialPort::~Win32SerialPort() {
    close();
}

bool Win32SerialPort::open(const std::string& name) {
    close();
    const std::string path = windowsPortPath(name);
    if (path.empty()) {
        m_openError = {PortOpenFailure::NotFound, name};
        return false;
    }
    HANDLE handle = ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        m_openError = {win32OpenFailureReason(::GetLastError()), path};
        return false;
    }
    m_handle = handle;
    m_failed = false;
    m_openError = {};
    applyLineSettings();
    // Reads return at once with what has arrived; a write gives up after two seconds.
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = MAXDWORD;
    timeouts.WriteTotalTimeoutConstant = kWriteTimeoutMs;
    ::SetCommTimeouts(handle, &timeouts);
    ::SetCommMask(handle, EV_RXCHAR);
    return true;
}

// Each setting is tried on its own, so that a port that refuses one keeps the others.
void Win32SerialPort::applyLineSettings() {
    const HANDLE handle = handleOf(m_handle);
    const std::vector<std::function<void(DCB&)>> settings = {
        [](DCB& dcb) { dcb.BaudRate = protocol::kBaudRate; },
        [](DCB& dcb) { dcb.ByteSize = 8; },
        [](DCB& dcb) {
            dcb.Parity = NOPARITY;
            dcb.fParity = FALSE;
        },
        [](DCB& dcb) { dcb.StopBits = TWOSTOPBITS; },
        [](DCB& dcb) {
            dcb.fOutxCtsFlow = FALSE;
            dcb.fOutxDsrFlow = FALSE;
            dcb.fDsrSensitivity = FALSE;
            dcb.fOutX = FALSE;
            dcb.fInX = FALSE;
        },
        [](DCB& dcb) { dcb.fDtrControl = DTR_CONTROL_DISABLE; },
        [](DCB& dcb) { dcb.fRtsControl = RTS_CONTROL_DISABLE; },
        [](DCB& dcb) {
            dcb.fBinary = TRUE;
            dcb.fAbortOnError = FALSE;
            dcb.fNull = FALSE;
        },
    };
    for (const auto& setting : settings) {
        DCB dcb{};
        dcb.DCBlength = sizeof dcb;
        if (!::GetCommState(handle, &dcb)) {
            return;
        }
        setting(dcb);
        ::SetCommState(handle, &dcb);
    }
}

void Win32SerialPort::close() {
    if (m_handle != nullptr) {
        ::CloseHandle(handleOf(m_handle));
        m_handle = nullptr;
    }
}

bool Win32SerialPort::isOpen() const {
    return m_handle != nullptr;
}

size_t Win32SerialPort::bytesWaiting() {
    if (m_handle == nullptr) {
        return 0;
    }
    DWORD errors = 0;
    COMSTAT status{};
    if (!::ClearCommError(handleOf(m_handle), &errors, &status)) {
        m_failed = true;
        return 0;
    }
    return status.cbInQue;
}

size_t Win32SerialPort::read(uint8_t* buffer, size_t count) {
    if (m_handle == nullptr || count == 0) {
        return 0;
    }
    DWORD read = 0;
    if (!::ReadFile(handleOf(m_handle), buffer, chunkOf(count), &read, nullptr)) {
        m_failed = true;
        return 0;
    }
    return read;
}

bool Win32SerialPort::write(const uint8_t* bytes, size_t count) {
    if (m_handle == nullptr) {
        return false;
    }
    DWORD written = 0;
    if (!::WriteFile(handleOf(m_handle), bytes, chunkOf(count), &written, nullptr)) {
        m_failed = true;
        return false;
    }
    return written == count;
}

void Win32SerialPort::waitUntilSent() {
    if (m_handle != nullptr) {
        ::FlushFileBuffers(handleOf(m_handle));
    }
}

// A port that was unplugged no longer answers the question for its state.
bool Win32SerialPort::hasFailed() {
    if (m_handle != nullptr && !m_failed) {
        DWORD errors = 0;
        COMSTAT status{};
        if (!::ClearCommError(handleOf(m_handle), &errors, &status)) {
            m_failed = true;
        }
    }
    return m_failed;
}

} // namespace vtl
