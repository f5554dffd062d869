#pragma once

#include "command_line.h"

#include "core/flight/flight_record.h"

#include <memory>
#include <string>

namespace vtl::cli {

// A measurement file as the window loads it; CommandError when it cannot be read or decoded.
std::unique_ptr<FlightRecord> loadFlight(const std::string& path, FlightRole role);

// The settings file given with --settings, or else the one of the program beside this tool.
std::string programSettingsPath(const CommandLine& args);

// The language of that settings file, for the messages of commands that need no device.
int32_t settingsLanguage(const CommandLine& args);

} // namespace vtl::cli
