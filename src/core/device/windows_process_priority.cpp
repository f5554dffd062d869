// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/device/windows_process_priority.h"

#include <windows.h>

namespace vtl {

WindowsProcessPriority::WindowsProcessPriority(void* process)
    : m_process(process != nullptr ? process : GetCurrentProcess()) {}

void WindowsProcessPriority::raise() {
    if (m_raised) {
        return;
    }
    const DWORD previous = GetPriorityClass(m_process);
    if (previous == 0) {
        return;
    }
    m_previous = previous;
    m_raised = SetPriorityClass(m_process, REALTIME_PRIORITY_CLASS) != 0;
}

void WindowsProcessPriority::restore() {
    if (m_raised) {
        SetPriorityClass(m_process, m_previous);
        m_raised = false;
    }
}

} // namespace vtl
