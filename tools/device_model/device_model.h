// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace vtl::devsim {

// What the device keeps in its memory and reports in the status and the other read replies.
struct DeviceSetup {
    uint16_t competitorNumber = 0;
    uint16_t serialNumber = 0;
    int8_t temperature = 21; // degrees Celsius
    uint16_t triggerQuarterMetres = 120;
    uint8_t samplingCode = 2;
    bool newFlight = true;
    uint8_t manualZeroing = 1;
    uint16_t delayHundredths = 18000;
    uint16_t referenceWord = 10000;
};

// The device's answer to one frame: a short reply or acknowledgement that goes out at once, or
// the transfer, the flight image that goes out paced at the line rate.
struct Reply {
    std::vector<uint8_t> bytes;
    bool transfer = false;
};

// The well-behaved device's answer to one 8-byte command frame, with the setup changed as the
// frame asks (a write keeps its values, a transfer clears the new-flight flag). Nothing for a
// malformed frame, an unknown command letter, or a zero command whose argument bytes are not
// right (the device's guard against noise). The simulator layers its fault modes on top; the
// tests' fake device delivers it through its in-process port.
std::optional<Reply> answerFrame(const uint8_t* frame, size_t size, DeviceSetup& setup,
                                 const std::vector<uint8_t>& image);

// Size of an image in 32-byte blocks, rounded up, as the download information announces it.
uint16_t imageBlocks(size_t imageSize);

} // namespace vtl::devsim
