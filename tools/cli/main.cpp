// vantorel-cli: the program's flight computations from the command line, for scripts and checks.

#include "command_line.h"
#include "device_commands.h"
#include "flight_commands.h"

#include <QCoreApplication>

#include <cstdio>
#include <functional>
#include <map>
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
        {"curve", {{"--no-acceleration"}, {"--temperature"}, vtl::cli::runCurve}},
        {"compare", {{}, {"--temperature"}, vtl::cli::runCompare}},
        {"download", {{}, {"--port", "--settings"}, vtl::cli::runDownload}},
        {"zero", {{}, {"--port", "--settings"}, vtl::cli::runZero}},
        {"setup-default", {{}, {"--port", "--settings"}, vtl::cli::runSetupDefault}},
        {"setup-read", {{}, {"--port", "--settings"}, vtl::cli::runSetupRead}},
        {"setup-write",
         {{},
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
               "       vantorel-cli compare FILE [--temperature T]\n"
               "       vantorel-cli download OUT [--port NAME]\n"
               "       vantorel-cli zero [--port NAME]\n"
               "       vantorel-cli setup-default [--port NAME]\n"
               "       vantorel-cli setup-read [--port NAME]\n"
               "       vantorel-cli setup-write --trigger M --competitor N --sampling CODE\n"
               "                                --manual-zero 0|1 --delay S [--port NAME]\n",
               stderr);
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    if (argc < 2) {
        printUsage();
        return 1;
    }
    const auto command = commands().find(argv[1]);
    if (command == commands().end()) {
        std::fprintf(stderr, "vantorel-cli: unknown command '%s'\n", argv[1]);
        printUsage();
        return 1;
    }
    try {
        const vtl::cli::CommandLine args(std::vector<std::string>(argv + 2, argv + argc),
                                         command->second.flags, command->second.options);
        const std::string output = command->second.run(args);
        if (!output.empty()) {
            std::printf("%s\n", output.c_str());
        }
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "vantorel-cli: %s\n", error.what());
        return 1;
    }
}
