// SPDX-License-Identifier: GPL-3.0-or-later
#include "line_writer.h"

#include <cerrno>
#include <cmath>
#include <unistd.h>

namespace vtl::devsim {

void LineWriter::enqueue(std::vector<Emission> emissions, TimePoint now) {
    if (m_queue.empty()) {
        m_lastFinished = now;
    }
    for (Emission& emission : emissions) {
        m_queue.push_back(Pending{std::move(emission)});
    }
}

void LineWriter::clear() {
    m_queue.clear();
    m_blocked = false;
}

size_t LineWriter::nextBoundary(const Pending& pending, size_t position) {
    const size_t size = pending.emission.bytes.size();
    const size_t first =
        pending.emission.firstChunk > 0 ? pending.emission.firstChunk : kTransferChunk;
    size_t boundary = first;
    if (position >= first) {
        boundary = first + ((position - first) / kTransferChunk + 1) * kTransferChunk;
    }
    return boundary < size ? boundary : size;
}

LineWriter::TimePoint LineWriter::dueOf(const Pending& pending, size_t boundary) {
    const double seconds = static_cast<double>(boundary) / pending.emission.bytesPerSecond;
    return pending.start + std::chrono::nanoseconds(static_cast<int64_t>(std::ceil(seconds * 1e9)));
}

size_t LineWriter::releasedBy(const Pending& pending, TimePoint now) {
    const size_t size = pending.emission.bytes.size();
    if (pending.emission.bytesPerSecond <= 0) {
        return size;
    }
    size_t released = pending.written;
    while (released < size) {
        const size_t next = nextBoundary(pending, released);
        if (dueOf(pending, next) > now) {
            break;
        }
        released = next;
    }
    return released;
}

std::optional<LineWriter::TimePoint> LineWriter::nextDue() const {
    if (m_queue.empty() || m_blocked) {
        return std::nullopt;
    }
    const Pending& front = m_queue.front();
    if (!front.started) {
        return m_lastFinished + front.emission.pauseBefore;
    }
    if (front.emission.bytesPerSecond <= 0) {
        return m_lastFinished;
    }
    return dueOf(front, nextBoundary(front, front.written));
}

LineWriter::Result LineWriter::service(int fd, TimePoint now) {
    while (!m_queue.empty()) {
        Pending& front = m_queue.front();
        if (!front.started) {
            const TimePoint startAt = m_lastFinished + front.emission.pauseBefore;
            if (now < startAt) {
                return Result::Working;
            }
            front.started = true;
            front.start = startAt;
        }
        const bool paced = front.emission.bytesPerSecond > 0;
        if (paced && now - dueOf(front, nextBoundary(front, front.written)) > kLongestLateness) {
            // Held up for long: go on at the line rate from here instead of bursting.
            const double sentSeconds =
                static_cast<double>(front.written) / front.emission.bytesPerSecond;
            front.start = now - std::chrono::nanoseconds(static_cast<int64_t>(sentSeconds * 1e9));
        }
        const size_t released = releasedBy(front, now);
        while (front.written < released) {
            const ssize_t count =
                ::write(fd, front.emission.bytes.data() + front.written, released - front.written);
            if (count < 0 && errno == EINTR) {
                continue;
            }
            if (count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
                m_blocked = true;
                return Result::Working;
            }
            if (count <= 0) {
                return Result::Failed;
            }
            front.written += static_cast<size_t>(count);
        }
        m_blocked = false;
        if (front.written < front.emission.bytes.size()) {
            return Result::Working;
        }
        const bool hangUp = front.emission.hangUpAfter;
        m_lastFinished = now;
        m_queue.pop_front();
        if (hangUp) {
            return Result::HangUp;
        }
    }
    return Result::Working;
}

} // namespace vtl::devsim
