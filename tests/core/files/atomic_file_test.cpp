// A write that fails part-way (here: the file-size limit, as a full disk would) leaves the old
// file byte for byte and no temporary file behind.
#include "core/shell/atomic_file.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vtl {
namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(AtomicFile, AWriteThatFailsHalfwayKeepsTheOldFile) {
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
    EXPECT_EQ(contents(target), old);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
    fs::remove_all(folder);
}

} // namespace
} // namespace vtl
