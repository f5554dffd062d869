// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "command_line.h"

#include <string>

namespace vtl::cli {

// The flight log of a folder (the archive folder unless one is given) as a JSON array.
std::string runLog(const CommandLine& args);

} // namespace vtl::cli
