// SPDX-License-Identifier: GPL-3.0-or-later
// The device protocol over a fake port whose replies, transfers and hang-ups come from the
// fuzzer's bytes, on a fake clock: zeroing, download, setup read, setup write and default setup in
// any order. Whatever the device sends, nothing is read or written out of bounds, every operation
// ends, the raised priority is restored and the port is left as each operation promises.
#include "fuzz_input.h"

#include "core/device/command_frame.h"
#include "core/device/device_protocol.h"
#include "core/device/serial_channel.h"
#include "core/shell/program_settings.h"
#include "support/fake_device.h"
#include "support/scripted_prompter.h"

#include <cstdlib>

namespace {

using namespace vtl;

struct CountingPriority : ProcessPriority {
    int raised = 0;
    int restored = 0;
    void raise() override { ++raised; }
    void restore() override { ++restored; }
};

class ScriptedView : public DownloadView {
public:
    explicit ScriptedView(int cancelAt) : m_cancelAt(cancelAt) {}
    void showReading() override {}
    void resetForNewFlight() override {}
    void blankStatistics() override {}
    void showProgress(const std::string&) override {}
    void hideIndicators() override {}
    bool cancelRequested() override { return m_cancelAt > 0 && ++m_checks >= m_cancelAt; }

private:
    int m_cancelAt;
    int m_checks = 0;
};

struct SetupSink : DeviceSetupView {
    void showTemperature(int) override {}
    void showCompetitorNumber(int) override {}
    void showSerialNumber(int) override {}
    void showTriggerMetres(int) override {}
    void selectSamplingCode(int) override {}
    void selectManualZeroing(int) override {}
    void showDelaySeconds(int) override {}
};

void require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::FuzzInput input(data, size);
    testing::FakeClock clock;
    testing::FakeDevice device(clock);
    testing::ScriptedPrompter prompter;
    Language language = languageOf(input.byte() & 1);
    ProgramSettings settings = defaultProgramSettings();
    CountingPriority priority;
    SerialChannel channel(device, clock, prompter, language);
    DeviceProtocol protocol(channel, clock, prompter, language, settings, priority);

    device.setResponder(
        [&input](const testing::FakeDevice::Frame& frame, testing::FakeDevice& port) {
            if (frame.size() == protocol::kFrameSize && frame[1] == protocol::kTransfer) {
                const size_t length = input.word();
                port.deliverPaced(input.bytes(length), 1 + input.word() % 4096);
            } else {
                const size_t length = input.byte() % 16;
                port.deliver(input.bytes(length), input.byte() * 4);
            }
            if (input.byte() == 0xA5) {
                port.hangUpAfter(input.word());
            }
        });

    for (int round = 0; round < 8 && !input.empty(); ++round) {
        switch (input.byte() % 5) {
        case 0:
            protocol.zeroDevice(false);
            require(!channel.isOpen());
            break;
        case 1: {
            ScriptedView view(input.byte());
            const auto result = protocol.downloadFlight(view);
            require(!channel.isOpen());
            if (result) {
                require(result->bytes.size() >= DeviceProtocol::kMinimumImage &&
                        result->bytes.size() <= SerialChannel::kReceiveCapacity);
            }
            break;
        }
        case 2: {
            channel.openPort("COM5");
            SetupSink sink;
            protocol.readDeviceSetup(sink);
            channel.closePort();
            break;
        }
        case 3: {
            channel.openPort("COM5");
            DeviceSetupEntries entries;
            entries.triggerMetres = input.text(12);
            entries.competitorNumber = input.text(12);
            entries.delaySeconds = input.text(12);
            entries.samplingIndex = input.byte() % 6;
            entries.manualZeroingIndex = input.byte() % 2;
            if (protocol.writeDeviceSetup(entries) != DeviceProtocol::Outcome::Stopped) {
                require(!channel.isOpen());
            }
            channel.closePort();
            break;
        }
        default:
            protocol.writeDefaultSetup([](bool) {}, false);
            require(!channel.isOpen());
            break;
        }
        require(priority.raised == priority.restored);
    }
    return 0;
}
