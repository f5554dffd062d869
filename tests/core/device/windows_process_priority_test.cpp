// SPDX-License-Identifier: GPL-3.0-or-later
// The transfer's priority through the Windows API: raised for the transfer and back to the class
// the process had; where the process may not change its class, nothing changes.
#include "core/device/windows_process_priority.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace vtl::testing {
namespace {

// Each test starts below normal, so that a restore to the normal class instead of the one the
// process had shows; the process ends at the normal class whatever a test left.
class WindowsPriority : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SetPriorityClass(GetCurrentProcess(), BELOW_NORMAL_PRIORITY_CLASS));
    }
    void TearDown() override { SetPriorityClass(GetCurrentProcess(), NORMAL_PRIORITY_CLASS); }
};

TEST_F(WindowsPriority, ARaiseIsUndoneToTheClassTheProcessHad) {
    WindowsProcessPriority priority;
    priority.raise();
    const DWORD raised = GetPriorityClass(GetCurrentProcess());
    // Real time where the user may take it, high where Windows gives that instead.
    EXPECT_TRUE(raised == REALTIME_PRIORITY_CLASS || raised == HIGH_PRIORITY_CLASS) << raised;
    priority.restore();
    EXPECT_EQ(GetPriorityClass(GetCurrentProcess()), DWORD{BELOW_NORMAL_PRIORITY_CLASS});

    // A second restore changes nothing, even after the class was changed by someone else.
    ASSERT_TRUE(SetPriorityClass(GetCurrentProcess(), IDLE_PRIORITY_CLASS));
    priority.restore();
    EXPECT_EQ(GetPriorityClass(GetCurrentProcess()), DWORD{IDLE_PRIORITY_CLASS});
}

// A process may not change the class through a handle without the right to: the raise changes
// nothing and the transfer goes on at the class the process had.
TEST_F(WindowsPriority, ARefusedRaiseChangesNothing) {
    const HANDLE lookOnly =
        OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, GetCurrentProcessId());
    ASSERT_NE(lookOnly, nullptr);
    if (SetPriorityClass(lookOnly, BELOW_NORMAL_PRIORITY_CLASS)) {
        CloseHandle(lookOnly);
        GTEST_SKIP() << "a handle without PROCESS_SET_INFORMATION still sets the class here";
    }
    WindowsProcessPriority priority(lookOnly);
    priority.raise();
    EXPECT_EQ(GetPriorityClass(GetCurrentProcess()), DWORD{BELOW_NORMAL_PRIORITY_CLASS});
    priority.restore();
    EXPECT_EQ(GetPriorityClass(GetCurrentProcess()), DWORD{BELOW_NORMAL_PRIORITY_CLASS});
    CloseHandle(lookOnly);
}

} // namespace
} // namespace vtl::testing
