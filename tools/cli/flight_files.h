// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "command_line.h"

#include "core/flight/flight_record.h"
#include "core/shell/language.h"
#include "core/shell/settings_places.h"

#include <memory>
#include <string>

namespace vtl::cli {

// A measurement file as the window loads it; CommandError when it cannot be read or decoded.
std::unique_ptr<FlightRecord> loadFlight(const std::string& path, FlightRole role);

// The settings file given with --settings, or else the places of the program beside this tool,
// chosen as the program chooses them.
SettingsPlaces programSettingsPlaces(const CommandLine& args);

// The settings the program would start from; a settings file that exists but cannot be read is
// reported on stderr, and its defaults are used.
ProgramSettings loadSettingsFor(const SettingsPlaces& places);

// The language of that settings file, for the messages of commands that need no device.
vtl::Language settingsLanguage(const CommandLine& args);

} // namespace vtl::cli
