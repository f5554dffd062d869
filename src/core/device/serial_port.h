// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vtl {

// Why a port could not be opened, as far as the system tells.
enum class PortOpenFailure {
    Unknown,          // the system gave no reason the user can act on
    NotFound,         // no device at the path
    PermissionDenied, // the user may not read and write the device
    Busy,             // another program holds the port
};

struct PortOpenError {
    PortOpenFailure reason = PortOpenFailure::Unknown;
    std::string path;       // the device path that was tried
    long holderProcess = 0; // the process that holds a busy port, 0 where it is not known
};

// A serial port as the device link uses it: opened by name with the device's line settings
// (115200 baud, 8 data bits, no parity, 2 stop bits, no flow control, DTR and RTS off; a single
// setting the port refuses is ignored), polled for waiting bytes, read and written synchronously.
class SerialPort {
public:
    virtual ~SerialPort() = default;

    virtual bool open(const std::string& name) = 0;
    // Why the last open failed.
    virtual PortOpenError lastOpenError() const { return {}; }
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // Bytes waiting in the input queue.
    virtual size_t bytesWaiting() = 0;
    // Reads up to count waiting bytes without blocking; returns how many were read.
    virtual size_t read(uint8_t* buffer, size_t count) = 0;
    virtual bool write(const uint8_t* bytes, size_t count) = 0;
    // Returns when everything written has left the port.
    virtual void waitUntilSent() = 0;
    // The line has failed since it was opened: hung up, unplugged, unreadable.
    virtual bool hasFailed() = 0;
};

// Another port to try when the chosen one cannot be opened: the program's one USB serial port.
class PortOffer {
public:
    virtual ~PortOffer() = default;
    // The name of the port to offer instead of `failedName`, or empty when there is none.
    virtual std::string alternativeTo(const std::string& failedName) = 0;
    // The user took the offer: the port becomes the program's port.
    virtual void choose(const std::string& name) = 0;
};

// Time as the device link sees it, so that tests can run long waits in no time.
class Clock {
public:
    virtual ~Clock() = default;
    virtual void sleep(int milliseconds) = 0;
    virtual int64_t nowMilliseconds() = 0;
};

} // namespace vtl
