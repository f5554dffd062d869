// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "command_line.h"

#include "core/contest/contest_files.h"

#include <functional>
#include <string>

namespace vtl {
class Contest;
}

namespace vtl::cli {

// Writes the printed results sheet to the path; the program's print path supplies it, as the
// commands here need no Qt.
using ResultsPdfWriter =
    std::function<void(const CommandLine& args, const Contest& contest, const std::string& path)>;

// "contest new|competitors|add|results|verify FOLDER ...": the contest station's folder from the
// command line; JSON on standard output. "download" is not among them: it needs the device, see
// contest_download_command.h. Without a PDF writer, "results --pdf" is refused.
std::string runContest(const CommandLine& args, const ResultsPdfWriter& writePdf = {});

// A kept flight's entry as JSON (indented for --pretty): round, competitor, file, sha256, score,
// flags.
std::string contestFlightJson(const ContestFlight& flight, const CommandLine& args);

} // namespace vtl::cli
