// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#ifdef _WIN32

// On Windows the core's own class sets the priority class, so that the cross-built core tests
// check what the program uses.
#include "core/device/windows_process_priority.h"

namespace vtl {
using SystemProcessPriority = WindowsProcessPriority;
} // namespace vtl

#else

#include "core/device/process_priority.h"

namespace vtl {

// The operating system's process priority: the highest class the process may take during the
// flight transfer, and back. Where the process may not raise its priority, nothing happens.
class SystemProcessPriority : public ProcessPriority {
public:
    void raise() override;
    void restore() override;

private:
    bool m_raised = false;
    int m_previous = 0;
};

} // namespace vtl

#endif
