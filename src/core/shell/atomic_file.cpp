#include "core/shell/atomic_file.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace vtl {
namespace {

std::string temporaryNameFor(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    return path + ".tmp" + std::to_string(stamp) + "-" + std::to_string(counter++);
}

} // namespace

bool writeFileAtomically(const std::string& path, const uint8_t* bytes, size_t size) {
    const std::string temporary = temporaryNameFor(path);
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    const bool written = (size == 0 || std::fwrite(bytes, 1, size, file) == size);
    const bool flushed = std::fflush(file) == 0;
    const bool closed = std::fclose(file) == 0;
    std::error_code error;
    if (!(written && flushed && closed)) {
        std::filesystem::remove(temporary, error);
        return false;
    }
    std::filesystem::rename(temporary, path, error);
    if (error) {
        std::filesystem::remove(temporary, error);
        return false;
    }
    return true;
}

} // namespace vtl
