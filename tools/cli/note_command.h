// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "command_line.h"

#include <string>

namespace vtl::cli {

// The note kept with a flight file in its folder: read, or written when a text is given (an
// empty text removes it). Answers {"file","note","stale"} as it stands afterwards.
std::string runNote(const CommandLine& args);

} // namespace vtl::cli
