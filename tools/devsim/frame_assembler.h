// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/device/command_frame.h"

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace vtl::devsim {

// Gathers the bytes from the line into 8-byte command frames. A frame starts at an 'e'; bytes
// before one are skipped. A frame left incomplete for longer than the gap is dropped, so that
// the half of a frame from a program that went away does not swallow the start of the next one.
class FrameAssembler {
public:
    using Frame = std::array<uint8_t, protocol::kFrameSize>;
    using TimePoint = std::chrono::steady_clock::time_point;

    static constexpr std::chrono::milliseconds kMaximumGap{100};

    // Adds bytes that arrived at `now`; returns the frames they completed, oldest first.
    std::vector<Frame> feed(const uint8_t* bytes, size_t count, TimePoint now);

    // Forgets a partial frame.
    void reset() { m_filled = 0; }

    size_t skippedBytes() const { return m_skipped; }

private:
    Frame m_frame{};
    size_t m_filled = 0;
    TimePoint m_lastByte{};
    size_t m_skipped = 0;
};

} // namespace vtl::devsim
