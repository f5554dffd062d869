// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/device/serial_port.h"
#include "core/shell/language.h"
#include "core/shell/prompter.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace vtl {

// The program's one connection to the device: opens the chosen port on demand, writes frames,
// waits for replies by watching the input queue and reads them into the receive buffer.
class SerialChannel {
public:
    static constexpr size_t kReceiveCapacity = 90000;
    static constexpr size_t kReadLimit = 33000;
    static constexpr int kReplyWaitLimitMs = 2000;
    static constexpr int kDrainQuietMs = 300;
    static constexpr int kDrainLimitMs = 2000;
    // Before a command: the device sends without pauses, so 200 ms without a byte (some 2,000
    // byte times at the line rate, ten times a USB adapter's latency) means it has stopped. A
    // device may still be sending a whole image that nobody reads (a program killed in the middle
    // of a transfer); the largest, 90,000 bytes, takes 8.6 s on the line, so the wait is given
    // ten seconds before the command goes out regardless.
    static constexpr int kClearQuietMs = 200;
    static constexpr int kClearLimitMs = 10000;

    SerialChannel(SerialPort& port, Clock& clock, Prompter& prompter, const Language& language);

    // Where another port is offered when the chosen one cannot be opened; none by default.
    void setPortOffer(PortOffer* offer) { m_offer = offer; }

    // Opens the port unless it is open; a port that cannot be opened is reported to the user
    // ("Communication Error: COM5", with the reason where the system gives one) and leaves the
    // channel in the failed state. Then, when `offerAnother` is set and the offer has a port,
    // the user is asked to use that one instead; on OK it becomes the program's port and is
    // opened, once.
    void openPort(const std::string& portName, bool offerAnother = true);
    // 1 when a port was closed, 0 when none was open.
    int closePort();
    bool isOpen() const { return m_state == State::Open; }
    bool openFailed() const { return m_state == State::Failed; }

    // Appends the waiting bytes (at most 33,000) to the receive buffer and returns how many were
    // placed. Byte 0 of the buffer is cleared on every call. Bytes that no longer fit the buffer
    // are read and dropped.
    uint32_t readAvailable();
    // Writes the bytes and waits until they have left the port.
    bool writeBytes(const uint8_t* bytes, size_t count);
    // Waits until output has gone and starts a new reply at position 0.
    void resetReceive();
    void clearReceiveCount() { m_rxCount = 0; }
    // Waits one step, then more steps while the number of waiting bytes still grows, but no
    // longer than two seconds in all, however slowly the bytes trickle in.
    void waitForReply(int stepMilliseconds);
    // Reads and drops what the device still sends, until it has been quiet for 300 ms (counted
    // from the last byte that came, at quietSinceMs on the clock or later) or two seconds have
    // passed, so that the next command's reply is not read behind stale bytes.
    void drain(int64_t quietSinceMs);
    // Reads and drops what is waiting and what still comes, until the line has been quiet for
    // 200 ms or ten seconds have passed, so that a command's reply is not read behind what an
    // earlier, abandoned operation left on the line. `stop` is asked while the line keeps talking
    // and ends the wait when it answers true; then the result is false.
    bool clearInput(const std::function<bool()>& stop = {});
    // The open port's line has failed (hang-up, device unplugged).
    bool lineFailed() { return m_state == State::Open && m_port.hasFailed(); }

    const uint8_t* rxBuffer() const { return m_rxBuffer->data(); }
    uint32_t rxCount() const { return m_rxCount; }

private:
    enum class State { Closed, Open, Failed };

    bool tryOpen(const std::string& portName);
    // Drops bytes until `quietMs` without one (counted from quietSinceMs at the earliest) or
    // `limitMs` in all; false when `stop` ended it.
    bool dropUntilQuiet(int64_t quietSinceMs, int quietMs, int limitMs,
                        const std::function<bool()>& stop);

    SerialPort& m_port;
    Clock& m_clock;
    Prompter& m_prompter;
    const Language& m_language;
    PortOffer* m_offer = nullptr;
    State m_state = State::Closed;
    std::unique_ptr<std::array<uint8_t, kReceiveCapacity>> m_rxBuffer;
    uint32_t m_rxCount = 0;
};

} // namespace vtl
