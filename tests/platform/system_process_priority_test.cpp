// SPDX-License-Identifier: GPL-3.0-or-later
// The transfer's priority raise where the system refuses it: the download goes on, and the
// process keeps the priority it had.
#include "platform/system_process_priority.h"

#include "core/device/device_test_rig.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vtl::testing {
namespace {

constexpr int kNice = 5;
constexpr uid_t kNobody = 65534;

// Runs the check in a child process, where the priority may be changed and given up for good.
int inChild(int (*check)()) {
    const pid_t child = fork();
    if (child == 0) {
        _exit(check());
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 99;
}

// 0 when a refused raise still downloads and leaves the priority alone.
int refusedRaise() {
    if (setpriority(PRIO_PROCESS, 0, kNice) != 0) {
        return 10;
    }
    // A process without the right to raise its priority: root gives that right up.
    if (getuid() == 0 && setuid(kNobody) != 0) {
        return 11;
    }
    const rlimit noRaise{0, 0};
    setrlimit(RLIMIT_NICE, &noRaise);

    DeviceTestRig rig;
    rig.model.image = std::vector<uint8_t>(64, 0x20);
    rig.model.image[62] = rig.model.image[63] = 0xFF;
    SystemProcessPriority priority;
    DeviceProtocol protocol{rig.channel,  rig.clock,    rig.prompter,
                            rig.language, rig.settings, priority};
    RecordingDownloadView view;
    const auto result = protocol.downloadFlight(view);
    if (!result || result->bytes.size() != 64) {
        return 12;
    }
    return getpriority(PRIO_PROCESS, 0) == kNice ? 0 : 13;
}

// 0 when an allowed raise lifts the priority during the transfer and puts it back after.
int allowedRaise() {
    if (setpriority(PRIO_PROCESS, 0, kNice) != 0) {
        return 10;
    }
    SystemProcessPriority priority;
    priority.raise();
    const int raised = getpriority(PRIO_PROCESS, 0);
    priority.restore();
    priority.restore(); // a second restore changes nothing
    return raised < kNice && getpriority(PRIO_PROCESS, 0) == kNice ? 0 : 20;
}

TEST(ProcessPriority, ARefusedRaiseDownloadsAllTheSameAndRestoresNothing) {
    EXPECT_EQ(inChild(refusedRaise), 0);
}

TEST(ProcessPriority, AnAllowedRaiseIsUndone) {
    if (getuid() != 0) {
        GTEST_SKIP() << "only a privileged process may raise its priority";
    }
    EXPECT_EQ(inChild(allowedRaise), 0);
}

} // namespace
} // namespace vtl::testing
