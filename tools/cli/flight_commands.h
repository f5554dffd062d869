// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "command_line.h"

#include <string>

namespace vtl::cli {

// Each returns the JSON line to print.
std::string runInfo(const CommandLine& args);
std::string runConvert(const CommandLine& args);
std::string runCurve(const CommandLine& args);
std::string runCompare(const CommandLine& args);
std::string runSummary(const CommandLine& args);
std::string runBetween(const CommandLine& args);

} // namespace vtl::cli
