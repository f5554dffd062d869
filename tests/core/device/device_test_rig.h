// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/device/device_protocol.h"
#include "core/shell/program_settings.h"
#include "support/fake_device.h"
#include "support/scripted_prompter.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vtl::testing {

struct CountingPriority : ProcessPriority {
    int raised = 0;
    int restored = 0;
    void raise() override { ++raised; }
    void restore() override { ++restored; }
};

struct RecordingDownloadView : DownloadView {
    std::vector<std::string> events;
    // Messages already shown when the indicators were hidden, with `prompter` set.
    const ScriptedPrompter* prompter = nullptr;
    size_t messagesWhenHidden = 0;
    void showReading() override { events.push_back("reading"); }
    void resetForNewFlight() override { events.push_back("reset"); }
    void blankStatistics() override { events.push_back("blank"); }
    void showProgress(const std::string& text) override { events.push_back(text); }
    void hideIndicators() override {
        events.push_back("hide");
        messagesWhenHidden = prompter != nullptr ? prompter->messages().size() : 0;
    }
    // Whether the ended transfer brought an image, and the time it ended at, with `clock` set.
    const FakeClock* clock = nullptr;
    std::optional<bool> imageCame;
    int64_t endedAt = -1;
    void transferEnded(bool came) override {
        imageCame = came;
        endedAt = clock != nullptr ? clock->slept() : -1;
    }
    // Asks to cancel from the given check on (the transfer checks before and after each poll).
    int cancelFromCheck = -1;
    int checks = 0;
    bool cancelRequested() override {
        ++checks;
        return cancelFromCheck >= 0 && checks > cancelFromCheck;
    }
};

struct RecordingSetupView : DeviceSetupView {
    std::vector<std::pair<std::string, int>> shown;
    void showTemperature(int v) override { shown.emplace_back("temperature", v); }
    void showCompetitorNumber(int v) override { shown.emplace_back("competitor", v); }
    void showSerialNumber(int v) override { shown.emplace_back("serial", v); }
    void showTriggerMetres(int v) override { shown.emplace_back("trigger", v); }
    void selectSamplingCode(int v) override { shown.emplace_back("sampling", v); }
    void selectManualZeroing(int v) override { shown.emplace_back("manual", v); }
    void showDelaySeconds(int v) override { shown.emplace_back("delay", v); }
};

// A device on a fake port with a fake clock, and the program's channel and protocol over it.
struct DeviceTestRig {
    FakeClock clock;
    FakeDevice device{clock};
    DeviceModel model;
    ScriptedPrompter prompter;
    Language language = Language::Polish;
    ProgramSettings settings = defaultProgramSettings();
    CountingPriority priority;
    SerialChannel channel{device, clock, prompter, language};
    DeviceProtocol protocol{channel, clock, prompter, language, settings, priority};

    DeviceTestRig() { device.setResponder(model.responder()); }

    std::vector<std::string> messageTexts() const {
        std::vector<std::string> texts;
        for (const auto& m : prompter.messages()) {
            texts.push_back(m.text);
        }
        return texts;
    }
};

} // namespace vtl::testing
