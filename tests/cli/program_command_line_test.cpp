// SPDX-License-Identifier: GPL-3.0-or-later
// The window program's own command line: --help, --version, unknown options, no display.
#include "cli_run.h"

#include "core/shell/program_version.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

using namespace cli_test;

namespace {

// --help and --version answer on stdout with status 0, anywhere on the line and without a
// display; all three programs know them and refuse an unknown option with status 2.
TEST(ProgramCommandLines, HelpVersionAndUnknownOptions) {
    const std::string offscreen = "env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=";
    for (const std::string program : {VTL_PROGRAM_PATH, VTL_CLI_PATH, VTL_DEVSIM_PATH}) {
        const std::string name = fs::path(program).filename().string();
        const CliRun help = runCommand(offscreen + " " + program + " --help");
        EXPECT_EQ(help.status, 0) << name << ": " << help.output;
        EXPECT_EQ(help.out.rfind("usage: " + name + " ", 0), 0u) << help.out;
        EXPECT_EQ(help.err, "") << name;
        const CliRun version = runCommand(offscreen + " " + program + " --version");
        EXPECT_EQ(version.status, 0) << name << ": " << version.output;
        EXPECT_EQ(version.out, name + " " + vtl::kProgramVersion + "\n");

        const CliRun unknown =
            runCommand("QT_QPA_PLATFORM=offscreen " + program + " --no-such-option");
        EXPECT_EQ(unknown.status, 2) << name << ": " << unknown.output;
        EXPECT_NE(unknown.err.find("usage: " + name), std::string::npos) << unknown.err;
        EXPECT_EQ(unknown.out.find("usage:"), std::string::npos) << name;
    }
    EXPECT_EQ(runCli("info --help").out.rfind("usage: vantorel-cli ", 0), 0u);
    EXPECT_EQ(runCli("setup-read --port COM25 --version").out,
              std::string("vantorel-cli ") + vtl::kProgramVersion + "\n");
}

// Without any display the window program still reads its command line (Qt's own options
// included) and then says in one line why it cannot open a window, instead of Qt aborting.
TEST(ProgramCommandLines, WindowProgramWithoutADisplay) {
    const std::string bare =
        std::string("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM ") + VTL_PROGRAM_PATH;
    for (const std::string arguments :
         {"--no-such-option", "stray", "-style Fusion --no-such-option",
          "-platform --no-such-option -reverse --no-such-option"}) {
        const CliRun unknown = runCommand(bare + " " + arguments);
        EXPECT_EQ(unknown.status, 2) << arguments << ": " << unknown.output;
        EXPECT_EQ(unknown.err.rfind("vantorel: unknown option ", 0), 0u) << unknown.err;
        EXPECT_NE(unknown.err.find("\nusage: vantorel "), std::string::npos) << unknown.err;
        EXPECT_EQ(unknown.out, "") << arguments;
    }
    for (const std::string arguments : {"", "-style Fusion", "--reverse -qwindowtitle x"}) {
        const CliRun none = runCommand(bare + " " + arguments);
        EXPECT_EQ(none.status, 1) << arguments << ": " << none.output;
        EXPECT_EQ(none.err, "vantorel: no display (DISPLAY is not set)\n") << arguments;
        EXPECT_EQ(none.out, "") << arguments;
    }
    const CliRun version = runCommand(bare + " --version");
    EXPECT_EQ(version.status, 0) << version.output;
    EXPECT_EQ(version.out, std::string("vantorel ") + vtl::kProgramVersion + "\n");
}

} // namespace
