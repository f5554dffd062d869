// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "command_line.h"

#include <string>

namespace vtl::cli {

// The curve the window's filter button would filter, filtered: the current flight as drawn, or
// the comparison flight with --comparison. Parameters from the program's settings file (or
// --settings FILE) unless --params PRE,FINAL,LEN1,LEN2 gives them.
std::string runFilter(const CommandLine& args);

} // namespace vtl::cli
