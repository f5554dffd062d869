// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/device/device_protocol.h"

#include <chrono>

namespace vtl::cli {

// Writes every frame sent and every reply received to stderr, one line each with the time since
// the start, the direction and the bytes in hexadecimal; the transfer as a byte count per poll.
// For support: a user whose device does not answer can send us what happened.
class TrafficTrace : public TrafficObserver {
public:
    TrafficTrace();
    void frameSent(const uint8_t* bytes, size_t count) override;
    void replyReceived(const uint8_t* bytes, size_t count) override;
    void transferPolled(uint32_t newBytes, uint32_t totalBytes) override;

private:
    void line(const char* direction, const std::string& text);

    std::chrono::steady_clock::time_point m_start;
};

} // namespace vtl::cli
