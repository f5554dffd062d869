// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/device/serial_channel.h"

#include "core/device/command_frame.h"
#include "core/shell/text_tables.h"

#include <algorithm>
#include <vector>

namespace vtl {

// The wait before a command must outlast the largest image still on its way.
static_assert(int64_t{SerialChannel::kClearLimitMs} * protocol::kBaudRate >
              int64_t{SerialChannel::kReceiveCapacity} * protocol::kBitsPerByte * 1000);

SerialChannel::SerialChannel(SerialPort& port, Clock& clock, Prompter& prompter,
                             const Language& language)
    : m_port(port), m_clock(clock), m_prompter(prompter), m_language(language),
      m_rxBuffer(std::make_unique<std::array<uint8_t, kReceiveCapacity>>()) {}

namespace {

std::string reasonText(const PortOpenError& error, const std::string& portName, Language language) {
    switch (error.reason) {
    case PortOpenFailure::NotFound:
        return messageWith(Message::PortNotFound, error.path, language);
    case PortOpenFailure::PermissionDenied:
        return messageWith(Message::PortNoPermission, error.path, language);
    case PortOpenFailure::Busy:
        return portBusyText(portName, error.holderProcess, language);
    case PortOpenFailure::Unknown:
        break;
    }
    return {};
}

} // namespace

void SerialChannel::openPort(const std::string& portName, bool offerAnother) {
    if (m_state == State::Open || tryOpen(portName) || !offerAnother || m_offer == nullptr) {
        return;
    }
    const std::string other = m_offer->alternativeTo(portName);
    if (other.empty() || !m_prompter.showMessage(messageWith(Message::UsePort, other, m_language),
                                                 message(Message::ErrorCaption, m_language),
                                                 PromptButtons::OkCancel)) {
        return;
    }
    m_offer->choose(other);
    tryOpen(other);
}

bool SerialChannel::tryOpen(const std::string& portName) {
    if (m_port.open(portName)) {
        m_state = State::Open;
        return true;
    }
    m_state = State::Failed;
    std::string text = message(Message::PortError, m_language) + portName;
    const std::string reason = reasonText(m_port.lastOpenError(), portName, m_language);
    if (!reason.empty()) {
        text += "\n" + reason;
    }
    m_prompter.showMessage(text, message(Message::ErrorCaption, m_language), PromptButtons::Ok);
    return false;
}

int SerialChannel::closePort() {
    if (m_state != State::Open) {
        m_state = State::Closed;
        return 0;
    }
    m_port.close();
    m_state = State::Closed;
    return 1;
}

uint32_t SerialChannel::readAvailable() {
    if (m_state != State::Open) {
        return 0;
    }
    (*m_rxBuffer)[0] = 0;
    const size_t waiting = std::min(m_port.bytesWaiting(), kReadLimit);
    if (waiting == 0) {
        return 0;
    }
    const size_t room = kReceiveCapacity - m_rxCount;
    const size_t kept = std::min(waiting, room);
    const size_t read = m_port.read(m_rxBuffer->data() + m_rxCount, kept);
    m_rxCount += static_cast<uint32_t>(read);
    if (waiting > kept) {
        // A device that sends more than the buffer holds: the excess is read and dropped.
        std::vector<uint8_t> excess(waiting - kept);
        m_port.read(excess.data(), excess.size());
    }
    return static_cast<uint32_t>(read);
}

bool SerialChannel::writeBytes(const uint8_t* bytes, size_t count) {
    if (m_state != State::Open || !m_port.write(bytes, count)) {
        return false;
    }
    m_port.waitUntilSent();
    return true;
}

void SerialChannel::resetReceive() {
    if (m_state == State::Open) {
        m_port.waitUntilSent();
    }
    m_rxCount = 0;
}

void SerialChannel::waitForReply(int stepMilliseconds) {
    const int64_t start = m_clock.nowMilliseconds();
    size_t waiting = m_state == State::Open ? m_port.bytesWaiting() : 0;
    for (;;) {
        m_clock.sleep(stepMilliseconds);
        const size_t now = m_state == State::Open ? m_port.bytesWaiting() : 0;
        if (now <= waiting || m_clock.nowMilliseconds() - start >= kReplyWaitLimitMs) {
            return;
        }
        waiting = now;
    }
}

void SerialChannel::drain(int64_t quietSinceMs) {
    dropUntilQuiet(quietSinceMs, kDrainQuietMs, kDrainLimitMs, {});
}

bool SerialChannel::clearInput(const std::function<bool()>& stop) {
    return dropUntilQuiet(m_clock.nowMilliseconds(), kClearQuietMs, kClearLimitMs, stop);
}

bool SerialChannel::dropUntilQuiet(int64_t quietSinceMs, int quietMs, int limitMs,
                                   const std::function<bool()>& stop) {
    constexpr int kStepMs = 50;
    if (m_state != State::Open) {
        return true;
    }
    std::array<uint8_t, 4096> dropped{};
    const int64_t start = m_clock.nowMilliseconds();
    int64_t lastByte = std::min(quietSinceMs, start);
    bool talking = false;
    for (;;) {
        // Asking for the waiting bytes first pulls in what reached the system's queue.
        while (m_port.bytesWaiting() > 0 && m_port.read(dropped.data(), dropped.size()) > 0) {
            lastByte = m_clock.nowMilliseconds();
            talking = true;
        }
        const int64_t now = m_clock.nowMilliseconds();
        if (now - lastByte >= quietMs || now - start >= limitMs || m_port.hasFailed()) {
            return true;
        }
        // A quiet line is waited out without asking: it is clear within a fraction of a second.
        if (talking && stop && stop()) {
            return false;
        }
        m_clock.sleep(kStepMs);
    }
}

} // namespace vtl
