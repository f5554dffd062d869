// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "command_line.h"

#include <string>

namespace vtl {
class Contest;
}

namespace vtl::cli {

// "contest results FOLDER --pdf OUT": the printed results sheet as an A4 PDF, in the language of
// the program's settings, written through the safe writer as the other outputs are.
void writeContestResultsPdf(const CommandLine& args, const Contest& contest,
                            const std::string& path);

} // namespace vtl::cli
