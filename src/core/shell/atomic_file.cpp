// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/shell/atomic_file.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vtl {
namespace {

namespace fs = std::filesystem;

// As many links as the kernel itself follows before it gives up with ELOOP.
constexpr int kMostLinks = 40;

// A short name, so that the temporary file fits wherever the target's own name fits (a name of
// 250 bytes plus any long suffix would pass the file system's 255-byte limit).
constexpr const char* kTemporaryName = ".vtl-XXXXXX";

// The permission bits a file created now gets: 0666 less the process's umask.
mode_t newFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

std::string folderOf(const std::string& path) {
    const fs::path folder = fs::path(path).parent_path();
    return folder.empty() ? std::string(".") : folder.string();
}

// Follows symbolic links at the end of the path, so that the file they point to is replaced
// and the links stay as they are.
bool followLinks(std::string& path, int& error) {
    for (int hop = 0; hop < kMostLinks; ++hop) {
        struct stat status {};
        if (::lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) {
            return true;
        }
        std::error_code failure;
        const fs::path target = fs::read_symlink(path, failure);
        if (failure) {
            error = failure.value();
            return false;
        }
        path =
            target.is_absolute() ? target.string() : (fs::path(folderOf(path)) / target).string();
    }
    error = ELOOP;
    return false;
}

bool writeAll(int fd, const uint8_t* bytes, size_t size, int& error) {
    while (size > 0) {
        const ssize_t written = ::write(fd, bytes, size);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            error = written < 0 ? errno : ENOSPC;
            return false;
        }
        bytes += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

std::optional<std::string> writeTemporary(const std::string& folder, const uint8_t* bytes,
                                          size_t size, mode_t mode, int& error) {
    std::string name = (fs::path(folder) / kTemporaryName).string();
    const int fd = ::mkstemp(name.data());
    if (fd < 0) {
        error = errno;
        return std::nullopt;
    }
    // The data reaches the disk before the rename, so that a crash never leaves an empty target.
    bool done = ::fchmod(fd, mode) == 0;
    if (!done) {
        error = errno;
    }
    done = done && writeAll(fd, bytes, size, error);
    if (done && ::fsync(fd) != 0) {
        error = errno;
        done = false;
    }
    if (::close(fd) != 0 && done) {
        error = errno;
        done = false;
    }
    if (!done) {
        ::unlink(name.c_str());
        return std::nullopt;
    }
    return name;
}

void fail(int* error, int reason) {
    if (error != nullptr) {
        *error = reason;
    }
}

} // namespace

std::optional<std::string> writeTemporaryFile(const std::string& folder, const uint8_t* bytes,
                                              size_t size, int* error) {
    int reason = 0;
    auto name = writeTemporary(folder, bytes, size, newFileMode(), reason);
    if (!name) {
        fail(error, reason);
    }
    return name;
}

bool writeFileAtomically(const std::string& path, const uint8_t* bytes, size_t size, int* error) {
    int reason = 0;
    std::string target = path;
    if (!followLinks(target, reason)) {
        fail(error, reason);
        return false;
    }
    struct stat old {};
    const bool replacing = ::stat(target.c_str(), &old) == 0;
    if (replacing && S_ISDIR(old.st_mode)) {
        fail(error, EISDIR);
        return false;
    }
    if (replacing) {
        // The rename needs only the folder's permission; the file's own must allow writing too,
        // or a read-only file (or another user's) would be replaced behind its owner's back.
        const int probe = ::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (probe < 0) {
            fail(error, errno);
            return false;
        }
        ::close(probe);
    }
    const mode_t mode = replacing ? (old.st_mode & 07777) : newFileMode();
    const auto temporary = writeTemporary(folderOf(target), bytes, size, mode, reason);
    if (!temporary) {
        fail(error, reason);
        return false;
    }
    if (replacing && (old.st_uid != ::geteuid() || old.st_gid != ::getegid())) {
        // Where the process may (as root does), the replaced file stays its owner's; an
        // ordinary user may not give a file away, and then the new file is the writer's.
        const bool kept = ::chown(temporary->c_str(), old.st_uid, old.st_gid) == 0;
        static_cast<void>(kept);
    }
    if (::rename(temporary->c_str(), target.c_str()) != 0) {
        fail(error, errno);
        ::unlink(temporary->c_str());
        return false;
    }
    return true;
}

} // namespace vtl
