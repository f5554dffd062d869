// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/device/command_frame.h"
#include "device_model.h"

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vtl::devsim {

// Ways the simulated device misbehaves, so that the program's failure paths can be driven.
enum class FaultMode {
    None,
    Silent,       // never answers
    ShortReplies, // every short reply and acknowledgement loses its last byte
    WrongAck,     // acknowledgements carry 0x5A, the zero reply 0x55 0x55
    Stall,        // the transfer stops after half the image (whole slots, at least the header
                  // and one slot), then the device stays silent with the line open
    Tiny,         // the transfer stops after its first 20 bytes, then the device stays silent
    NoInfo,       // the download-information command gets no reply; everything else answers
    Undersend,    // the download information announces 16 blocks more than the whole image sent
    NoMarker,     // the transfer leaves out the terminator, so no 0xFF pair ends it
    Oversend,     // the transfer runs to 100,000 bytes: the image, zero filler, 0xFF 0xFF
    Stray,        // five stray bytes go out in front of every short reply and acknowledgement
    HangUp,       // the line is hung up halfway through the transfer
    Slow,         // short replies in two halves 180 ms apart, the transfer at half the line rate
    ZeroFailure,  // the zero command gets the failure reply; everything else answers
};

std::optional<FaultMode> faultModeNamed(const std::string& name);
const char* faultModeName(FaultMode mode);

// Bytes for the line: after a pause (counted from the end of the previous emission), either all
// at once or paced at a byte rate. A hang-up closes the line once the bytes have gone out.
struct Emission {
    std::vector<uint8_t> bytes;
    std::chrono::milliseconds pauseBefore{0};
    double bytesPerSecond = 0; // 0: at once
    size_t firstChunk = 0;     // paced only: size of the first chunk, 0 for a whole one
    bool hangUpAfter = false;
};

// The line rate of the device's link: 11 bits a byte (start, 8 data, 2 stop).
constexpr double kLineBytesPerSecond = protocol::kBaudRate / protocol::kBitsPerByte;

// Paced bytes go out in chunks of this size, each when the line would have carried it.
constexpr size_t kTransferChunk = 128;

// The flight recorder as its command frames see it: answers each frame with the bytes the
// device would send, and keeps the setup that the write commands change. The replies are the
// shared device model's; the fault modes change them on their way to the line.
class SimulatedDevice {
public:
    static constexpr size_t kTinyAfter = 20;
    static constexpr uint16_t kUndersendExtraBlocks = 16;
    static constexpr size_t kOversendTotal = 100000;
    static constexpr std::chrono::milliseconds kSlowPause{180};
    static constexpr std::array<uint8_t, 5> kStrayBytes{0x13, 0x37, 0x00, 0x42, 0x99};
    static constexpr uint8_t kWrongAcknowledgement = 0x5A;
    static constexpr uint8_t kWrongZeroDone = 0x55;
    // A device that could not zero answers with a zero reply of the right length that lacks the
    // two 0xAA bytes.
    static constexpr std::array<uint8_t, 3> kZeroFailedReply{0x00, 0x00, 0x00};

    SimulatedDevice(std::vector<uint8_t> image, const DeviceSetup& setup, FaultMode fault);

    // What goes out on the line in answer to one frame; nothing for an unknown command.
    std::vector<Emission> answer(const std::array<uint8_t, protocol::kFrameSize>& frame);

    const DeviceSetup& setup() const { return m_setup; }
    const std::vector<uint8_t>& image() const { return m_image; }

    // Size of the image in 32-byte blocks, rounded up.
    uint16_t imageBlocks() const;

    // Block count the download information announces under the fault mode.
    uint16_t announcedBlocks() const;

    // Where a stalled transfer stops for an image of this size: half of it, rounded down to a
    // whole slot, but no less than the header and one slot when the image is longer than that.
    static size_t stallLength(size_t imageSize);

    // The bytes the transfer sends under the fault mode (the image as it is without one).
    std::vector<uint8_t> transferBytes() const;

private:
    std::vector<Emission> reply(std::vector<uint8_t> bytes) const;
    std::vector<Emission> transfer(bool wasNewFlight);

    std::vector<uint8_t> m_image;
    DeviceSetup m_setup;
    FaultMode m_fault;
};

// Name of a command letter for the log ("status", "transfer", ...), or nullptr when unknown.
const char* commandName(uint8_t letter);

} // namespace vtl::devsim
