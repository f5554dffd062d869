// SPDX-License-Identifier: GPL-3.0-or-later
#include "device_model.h"

#include "core/device/command_frame.h"

#include <algorithm>

namespace vtl::devsim {

using namespace protocol;

uint16_t imageBlocks(size_t imageSize) {
    return static_cast<uint16_t>(
        std::min<size_t>((imageSize + kBlockSize - 1) / kBlockSize, 0xFFFF));
}

std::optional<Reply> answerFrame(const uint8_t* frame, size_t size, DeviceSetup& setup,
                                 const std::vector<uint8_t>& image) {
    if (size != kFrameSize || frame[0] != kFrameStart) {
        return std::nullopt;
    }
    Reply reply;
    reply.bytes.assign(kShortReplySize, 0);
    uint8_t* bytes = reply.bytes.data();
    const std::vector<uint8_t> acknowledgement = {0x00, kAcknowledgement};
    switch (frame[1]) {
    case kStatus:
        putWord(bytes, kStatusCompetitor, setup.competitorNumber);
        putWord(bytes, kStatusSerial, setup.serialNumber);
        bytes[kStatusTemperature] = static_cast<uint8_t>(setup.temperature);
        putWord(bytes, kStatusTrigger, setup.triggerQuarterMetres);
        bytes[kStatusFlags] = static_cast<uint8_t>((setup.newFlight ? kNewFlightBit : 0) |
                                                   (setup.samplingCode & 0x0F));
        return reply;
    case kDownloadInformation:
        putWord(bytes, kInformationReference, setup.referenceWord);
        putWord(bytes, kInformationBlocks, imageBlocks(image.size()));
        return reply;
    case kTransfer:
        reply.bytes = image;
        reply.transfer = true;
        // The device forgets that its flight is new once it has sent it.
        setup.newFlight = false;
        return reply;
    case kZero:
        if (frame[2] != kZeroArgument2 || frame[3] != kZeroArgument3) {
            return std::nullopt;
        }
        reply.bytes = {0x00, kZeroDone, kZeroDone};
        return reply;
    case kManualZeroingRead:
        bytes[0] = setup.manualZeroing;
        return reply;
    case kDelayRead:
        putWord(bytes, kDelayReplyValue, setup.delayHundredths);
        return reply;
    case kSetupWrite:
        setup.competitorNumber = word(frame, kSetupCompetitor);
        setup.triggerQuarterMetres = word(frame, kSetupTrigger);
        setup.samplingCode = frame[kSetupSampling] & 0x0F;
        reply.bytes = acknowledgement;
        return reply;
    case kManualZeroingWrite:
        setup.manualZeroing = frame[kManualZeroingFlag] & 1;
        reply.bytes = acknowledgement;
        return reply;
    case kDelayWrite:
        setup.delayHundredths = word(frame, kDelayValue);
        reply.bytes = acknowledgement;
        return reply;
    default:
        return std::nullopt;
    }
}

} // namespace vtl::devsim
