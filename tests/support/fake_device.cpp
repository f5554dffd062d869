// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/fake_device.h"

#include <algorithm>

namespace vtl::testing {

FakeDevice::FakeDevice(FakeClock& clock) : m_clock(clock) {}

void FakeDevice::deliver(const std::vector<uint8_t>& bytes, int64_t afterMilliseconds) {
    const int64_t at = m_clock.nowMilliseconds() + afterMilliseconds;
    for (const uint8_t byte : bytes) {
        m_incoming.push_back({at, byte});
    }
}

void FakeDevice::deliverPaced(const std::vector<uint8_t>& bytes, size_t bytesPerPoll) {
    int64_t at = m_clock.nowMilliseconds() + 50;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (i > 0 && i % bytesPerPoll == 0) {
            at += 100;
        }
        m_incoming.push_back({at, bytes[i]});
    }
}

bool FakeDevice::open(const std::string& name) {
    m_openedNames.push_back(name);
    m_open = !m_refuseOpening && name != m_refusedName;
    return m_open;
}

void FakeDevice::close() {
    m_open = false;
    ++m_closeCount;
}

size_t FakeDevice::bytesWaiting() {
    const int64_t now = std::min(m_clock.nowMilliseconds(), m_failAt);
    return static_cast<size_t>(std::count_if(m_incoming.begin(), m_incoming.end(),
                                             [now](const Arrival& a) { return a.at <= now; }));
}

size_t FakeDevice::read(uint8_t* buffer, size_t count) {
    const int64_t now = std::min(m_clock.nowMilliseconds(), m_failAt);
    size_t read = 0;
    while (read < count && !m_incoming.empty() && m_incoming.front().at <= now) {
        buffer[read++] = m_incoming.front().byte;
        m_incoming.pop_front();
    }
    return read;
}

bool FakeDevice::write(const uint8_t* bytes, size_t count) {
    if (!m_open) {
        return false;
    }
    m_frames.emplace_back(bytes, bytes + count);
    if (m_responder) {
        m_responder(m_frames.back(), *this);
    }
    return true;
}

FakeDevice::Responder DeviceModel::responder() {
    return [this](const FakeDevice::Frame& frame, FakeDevice& device) {
        std::optional<devsim::Reply> reply =
            devsim::answerFrame(frame.data(), frame.size(), *this, image);
        if (!reply) {
            return;
        }
        if (reply->transfer) {
            device.deliverPaced(reply->bytes, bytesPerPoll);
        } else {
            device.deliver(reply->bytes);
        }
    };
}

} // namespace vtl::testing
