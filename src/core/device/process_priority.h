// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace vtl {

// Raises the process's priority for the flight transfer and restores it; where raising is not
// allowed nothing happens.
class ProcessPriority {
public:
    virtual ~ProcessPriority() = default;
    virtual void raise() = 0;
    virtual void restore() = 0;
};

} // namespace vtl
