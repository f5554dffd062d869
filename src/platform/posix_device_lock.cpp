// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix_device_lock.h"

#include <QDir>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <thread>

#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace vtl {
namespace {

constexpr int kHolderAttempts = 5;
constexpr std::chrono::milliseconds kHolderWait{20};

// The number on the first line of a lock file in the form Qt writes ("1234\nprogram\nhost\n").
long processInLockFile(const std::string& path) {
    std::ifstream file(path);
    long process = 0;
    if (!(file >> process) || process <= 0) {
        return 0;
    }
    return process;
}

// Where Qt's serial port keeps the lock file of a device: the first of the system's lock folders
// that has the file or may take it, else the temporary folder; the file is named after the port
// (the path without "/dev/") with its slashes made underscores.
long processInQtLockFile(const std::string& canonicalPath) {
    const std::string devices = "/dev/";
    std::string name =
        canonicalPath.rfind(devices, 0) == 0 ? canonicalPath.substr(devices.size()) : canonicalPath;
    std::replace(name.begin(), name.end(), '/', '_');
    name = "/LCK.." + name;
    const std::string folders[] = {"/var/lock", "/etc/locks", "/var/spool/locks", "/var/spool/uucp",
                                   QDir::tempPath().toStdString()};
    for (const std::string& folder : folders) {
        if (const long process = processInLockFile(folder + name); process != 0) {
            return process;
        }
    }
    return 0;
}

} // namespace

bool DeviceLock::take(int descriptor) {
    int result = 0;
    do {
        result = ::flock(descriptor, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    // A file system without such locks does not keep the port from being used.
    return result == 0 || (errno != EWOULDBLOCK && errno != EAGAIN);
}

long DeviceLock::holderOf(const std::string& canonicalPath) {
    // A program that has just taken Qt's lock file writes its number into it and takes the lock
    // on the device a moment later: it is given that moment before the holder counts as unknown.
    for (int attempt = 0; attempt < kHolderAttempts; ++attempt) {
        if (attempt > 0) {
            std::this_thread::sleep_for(kHolderWait);
        }
        struct stat node {};
        if (::stat(canonicalPath.c_str(), &node) == 0) {
            std::ifstream table("/proc/locks");
            std::stringstream text;
            text << table.rdbuf();
            if (const long process = holderIn(text.str(), node.st_dev, node.st_ino); process != 0) {
                return process;
            }
        }
        if (const long process = processInQtLockFile(canonicalPath); process != 0) {
            return process;
        }
    }
    return 0;
}

// A line reads "1: FLOCK  ADVISORY  WRITE 1234 00:19:3 0 EOF": the file as major:minor (hex) of
// its file system and its inode; a process waiting for the lock has "->" after the number.
long DeviceLock::holderIn(const std::string& lockTable, dev_t device, ino_t inode) {
    std::istringstream lines(lockTable);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string number, kind, mode, access, file;
        long process = 0;
        if (!(fields >> number >> kind >> mode >> access >> process >> file) || kind != "FLOCK" ||
            process <= 0) {
            continue;
        }
        unsigned int fileSystemMajor = 0;
        unsigned int fileSystemMinor = 0;
        unsigned long node = 0;
        if (std::sscanf(file.c_str(), "%x:%x:%lu", &fileSystemMajor, &fileSystemMinor, &node) ==
                3 &&
            fileSystemMajor == major(device) && fileSystemMinor == minor(device) && node == inode) {
            return process;
        }
    }
    return 0;
}

} // namespace vtl
