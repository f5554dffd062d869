#include "support/fake_device.h"

#include "core/device/command_frame.h"

#include <algorithm>

namespace vtl::testing {

using namespace protocol;

FakeDevice::FakeDevice(FakeClock& clock) : m_clock(clock) {}

void FakeDevice::deliver(const std::vector<uint8_t>& bytes, int64_t afterMilliseconds) {
    const int64_t at = m_clock.nowMilliseconds() + afterMilliseconds;
    for (const uint8_t byte : bytes) {
        m_incoming.push_back({at, byte});
    }
}

void FakeDevice::deliverPaced(const std::vector<uint8_t>& bytes, size_t bytesPerPoll) {
    int64_t at = m_clock.nowMilliseconds() + 50;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (i > 0 && i % bytesPerPoll == 0) {
            at += 100;
        }
        m_incoming.push_back({at, bytes[i]});
    }
}

bool FakeDevice::open(const std::string& name) {
    m_openedNames.push_back(name);
    m_open = !m_refuseOpening;
    return m_open;
}

void FakeDevice::close() {
    m_open = false;
    ++m_closeCount;
}

size_t FakeDevice::bytesWaiting() {
    const int64_t now = std::min(m_clock.nowMilliseconds(), m_failAt);
    return static_cast<size_t>(std::count_if(m_incoming.begin(), m_incoming.end(),
                                             [now](const Arrival& a) { return a.at <= now; }));
}

size_t FakeDevice::read(uint8_t* buffer, size_t count) {
    const int64_t now = std::min(m_clock.nowMilliseconds(), m_failAt);
    size_t read = 0;
    while (read < count && !m_incoming.empty() && m_incoming.front().at <= now) {
        buffer[read++] = m_incoming.front().byte;
        m_incoming.pop_front();
    }
    return read;
}

bool FakeDevice::write(const uint8_t* bytes, size_t count) {
    if (!m_open) {
        return false;
    }
    m_frames.emplace_back(bytes, bytes + count);
    if (m_responder) {
        m_responder(m_frames.back(), *this);
    }
    return true;
}

FakeDevice::Responder DeviceModel::responder() {
    return [this](const FakeDevice::Frame& frame, FakeDevice& device) {
        if (frame.size() != kFrameSize || frame[0] != kFrameStart) {
            return;
        }
        std::vector<uint8_t> reply(kShortReplySize, 0);
        const std::vector<uint8_t> acknowledgement = {0x00, kAcknowledgement};
        switch (frame[1]) {
        case kStatus:
            putWord(reply.data(), kStatusCompetitor, competitorNumber);
            putWord(reply.data(), kStatusSerial, serialNumber);
            reply[kStatusTemperature] = static_cast<uint8_t>(temperature);
            putWord(reply.data(), kStatusTrigger, triggerQuarterMetres);
            reply[kStatusFlags] =
                static_cast<uint8_t>((newFlight ? kNewFlightBit : 0) | samplingCode);
            device.deliver(reply);
            break;
        case kDownloadInformation:
            putWord(reply.data(), kInformationReference, referenceWord);
            putWord(reply.data(), kInformationBlocks,
                    static_cast<uint16_t>((image.size() + kBlockSize - 1) / kBlockSize));
            device.deliver(reply);
            break;
        case kTransfer:
            device.deliverPaced(image, bytesPerPoll);
            newFlight = false;
            break;
        case kZero:
            device.deliver({0x00, kZeroDone, kZeroDone});
            break;
        case kManualZeroingRead:
            reply[0] = manualZeroing;
            device.deliver(reply);
            break;
        case kDelayRead:
            putWord(reply.data(), kDelayReplyValue, delayHundredths);
            device.deliver(reply);
            break;
        case kSetupWrite:
            competitorNumber = word(frame.data(), kSetupCompetitor);
            triggerQuarterMetres = word(frame.data(), kSetupTrigger);
            samplingCode = frame[kSetupSampling] & 0x0F;
            device.deliver(acknowledgement);
            break;
        case kManualZeroingWrite:
            manualZeroing = frame[kManualZeroingFlag] & 1;
            device.deliver(acknowledgement);
            break;
        case kDelayWrite:
            delayHundredths = word(frame.data(), kDelayValue);
            device.deliver(acknowledgement);
            break;
        default:
            break;
        }
    };
}

} // namespace vtl::testing
