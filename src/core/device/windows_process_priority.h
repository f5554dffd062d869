// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/device/process_priority.h"

#include <cstdint>

namespace vtl {

// The process priority on Windows: the real-time class during the flight transfer (Windows
// gives the high class instead to a user who may not have real-time), and back to the class the
// process had. Where the process may not change its class, nothing happens. Built on Windows only;
// this header keeps windows.h out of the files that include it.
class WindowsProcessPriority : public ProcessPriority {
public:
    // The process whose class changes: a process handle, or none for the calling process.
    explicit WindowsProcessPriority(void* process = nullptr);

    void raise() override;
    void restore() override;

private:
    void* m_process;
    bool m_raised = false;
    uint32_t m_previous = 0;
};

} // namespace vtl
