// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/device/process_priority.h"
#include "core/device/serial_port.h"
#include "device_model.h"

#include <climits>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace vtl::testing {

// Time that passes only when the code under test sleeps.
class FakeClock : public Clock {
public:
    void sleep(int milliseconds) override {
        m_now += milliseconds;
        m_slept += milliseconds;
    }
    int64_t nowMilliseconds() override { return m_now; }
    int64_t slept() const { return m_slept; }

private:
    int64_t m_now = 0;
    int64_t m_slept = 0;
};

// A fake clock that lets the test act while the program sleeps, as a user would.
class ActingClock : public FakeClock {
public:
    std::function<void()> onSleep;
    void sleep(int milliseconds) override {
        FakeClock::sleep(milliseconds);
        if (onSleep) {
            onSleep();
        }
    }
};

// A process priority that is never changed; a test that counts the changes brings its own.
class UnchangedPriority : public ProcessPriority {
public:
    void raise() override {}
    void restore() override {}
};

// An in-process device on a fake serial port: it records the frames written to it and answers
// through a responder, whose replies arrive after a delay on the fake clock.
class FakeDevice : public SerialPort {
public:
    using Frame = std::vector<uint8_t>;
    using Responder = std::function<void(const Frame& frame, FakeDevice& device)>;

    explicit FakeDevice(FakeClock& clock);

    // The device's answers; without a responder it stays silent.
    void setResponder(Responder responder) { m_responder = std::move(responder); }
    // Bytes that arrive the given time after now.
    void deliver(const std::vector<uint8_t>& bytes, int64_t afterMilliseconds = 5);
    // Bytes that arrive in chunks, one chunk every 100 ms.
    void deliverPaced(const std::vector<uint8_t>& bytes, size_t bytesPerPoll);

    void refuseOpening(bool refuse) { m_refuseOpening = refuse; }
    // Only this name is refused, for the given reason.
    void refuseOpeningOf(const std::string& name, PortOpenError error) {
        m_refusedName = name;
        m_openError = std::move(error);
    }
    PortOpenError lastOpenError() const override { return m_openError; }
    // The line fails the given time after now: later bytes never arrive, the port reports it.
    void hangUpAfter(int64_t milliseconds) { m_failAt = m_clock.nowMilliseconds() + milliseconds; }
    const std::vector<Frame>& frames() const { return m_frames; }
    const std::vector<std::string>& openedNames() const { return m_openedNames; }
    int closeCount() const { return m_closeCount; }

    bool open(const std::string& name) override;
    void close() override;
    bool isOpen() const override { return m_open; }
    size_t bytesWaiting() override;
    size_t read(uint8_t* buffer, size_t count) override;
    bool write(const uint8_t* bytes, size_t count) override;
    void waitUntilSent() override {}
    bool hasFailed() override { return m_open && m_clock.nowMilliseconds() >= m_failAt; }

private:
    struct Arrival {
        int64_t at;
        uint8_t byte;
    };

    FakeClock& m_clock;
    Responder m_responder;
    std::deque<Arrival> m_incoming;
    std::vector<Frame> m_frames;
    std::vector<std::string> m_openedNames;
    bool m_open = false;
    bool m_refuseOpening = false;
    std::string m_refusedName;
    PortOpenError m_openError;
    int64_t m_failAt = INT64_MAX;
    int m_closeCount = 0;
};

// A well-behaved device on the fake port: its setup (the fields of DeviceSetup), its flight image
// and its line rate. The replies are the shared device model's; the responder delivers them, the
// transfer paced by bytesPerPoll.
struct DeviceModel : devsim::DeviceSetup {
    DeviceModel() {
        competitorNumber = 42;
        serialNumber = 1234;
    }

    std::vector<uint8_t> image;
    size_t bytesPerPoll = 1047; // the line rate: 10,472 bytes a second

    FakeDevice::Responder responder();
};

} // namespace vtl::testing
