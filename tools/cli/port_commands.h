// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "command_line.h"

#include <string>

namespace vtl::cli {

// The names that lead to a port on this machine, aliases beside the settings file included: a
// JSON array of {name, path, description}.
std::string runPorts(const CommandLine& args);

// The port the device commands use for "--port auto": the one USB serial port that is there.
// Throws CommandError when there are none or several.
std::string automaticPort(const CommandLine& args);

} // namespace vtl::cli
