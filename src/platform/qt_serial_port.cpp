// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt_serial_port.h"

#include "core/device/command_frame.h"
#include "core/device/port_names.h"
#include "platform/posix_device_lock.h"

#include <QDeadlineTimer>
#include <QFileInfo>

#include <utility>

#include <fcntl.h>
#include <unistd.h>

namespace vtl {
namespace {

constexpr int kWriteTimeoutMs = 2000;
constexpr int kMaximumDrains = 64;

} // namespace

QtSerialPort::QtSerialPort(QString aliasFolder) : m_aliasFolder(std::move(aliasFolder)) {}

bool QtSerialPort::open(const std::string& name) {
    // Qt names its lock file after the path it opens: through an alias that would be a lock of
    // the alias, and two aliases of one device would both open it. The device's own path gives
    // every name of it one lock file.
    std::string path = devicePathForPort(name, m_aliasFolder.toStdString());
    const QFileInfo device(QString::fromStdString(path));
    if (device.exists()) {
        path = device.canonicalFilePath().toStdString();
    }
    m_port.setPortName(QString::fromStdString(path));
    if (!m_port.open(QIODevice::ReadWrite)) {
        m_openError = {openFailureReason(m_port.error(), path), path};
        m_port.clearError();
        if (m_openError.reason == PortOpenFailure::Busy) {
            m_openError.holderProcess = DeviceLock::holderOf(path);
        }
        return false;
    }
    if (!DeviceLock::take(static_cast<int>(m_port.handle()))) {
        m_port.close();
        m_openError = {PortOpenFailure::Busy, path, DeviceLock::holderOf(path)};
        return false;
    }
    // Each setting is tried on its own; a pseudo-terminal refuses some of them.
    m_port.setBaudRate(protocol::kBaudRate);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setParity(QSerialPort::NoParity);
    m_port.setStopBits(QSerialPort::TwoStop);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    m_port.setDataTerminalReady(false);
    m_port.setRequestToSend(false);
    m_port.clearError();
    m_failed = false;
    return true;
}

void QtSerialPort::close() {
    m_port.close();
}

bool QtSerialPort::isOpen() const {
    return m_port.isOpen();
}

// Bytes that reached the system's input queue are pulled into the port's buffer first.
size_t QtSerialPort::bytesWaiting() {
    if (!m_port.isOpen()) {
        return 0;
    }
    for (int i = 0; i < kMaximumDrains && m_port.waitForReadyRead(0); ++i) {
    }
    noteError();
    return static_cast<size_t>(m_port.bytesAvailable());
}

// A timeout of the zero-length waits is no error; a resource or read error means the line is gone.
void QtSerialPort::noteError() {
    const QSerialPort::SerialPortError error = m_port.error();
    if (error == QSerialPort::ResourceError || error == QSerialPort::ReadError) {
        m_failed = true;
    }
    m_port.clearError();
}

bool QtSerialPort::hasFailed() {
    if (m_port.isOpen()) {
        noteError();
    }
    return m_failed;
}

size_t QtSerialPort::read(uint8_t* buffer, size_t count) {
    const qint64 read = m_port.read(reinterpret_cast<char*>(buffer), static_cast<qint64>(count));
    return read > 0 ? static_cast<size_t>(read) : 0;
}

bool QtSerialPort::write(const uint8_t* bytes, size_t count) {
    return m_port.write(reinterpret_cast<const char*>(bytes), static_cast<qint64>(count)) ==
           static_cast<qint64>(count);
}

void QtSerialPort::waitUntilSent() {
    QDeadlineTimer deadline(kWriteTimeoutMs);
    while (m_port.bytesToWrite() > 0 && !deadline.hasExpired()) {
        if (!m_port.waitForBytesWritten(static_cast<int>(deadline.remainingTime()))) {
            break;
        }
    }
}

PortOpenFailure openFailureReason(QSerialPort::SerialPortError error, const std::string& path) {
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        return PortOpenFailure::NotFound;
    case QSerialPort::PermissionError:
        // Qt reports a port held by another program (its lock file, its exclusive mode) as a
        // permission error too: whether this user may read and write the device tells them apart.
        return ::faccessat(AT_FDCWD, path.c_str(), R_OK | W_OK, AT_EACCESS) == 0
                   ? PortOpenFailure::Busy
                   : PortOpenFailure::PermissionDenied;
    case QSerialPort::OpenError:
    case QSerialPort::ResourceError:
        return PortOpenFailure::Busy;
    default:
        return PortOpenFailure::Unknown;
    }
}

} // namespace vtl
