// SPDX-License-Identifier: GPL-3.0-or-later
// vantorel-cli: the program's flight computations from the command line, for scripts and checks.

#include "command_line.h"
#include "contest_command.h"
#include "contest_download_command.h"
#include "contest_sheet_output.h"
#include "device_commands.h"
#include "filter_command.h"
#include "flight_commands.h"
#include "log_command.h"
#include "note_command.h"
#include "output_commands.h"
#include "port_commands.h"
#include "render_messages.h"

#include "core/shell/program_version.h"

#include <QApplication>
#include <QCoreApplication>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

struct Command {
    size_t positionals; // at most this many words that are not options
    std::vector<std::string> flags;
    std::vector<std::string> options;
    std::function<std::string(const vtl::cli::CommandLine&)> run;
};

const std::map<std::string, Command>& commands() {
    static const std::vector<std::string> device = {"--port", "--settings"};
    static const std::map<std::string, Command> table = {
        {"info", {1, {"--pretty"}, {}, vtl::cli::runInfo}},
        {"convert", {1, {"--comparison", "--pretty"}, {"--temperature"}, vtl::cli::runConvert}},
        {"curve",
         {1,
          {"--no-acceleration", "--pretty"},
          {"--temperature", "--comparison"},
          vtl::cli::runCurve}},
        {"compare", {1, {"--pretty"}, {"--temperature"}, vtl::cli::runCompare}},
        {"summary", {1, {"--pretty"}, {"--temperature"}, vtl::cli::runSummary}},
        {"between", {3, {"--pretty"}, {"--temperature", "--comparison"}, vtl::cli::runBetween}},
        {"filter",
         {1,
          {"--comparison", "--pretty"},
          {"--params", "--settings", "--temperature"},
          vtl::cli::runFilter}},
        {"log", {1, {"--pretty"}, {}, vtl::cli::runLog}},
        {"note", {2, {"--pretty"}, {}, vtl::cli::runNote}},
        {"contest",
         {3,
          {"--pretty"},
          {"--name", "--rule", "--start-threshold", "--rounds", "--best", "--round", "--csv",
           "--pdf", "--settings"},
          [](const vtl::cli::CommandLine& args) {
              return vtl::cli::runContest(args, vtl::cli::writeContestResultsPdf);
          }}},
        {"export", {2, {"--exact-name"}, {"--temperature"}, vtl::cli::runExport}},
        // Room for more files than an overlay takes, so that their count is what is refused.
        {"overlay", {64, {}, {"--align"}, vtl::cli::runOverlay}},
        {"render",
         {2, {"--landscape"}, {"--comparison", "--width", "--height"}, vtl::cli::runRender}},
        {"download",
         {1,
          {"--trace", "--no-archive"},
          {"--port", "--settings", "--archive-folder"},
          vtl::cli::runDownload}},
        {"ports", {0, {}, {"--settings"}, vtl::cli::runPorts}},
        {"zero", {0, {"--trace"}, device, vtl::cli::runZero}},
        {"setup-default", {0, {"--trace"}, device, vtl::cli::runSetupDefault}},
        {"setup-read", {0, {"--trace", "--pretty"}, device, vtl::cli::runSetupRead}},
        {"setup-write",
         {0,
          {"--trace"},
          {"--port", "--settings", "--trigger", "--competitor", "--sampling", "--manual-zero",
           "--delay"},
          vtl::cli::runSetupWrite}},
    };
    return table;
}

// "contest download" talks to the device: it takes the device commands' options, and the
// Qt-free contest commands know nothing of it.
const Command& contestDownloadCommand() {
    static const Command command = {2,
                                    {"--pretty", "--trace", "--zero", "--no-archive"},
                                    {"--round", "--port", "--settings", "--archive-folder"},
                                    vtl::cli::runContestDownload};
    return command;
}

