// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/shell/atomic_file.h"

#include "core/shell/utf8_path.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace vtl {
namespace {

namespace fs = std::filesystem;

// Every temporary file starts so, followed by six letters or digits (mkstemp's or our own).
constexpr const char* kTemporaryPrefix = ".vtl-";
constexpr size_t kTemporaryLetters = 6;

std::string folderOf(const std::string& path) {
    const fs::path folder = utf8Path(path).parent_path();
    return folder.empty() ? std::string(".") : utf8String(folder);
}

void fail(int* error, int reason) {
    if (error != nullptr) {
        *error = reason;
    }
}

} // namespace

bool isTemporaryFileName(const std::string& fileName) {
    const std::string prefix = kTemporaryPrefix;
    if (fileName.size() != prefix.size() + kTemporaryLetters ||
        fileName.compare(0, prefix.size(), prefix) != 0) {
        return false;
    }
    for (size_t i = prefix.size(); i < fileName.size(); ++i) {
        const char c = fileName[i];
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) {
            return false;
        }
    }
    return true;
}

#ifdef _WIN32

namespace {

// The errno value that says the same as a Windows error, so that the user is told the reason in
// the same words on both systems.
int errnoFor(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
        return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return EACCES;
    case ERROR_WRITE_PROTECT:
        return EROFS;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return EEXIST;
    case ERROR_FILENAME_EXCED_RANGE:
        return ENAMETOOLONG;
    default:
        return EIO;
    }
}

bool writeAll(HANDLE file, const uint8_t* bytes, size_t size, int& error) {
    while (size > 0) {
        const DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!WriteFile(file, bytes, chunk, &written, nullptr) || written == 0) {
            error =
                written == 0 && GetLastError() == ERROR_SUCCESS ? ENOSPC : errnoFor(GetLastError());
            return false;
        }
        bytes += written;
        size -= written;
    }
    return true;
}

// A new file ".vtl-" and six letters in the folder, created only where no file has that name.
std::optional<std::string> writeTemporary(const std::string& folder, const uint8_t* bytes,
                                          size_t size, int& error) {
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    unsigned long long seed =
        GetTickCount64() ^ (static_cast<unsigned long long>(GetCurrentProcessId()) << 20);
    for (int attempt = 0; attempt < 100; ++attempt) {
        static unsigned long long counter = 0;
        unsigned long long value = seed + 0x9E3779B97F4A7C15ull * ++counter;
        std::string suffix;
        for (int i = 0; i < 6; ++i, value /= 36) {
            suffix += kLetters[value % 36];
        }
        const std::string name = utf8String(utf8Path(folder) / (kTemporaryPrefix + suffix));
        const std::wstring wide = wideFromUtf8(name);
        const HANDLE file = CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            const DWORD reason = GetLastError();
            if (reason == ERROR_FILE_EXISTS || reason == ERROR_ALREADY_EXISTS) {
                continue;
            }
            error = errnoFor(reason);
            return std::nullopt;
        }
        // The data reaches the disk before the rename, so that a crash never leaves an empty
        // target.
        bool done = writeAll(file, bytes, size, error);
        if (done && !FlushFileBuffers(file)) {
            error = errnoFor(GetLastError());
            done = false;
        }
        CloseHandle(file);
        if (!done) {
            DeleteFileW(wide.c_str());
            return std::nullopt;
        }
        return name;
    }
    error = EEXIST;
    return std::nullopt;
}

} // namespace

std::optional<std::string> writeTemporaryFile(const std::string& folder, const uint8_t* bytes,
                                              size_t size, int* error) {
    int reason = 0;
    auto name = writeTemporary(folder, bytes, size, reason);
    if (!name) {
        fail(error, reason);
    }
    return name;
}

bool writeFileAtomically(const std::string& path, const uint8_t* bytes, size_t size, int* error) {
    const std::wstring target = wideFromUtf8(path);
    const DWORD attributes = GetFileAttributesW(target.c_str());
    const bool replacing = attributes != INVALID_FILE_ATTRIBUTES;
    if (replacing && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        fail(error, EISDIR);
        return false;
    }
    if (replacing && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        // Told from the attribute itself: the open below passes where the file system does not
        // enforce it (Wine run as root).
        fail(error, EACCES);
        return false;
    }
    if (replacing) {
        // MoveFileExW would replace a read-only file, or one that another program holds open
        // without sharing, behind its owner's back: a file that may not be opened for writing
        // is refused.
        const HANDLE probe =
            CreateFileW(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (probe == INVALID_HANDLE_VALUE) {
            fail(error, errnoFor(GetLastError()));
            return false;
        }
        CloseHandle(probe);
    }
    int reason = 0;
    const auto temporary = writeTemporary(folderOf(path), bytes, size, reason);
    if (!temporary) {
        fail(error, reason);
        return false;
    }
    const std::wstring from = wideFromUtf8(*temporary);
    if (!MoveFileExW(from.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        fail(error, errnoFor(GetLastError()));
        DeleteFileW(from.c_str());
        return false;
    }
    return true;
}

#else

namespace {

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

#endif

} // namespace vtl
