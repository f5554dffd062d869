#pragma once

#include "device/command_frame.h"
#include "device/serial_channel.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <utility>
#include <string>
#include <vector>

namespace vtl {

struct ProgramSettings;

// Raises the process's priority for the flight transfer and restores it; where raising is not
// allowed nothing happens.
class ProcessPriority {
public:
    virtual ~ProcessPriority() = default;
    virtual void raise() = 0;
    virtual void restore() = 0;
};

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

struct DownloadedImage {
    std::vector<uint8_t> bytes;
    uint16_t referenceWord = 10000;
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
// default setup. Each is a strict sequence of requests and replies with fixed waits.
class DeviceProtocol {
public:
    static constexpr int kReplyStep = 250;
    static constexpr int kPollInterval = 100;
    static constexpr int kMaximumPolls = 1020;
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
                   const int32_t& language, const ProgramSettings& settings,
                   ProcessPriority& priority);

    void setTrafficObserver(TrafficObserver* observer) { m_traffic = observer; }
    // A port (name or device path) to use instead of the one in the settings.
    void setPortOverride(std::string port) { m_portOverride = std::move(port); }
    std::string portName() const;

    // Asks first when `confirm` is set. Done when the device acknowledged the zeroing.
    Outcome zeroDevice(bool confirm = true);

    // Downloads the last flight; the image (at least 32 bytes) and the reference word announced
    // by the device, or nothing when the download failed (reported).
    std::optional<DownloadedImage> downloadFlight(DownloadView& view);

    // Reads the setup of the open port's device into the view: 1 when all three replies came.
    int readDeviceSetup(DeviceSetupView& view);

    // Writes the edited setup. Done or Failed (reported either way): the port is closed and the
    // dialog should close. Stopped: a value was refused before it was sent; the port stays open.
    Outcome writeDeviceSetup(const DeviceSetupEntries& entries);

    // Writes the default setup; `showOk` is called with true, then false after one second, once
    // the port is closed, unless the setup or manual-zeroing write failed.
    Outcome writeDefaultSetup(const std::function<void(bool)>& showOk);

    const protocol::CommandFrame& frame() const { return m_frame; }

private:
    uint32_t exchange(uint8_t letter, int stepMilliseconds);
    bool endMarkerReceived() const;
    void send();
    void report(int message, int caption);
    bool acknowledged() const;

    SerialChannel& m_channel;
    Clock& m_clock;
    Prompter& m_prompter;
    const int32_t& m_language;
    const ProgramSettings& m_settings;
    ProcessPriority& m_priority;
    TrafficObserver* m_traffic = nullptr;
    protocol::CommandFrame m_frame;
    uint16_t m_referenceWord = 10000;
    uint16_t m_announcedBlocks = 0;
    std::string m_portOverride;
};

} // namespace vtl
