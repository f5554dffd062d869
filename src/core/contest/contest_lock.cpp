// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/contest/contest_lock.h"

#include "core/shell/utf8_path.h"

#include <cerrno>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace vtl {

std::unique_ptr<ContestLock> ContestLock::take(const std::string& folder, int* error) {
    const std::filesystem::path path = utf8Path(folder) / kContestLockName;
#ifdef _WIN32
    // No sharing: a second open of the file fails while this handle lives.
    const HANDLE handle = CreateFileW(path.wstring().c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                      nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        if (error) {
            *error = code == ERROR_SHARING_VIOLATION ? 0 : EACCES;
        }
        return nullptr;
    }
    return std::unique_ptr<ContestLock>(new ContestLock(reinterpret_cast<intptr_t>(handle)));
#else
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        if (error) {
            *error = errno;
        }
        return nullptr;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int code = errno;
        ::close(fd);
        if (error) {
            *error = code == EWOULDBLOCK ? 0 : code;
        }
        return nullptr;
    }
    return std::unique_ptr<ContestLock>(new ContestLock(fd));
#endif
}

ContestLock::~ContestLock() {
#ifdef _WIN32
    CloseHandle(reinterpret_cast<HANDLE>(m_handle));
#else
    ::close(static_cast<int>(m_handle));
#endif
}

} // namespace vtl
