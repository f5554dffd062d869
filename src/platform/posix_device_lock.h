// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include <sys/types.h>

namespace vtl {

// The lock that keeps one serial device to one program. Qt's lock file does not do it alone: a
// user who may not write the system's lock folder keeps the file elsewhere, and the terminal's
// exclusive mode lets root through. A lock on the device's own node binds every user, root too,
// and goes with the descriptor, so a program that dies leaves none behind.
class DeviceLock {
public:
    // Takes the lock on the open device; false when another open of the device holds it.
    static bool take(int descriptor);

    // The process that holds the device at `canonicalPath`, or 0 where none is known: the holder
    // of the lock above, else the number in the lock file Qt writes for the device.
    static long holderOf(const std::string& canonicalPath);

    // The process that the system's lock table (the text of /proc/locks) names as holding a whole
    // file lock on the file `inode` of the file system `device`, or 0.
    static long holderIn(const std::string& lockTable, dev_t device, ino_t inode);
};

} // namespace vtl
