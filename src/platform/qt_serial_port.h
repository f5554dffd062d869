// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/device/serial_port.h"

#include <QSerialPort>
#include <QString>

namespace vtl {

// The device link's port over Qt's serial port: real USB serial adapters and pseudo-terminals.
// Port names are resolved against the alias folder (the settings file's folder).
class QtSerialPort : public SerialPort {
public:
    explicit QtSerialPort(QString aliasFolder);

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
    void noteError();

    QString m_aliasFolder;
    QSerialPort m_port;
    bool m_failed = false;
    PortOpenError m_openError;
};

// Why opening the device at `path` failed with `error`, in the terms the user can act on.
PortOpenFailure openFailureReason(QSerialPort::SerialPortError error, const std::string& path);

} // namespace vtl
