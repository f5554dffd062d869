// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "command_line.h"

#include <string>

namespace vtl::cli {

// "contest new|competitors|add|results|verify FOLDER ...": the contest station's folder from the
// command line; JSON on standard output.
std::string runContest(const CommandLine& args);

} // namespace vtl::cli
