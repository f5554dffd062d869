// SPDX-License-Identifier: GPL-3.0-or-later
#include "traffic_trace.h"

#include <cstdio>

namespace vtl::cli {
namespace {

std::string hex(const uint8_t* bytes, size_t count) {
    std::string text;
    char pair[4];
    for (size_t i = 0; i < count; ++i) {
        std::snprintf(pair, sizeof pair, i == 0 ? "%02x" : " %02x", bytes[i]);
        text += pair;
    }
    return count == 0 ? "(nothing)" : text;
}

} // namespace

TrafficTrace::TrafficTrace() : m_start(std::chrono::steady_clock::now()) {}

void TrafficTrace::line(const char* direction, const std::string& text) {
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - m_start).count();
    std::fprintf(stderr, "trace %8.3f %s %s\n", seconds, direction, text.c_str());
}

void TrafficTrace::frameSent(const uint8_t* bytes, size_t count) {
    line("->", hex(bytes, count));
}

void TrafficTrace::replyReceived(const uint8_t* bytes, size_t count) {
    line("<-", hex(bytes, count));
}

void TrafficTrace::transferPolled(uint32_t newBytes, uint32_t totalBytes) {
    line("<-", "transfer +" + std::to_string(newBytes) + " bytes, " + std::to_string(totalBytes) +
                   " in all");
}

} // namespace vtl::cli
