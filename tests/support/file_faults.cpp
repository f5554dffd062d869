// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/file_faults.h"

#include "support/test_files.h"

#include <cerrno>
#include <csignal>
#include <cstring>

#ifndef _WIN32
#include <fcntl.h>
#include <linux/capability.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

namespace vtl::testing {
namespace {

namespace fs = std::filesystem;

#ifndef _WIN32

constexpr uint32_t kOverrides = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH);

bool setEffectiveOverrides(bool on) {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2]{};
    if (syscall(SYS_capget, &header, data) != 0) {
        return false;
    }
    data[0].effective = on ? (data[0].effective | (data[0].permitted & kOverrides))
                           : (data[0].effective & ~kOverrides);
    return syscall(SYS_capset, &header, data) == 0;
}

// A file may be created in the folder (true for root whatever its mode says).
bool canCreateIn(const fs::path& folder) {
    const fs::path probe = folder / ".probe";
    const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    if (fd < 0) {
        return false;
    }
    ::close(fd);
    ::unlink(probe.c_str());
    return true;
}

// Mounts made by the tests stay in a mount namespace of their own where one may be made, so that
// none outlives the test process or shows on the machine, even when a test dies half-way.
void enterPrivateMountNamespace() {
    static const bool made = ::unshare(CLONE_NEWNS) == 0 &&
                             ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    (void)made;
}
#endif

} // namespace

const std::vector<FileFault>& allFileFaults() {
    static const std::vector<FileFault> faults = {FileFault::ReadOnlyFolder,
                                                  FileFault::MissingFolder,
                                                  FileFault::TargetIsFolder, FileFault::FullDisk};
    return faults;
}

const char* faultName(FileFault fault) {
    switch (fault) {
    case FileFault::ReadOnlyFolder:
        return "read-only folder";
    case FileFault::MissingFolder:
        return "missing folder";
    case FileFault::TargetIsFolder:
        return "target is a folder";
    case FileFault::FullDisk:
        return "full disk";
    }
    return "?";
}

std::ostream& operator<<(std::ostream& out, FileFault fault) {
    return out << faultName(fault);
}

#ifdef _WIN32

// Windows has no such power to give up: an administrator is bound by a file's permissions.
WithoutPermissionOverride::WithoutPermissionOverride() = default;
WithoutPermissionOverride::~WithoutPermissionOverride() = default;

#else

WithoutPermissionOverride::WithoutPermissionOverride() {
    m_dropped = ::geteuid() == 0 && setEffectiveOverrides(false);
}

WithoutPermissionOverride::~WithoutPermissionOverride() {
    if (m_dropped) {
        setEffectiveOverrides(true);
    }
}

#endif

