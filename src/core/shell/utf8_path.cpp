// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/shell/utf8_path.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace vtl {

std::filesystem::path utf8Path(const std::string& path) {
    return std::filesystem::u8path(path);
}

std::string utf8String(const std::filesystem::path& path) {
    return path.u8string();
}

#ifdef _WIN32

std::wstring wideFromUtf8(const std::string& text) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), length);
    return wide;
}

std::FILE* openUtf8File(const std::string& path, const char* mode) {
    return ::_wfopen(wideFromUtf8(path).c_str(), wideFromUtf8(mode).c_str());
}

#else

std::FILE* openUtf8File(const std::string& path, const char* mode) {
    return std::fopen(path.c_str(), mode);
}

#endif

} // namespace vtl
