// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "command_line.h"
#include "traffic_trace.h"

#include "core/device/device_protocol.h"
#include "core/shell/language.h"
#include "core/shell/program_settings.h"
#include "core/shell/prompter.h"
#include "core/shell/settings_places.h"
#include "platform/event_loop_clock.h"
#include "platform/system_process_priority.h"
#include "platform/system_serial_port.h"

#include <memory>
#include <string>

namespace vtl::cli {

// Messages for a terminal: each on one line of stderr; questions are answered yes.
class StderrPrompter : public Prompter {
public:
    bool showMessage(const std::string& text, const std::string& caption,
                     PromptButtons buttons) override;
    std::string chooseFile(FileDialog, const std::string&) override { return {}; }
    bool setUpPrinter(PrinterChoices&) override { return false; }
    bool openDocument(const std::string&) override { return false; }

    // A message other than a success or a notice has been shown.
    bool failureTold() const { return m_failureTold; }

private:
    bool m_failureTold = false;
};

// The program's settings (port, language) and the device link, as the window would have them.
class DeviceSession {
public:
    explicit DeviceSession(const CommandLine& args);

    SerialChannel& channel() { return m_channel; }
    DeviceProtocol& protocol() { return m_protocol; }
    vtl::Language language() const { return m_language; }
    const StderrPrompter& prompter() const { return m_prompter; }

private:
    SettingsPlaces m_places;
    ProgramSettings m_settings;
    vtl::Language m_language = vtl::Language::Polish;
    StderrPrompter m_prompter;
    SystemSerialPort m_port;
    EventLoopClock m_clock;
    SystemProcessPriority m_priority;
    SerialChannel m_channel;
    DeviceProtocol m_protocol;
    TrafficTrace m_trace;
};

} // namespace vtl::cli
