#pragma once

#include "device/serial_port.h"

#include <QSerialPort>
#include <QString>

namespace vtl {

// The device link's port over Qt's serial port: real USB serial adapters and pseudo-terminals.
// Port names are resolved against the alias folder (the settings file's folder).
class QtSerialPort : public SerialPort {
public:
    explicit QtSerialPort(QString aliasFolder);

    bool open(const std::string& name) override;
    void close() override;
    bool isOpen() const override;
    size_t bytesWaiting() override;
    size_t read(uint8_t* buffer, size_t count) override;
    bool write(const uint8_t* bytes, size_t count) override;
    void waitUntilSent() override;

private:
    QString m_aliasFolder;
    QSerialPort m_port;
};

// Sleeps while the window goes on painting: events other than user input are processed.
class EventLoopClock : public Clock {
public:
    void sleep(int milliseconds) override;
    int64_t nowMilliseconds() override;
};

} // namespace vtl
