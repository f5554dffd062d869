// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

namespace vtl {

// Paths in the core are UTF-8 strings. On Linux they are the file system's own bytes; Windows'
// narrow file functions would read them in the ANSI code page instead, so that "Lot ąłż" names
// another folder or none. Files are named through these, which take the wide-character way there.

std::filesystem::path utf8Path(const std::string& path);
std::string utf8String(const std::filesystem::path& path);

// std::fopen of a UTF-8 path; the mode should say "b", as every file the program reads and
// writes is bytes.
std::FILE* openUtf8File(const std::string& path, const char* mode);

#ifdef _WIN32
std::wstring wideFromUtf8(const std::string& text);
#endif

} // namespace vtl
