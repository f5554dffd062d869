// SPDX-License-Identifier: GPL-3.0-or-later
// Safe writes: a write that fails part-way leaves the old file byte for byte and no temporary
// file behind; every name the file system takes can be written; a file the user may not write is
// refused; links are followed; a replaced file keeps its mode (and, where root writes, its owner).
#include "core/shell/atomic_file.h"
#include "support/file_faults.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <functional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#ifndef _WIN32
#include <sys/resource.h>
#include <sys/wait.h>
#endif
#ifdef __linux__
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#endif

namespace vtl {
namespace {

namespace fs = std::filesystem;

#ifndef _WIN32
// The nobody account's numbers on Debian, for files that belong to another user.
constexpr uid_t kNobody = 65534;
constexpr gid_t kNogroup = 65534;

bool canOpenForWriting(const fs::path& path) {
    const int fd = ::open(path.c_str(), O_WRONLY);
    if (fd < 0) {
        return false;
    }
    ::close(fd);
    return true;
}

mode_t modeOf(const fs::path& path) {
    struct stat status {};
    ::stat(path.c_str(), &status);
    return status.st_mode & 07777;
}
#else
// Why a test of POSIX file semantics cannot apply to Windows.
#define SKIP_ON_WINDOWS(why) GTEST_SKIP() << "Windows: " << (why)
#endif

class SafeWrite : public ::testing::Test {
protected:
    void SetUp() override {
        m_folder = fs::temp_directory_path() / ("vtl-safe-write-" + std::to_string(getpid()));
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
    }
    void TearDown() override { fs::remove_all(m_folder); }

    bool write(const fs::path& path, const std::vector<uint8_t>& bytes, int* error = nullptr) {
        return writeFileAtomically(path.string(), bytes.data(), bytes.size(), error);
    }

