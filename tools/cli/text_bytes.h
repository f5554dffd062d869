// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>

namespace vtl::cli {

// The length of the well-formed UTF-8 sequence at `at` (no overlong forms, surrogates or code
// points past U+10FFFF), or 0 when the bytes there are not one.
size_t utf8SequenceLength(const std::string& text, size_t at);

// Whether the whole text is well-formed UTF-8.
bool validUtf8(const std::string& text);

// The bytes as lowercase hexadecimal, two digits a byte.
std::string hexBytes(const std::string& bytes);

} // namespace vtl::cli
