#pragma once

#include <string>

namespace vtl {

// Failures the program does not handle itself are shown with these texts, the same in both
// languages, under the application's title.
constexpr const char* kApplicationTitle = "VantorelBMP";
constexpr const char* kExceptionCaption = kApplicationTitle;

std::string cannotCreateFileText(const std::string& path);
std::string cannotOpenFileText(const std::string& path);
std::string notAnIntegerText(const std::string& text);

} // namespace vtl