    fs::path m_folder;
    const std::vector<uint8_t> m_old = std::vector<uint8_t>(40, 0x11);
    const std::vector<uint8_t> m_new = std::vector<uint8_t>(70, 0x22);
};

// The temporary name does not grow with the target's, so the longest names still fit.
TEST_F(SafeWrite, EveryNameTheFileSystemTakesIsWritten) {
    for (const size_t length : {250u, 255u}) {
        const fs::path target = m_folder / std::string(length, 'n');
        ASSERT_TRUE(write(target, m_old)) << length;
        ASSERT_TRUE(write(target, m_new)) << length;
        EXPECT_EQ(testing::readBytes(target), m_new) << length;
        fs::remove(target);
    }
    EXPECT_TRUE(testing::folderNames(m_folder).empty());
}

// A file the user may not write stays as it is, though its folder would allow the rename.
TEST_F(SafeWrite, AFileTheUserMayNotWriteIsRefused) {
#ifdef _WIN32
    SKIP_ON_WINDOWS("no permission bits nor other users' files; the read-only attribute is tested "
                    "in windows_paths_test");
#else
    struct Case {
        const char* what;
        mode_t mode;
        bool otherUsers;
    };
    for (const Case& c :
         {Case{"read-only file", 0444, false}, Case{"another user's file", 0644, true}}) {
        const fs::path target = m_folder / "lot.bin";
        fs::remove(target);
        std::ofstream(target, std::ios::binary)
            .write(reinterpret_cast<const char*>(m_old.data()), m_old.size());
        ::chmod(target.c_str(), c.mode);
        if (c.otherUsers && ::chown(target.c_str(), kNobody, kNogroup) != 0) {
            continue; // only root may give a file away
        }
        const testing::WithoutPermissionOverride asAnOrdinaryUser;
        if (canOpenForWriting(target)) {
            GTEST_SKIP() << "a file of mode " << std::oct << c.mode << " stays writable here";
        }
        int error = 0;
        EXPECT_FALSE(write(target, m_new, &error)) << c.what;
        EXPECT_EQ(error, EACCES) << c.what;
        EXPECT_EQ(testing::readBytes(target), m_old) << c.what;
        EXPECT_EQ(modeOf(target), c.mode) << c.what;
        EXPECT_EQ(testing::folderNames(m_folder), std::vector<std::string>{"lot.bin"}) << c.what;
    }
#endif
}

// The file a link points to is replaced, in its own folder; the link stays a link.
TEST_F(SafeWrite, ALinkIsFollowedAndKept) {
#ifdef _WIN32
    SKIP_ON_WINDOWS("symbolic links need administrator rights");
#else
    fs::create_directories(m_folder / "cards");
    struct Case {
        const char* what;
        fs::path link;
        fs::path pointsTo; // as written into the link
        fs::path file;
        bool oldFile;
    };
    const std::vector<Case> cases = {
        {"relative, same folder", m_folder / "a.bin", "target-a.bin", m_folder / "target-a.bin",
         true},
        {"absolute, other folder", m_folder / "b.bin", m_folder / "cards" / "b.bin",
         m_folder / "cards" / "b.bin", true},
        {"relative, other folder", m_folder / "c.bin", "cards/c.bin", m_folder / "cards" / "c.bin",
         true},
        {"to a file not yet made", m_folder / "d.bin", "cards/d.bin", m_folder / "cards" / "d.bin",
         false},
    };
    for (const Case& c : cases) {
        if (c.oldFile) {
            ASSERT_TRUE(write(c.file, m_old));
        }
        fs::create_symlink(c.pointsTo, c.link);
        ASSERT_TRUE(write(c.link, m_new)) << c.what;
        EXPECT_TRUE(fs::is_symlink(c.link)) << c.what;
        EXPECT_EQ(fs::read_symlink(c.link), c.pointsTo) << c.what;
        EXPECT_EQ(testing::readBytes(c.file), m_new) << c.what;
    }
    // A chain of links ends at its last file.
    fs::create_symlink("a.bin", m_folder / "e.bin");
    ASSERT_TRUE(write(m_folder / "e.bin", m_old));
    EXPECT_EQ(testing::readBytes(m_folder / "target-a.bin"), m_old);
    EXPECT_TRUE(fs::is_symlink(m_folder / "a.bin"));

    EXPECT_EQ(testing::folderNames(m_folder),
              (std::vector<std::string>{"a.bin", "b.bin", "c.bin", "cards", "d.bin", "e.bin",
                                        "target-a.bin"}));
    EXPECT_EQ(testing::folderNames(m_folder / "cards"),
              (std::vector<std::string>{"b.bin", "c.bin", "d.bin"}));
#endif
}

// A replaced file keeps its mode and owner; a new one gets the mode that the umask leaves.
TEST_F(SafeWrite, AReplacedFileKeepsItsModeAndOwner) {
#ifdef _WIN32
    SKIP_ON_WINDOWS("no permission bits, umask or owner to keep");
#else
    const fs::path target = m_folder / "lot.bin";
    ASSERT_TRUE(write(target, m_old));
    const mode_t mask = ::umask(0);
    ::umask(mask);
    EXPECT_EQ(modeOf(target), 0666 & ~mask);

    ::chmod(target.c_str(), 0640);
    ASSERT_TRUE(write(target, m_new));
    EXPECT_EQ(modeOf(target), 0640u);

    if (::chown(target.c_str(), kNobody, kNogroup) != 0) {
        GTEST_SKIP() << "only root may give a file away";
    }
    ::chmod(target.c_str(), 0604);
    ASSERT_TRUE(write(target, m_old));
    struct stat status {};
    ::stat(target.c_str(), &status);
    EXPECT_EQ(status.st_uid, kNobody);
    EXPECT_EQ(status.st_gid, kNogroup);
    EXPECT_EQ(status.st_mode & 07777, 0604u);

    // An owner that differs from the writer in the user or in the group alone is kept as well.
    for (const auto& [uid, gid] :
         {std::pair<uid_t, gid_t>{::geteuid(), 1234}, std::pair<uid_t, gid_t>{1234, ::getegid()}}) {
        ASSERT_EQ(::chown(target.c_str(), uid, gid), 0);
        ASSERT_TRUE(write(target, m_new));
        ::stat(target.c_str(), &status);
        EXPECT_EQ(status.st_uid, uid);
        EXPECT_EQ(status.st_gid, gid);
    }
#endif
}

#ifdef __linux__
// Runs the write in a child whose calls `calls` fail with `reason` (a seccomp filter, so the
// writer's own code runs unchanged). Returns 0 when the write was reported done, the reason it
// gave otherwise, or -1 when no filter could be set.
int writeWhereCallsFail(const std::vector<long>& calls, int reason,
                        const std::function<bool(int*)>& write) {
    const pid_t child = fork();
    if (child == 0) {
        std::vector<sock_filter> filter = {
            BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr))};
        for (const long call : calls) {
            filter.push_back(
                BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, static_cast<uint32_t>(call), 0, 1));
            filter.push_back(
                BPF_STMT(BPF_RET | BPF_K,
                         SECCOMP_RET_ERRNO | (static_cast<uint32_t>(reason) & SECCOMP_RET_DATA)));
        }
        filter.push_back(BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW));
        const sock_fprog program{static_cast<unsigned short>(filter.size()), filter.data()};
        if (::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0 ||
            ::prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) != 0) {
            _exit(255);
        }
        int error = 0;
        _exit(write(&error) ? 0 : (error > 0 && error < 255 ? error : 254));
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) == 255) {
        return -1;
    }
    return WEXITSTATUS(status);
}

