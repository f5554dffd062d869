// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/resource.h>
#endif

namespace vtl::testing {

// The ways a file the program writes can fail to be written.
enum class FileFault {
    ReadOnlyFolder, // the target's folder may not be written
    MissingFolder,  // the target's folder does not exist
    TargetIsFolder, // a folder stands where the file should go
    FullDisk,       // the target's file system has no room left (or, where no small file
                    // system may be mounted, no file may grow)
};

const std::vector<FileFault>& allFileFaults();
const char* faultName(FileFault fault);
std::ostream& operator<<(std::ostream& out, FileFault fault);

// Takes the calling thread's power to read and write past file permissions (as root has) for
// its lifetime, so that a chmod binds a test run as root just as it binds a user.
class WithoutPermissionOverride {
public:
    WithoutPermissionOverride();
    ~WithoutPermissionOverride();
    WithoutPermissionOverride(const WithoutPermissionOverride&) = delete;
    WithoutPermissionOverride& operator=(const WithoutPermissionOverride&) = delete;

private:
    bool m_dropped = false;
};

// A folder inside `base` where writing the file `targetName` meets the fault. An old file of
// `oldBytes` lies at the target where the fault allows one (not in a missing folder, not where
// a folder stands). The folder's files are noted once the fault is in place, so that a test can
// see what the failed write changed.
class FaultyPlace {
public:
    FaultyPlace(const std::filesystem::path& base, FileFault fault, const std::string& targetName,
                const std::vector<uint8_t>& oldBytes);
    ~FaultyPlace();
    FaultyPlace(const FaultyPlace&) = delete;
    FaultyPlace& operator=(const FaultyPlace&) = delete;

    // Why the fault could not be arranged here (a test skips the case), or empty.
    const std::string& unavailable() const { return m_unavailable; }
    const std::filesystem::path& folder() const { return m_folder; }
    std::filesystem::path target() const { return m_folder / m_targetName; }
    bool hasOldFile() const { return m_hasOldFile; }

    // What differs from the noted files: "+name" added, "~name" other bytes, "-name" gone
    // (names relative to the folder, folders ending in '/'). Empty when nothing changed.
    std::vector<std::string> changes() const;

private:
    std::map<std::string, std::vector<uint8_t>> snapshot() const;
    void fillDisk();

    FileFault m_fault;
    std::filesystem::path m_folder;
    std::string m_targetName;
    bool m_hasOldFile = false;
    bool m_mounted = false;
    bool m_limited = false;
#ifndef _WIN32
    rlimit m_savedLimit{};
    void (*m_savedXfsz)(int) = nullptr;
#endif
    std::string m_unavailable;
    std::map<std::string, std::vector<uint8_t>> m_noted;
    std::unique_ptr<WithoutPermissionOverride> m_withoutOverride;
};

} // namespace vtl::testing
