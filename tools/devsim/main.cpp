// SPDX-License-Identifier: GPL-3.0-or-later
// vantorel-devsim: the flight recorder on a pseudo-terminal, behind the port alias the program
// opens. See README.md for the options.

#include "default_flight.h"
#include "device_server.h"
#include "port_link.h"
#include "simulated_device.h"
#include "simulator_options.h"

#include "core/flight/flight_record.h"
#include "core/shell/program_version.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

using namespace vtl::devsim;

// Reads the measurement file whole; a flight image never exceeds the program's image capacity.
bool readFlight(const std::string& path, std::vector<uint8_t>& image, std::string& error) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        error = "cannot open " + path;
        return false;
    }
    constexpr size_t kCapacity = vtl::FlightRecord::kImageCapacity;
    image.resize(kCapacity + 1);
    const size_t count = std::fread(image.data(), 1, image.size(), file);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) {
        error = "cannot read " + path;
        return false;
    }
    if (count > kCapacity) {
        error = path + " holds more than " + std::to_string(kCapacity) + " bytes";
        return false;
    }
    image.resize(count);
    return true;
}

std::string lastPart(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

int main(int argc, char* argv[]) {
    SimulatorOptions options;
    std::string error;
    if (!parseSimulatorOptions(argc - 1, argv + 1, options, error)) {
        std::fprintf(stderr, "vantorel-devsim: %s\n%s", error.c_str(), simulatorUsage());
        return 2;
    }
    if (options.help) {
        std::fputs(simulatorUsage(), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("vantorel-devsim %s\n", vtl::kProgramVersion);
        return 0;
    }

    std::vector<uint8_t> image;
    if (options.flightPath.empty()) {
        image = defaultFlightImage();
    } else if (!readFlight(options.flightPath, image, error)) {
        std::fprintf(stderr, "vantorel-devsim: %s\n", error.c_str());
        return 1;
    }

    SimulatedDevice device(image, initialSetup(options, image), options.fault);
    PortLink link(options.linkPath.empty() ? defaultLinkPath(options.portName) : options.linkPath);

    DeviceServer::Settings settings;
    settings.portName = options.portGiven || options.linkPath.empty() ? options.portName
                                                                      : lastPart(options.linkPath);
    settings.quiet = options.quiet;
    settings.exitOnStdinEof = options.exitOnStdinEof;
    if (!settings.quiet) {
        std::fprintf(stderr, "vantorel-devsim: serving %zu bytes (%u blocks), fault mode %s\n",
                     image.size(), static_cast<unsigned>(device.imageBlocks()),
                     faultModeName(options.fault));
    }
    DeviceServer server(device, link, settings);
    return server.run();
}
