// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace vtl::cli {

// While it lives, Ctrl-C (and Ctrl-Break on Windows) only notes the wish to stop instead of ending
// the process, so that a transfer stops as the window's Cancel button stops it and nothing half
// written is left behind. The handler that was there before comes back at the end.
class InterruptHook {
public:
    InterruptHook();
    ~InterruptHook();
    InterruptHook(const InterruptHook&) = delete;
    InterruptHook& operator=(const InterruptHook&) = delete;

    // Whether Ctrl-C was pressed since the hook was set.
    bool interrupted() const;
};

} // namespace vtl::cli
