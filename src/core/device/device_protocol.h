// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/device/command_frame.h"
#include "core/device/process_priority.h"
#include "core/device/serial_channel.h"
#include "core/flight/image_handover.h"
#include "core/shell/language.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vtl {

enum class Message;
struct ProgramSettings;

// What the download shows while it runs.
class DownloadView {
public:
    virtual ~DownloadView() = default;
    // The "reading data" indicator is shown and the flight panel gets its own caption back.
    virtual void showReading() = 0;
    // Undo the zoom, empty the flight's curves, left axis from zero with an automatic minimum.
    virtual void resetForNewFlight() = 0;
    // The maximum and minimum fields show three blanks until the new flight is drawn.
    virtual void blankStatistics() = 0;
    // The progress indicator is shown with the text.
    virtual void showProgress(const std::string& text) = 0;
    virtual void hideIndicators() = 0;
    // The transfer is over and the indicators are hidden; `imageCame` tells whether it brought an
    // image to hand over. Called before the line is drained, which may take two seconds.
    virtual void transferEnded(bool imageCame) { static_cast<void>(imageCame); }
    // Polled while the transfer runs: the user asked to stop it (Esc, Cancel, closing, Ctrl-C).
    virtual bool cancelRequested() { return false; }
};

// Where the device settings dialog shows what was read from the device.
class DeviceSetupView {
public:
    virtual ~DeviceSetupView() = default;
    virtual void showTemperature(int celsius) = 0;
    virtual void showCompetitorNumber(int number) = 0;
    virtual void showSerialNumber(int number) = 0;
    virtual void showTriggerMetres(int metres) = 0;
    virtual void selectSamplingCode(int code) = 0; // codes 6-15 select no item
    virtual void selectManualZeroing(int on) = 0;
    virtual void showDelaySeconds(int seconds) = 0;
};

// The edited setup as the dialog holds it: texts of the three edits, indexes of the two lists.
struct DeviceSetupEntries {
    std::string triggerMetres;
    std::string competitorNumber;
    std::string delaySeconds;
    int samplingIndex = 0;
    int manualZeroingIndex = 0;
};

// Traffic of the device link, for a support trace.
class TrafficObserver {
public:
    virtual ~TrafficObserver() = default;
    virtual void frameSent(const uint8_t* bytes, size_t count) = 0;
    virtual void replyReceived(const uint8_t* bytes, size_t count) = 0;
    virtual void transferPolled(uint32_t newBytes, uint32_t totalBytes) = 0;
};

// The device's commands: zeroing, the flight download, reading and writing the setup and the
// default setup. Each is a strict sequence of requests and replies with fixed waits, and each
// first clears the line of what an abandoned operation left there (SerialChannel::clearInput).
// A download can be cancelled while it waits for a line that keeps talking.
class DeviceProtocol {
public:
    static constexpr int kReplyStep = 250;
    static constexpr int kPollInterval = 100;
    static constexpr int kMaximumPolls = 1020;
    static constexpr int64_t kTransferSilence = 2000; // once bytes have come
    static constexpr int64_t kTransferNoStart = 5000; // when none has come
    static constexpr uint32_t kMinimumImage = 32;
    static constexpr int kTriggerLimit = 200;
    static constexpr int kCompetitorLimit = 10000;
    static constexpr int kDelayLimit = 30000; // hundredths of a second

    enum class Outcome {
        Done,       // the operation ran to its end (messages may have been shown)
        Cancelled,  // the user declined
        PortFailed, // the port could not be opened (reported)
        Failed,     // the device did not answer as it should (reported, or silent where so)
        Stopped,    // a value was refused before sending; the port stays open
    };

    DeviceProtocol(SerialChannel& channel, Clock& clock, Prompter& prompter,
                   const Language& language, const ProgramSettings& settings,
                   ProcessPriority& priority);

    void setTrafficObserver(TrafficObserver* observer) { m_traffic = observer; }
    // A port (name or device path) to use instead of the one in the settings.
    void setPortOverride(std::string port) { m_portOverride = std::move(port); }
    std::string portName() const;

    // Asks first when `confirm` is set. Done when the device acknowledged the zeroing; a failure
    // is always told, the success only when `tellDone` is set.
    Outcome zeroDevice(bool confirm = true, bool tellDone = true);

    // What a download brought: the image (at least 32 bytes, possibly incomplete) with the
    // reference word announced by the device, or no image when the download failed (reported)
    // or was cancelled (not reported).
    struct DownloadResult {
        Outcome outcome = Outcome::Failed;
        std::optional<DownloadedImage> image;

        explicit operator bool() const { return image.has_value(); }
        const DownloadedImage* operator->() const { return &*image; }
        const DownloadedImage& operator*() const { return *image; }
    };

    // Downloads the last flight. The transfer ends at the end marker, when the receive buffer is
    // full, after 1,020 polls, on a line error, after 2 s without a byte once bytes have come
    // (5 s when none has come), or when the view asks to cancel.
    DownloadResult downloadFlight(DownloadView& view);

    // Reads the setup of the open port's device into the view: 1 when all three replies came.
    int readDeviceSetup(DeviceSetupView& view);

    // Writes the edited setup. Done or Failed (reported either way): the port is closed and the
    // dialog should close. Stopped: a value was refused before it was sent; the port stays open.
    Outcome writeDeviceSetup(const DeviceSetupEntries& entries);

    // Writes the default setup, after asking when `confirm` is set; `showOk` is called with true,
    // then false after one second, once the port is closed, unless the setup or manual-zeroing
    // write failed.
    Outcome writeDefaultSetup(const std::function<void(bool)>& showOk, bool confirm = true);

    const protocol::CommandFrame& frame() const { return m_frame; }

private:
    uint32_t exchange(uint8_t letter, int stepMilliseconds);
    bool endMarkerReceived() const;
    // Polls the transfer until one of its ends; true when the view cancelled it.
    bool pollTransfer(DownloadView& view, uint32_t expected);
    void send();
    void report(Message text, Message caption);
    bool acknowledged() const;

    SerialChannel& m_channel;
    Clock& m_clock;
    Prompter& m_prompter;
    const Language& m_language;
    const ProgramSettings& m_settings;
    ProcessPriority& m_priority;
    TrafficObserver* m_traffic = nullptr;
    protocol::CommandFrame m_frame;
    uint16_t m_referenceWord = 10000;
    uint16_t m_announcedBlocks = 0;
    int64_t m_lastArrival = 0; // when the transfer last brought bytes
    std::string m_portOverride;
};

} // namespace vtl
