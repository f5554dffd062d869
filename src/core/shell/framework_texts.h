// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/shell/language.h"

#include <cstdint>
#include <string>

namespace vtl {

// Failures the program does not handle itself are shown with these texts, the same in both
// languages, under the application's title.
constexpr const char* kApplicationTitle = "VantorelBMP";
constexpr const char* kExceptionCaption = kApplicationTitle;

std::string cannotCreateFileText(const std::string& path);
// The same with the system's reason (an errno value) in the current language after it, as in
// "Cannot create file /media/card/lot.bin (read-only file system)"; 0 adds nothing.
std::string cannotCreateFileText(const std::string& path, int error, Language language);
std::string cannotOpenFileText(const std::string& path);
std::string notAnIntegerText(const std::string& text);

} // namespace vtl
