// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/system_process_priority.h"

#ifndef _WIN32
#include <cerrno>
#include <sys/resource.h>
#endif

namespace vtl {

// On Windows the core's WindowsProcessPriority stands in (see the header).
#ifndef _WIN32

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
