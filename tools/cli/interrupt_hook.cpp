// SPDX-License-Identifier: GPL-3.0-or-later
#include "interrupt_hook.h"

#include <atomic>

#ifdef _WIN32
#include <windows.h>
#else
#include <signal.h>
#endif

namespace vtl::cli {
namespace {

// Set from a signal handler (POSIX) or the console's own handler thread (Windows): lock-free on
// both.
std::atomic<bool> interruptSeen{false};

#ifdef _WIN32

BOOL WINAPI noteInterrupt(DWORD event) {
    if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT) {
        interruptSeen = true;
        return TRUE;
    }
    return FALSE; // closing the console or logging off still ends the process
}

#else

struct sigaction previousAction {};

extern "C" void noteInterrupt(int) {
    interruptSeen = true;
}

#endif

} // namespace

InterruptHook::InterruptHook() {
    interruptSeen = false;
#ifdef _WIN32
    SetConsoleCtrlHandler(noteInterrupt, TRUE);
#else
    struct sigaction action {};
    action.sa_handler = noteInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &previousAction);
#endif
}

InterruptHook::~InterruptHook() {
#ifdef _WIN32
    SetConsoleCtrlHandler(noteInterrupt, FALSE);
#else
    sigaction(SIGINT, &previousAction, nullptr);
#endif
}

bool InterruptHook::interrupted() const {
    return interruptSeen;
}

} // namespace vtl::cli