// Every command and option stands here: the manual page is checked against this text.
const char* const kUsage =
    "usage: vantorel-cli [--trace] [--pretty] COMMAND ARGUMENTS...\n"
    "       vantorel-cli --help | --version\n"
    "Flight files:\n"
    "  info FILE [--pretty]\n"
    "  convert FILE [--temperature T] [--comparison] [--pretty]\n"
    "  curve FILE [--temperature T] [--no-acceleration] [--comparison FILE2] [--pretty]\n"
    "  compare FILE [--temperature T] [--pretty]\n"
    "  summary FILE [--temperature T] [--pretty]\n"
    "  between FILE T1 T2 [--temperature T] [--comparison FILE2] [--pretty]\n"
    "  filter FILE [--comparison] [--params PRE,FINAL,LEN1,LEN2] [--settings FILE]\n"
    "              [--temperature T] [--pretty]\n"
    "  export FILE OUT [--temperature T] [--exact-name]\n"
    "  log [FOLDER] [--pretty]\n"
    "  note FILE [TEXT] [--pretty]\n"
    "              the note kept with the flight in its folder's .vantorel-notes; TEXT writes\n"
    "              it (an empty TEXT removes it); prints file, note and stale (a note written\n"
    "              before the file changed)\n"
    "  render FILE OUT.bmp|OUT.png [--comparison FILE2] [--width W] [--height H]\n"
    "  render FILE OUT.pdf [--comparison FILE2] [--landscape]\n"
    "  overlay FILE... OUT.bmp|OUT.png|OUT.pdf [--align start|record]\n"
    "              up to eight flights in distinct colours, aligned at their starts\n"
    "              (first point above 1.0 m) or as recorded; unreadable files on stderr\n"
    "Contests (a folder of contest.json, competitors.csv and round-N/ flight files):\n"
    "  contest new FOLDER --name NAME [--rule max|window:W|at:T|duration:CAP]\n"
    "              [--start-threshold M] [--rounds N] [--best K]\n"
    "  contest competitors FOLDER FILE.csv\n"
    "  contest add FOLDER FLIGHT.bin --round N\n"
    "  contest results FOLDER [--csv OUT] [--pdf OUT] [--settings FILE] [--pretty]\n"
    "              --pdf writes the printed results sheet, in the settings' language\n"
    "  contest verify FOLDER   exit status 1 when a file or score does not match\n"
    "  contest download FOLDER --round N [--zero] [--port NAME] [--settings FILE] [--trace]\n"
    "              [--no-archive] [--archive-folder DIR]\n"
    "              the device's flight, archived as download does, kept in round N; --zero\n"
    "              zeroes the device once the flight is whole in the archive and the contest\n"
    "Serial ports:\n"
    "  ports [--settings FILE]   every COMn that leads to a port, as JSON\n"
    "The device (each also takes --port NAME, --settings FILE and --trace; --port auto takes\n"
    "the one USB serial port that is connected):\n"
    "  download OUT [--no-archive] [--archive-folder DIR]\n"
    "  zero\n"
    "  setup-default\n"
    "  setup-read [--pretty]\n"
    "  setup-write --trigger M --competitor N --sampling CODE --manual-zero 0|1 --delay S\n"
    "Exit status: 0 done, 1 failed, 2 bad command line, 3 incomplete download.\n";

void printUsage(std::FILE* stream) {
    std::fputs(kUsage, stream);
}

int usageFailure(const std::string& line) {
    std::fprintf(stderr, "vantorel-cli: %s\n", line.c_str());
    printUsage(stderr);
    return 2;
}

} // namespace

int main(int argc, char* argv[]) {
    std::vector<std::string> words(argv + 1, argv + argc);
    // Answered before anything else, wherever they stand: no display, no settings.
    for (const std::string& word : words) {
        if (word == "--help" || word == "-h") {
            printUsage(stdout);
            return 0;
        }
        if (word == "--version") {
            std::printf("vantorel-cli %s\n", vtl::kProgramVersion);
            return 0;
        }
    }
    // "--trace" and "--pretty" may also stand before the command.
    const auto global = [](const std::string& word) {
        return word == "--trace" || word == "--pretty";
    };
    const auto command0 = std::find_if_not(words.begin(), words.end(), global);
    std::rotate(words.begin(), command0, words.end());
    if (words.empty()) {
        return usageFailure("no command given");
    }
    const auto found = commands().find(words.front());
    if (found == commands().end()) {
        return usageFailure("unknown command '" + words.front() + "'");
    }
    const bool contestDownload =
        words.front() == "contest" && words.size() > 1 && words[1] == "download";
    const Command& command = contestDownload ? contestDownloadCommand() : found->second;

    // Only the chart and the results sheet need widgets and fonts; they are drawn without a
    // display.
    const bool drawsChart = words.front() == "render" || words.front() == "overlay" ||
                            (words.front() == "contest" &&
                             std::find(words.begin(), words.end(), "--pdf") != words.end());
    if (drawsChart) {
        vtl::cli::quietenOffscreenWarnings();
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
    }
    std::unique_ptr<QCoreApplication> application =
        drawsChart ? std::make_unique<QApplication>(argc, argv)
                   : std::make_unique<QCoreApplication>(argc, argv);
    try {
        const vtl::cli::CommandLine args(std::vector<std::string>(words.begin() + 1, words.end()),
                                         command.flags, command.options);
        if (args.positionalCount() > command.positionals) {
            throw vtl::cli::UsageError("unexpected argument '" +
                                       args.positional(command.positionals, "") + "'");
        }
        const std::string output = command.run(args);
        if (!output.empty()) {
            std::printf("%s\n", output.c_str());
        }
        return 0;
    } catch (const vtl::cli::IncompleteResult& incomplete) {
        std::fprintf(stderr, "%s\n", incomplete.what());
        return 3;
    } catch (const vtl::cli::UsageError& error) {
        return usageFailure(error.what());
    } catch (const vtl::cli::ToldFailure&) {
        return 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "vantorel-cli: %s\n", error.what());
        return 1;
    }
}
