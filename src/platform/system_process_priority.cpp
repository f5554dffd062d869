// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/system_process_priority.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <sys/resource.h>
#endif

namespace vtl {

#ifdef _WIN32

void SystemProcessPriority::raise() {
    m_raised = SetPriorityClass(GetCurrentProcess(), REALTIME_PRIORITY_CLASS) != 0;
}

void SystemProcessPriority::restore() {
    if (m_raised) {
        SetPriorityClass(GetCurrentProcess(), NORMAL_PRIORITY_CLASS);
        m_raised = false;
    }
}

#else

void SystemProcessPriority::raise() {
    errno = 0;
    const int previous = getpriority(PRIO_PROCESS, 0);
    if (errno != 0) {
        return;
    }
    m_previous = previous;
    m_raised = setpriority(PRIO_PROCESS, 0, -20) == 0;
}

void SystemProcessPriority::restore() {
    if (m_raised) {
        setpriority(PRIO_PROCESS, 0, m_previous);
        m_raised = false;
    }
}

#endif

} // namespace vtl
