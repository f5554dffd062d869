// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "command_line.h"

#include <string>

namespace vtl::cli {

// The device commands talk to the device over a serial port with the program's own protocol code;
// messages go to stderr in the language of the program's settings file. Each returns what to
// print on stdout, and throws CommandError on any failure.
std::string runDownload(const CommandLine& args);
std::string runZero(const CommandLine& args);
std::string runSetupDefault(const CommandLine& args);
std::string runSetupRead(const CommandLine& args);
std::string runSetupWrite(const CommandLine& args);

} // namespace vtl::cli
