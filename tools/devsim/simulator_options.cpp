// SPDX-License-Identifier: GPL-3.0-or-later
#include "simulator_options.h"

#include "core/flight/flight_image.h"

#include <cerrno>
#include <cstdlib>
#include <limits>

namespace vtl::devsim {

namespace {

bool parseInteger(const std::string& text, long minimum, long maximum, long& value) {
    if (text.empty()) {
        return false;
    }
    char* end = nullptr;
    errno = 0;
    const long parsed = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || parsed < minimum || parsed > maximum) {
        return false;
    }
    value = parsed;
    return true;
}

// COM1 to COM25, written as the program writes them.
bool validPortName(const std::string& name) {
    if (name.size() < 4 || name.size() > 5 || name.compare(0, 3, "COM") != 0 || name[3] == '0') {
        return false;
    }
    long number = 0;
    for (size_t i = 3; i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9') {
            return false;
        }
        number = number * 10 + (name[i] - '0');
    }
    return number >= 1 && number <= 25;
}

template <typename T> T narrow(long value) {
    return static_cast<T>(value);
}

} // namespace

const char* simulatorUsage() {
    return "usage: vantorel-devsim [options]\n"
           "  --link PATH          symbolic link to the simulated port (default: ports/COM5 in\n"
           "                       the folder of the program's settings file)\n"
           "  --port COMn          alias name in that folder (COM1 to COM25, default COM5)\n"
           "  --flight FILE        measurement file to serve (default: a synthesised flight)\n"
           "  --no-new-flight      start with the new-flight flag clear\n"
           "  --competitor N       competitor number (default: from the flight header)\n"
           "  --serial N           serial number (default: from the flight header)\n"
           "  --temperature C      temperature reading, -128 to 127 (default 21)\n"
           "  --trigger M          trigger level in metres (default 30)\n"
           "  --sampling CODE      sampling code 0-15 (default: from the flight header)\n"
           "  --manual-zero 0|1    manual zeroing (default 1)\n"
           "  --delay S            delay in seconds (default 180)\n"
           "  --reference N        reference word of the download information (default 10000)\n"
           "  --fault MODE         silent, short-replies, wrong-ack, stall, tiny, no-info,\n"
           "                       undersend, no-marker, oversend, stray, hangup, slow or\n"
           "                       zero-failure\n"
           "  --quiet              no log of the traffic on stderr\n"
           "  --exit-on-stdin-eof  end when standard input is closed\n"
           "  --help               this text\n"
           "  --version            the program's name and version\n"
           "Exit status: 0 ended normally, 1 failed, 2 bad command line.\n";
}

bool parseSimulatorOptions(int argc, const char* const argv[], SimulatorOptions& options,
                           std::string& error) {
    for (int i = 0; i < argc; ++i) {
        std::string name = argv[i];
        std::string value;
        bool hasValue = false;
        const size_t equals = name.find('=');
        if (name.compare(0, 2, "--") == 0 && equals != std::string::npos) {
            value = name.substr(equals + 1);
            name.erase(equals);
            hasValue = true;
        }

        if (name == "--no-new-flight" || name == "--quiet" || name == "--exit-on-stdin-eof" ||
            name == "--help" || name == "-h" || name == "--version") {
            if (hasValue) {
                error = name + " takes no value";
                return false;
            }
            if (name == "--no-new-flight") {
                options.newFlight = false;
            } else if (name == "--quiet") {
                options.quiet = true;
            } else if (name == "--exit-on-stdin-eof") {
                options.exitOnStdinEof = true;
            } else if (name == "--version") {
                options.version = true;
            } else {
                options.help = true;
            }
            continue;
        }

        if (!hasValue) {
            if (i + 1 >= argc) {
                error = name.compare(0, 2, "--") == 0 ? name + " needs a value"
                                                      : "unknown argument " + name;
                return false;
            }
            value = argv[++i];
        }

        long number = 0;
        const auto integer = [&](long minimum, long maximum) {
            if (parseInteger(value, minimum, maximum, number)) {
                return true;
            }
            error = name + " takes a whole number from " + std::to_string(minimum) + " to " +
                    std::to_string(maximum) + ", not '" + value + "'";
            return false;
        };
        constexpr long kWord = std::numeric_limits<uint16_t>::max();

        if (name == "--link") {
            if (value.empty()) {
                error = "--link needs a path";
                return false;
            }
            options.linkPath = value;
        } else if (name == "--port") {
            if (!validPortName(value)) {
                error = "--port takes COM1 to COM25, not '" + value + "'";
                return false;
            }
            options.portName = value;
            options.portGiven = true;
        } else if (name == "--flight") {
            options.flightPath = value;
        } else if (name == "--competitor") {
            if (!integer(0, kWord)) {
                return false;
            }
            options.competitorNumber = narrow<uint16_t>(number);
        } else if (name == "--serial") {
            if (!integer(0, kWord)) {
                return false;
            }
            options.serialNumber = narrow<uint16_t>(number);
        } else if (name == "--temperature") {
            if (!integer(-128, 127)) {
                return false;
            }
            options.temperature = narrow<int8_t>(number);
        } else if (name == "--trigger") {
            if (!integer(0, kWord / 4)) {
                return false;
            }
            options.triggerMetres = narrow<uint16_t>(number);
        } else if (name == "--sampling") {
            if (!integer(0, 15)) {
                return false;
            }
            options.samplingCode = narrow<uint8_t>(number);
        } else if (name == "--manual-zero") {
            if (!integer(0, 1)) {
                return false;
            }
            options.manualZeroing = narrow<uint8_t>(number);
        } else if (name == "--delay") {
            if (!integer(0, kWord / 100)) {
                return false;
            }
            options.delaySeconds = narrow<uint16_t>(number);
        } else if (name == "--reference") {
            if (!integer(0, kWord)) {
                return false;
            }
            options.referenceWord = narrow<uint16_t>(number);
        } else if (name == "--fault") {
            const std::optional<FaultMode> fault = faultModeNamed(value);
            if (!fault) {
                error = "unknown fault mode '" + value + "'";
                return false;
            }
            options.fault = *fault;
        } else {
            error = "unknown option " + name;
            return false;
        }
    }
    return true;
}

DeviceSetup initialSetup(const SimulatorOptions& options, const std::vector<uint8_t>& image) {
    // Header bytes the image does not reach read as zero.
    uint8_t header[image::kHeaderSize] = {};
    for (size_t i = 0; i < image::kHeaderSize && i < image.size(); ++i) {
        header[i] = image[i];
    }
    DeviceSetup setup;
    setup.competitorNumber =
        options.competitorNumber.value_or(image::readWord(header, image::kCompetitorNumber));
    setup.serialNumber =
        options.serialNumber.value_or(image::readWord(header, image::kSerialNumber));
    setup.temperature = options.temperature;
    setup.triggerQuarterMetres = static_cast<uint16_t>(options.triggerMetres * 4);
    setup.samplingCode = options.samplingCode.value_or(header[image::kSamplingCode] & 0x0F);
    setup.newFlight = options.newFlight;
    setup.manualZeroing = options.manualZeroing;
    setup.delayHundredths = static_cast<uint16_t>(options.delaySeconds * 100);
    setup.referenceWord = options.referenceWord;
    return setup;
}

} // namespace vtl::devsim
