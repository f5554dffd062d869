// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/device/device_protocol.h"

#include "core/device/setup_limits.h"
#include "core/flight/flight_image.h"
#include "core/shell/framework_texts.h"
#include "core/shell/program_settings.h"
#include "core/shell/text_tables.h"

namespace vtl {
namespace {

using namespace protocol;

constexpr double kTemperatureScale = 0.82;
constexpr int kDefaultSetupStep = 500;
constexpr int kDefaultManualZeroingStep = 200;
constexpr int kSetupOkMilliseconds = 1000;
constexpr uint16_t kDefaultTrigger = 0x78; // 30 m in quarter metres
constexpr uint8_t kDefaultSampling = 1;    // 15 samples a second
constexpr uint16_t kDefaultDelay = 18000;  // 180 s in hundredths

// The device's temperature as shown: positive readings scaled by 0.82, others as they are.
int shownTemperature(uint8_t byte) {
    const int celsius = static_cast<int8_t>(byte);
    return celsius > 0 ? static_cast<int>(celsius * kTemperatureScale) : celsius;
}

} // namespace

DeviceProtocol::DeviceProtocol(SerialChannel& channel, Clock& clock, Prompter& prompter,
                               const Language& language, const ProgramSettings& settings,
                               ProcessPriority& priority)
    : m_channel(channel), m_clock(clock), m_prompter(prompter), m_language(language),
      m_settings(settings), m_priority(priority) {}

std::string DeviceProtocol::portName() const {
    return m_portOverride.empty() ? m_settings.portNameText() : m_portOverride;
}

void DeviceProtocol::report(Message text, Message caption) {
    m_prompter.showMessage(message(text, m_language), message(caption, m_language),
                           PromptButtons::Ok);
}

void DeviceProtocol::send() {
    if (m_traffic != nullptr) {
        m_traffic->frameSent(m_frame.bytes.data(), m_frame.bytes.size());
    }
    m_channel.writeBytes(m_frame.bytes.data(), m_frame.bytes.size());
}

// One request and its reply: the reply starts at byte 0 of the receive buffer.
uint32_t DeviceProtocol::exchange(uint8_t letter, int stepMilliseconds) {
    m_channel.resetReceive();
    m_frame.command(letter);
    send();
    m_channel.waitForReply(stepMilliseconds);
    const uint32_t length = m_channel.readAvailable();
    if (m_traffic != nullptr) {
        m_traffic->replyReceived(m_channel.rxBuffer(), length);
    }
    return length;
}

bool DeviceProtocol::acknowledged() const {
    return m_channel.rxCount() == kAcknowledgementSize &&
           m_channel.rxBuffer()[1] == kAcknowledgement;
}

DeviceProtocol::Outcome DeviceProtocol::zeroDevice(bool confirm, bool tellDone) {
    if (confirm && !m_prompter.showMessage(message(Message::ZeroingConfirmation, m_language),
                                           message(Message::ZeroingCaption, m_language),
                                           PromptButtons::OkCancel)) {
        return Outcome::Cancelled;
    }
    m_channel.openPort(portName());
    if (!m_channel.isOpen()) {
        return Outcome::PortFailed;
    }
    m_channel.clearInput();
    m_frame.bytes[2] = kZeroArgument2;
    m_frame.bytes[3] = kZeroArgument3;
    exchange(kZero, kReplyStep);
    Outcome outcome = Outcome::Failed;
    if (m_channel.rxCount() >= kZeroReplyMinimum) {
        const uint8_t* reply = m_channel.rxBuffer();
        if (reply[1] == kZeroDone && reply[2] == kZeroDone) {
            if (tellDone) {
                report(Message::ZeroingDone, Message::ZeroingResultCaption);
            }
            outcome = Outcome::Done;
        } else {
            report(Message::ZeroingFailed, Message::ErrorCaption);
        }
    }
    m_channel.closePort();
    return outcome;
}

DeviceProtocol::DownloadResult DeviceProtocol::downloadFlight(DownloadView& view) {
    // The raised priority and the indicators are undone on every way out.
    struct Restore {
        ProcessPriority& priority;
        DownloadView& view;
        bool raised = false;
        bool indicators = false;
        void now() {
            if (raised) {
                priority.restore();
                raised = false;
            }
            if (indicators) {
                view.hideIndicators();
                indicators = false;
            }
        }
        ~Restore() { now(); }
    } restore{m_priority, view};
    m_priority.raise();
    restore.raised = true;

    DownloadResult result;
    m_channel.openPort(portName());
    if (!m_channel.isOpen()) {
        result.outcome = Outcome::PortFailed;
        return result;
    }
    view.showReading();
    restore.indicators = true;
    if (!m_channel.clearInput([&view] { return view.cancelRequested(); })) {
        restore.now();
        view.transferEnded(false);
        m_channel.closePort();
        result.outcome = Outcome::Cancelled;
        return result;
    }

    if (exchange(kStatus, kReplyStep) != kShortReplySize) {
        restore.now();
        report(Message::CommunicationError, Message::ErrorCaption);
        m_channel.closePort();
        return result;
    }
    if ((m_channel.rxBuffer()[kStatusFlags] & kNewFlightBit) == 0) {
        report(Message::NoNewFlight, Message::ErrorCaption);
    }

    m_referenceWord = image::kReferenceWordNominal;
    if (exchange(kDownloadInformation, kReplyStep) == kShortReplySize) {
        const uint16_t reference = word(m_channel.rxBuffer(), kInformationReference);
        m_referenceWord =
            image::referenceWordInRange(reference) ? reference : image::kReferenceWordNominal;
        m_announcedBlocks = word(m_channel.rxBuffer(), kInformationBlocks);
    }

    view.resetForNewFlight();
    m_channel.resetReceive();
    m_channel.clearReceiveCount();
    m_frame.command(kTransfer);
    send();

    const uint32_t expected = static_cast<uint32_t>(m_announcedBlocks) * kBlockSize;
    const bool cancelled = pollTransfer(view, expected);
    restore.now();

    const uint32_t length = m_channel.rxCount();
    view.transferEnded(!cancelled && length >= kMinimumImage);
    // A transfer cut short (cancelled, the buffer full, the poll limit) may leave the device
    // still sending; one that ended on a silent line has already been quiet long enough.
    if (cancelled || !endMarkerReceived() || length == SerialChannel::kReceiveCapacity) {
        m_channel.drain(m_lastArrival);
    }
    if (cancelled) {
        m_channel.closePort();
        result.outcome = Outcome::Cancelled;
        return result;
    }
    if (length < kMinimumImage) {
        report(Message::CommunicationError, Message::ErrorCaption);
        m_channel.closePort();
        return result;
    }
    m_channel.closePort();
    DownloadedImage image;
    image.bytes.assign(m_channel.rxBuffer(), m_channel.rxBuffer() + length);
    image.referenceWord = m_referenceWord;
    image.announcedBytes = expected;
    // The device announces whole blocks, so an image up to one block short of the announcement
    // is whole.
    const bool shortOfAnnounced = uint64_t{length} + kBlockSize <= expected;
    image.complete = endMarkerReceived() && !shortOfAnnounced;
    result.outcome = Outcome::Done;
    result.image = std::move(image);
    return result;
}

bool DeviceProtocol::pollTransfer(DownloadView& view, uint32_t expected) {
    auto progressText = [expected](uint32_t received) {
        // Without an announced size the received byte count is shown instead of a percentage.
        return expected == 0 ? "   " + std::to_string(received) + " B"
                             : "   " + std::to_string(received * 100u / expected) + " %";
    };
    view.blankStatistics();
    view.showProgress(progressText(0));
    uint32_t received = 0;
    int64_t& lastArrival = m_lastArrival;
    lastArrival = m_clock.nowMilliseconds();
    for (int poll = 0; poll < kMaximumPolls; ++poll) {
        if (view.cancelRequested()) {
            return true;
        }
        m_clock.sleep(kPollInterval);
        const uint32_t read = m_channel.readAvailable();
        received += read;
        const int64_t now = m_clock.nowMilliseconds();
        if (read > 0) {
            lastArrival = now;
        }
        if (m_traffic != nullptr) {
            m_traffic->transferPolled(read, received);
        }
        view.showProgress(progressText(received));
        if (view.cancelRequested()) {
            return true;
        }
        // A full receive buffer can take nothing more: what came is handed over as far as it fits.
        if (endMarkerReceived() || m_channel.rxCount() == SerialChannel::kReceiveCapacity) {
            return false;
        }
        // The device sends the whole image without pauses: a silent or failed line ends the
        // transfer as the poll limit would, only sooner.
        const int64_t silence = now - lastArrival;
        if (m_channel.lineFailed() ||
            silence >= (received > 0 ? kTransferSilence : kTransferNoStart)) {
            return false;
        }
    }
    return false;
}

bool DeviceProtocol::endMarkerReceived() const {
    const uint32_t count = m_channel.rxCount();
    if (count < kMinimumImage) {
        return false;
    }
    const uint8_t* bytes = m_channel.rxBuffer();
    for (size_t pair = 1; pair <= kEndMarkerPairs; ++pair) {
        const size_t first = count - 2 * pair;
        if (bytes[first] == kEndMarkerByte && bytes[first + 1] == kEndMarkerByte) {
            return true;
        }
    }
    return false;
}

int DeviceProtocol::readDeviceSetup(DeviceSetupView& view) {
    m_channel.clearInput();
    if (exchange(kStatus, kReplyStep) != kShortReplySize) {
        return 0;
    }
    const uint8_t* status = m_channel.rxBuffer();
    const int temperature = shownTemperature(status[kStatusTemperature]);
    const int competitor = word(status, kStatusCompetitor);
    const int serial = word(status, kStatusSerial);
    const int trigger = word(status, kStatusTrigger) / 4;
    const int sampling = status[kStatusFlags] & 0x0F;
    view.showTemperature(temperature);
    view.showCompetitorNumber(competitor);
    view.showSerialNumber(serial);
    view.showTriggerMetres(trigger);
    view.selectSamplingCode(sampling);

    int result = 1;
    if (exchange(kManualZeroingRead, kReplyStep) == kShortReplySize) {
        view.selectManualZeroing(m_channel.rxBuffer()[0] & 1);
    } else {
        result = 0;
    }
    if (exchange(kDelayRead, kReplyStep) == kShortReplySize) {
        view.showDelaySeconds(word(m_channel.rxBuffer(), kDelayReplyValue) / 100);
    } else {
        result = 0;
    }
    return result;
}

DeviceProtocol::Outcome DeviceProtocol::writeDeviceSetup(const DeviceSetupEntries& entries) {
    if (!m_channel.isOpen()) {
        return Outcome::Stopped;
    }
    auto number = [this](const std::string& text) {
        const std::optional<int32_t> value = wholeNumberFromText(text);
        if (!value) {
            m_prompter.showMessage(notAnIntegerText(text), kExceptionCaption, PromptButtons::Ok);
        }
        return value;
    };
    auto tooLarge = [this] {
        report(Message::ValueTooLarge, Message::ErrorCaption);
        return Outcome::Stopped;
    };
    auto reportUnacknowledged = [this] {
        if (m_channel.rxCount() == kAcknowledgementSize &&
            m_channel.rxBuffer()[1] != kAcknowledgement) {
            report(Message::SetupFailed, Message::SetupCaption);
        }
    };

    m_channel.resetReceive();
    m_frame.command(kSetupWrite);
    const std::optional<int32_t> trigger = number(entries.triggerMetres);
    if (!trigger) {
        return Outcome::Stopped;
    }
    if (static_cast<uint32_t>(*trigger) > static_cast<uint32_t>(kTriggerLimit)) {
        return tooLarge();
    }
    putWord(m_frame.bytes.data(), kSetupTrigger, static_cast<uint16_t>(*trigger * 4));
    const std::optional<int32_t> competitor = number(entries.competitorNumber);
    if (!competitor) {
        return Outcome::Stopped;
    }
    if (static_cast<uint32_t>(*competitor) > static_cast<uint32_t>(kCompetitorLimit)) {
        return tooLarge();
    }
    putWord(m_frame.bytes.data(), kSetupCompetitor, static_cast<uint16_t>(*competitor));
    m_frame.bytes[kSetupSampling] = static_cast<uint8_t>(entries.samplingIndex);
    m_channel.clearInput();
    send();
    m_channel.waitForReply(kReplyStep);
    m_channel.readAvailable();
    reportUnacknowledged();

    m_frame.bytes[kManualZeroingFlag] = static_cast<uint8_t>(entries.manualZeroingIndex);
    exchange(kManualZeroingWrite, kReplyStep);
    reportUnacknowledged();

    m_channel.resetReceive();
    m_frame.command(kDelayWrite);
    const std::optional<int32_t> delay = number(entries.delaySeconds);
    if (!delay) {
        return Outcome::Stopped;
    }
    // Compared before any 32-bit wrap, so that an absurd entry cannot come out as a small delay.
    const int64_t hundredths = static_cast<int64_t>(*delay) * 100;
    if (hundredths < 0 || hundredths > kDelayLimit) {
        return tooLarge();
    }
    putWord(m_frame.bytes.data(), kDelayValue, static_cast<uint16_t>(hundredths));
    send();
    m_channel.waitForReply(kReplyStep);
    m_channel.readAvailable();
    const bool done = acknowledged();
    report(done ? Message::SetupOk : Message::SetupFailed, Message::SetupCaption);
    m_channel.closePort();
    return done ? Outcome::Done : Outcome::Failed;
}

DeviceProtocol::Outcome DeviceProtocol::writeDefaultSetup(const std::function<void(bool)>& showOk,
                                                          bool confirm) {
    if (confirm && !m_prompter.showMessage(message(Message::DefaultSetupConfirmation, m_language),
                                           message(Message::SetupCaption, m_language),
                                           PromptButtons::OkCancel)) {
        return Outcome::Cancelled;
    }
    m_channel.openPort(portName());
    if (!m_channel.isOpen()) {
        return Outcome::PortFailed;
    }
    // A lone byte must not pass: byte 1 of the buffer may still hold an earlier reply.
    auto failedWrite = [this] {
        return m_channel.rxCount() < kAcknowledgementSize ||
               m_channel.rxBuffer()[1] != kAcknowledgement;
    };
    auto setupFailed = [this] {
        report(Message::SetupFailed, Message::SetupCaption);
        m_channel.closePort();
        return Outcome::Failed;
    };

    m_channel.clearInput();
    m_frame.bytes = {kFrameStart, kSetupWrite, 0, 0, 0, 0, 0, kDefaultSampling};
    putWord(m_frame.bytes.data(), kSetupTrigger, kDefaultTrigger);
    exchange(kSetupWrite, kDefaultSetupStep);
    if (failedWrite()) {
        return setupFailed();
    }
    m_frame.bytes[kManualZeroingFlag] = 1;
    exchange(kManualZeroingWrite, kDefaultManualZeroingStep);
    if (failedWrite()) {
        return setupFailed();
    }

    Outcome outcome = Outcome::Done;
    m_frame.bytes[2] = kZeroArgument2;
    m_frame.bytes[3] = kZeroArgument3;
    exchange(kZero, kReplyStep);
    const uint8_t* reply = m_channel.rxBuffer();
    if (m_channel.rxCount() >= kZeroReplyMinimum &&
        !(reply[1] == kZeroDone && reply[2] == kZeroDone)) {
        report(Message::ZeroingFailed, Message::ErrorCaption);
        outcome = Outcome::Failed;
    }
    putWord(m_frame.bytes.data(), kDelayValue, kDefaultDelay);
    exchange(kDelayWrite, kReplyStep);
    if (!acknowledged()) {
        report(Message::ZeroingFailed, Message::ErrorCaption);
        outcome = Outcome::Failed;
    }
    m_channel.closePort();
    showOk(true);
    m_clock.sleep(kSetupOkMilliseconds);
    showOk(false);
    return outcome;
}

} // namespace vtl
