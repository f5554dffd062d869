// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "simulated_device.h"

#include <chrono>
#include <cstddef>
#include <deque>
#include <optional>
#include <vector>

namespace vtl::devsim {

// Puts the device's emissions on the line in order, with their pauses and pacing. Paced bytes
// follow a schedule taken from a fixed start on the monotonic clock, so the average rate holds
// however late single wake-ups are; after a long hold-up (a full line, a stopped process) the
// schedule restarts rather than bursting to catch up.
class LineWriter {
public:
    using TimePoint = std::chrono::steady_clock::time_point;

    static constexpr std::chrono::milliseconds kLongestLateness{100};

    enum class Result {
        Working, // nothing more to do until the next due time or until the line takes bytes
        HangUp,  // an emission asked for the line to be hung up now
        Failed,  // the line refused bytes for good
    };

    void enqueue(std::vector<Emission> emissions, TimePoint now);
    void clear();

    bool idle() const { return m_queue.empty(); }
    // True when bytes are waiting for the line to take them.
    bool blocked() const { return m_blocked; }
    // When the next bytes are due; nothing when idle or blocked.
    std::optional<TimePoint> nextDue() const;

    // Writes whatever is due at `now` to the non-blocking descriptor.
    Result service(int fd, TimePoint now);

private:
    struct Pending {
        Emission emission;
        size_t written = 0; // bytes the line took
        bool started = false;
        TimePoint start{}; // paced: when byte 0 was due
    };

    static size_t nextBoundary(const Pending& pending, size_t position);
    static TimePoint dueOf(const Pending& pending, size_t boundary);
    static size_t releasedBy(const Pending& pending, TimePoint now);

    std::deque<Pending> m_queue;
    TimePoint m_lastFinished{};
    bool m_blocked = false;
};

} // namespace vtl::devsim