FaultyPlace::FaultyPlace(const fs::path& base, FileFault fault, const std::string& targetName,
                         const std::vector<uint8_t>& oldBytes)
    : m_fault(fault), m_targetName(targetName) {
#ifdef _WIN32
    // Of the faults only these two can be made without administrator rights: the read-only
    // attribute of a folder does not stop files being created in it, and no small disk can be
    // mounted nor a file-size limit set.
    if (fault == FileFault::ReadOnlyFolder || fault == FileFault::FullDisk) {
        m_folder = base / (fault == FileFault::FullDisk ? "full" : "read-only");
        m_unavailable = fault == FileFault::FullDisk
                            ? "Windows mounts no small disk and limits no file size for a test"
                            : "a read-only folder still takes new files on Windows";
        static_cast<void>(oldBytes);
        return;
    }
#endif
    switch (fault) {
    case FileFault::ReadOnlyFolder:
#ifndef _WIN32
        m_folder = base / "read-only";
        fs::create_directories(m_folder);
        writeBytes(target(), oldBytes);
        m_hasOldFile = true;
        fs::permissions(m_folder, fs::perms::owner_read | fs::perms::owner_exec |
                                      fs::perms::group_read | fs::perms::group_exec |
                                      fs::perms::others_read | fs::perms::others_exec);
        if (canCreateIn(m_folder)) {
            m_withoutOverride = std::make_unique<WithoutPermissionOverride>();
            if (canCreateIn(m_folder)) {
                m_withoutOverride.reset();
                m_unavailable = "a folder of mode 0555 stays writable here";
            }
        }
#endif
        break;
    case FileFault::MissingFolder:
        m_folder = base / "missing";
        break;
    case FileFault::TargetIsFolder:
        m_folder = base / "folder-target";
        fs::create_directories(target());
        writeBytes(target() / "inside", {1, 2, 3});
        break;
    case FileFault::FullDisk:
#ifndef _WIN32
        m_folder = base / "full";
        fs::create_directories(m_folder);
        // Without a namespace of its own the mount is still taken, and undone on destruction.
        enterPrivateMountNamespace();
        if (::mount("tmpfs", m_folder.c_str(), "tmpfs", 0, "size=64k") != 0) {
            // No mount allowed: a file-size limit of zero fails every write as a full disk would.
            writeBytes(target(), oldBytes);
            m_hasOldFile = true;
            m_savedXfsz = std::signal(SIGXFSZ, SIG_IGN);
            ::getrlimit(RLIMIT_FSIZE, &m_savedLimit);
            const rlimit none{0, m_savedLimit.rlim_max};
            if (::setrlimit(RLIMIT_FSIZE, &none) != 0) {
                m_unavailable = std::string("neither a small tmpfs nor a file-size limit: ") +
                                std::strerror(errno);
            }
            m_limited = m_unavailable.empty();
            break;
        }
        m_mounted = true;
        writeBytes(target(), oldBytes);
        m_hasOldFile = true;
        fillDisk();
#endif
        break;
    }
    m_noted = snapshot();
}

FaultyPlace::~FaultyPlace() {
    m_withoutOverride.reset();
#ifndef _WIN32
    std::error_code ignored;
    if (m_fault == FileFault::ReadOnlyFolder) {
        fs::permissions(m_folder, fs::perms::owner_all, fs::perm_options::add, ignored);
    }
    if (m_mounted) {
        ::umount2(m_folder.c_str(), MNT_DETACH);
    }
    if (m_fault == FileFault::FullDisk && !m_mounted) {
        if (m_limited) {
            ::setrlimit(RLIMIT_FSIZE, &m_savedLimit);
        }
        std::signal(SIGXFSZ, m_savedXfsz);
    }
#endif
}

// Appends to a filler file until the file system refuses, so that not a page is left.
void FaultyPlace::fillDisk() {
#ifndef _WIN32
    const int fd = ::open((m_folder / "filler").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0) {
        m_unavailable = "cannot fill the small disk";
        return;
    }
    const std::vector<char> block(4096, 'f');
    for (size_t size = block.size(); size > 0;) {
        if (::write(fd, block.data(), size) <= 0) {
            size /= 2;
        }
    }
    ::close(fd);
#endif
}

std::map<std::string, std::vector<uint8_t>> FaultyPlace::snapshot() const {
    std::map<std::string, std::vector<uint8_t>> files;
    std::error_code error;
    if (!fs::is_directory(m_folder, error)) {
        return files;
    }
    for (const auto& entry : fs::recursive_directory_iterator(m_folder, error)) {
        const std::string name = fs::relative(entry.path(), m_folder).string();
        files[entry.is_directory() ? name + "/" : name] =
            entry.is_directory() ? std::vector<uint8_t>() : readBytes(entry.path());
    }
    return files;
}

std::vector<std::string> FaultyPlace::changes() const {
    const auto now = snapshot();
    std::vector<std::string> found;
    for (const auto& [name, bytes] : now) {
        const auto noted = m_noted.find(name);
        if (noted == m_noted.end()) {
            found.push_back("+" + name);
        } else if (noted->second != bytes) {
            found.push_back("~" + name);
        }
    }
    for (const auto& [name, bytes] : m_noted) {
        if (now.count(name) == 0) {
            found.push_back("-" + name);
        }
    }
    return found;
}

} // namespace vtl::testing
