// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "command_line.h"
#include "device_session.h"

#include "core/files/keep_download.h"
#include "core/flight/flight_record.h"

#include <cstdint>
#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vtl::cli {

// The device commands talk to the device over a serial port with the program's own protocol code;
// messages go to stderr in the language of the program's settings file. Each returns what to
// print on stdout, and throws CommandError on any failure.
std::string runDownload(const CommandLine& args);
std::string runZero(const CommandLine& args);
std::string runSetupDefault(const CommandLine& args);
std::string runSetupRead(const CommandLine& args);
std::string runSetupWrite(const CommandLine& args);

// A flight taken from the device as `download` takes it: what an interrupted save left is taken
// back first, Ctrl-C cancels, and the image is kept in the archive (unless --no-archive) before
// anything else is done with it.
struct ArchivedDownload {
    std::unique_ptr<FlightRecord> record;
    KeptDownload kept;
    std::optional<std::string> archiveFolder;
    std::tm time{};             // names the archive copy
    std::vector<uint8_t> image; // the flight file's bytes, as "Zapisz" saves them
};

// Throws as `download` fails: cancelled, failed (told or not), corrupt. An incomplete flight is
// returned, with `kept.complete` false.
ArchivedDownload downloadToArchive(DeviceSession& session, const CommandLine& args);
void zeroDevice(DeviceSession& session);

} // namespace vtl::cli
