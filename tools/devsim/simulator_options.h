// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "simulated_device.h"

#include <optional>
#include <string>

namespace vtl::devsim {

// The command line of vantorel-devsim. Setup values left unset come from the flight header or
// the device's factory defaults once the flight is known.
struct SimulatorOptions {
    std::string linkPath;          // empty: ports/<port> beside the program's settings file
    std::string portName = "COM5"; // the alias name
    bool portGiven = false;
    std::string flightPath; // empty: a synthesised flight
    bool newFlight = true;
    std::optional<uint16_t> competitorNumber;
    std::optional<uint16_t> serialNumber;
    int8_t temperature = 21;
    uint16_t triggerMetres = 30;
    std::optional<uint8_t> samplingCode;
    uint8_t manualZeroing = 1;
    uint16_t delaySeconds = 180;
    uint16_t referenceWord = 10000;
    FaultMode fault = FaultMode::None;
    bool quiet = false;
    bool exitOnStdinEof = false;
    bool help = false;
    bool version = false;
};

// Parses the arguments after the program name; false with a message on a bad one.
bool parseSimulatorOptions(int argc, const char* const argv[], SimulatorOptions& options,
                           std::string& error);

const char* simulatorUsage();

// The setup the device starts with: the options over the values of the flight's header.
DeviceSetup initialSetup(const SimulatorOptions& options, const std::vector<uint8_t>& image);

} // namespace vtl::devsim
