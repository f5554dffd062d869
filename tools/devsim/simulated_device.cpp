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
    return static_cast<uint16_t>((m_image.size() + protocol::kBlockSize - 1) /
                                 protocol::kBlockSize);
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
    std::vector<uint8_t> bytes;
    switch (f[1]) {
    case kStatus:
        bytes.assign(kShortReplySize, 0);
        putWord(bytes.data(), kStatusCompetitor, m_setup.competitorNumber);
        putWord(bytes.data(), kStatusSerial, m_setup.serialNumber);
        bytes[kStatusTemperature] = static_cast<uint8_t>(m_setup.temperature);
        putWord(bytes.data(), kStatusTrigger, m_setup.triggerQuarterMetres);
        bytes[kStatusFlags] = static_cast<uint8_t>((m_setup.newFlight ? kNewFlightBit : 0) |
                                                   (m_setup.samplingCode & 0x0F));
        return reply(std::move(bytes));
    case kDownloadInformation:
        if (m_fault == FaultMode::NoInfo) {
            return {};
        }
        bytes.assign(kShortReplySize, 0);
        putWord(bytes.data(), kInformationReference, m_setup.referenceWord);
        putWord(bytes.data(), kInformationBlocks, announcedBlocks());
        return reply(std::move(bytes));
    case kTransfer:
        return transfer();
    case kZero:
        // The device zeroes only when both argument bytes are right, as a guard against noise.
        if (f[2] != kZeroArgument2 || f[3] != kZeroArgument3) {
            return {};
        }
        if (m_fault == FaultMode::WrongAck) {
            return reply({0x00, kWrongZeroDone, kWrongZeroDone});
        }
        return reply({0x00, kZeroDone, kZeroDone});
    case kManualZeroingRead:
        bytes.assign(kShortReplySize, 0);
        bytes[0] = m_setup.manualZeroing;
        return reply(std::move(bytes));
    case kDelayRead:
        bytes.assign(kShortReplySize, 0);
        putWord(bytes.data(), kDelayReplyValue, m_setup.delayHundredths);
        return reply(std::move(bytes));
    case kSetupWrite:
        m_setup.competitorNumber = word(f.data(), kSetupCompetitor);
        m_setup.triggerQuarterMetres = word(f.data(), kSetupTrigger);
        m_setup.samplingCode = f[kSetupSampling] & 0x0F;
        return reply(acknowledgement());
    case kManualZeroingWrite:
        m_setup.manualZeroing = f[kManualZeroingFlag] & 1;
        return reply(acknowledgement());
    case kDelayWrite:
        m_setup.delayHundredths = word(f.data(), kDelayValue);
        return reply(acknowledgement());
    default:
        return {};
    }
}

std::vector<uint8_t> SimulatedDevice::acknowledgement() const {
    return {0x00,
            m_fault == FaultMode::WrongAck ? kWrongAcknowledgement : protocol::kAcknowledgement};
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

std::vector<Emission> SimulatedDevice::transfer() {
    if (m_fault == FaultMode::Silent) {
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
    // The device forgets that its flight is new once it has sent all of it.
    if (m_fault != FaultMode::Stall && m_fault != FaultMode::Tiny && m_fault != FaultMode::HangUp) {
        m_setup.newFlight = false;
    }
    return {std::move(emission)};
}

} // namespace vtl::devsim
