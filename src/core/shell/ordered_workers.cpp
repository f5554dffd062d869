// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/shell/ordered_workers.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace vtl {
namespace {

// What the workers and the delivering thread share. Items are handed out by one counter; each
// finished item is marked under the mutex, and the delivering thread waits for the next one.
class OrderedRun {
public:
    OrderedRun(size_t count, const std::function<void(size_t, unsigned)>& work)
        : m_count(count), m_work(work), m_done(count, false), m_errors(count) {}

    void workUntilDone(unsigned worker) {
        for (;;) {
            if (m_stop.load(std::memory_order_relaxed)) {
                return;
            }
            const size_t item = m_next.fetch_add(1, std::memory_order_relaxed);
            if (item >= m_count) {
                return;
            }
            std::exception_ptr error;
            try {
                m_work(item, worker);
            } catch (...) {
                error = std::current_exception();
            }
            bool awaited = false;
            {
                const std::lock_guard<std::mutex> lock(m_mutex);
                m_done[item] = true;
                m_errors[item] = error;
                awaited = item == m_awaited;
            }
            // Only the item the delivering thread waits for wakes it.
            if (awaited) {
                m_finished.notify_one();
            }
        }
    }

    // Waits until the item is done; its exception, if it threw one.
    std::exception_ptr waitFor(size_t item) {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_awaited = item;
        m_finished.wait(lock, [this, item] { return static_cast<bool>(m_done[item]); });
        return m_errors[item];
    }

    void stop() { m_stop.store(true, std::memory_order_relaxed); }

private:
    const size_t m_count;
    const std::function<void(size_t, unsigned)>& m_work;
    std::atomic<size_t> m_next{0};
    std::atomic<bool> m_stop{false};
    std::mutex m_mutex;
    std::condition_variable m_finished;
    size_t m_awaited = 0; // the item the delivering thread waits for
    std::vector<bool> m_done;
    std::vector<std::exception_ptr> m_errors;
};

} // namespace

unsigned workerCount() {
    return std::max(1u, std::thread::hardware_concurrency());
}

size_t runOrdered(size_t count, unsigned workers, const std::function<void(size_t, unsigned)>& work,
                  const std::function<bool(size_t)>& deliver) {
    if (count == 0) {
        return 0;
    }
    OrderedRun run(count, work);
    std::vector<std::thread> threads;
    const size_t started = std::min<size_t>(std::max(workers, 1u), count);
    threads.reserve(started);
    for (size_t i = 0; i < started; ++i) {
        threads.emplace_back([&run, i] { run.workUntilDone(static_cast<unsigned>(i)); });
    }
    size_t delivered = 0;
    std::exception_ptr error;
    try {
        for (; delivered < count; ++delivered) {
            error = run.waitFor(delivered);
            if (error || !deliver(delivered)) {
                break;
            }
        }
    } catch (...) {
        error = std::current_exception();
    }
    run.stop();
    for (std::thread& thread : threads) {
        thread.join();
    }
    if (error) {
        std::rethrow_exception(error);
    }
    return delivered;
}

} // namespace vtl
