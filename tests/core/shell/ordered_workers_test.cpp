// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/shell/ordered_workers.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <set>
#include <stdexcept>
#include <thread>
#include <vector>

namespace vtl {
namespace {

// Items that take longer the earlier they come, so that later ones are done first.
void slowerEarlier(size_t item, size_t count) {
    if (item % 7 == 0) {
        std::this_thread::sleep_for(std::chrono::microseconds(50 * (count - item)));
    }
}

TEST(OrderedWorkers, DeliversEveryItemInOrderWithWhatItsWorkWrote) {
    for (const unsigned workers : {1u, 2u, 4u, 16u}) {
        constexpr size_t kCount = 300;
        std::vector<size_t> results(kCount, 0);
        std::vector<unsigned> workerOf(kCount, 0);
        std::vector<std::thread::id> threadOf(kCount);
        std::vector<size_t> delivered;
        const size_t count = runOrdered(
            kCount, workers,
            [&](size_t item, unsigned worker) {
                slowerEarlier(item, kCount);
                results[item] = item * item + 1;
                workerOf[item] = worker;
                threadOf[item] = std::this_thread::get_id();
            },
            [&](size_t item) {
                // Written on a worker, read here: delivered only once its work is done.
                EXPECT_EQ(results[item], item * item + 1) << item;
                delivered.push_back(item);
                return true;
            });
        EXPECT_EQ(count, kCount) << workers;
        ASSERT_EQ(delivered.size(), kCount) << workers;
        for (size_t i = 0; i < kCount; ++i) {
            EXPECT_EQ(delivered[i], i) << workers;
        }
        // A worker's index is its thread's alone, so what it reuses is never shared.
        std::map<unsigned, std::set<std::thread::id>> threadsOfWorker;
        for (size_t i = 0; i < kCount; ++i) {
            EXPECT_LT(workerOf[i], workers);
            threadsOfWorker[workerOf[i]].insert(threadOf[i]);
        }
        for (const auto& [worker, threads] : threadsOfWorker) {
            EXPECT_EQ(threads.size(), 1u) << worker;
        }
    }
}

TEST(OrderedWorkers, NothingToDoCallsNothing) {
    int calls = 0;
    EXPECT_EQ(runOrdered(
                  0, 4, [&](size_t, unsigned) { ++calls; }, [&](size_t) { return ++calls > 0; }),
              0u);
    EXPECT_EQ(calls, 0);
}

TEST(OrderedWorkers, OneWorkerDoesItAllOnAThreadOfItsOwn) {
    std::set<std::thread::id> threads;
    std::vector<size_t> order;
    runOrdered(
        50, 1,
        [&](size_t item, unsigned) {
            threads.insert(std::this_thread::get_id());
            order.push_back(item);
        },
        [](size_t) { return true; });
    ASSERT_EQ(threads.size(), 1u);
    EXPECT_NE(*threads.begin(), std::this_thread::get_id());
    for (size_t i = 0; i < order.size(); ++i) {
        EXPECT_EQ(order[i], i);
    }
}

TEST(OrderedWorkers, StoppingDeliversNothingMoreAndEndsTheWork) {
    constexpr size_t kCount = 10000;
    constexpr size_t kStopAt = 10;
    constexpr size_t kQuick = 12; // items done at once; later ones wait until released
    std::atomic<size_t> worked{0};
    std::mutex mutex;
    std::condition_variable releasedChanged;
    bool released = false;
    std::thread releaser;
    std::vector<size_t> delivered;
    const size_t count = runOrdered(
        kCount, 2,
        [&](size_t item, unsigned) {
            if (item >= kQuick) {
                std::unique_lock<std::mutex> lock(mutex);
                releasedChanged.wait(lock, [&] { return released; });
            }
            ++worked;
        },
        [&](size_t item) {
            if (item == kStopAt) {
                // The two workers hold an item each, waiting; they are let go well after the
                // stop, whatever the scheduler does meanwhile.
                releaser = std::thread([&] {
                    std::this_thread::sleep_for(std::chrono::milliseconds(200));
                    const std::lock_guard<std::mutex> lock(mutex);
                    released = true;
                    releasedChanged.notify_all();
                });
                return false;
            }
            delivered.push_back(item);
            return true;
        });
    releaser.join();
    EXPECT_EQ(count, kStopAt);
    EXPECT_EQ(delivered.size(), kStopAt);
    // The workers finished the items they held and took no new one; the call returned only after
    // they ended.
    const size_t afterReturn = worked.load();
    EXPECT_LE(afterReturn, kQuick + 2);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(worked.load(), afterReturn);
}

TEST(OrderedWorkers, AWorksExceptionComesOutWhereItsItemWouldBeDelivered) {
    std::vector<size_t> delivered;
    EXPECT_THROW(runOrdered(
                     100, 3,
                     [](size_t item, unsigned) {
                         if (item == 42) {
                             throw std::runtime_error("no file");
                         }
                     },
                     [&](size_t item) {
                         delivered.push_back(item);
                         return true;
                     }),
                 std::runtime_error);
    EXPECT_EQ(delivered.size(), 42u);
}

} // namespace
} // namespace vtl
