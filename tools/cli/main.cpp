// vantorel-cli: the program's flight computations from the command line, for scripts and checks.

#include "command_line.h"
#include "device_commands.h"
#include "filter_command.h"
#include "flight_commands.h"
#include "output_commands.h"

#include <QApplication>
#include <QCoreApplication>

#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

struct Command {
    std::vector<std::string> flags;
    std::vector<std::string> options;
    std::function<std::string(const vtl::cli::CommandLine&)> run;
};

const std::map<std::string, Command>& commands() {
    static const std::map<std::string, Command> table = {
        {"info", {{}, {}, vtl::cli::runInfo}},
        {"convert", {{"--comparison"}, {"--temperature"}, vtl::cli::runConvert}},
        {"curve", {{"--no-acceleration"}, {"--temperature", "--comparison"}, vtl::cli::runCurve}},
        {"compare", {{}, {"--temperature"}, vtl::cli::runCompare}},
        {"filter",
         {{"--comparison"}, {"--params", "--settings", "--temperature"}, vtl::cli::runFilter}},
        {"export", {{}, {"--temperature"}, vtl::cli::runExport}},
        {"render", {{"--landscape"}, {"--comparison", "--width", "--height"}, vtl::cli::runRender}},
        {"download",
         {{"--trace", "--no-archive"},
          {"--port", "--settings", "--archive-folder"},
          vtl::cli::runDownload}},
        {"zero", {{"--trace"}, {"--port", "--settings"}, vtl::cli::runZero}},
        {"setup-default", {{"--trace"}, {"--port", "--settings"}, vtl::cli::runSetupDefault}},
        {"setup-read", {{"--trace"}, {"--port", "--settings"}, vtl::cli::runSetupRead}},
        {"setup-write",
         {{"--trace"},
          {"--port", "--settings", "--trigger", "--competitor", "--sampling", "--manual-zero",
           "--delay"},
          vtl::cli::runSetupWrite}},
    };
    return table;
}

void printUsage() {
    std::fputs("usage: vantorel-cli info FILE\n"
               "       vantorel-cli convert FILE [--temperature T] [--comparison]\n"
               "       vantorel-cli curve FILE [--temperature T] [--no-acceleration]\n"
               "                           [--comparison FILE2]\n"
               "       vantorel-cli compare FILE [--temperature T]\n"
               "       vantorel-cli filter FILE [--comparison] [--params PRE,FINAL,LEN1,LEN2]\n"
               "                           [--settings FILE] [--temperature T]\n"
               "       vantorel-cli export FILE OUT [--temperature T]\n"
               "       vantorel-cli render FILE OUT.bmp|OUT.png [--comparison FILE2]\n"
               "                           [--width W --height H]\n"
               "       vantorel-cli render FILE OUT.pdf [--comparison FILE2] [--landscape]\n"
               "       vantorel-cli download OUT [--port NAME]\n"
               "       vantorel-cli zero [--port NAME]\n"
               "       vantorel-cli setup-default [--port NAME]\n"
               "       vantorel-cli setup-read [--port NAME]\n"
               "       vantorel-cli setup-write --trigger M --competitor N --sampling CODE\n"
               "                                --manual-zero 0|1 --delay S [--port NAME]\n"
               "Device commands also take --trace (every frame and reply on stderr) and\n"
               "--settings FILE; download takes --no-archive and --archive-folder DIR.\n",
               stderr);
}

} // namespace

int main(int argc, char* argv[]) {
    // Only the chart needs widgets; it is drawn without a display.
    const bool drawsChart = argc >= 2 && std::string(argv[1]) == "render";
    if (drawsChart && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    std::unique_ptr<QCoreApplication> application =
        drawsChart ? std::make_unique<QApplication>(argc, argv)
                   : std::make_unique<QCoreApplication>(argc, argv);
    // "--trace" may also stand before the command.
    std::vector<std::string> words(argv + 1, argv + argc);
    if (!words.empty() && words.front() == "--trace") {
        words.erase(words.begin());
        words.push_back("--trace");
    }
    if (words.empty()) {
        printUsage();
        return 1;
    }
    const auto command = commands().find(words.front());
    if (command == commands().end()) {
        std::fprintf(stderr, "vantorel-cli: unknown command '%s'\n", words.front().c_str());
        printUsage();
        return 1;
    }
    try {
        const vtl::cli::CommandLine args(std::vector<std::string>(words.begin() + 1, words.end()),
                                         command->second.flags, command->second.options);
        const std::string output = command->second.run(args);
        if (!output.empty()) {
            std::printf("%s\n", output.c_str());
        }
        return 0;
    } catch (const vtl::cli::IncompleteResult& incomplete) {
        std::fprintf(stderr, "%s\n", incomplete.what());
        return 3;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "vantorel-cli: %s\n", error.what());
        return 1;
    }
}
