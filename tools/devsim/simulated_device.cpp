// SPDX-License-Identifier: GPL-3.0-or-later
#include "simulated_device.h"

#include "core/flight/flight_image.h"

#include <algorithm>
#include <utility>

namespace vtl::devsim {

namespace {

struct NamedFault {
    const char* name;
    FaultMode mode;
};

constexpr NamedFault kFaultNames[] = {
    {"none", FaultMode::None},
    {"silent", FaultMode::Silent},
    {"short-replies", FaultMode::ShortReplies},
    {"wrong-ack", FaultMode::WrongAck},
    {"stall", FaultMode::Stall},
    {"tiny", FaultMode::Tiny},
    {"no-info", FaultMode::NoInfo},
    {"undersend", FaultMode::Undersend},
    {"no-marker", FaultMode::NoMarker},
    {"oversend", FaultMode::Oversend},
    {"stray", FaultMode::Stray},
    {"hangup", FaultMode::HangUp},
    {"slow", FaultMode::Slow},
    {"zero-failure", FaultMode::ZeroFailure},
};

// True when the program's end-marker test would stop at this length: one of the last six pairs,
// counted from the end, is 0xFF 0xFF.
bool endsWithMarker(const std::vector<uint8_t>& bytes, size_t length) {
    for (size_t pair = 1; pair <= protocol::kEndMarkerPairs && 2 * pair <= length; ++pair) {
        if (bytes[length - 2 * pair] == protocol::kEndMarkerByte &&
            bytes[length - 2 * pair + 1] == protocol::kEndMarkerByte) {
            return true;
        }
    }
    return false;
}

} // namespace

std::optional<FaultMode> faultModeNamed(const std::string& name) {
    for (const NamedFault& fault : kFaultNames) {
        if (name == fault.name) {
            return fault.mode;
        }
    }
    return std::nullopt;
}

const char* faultModeName(FaultMode mode) {
    for (const NamedFault& fault : kFaultNames) {
        if (mode == fault.mode) {
            return fault.name;
        }
    }
    return "none";
}

const char* commandName(uint8_t letter) {
    switch (letter) {
    case protocol::kStatus:
        return "status";
    case protocol::kDownloadInformation:
        return "download information";
    case protocol::kTransfer:
        return "transfer";
    case protocol::kZero:
        return "zero";
    case protocol::kManualZeroingRead:
        return "manual-zeroing read";
    case protocol::kDelayRead:
        return "delay read";
    case protocol::kSetupWrite:
        return "setup write";
    case protocol::kManualZeroingWrite:
        return "manual-zeroing write";
    case protocol::kDelayWrite:
        return "delay write";
    default:
        return nullptr;
    }
}

SimulatedDevice::SimulatedDevice(std::vector<uint8_t> image, const DeviceSetup& setup,
                                 FaultMode fault)
    : m_image(std::move(image)), m_setup(setup), m_fault(fault) {}

uint16_t SimulatedDevice::imageBlocks() const {
    return devsim::imageBlocks(m_image.size());
}

uint16_t SimulatedDevice::announcedBlocks() const {
    const size_t blocks =
        imageBlocks() + (m_fault == FaultMode::Undersend ? kUndersendExtraBlocks : 0);
    return static_cast<uint16_t>(std::min<size_t>(blocks, 0xFFFF));
}

size_t SimulatedDevice::stallLength(size_t imageSize) {
    // The header and one slot are what the program needs to hand over a partial flight.
    constexpr size_t kLeast = image::kHeaderSize + image::kSlotSize;
    const size_t half = imageSize / 2 / image::kSlotSize * image::kSlotSize;
    return imageSize > kLeast ? std::max(half, kLeast) : half;
}

std::vector<Emission> SimulatedDevice::answer(const std::array<uint8_t, protocol::kFrameSize>& f) {
    using namespace protocol;
    const bool wasNewFlight = m_setup.newFlight;
    std::optional<Reply> answer = answerFrame(f.data(), f.size(), m_setup, m_image);
    if (!answer) {
        return {};
    }
    if (answer->transfer) {
        return transfer(wasNewFlight);
    }
    std::vector<uint8_t>& bytes = answer->bytes;
    switch (f[1]) {
    case kDownloadInformation:
        if (m_fault == FaultMode::NoInfo) {
            return {};
        }
        putWord(bytes.data(), kInformationBlocks, announcedBlocks());
        break;
    case kZero:
        if (m_fault == FaultMode::WrongAck) {
            bytes = {0x00, kWrongZeroDone, kWrongZeroDone};
        } else if (m_fault == FaultMode::ZeroFailure) {
            bytes.assign(kZeroFailedReply.begin(), kZeroFailedReply.end());
        }
        break;
    case kSetupWrite:
    case kManualZeroingWrite:
    case kDelayWrite:
        if (m_fault == FaultMode::WrongAck) {
            bytes[1] = kWrongAcknowledgement;
        }
        break;
    default:
        break;
    }
    return reply(std::move(bytes));
}

std::vector<Emission> SimulatedDevice::reply(std::vector<uint8_t> bytes) const {
    switch (m_fault) {
    case FaultMode::Silent:
        return {};
    case FaultMode::ShortReplies:
        bytes.pop_back();
        break;
    case FaultMode::Stray:
        bytes.insert(bytes.begin(), kStrayBytes.begin(), kStrayBytes.end());
        break;
    case FaultMode::Slow: {
        // The halves come close enough together that one settle step of 250 ms spans the gap.
        const auto middle = bytes.begin() + static_cast<std::ptrdiff_t>(bytes.size() / 2);
        Emission first;
        first.bytes.assign(bytes.begin(), middle);
        Emission second;
        second.bytes.assign(middle, bytes.end());
        second.pauseBefore = kSlowPause;
        return {std::move(first), std::move(second)};
    }
    default:
        break;
    }
    Emission whole;
    whole.bytes = std::move(bytes);
    return {std::move(whole)};
}

std::vector<uint8_t> SimulatedDevice::transferBytes() const {
    std::vector<uint8_t> bytes = m_image;
    switch (m_fault) {
    case FaultMode::Stall:
        bytes.resize(stallLength(bytes.size()));
        break;
    case FaultMode::Tiny:
        bytes.resize(std::min(bytes.size(), kTinyAfter));
        break;
    case FaultMode::NoMarker:
        // Leave out the terminator slot, and any further one before it, until the end no longer
        // looks like a marker to the program.
        bytes.resize(bytes.size() >= image::kSlotSize ? bytes.size() - image::kSlotSize : 0);
        while (!bytes.empty() && endsWithMarker(bytes, bytes.size())) {
            bytes.resize(bytes.size() >= image::kSlotSize ? bytes.size() - image::kSlotSize : 0);
        }
        break;
    case FaultMode::Oversend:
        bytes.resize(kOversendTotal, 0x00);
        bytes[kOversendTotal - 2] = protocol::kEndMarkerByte;
        bytes[kOversendTotal - 1] = protocol::kEndMarkerByte;
        break;
    case FaultMode::HangUp:
        bytes.resize(bytes.size() / 2);
        break;
    default:
        break;
    }
    return bytes;
}

std::vector<Emission> SimulatedDevice::transfer(bool wasNewFlight) {
    if (m_fault == FaultMode::Silent) {
        m_setup.newFlight = wasNewFlight;
        return {};
    }
    Emission emission;
    emission.bytes = transferBytes();
    emission.bytesPerSecond =
        m_fault == FaultMode::Slow ? kLineBytesPerSecond / 2 : kLineBytesPerSecond;
    if (m_fault == FaultMode::Oversend) {
        // The image's own terminator must not end a read of the program: keep the end of the
        // image in the middle of a chunk, away from the chunk boundaries.
        emission.firstChunk = m_image.size() % kTransferChunk + kTransferChunk / 2;
    }
    emission.hangUpAfter = m_fault == FaultMode::HangUp;
    // The model clears the new-flight flag after a whole transfer; one cut short leaves it set.
    if (m_fault == FaultMode::Stall || m_fault == FaultMode::Tiny || m_fault == FaultMode::HangUp) {
        m_setup.newFlight = wasNewFlight;
    }
    return {std::move(emission)};
}

} // namespace vtl::devsim