// The data must be on the disk and under the target's name, or the write failed: when either
// call fails, the old file keeps its bytes, the temporary file is gone, and the reason is told.
TEST_F(SafeWrite, AFailedSyncOrRenameKeepsTheOldFile) {
    struct Case {
        const char* what;
        std::vector<long> calls;
    };
    const std::vector<Case> cases = {
        {"sync", {SYS_fsync}},
        {"rename",
         {
#ifdef SYS_rename
             SYS_rename,
#endif
             SYS_renameat, SYS_renameat2}},
    };
    const fs::path target = m_folder / "lot.bin";
    for (const Case& c : cases) {
        ASSERT_TRUE(write(target, m_old));
        const int reason = writeWhereCallsFail(
            c.calls, EIO, [&](int* error) { return write(target, m_new, error); });
        if (reason < 0) {
            GTEST_SKIP() << "no seccomp filter here";
        }
        EXPECT_EQ(reason, EIO) << c.what;
        EXPECT_EQ(testing::readBytes(target), m_old) << c.what;
        EXPECT_EQ(testing::folderNames(m_folder), std::vector<std::string>{"lot.bin"}) << c.what;
    }
}
#endif

TEST(AtomicFile, AWriteThatFailsHalfwayKeepsTheOldFile) {
#ifdef _WIN32
    SKIP_ON_WINDOWS("no fork and no file-size limit to stop a write part-way");
#else
    const fs::path folder = fs::temp_directory_path() / ("vtl-atomic-" + std::to_string(getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    const fs::path target = folder / "flight.bin";
    const std::vector<uint8_t> old(300, 0x11);
    ASSERT_TRUE(writeFileAtomically(target.string(), old.data(), old.size()));

    // In a child: files may grow to 1,000 bytes, so the 50,000-byte write stops part-way.
    const pid_t child = fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{1000, 1000};
        setrlimit(RLIMIT_FSIZE, &limit);
        const std::vector<uint8_t> replacement(50000, 0x22);
        _exit(writeFileAtomically(target.string(), replacement.data(), replacement.size()) ? 1 : 0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the failed write was reported as done";
    EXPECT_EQ(testing::readBytes(target), old);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
    fs::remove_all(folder);
#endif
}

} // namespace
} // namespace vtl
