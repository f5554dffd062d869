// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "command_line.h"

#include <string>

namespace vtl::cli {

// The spreadsheet export of a flight, the same bytes as the window writes but with '.' as the
// decimal separator.
std::string runExport(const CommandLine& args);

// The chart as the window shows it after loading a flight (and a comparison), with the output
// title, saved as a Windows bitmap or PNG, or printed into a PDF file as the window prints (its
// margins, title and page, portrait or with --landscape); runs without a display.
std::string runRender(const CommandLine& args);

// Up to eight flights drawn over each other, aligned at their starts or as recorded, saved or
// printed as render saves and prints; the files that cannot be drawn are named on stderr.
std::string runOverlay(const CommandLine& args);

} // namespace vtl::cli
