// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/device/serial_port.h"

namespace vtl {

// Sleeps while the window goes on painting: events other than user input are processed, and user
// input too while it is allowed (a filter then decides what it may reach).
class EventLoopClock : public Clock {
public:
    void sleep(int milliseconds) override;
    int64_t nowMilliseconds() override;
    void setUserInputAllowed(bool allowed) { m_userInputAllowed = allowed; }

private:
    bool m_userInputAllowed = false;
};

} // namespace vtl
