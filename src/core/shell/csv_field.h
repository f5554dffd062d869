// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace vtl {

// A field of a comma-separated line: as it is, or quoted with its quotes doubled when it holds a
// comma, a quote or a line break.
std::string csvField(const std::string& text);

} // namespace vtl
