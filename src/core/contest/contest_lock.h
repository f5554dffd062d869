// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace vtl {

constexpr const char* kContestLockName = ".contest.lock";

// A contest folder open for writing in one program at a time. The lock is the system's on an
// open file, not the file's being there, so a program that crashed leaves nothing stuck.
class ContestLock {
public:
    // The folder's lock, or nothing when another program holds it or the lock file cannot be
    // made (`error` says which: 0 for held elsewhere, else the system's errno value).
    static std::unique_ptr<ContestLock> take(const std::string& folder, int* error = nullptr);
    ~ContestLock();
    ContestLock(const ContestLock&) = delete;
    ContestLock& operator=(const ContestLock&) = delete;

private:
    explicit ContestLock(intptr_t handle) : m_handle(handle) {}
    intptr_t m_handle;
};

} // namespace vtl
