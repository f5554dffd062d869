// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

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
