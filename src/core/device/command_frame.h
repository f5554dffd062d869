// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/flight/flight_image.h"

#include <array>
#include <cstddef>
#include <cstdint>

// The device's command frames and replies: 8-byte frames that start with 'e', a command letter and
// argument bytes; short fixed-length replies; and one bulk transfer of the flight image.
namespace vtl::protocol {

constexpr size_t kFrameSize = 8;
constexpr uint8_t kFrameStart = 'e'; // byte 0 of every frame

// Command letters, byte 1 of a frame.
constexpr uint8_t kStatus = '4';
constexpr uint8_t kDownloadInformation = 'D';
constexpr uint8_t kTransfer = '1';
constexpr uint8_t kZero = '2';
constexpr uint8_t kManualZeroingRead = 'B';
constexpr uint8_t kDelayRead = '6';
constexpr uint8_t kSetupWrite = '5';
constexpr uint8_t kManualZeroingWrite = 'C';
constexpr uint8_t kDelayWrite = '7';

// Argument bytes of the zero command.
constexpr uint8_t kZeroArgument2 = '2';
constexpr uint8_t kZeroArgument3 = '3';

// Frame offsets of the setup write.
constexpr size_t kSetupCompetitor = 2;   // uint16
constexpr size_t kSetupReserved = 4;     // always 0
constexpr size_t kSetupTrigger = 5;      // uint16, quarter metres
constexpr size_t kSetupSampling = 7;     // sampling code
constexpr size_t kManualZeroingFlag = 2; // manual-zeroing write: 0 or 1
constexpr size_t kDelayValue = 2;        // delay write: uint16, hundredths of a second

// Replies.
constexpr size_t kShortReplySize = 8; // status, download information, manual zeroing, delay
constexpr size_t kAcknowledgementSize = 2;
constexpr uint8_t kAcknowledgement = 0xA5; // byte 1 of an acknowledgement
constexpr size_t kZeroReplyMinimum = 3;
constexpr uint8_t kZeroDone = 0xAA; // bytes 1 and 2 of the zero reply

// Status reply offsets.
constexpr size_t kStatusCompetitor = 0;  // uint16
constexpr size_t kStatusSerial = 2;      // uint16
constexpr size_t kStatusTemperature = 4; // int8, degrees Celsius
constexpr size_t kStatusTrigger = 5;     // uint16, quarter metres
constexpr size_t kStatusFlags = 7;       // bit 7 new flight, bits 0-3 sampling code
constexpr uint8_t kNewFlightBit = 0x80;

// Download-information reply offsets.
constexpr size_t kInformationReference = 2; // uint16
constexpr size_t kInformationBlocks = 4;    // uint16, image size in 32-byte blocks
constexpr size_t kBlockSize = 32;

// Manual-zeroing reply: bit 0 of byte 0. Delay reply: bytes 0-1, hundredths of a second.
constexpr size_t kDelayReplyValue = 0;

// The transfer ends with two 0xFF bytes at an even distance from the end of the data.
constexpr uint8_t kEndMarkerByte = 0xFF;
constexpr size_t kEndMarkerPairs = 6;

// Line rate of the device's serial link: 115200 baud, 8 data bits, no parity, 2 stop bits.
constexpr int kBaudRate = 115200;
constexpr int kBitsPerByte = 11;

// Two-byte numbers are little-endian in frames and replies, as in the flight image.
inline uint16_t word(const uint8_t* bytes, size_t offset) {
    return image::readWord(bytes, offset);
}

inline void putWord(uint8_t* bytes, size_t offset, uint16_t value) {
    image::writeWord(bytes, offset, value);
}

// The program's one command frame. Each command writes bytes 0 and 1 and only its own argument
// bytes; the others keep what an earlier command left there, and the whole frame is always sent.
struct CommandFrame {
    std::array<uint8_t, kFrameSize> bytes{};

    void command(uint8_t letter) {
        bytes[0] = kFrameStart;
        bytes[1] = letter;
    }
};

} // namespace vtl::protocol
