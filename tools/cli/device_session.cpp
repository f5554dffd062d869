// SPDX-License-Identifier: GPL-3.0-or-later
#include "device_session.h"

#include "flight_files.h"
#include "port_commands.h"

#include "core/shell/text_tables.h"

#include <QFileInfo>

#include <cstdio>

namespace vtl::cli {
namespace {

// What the device commands show that is no failure: the results the user waits for, and the
// notice that the previous flight is read again, after which the download goes on.
bool isSuccessOrNotice(const std::string& text) {
    for (const vtl::Language language : {vtl::Language::Polish, vtl::Language::English}) {
        for (const Message good : {Message::ZeroingDone, Message::SetupOk, Message::NoNewFlight}) {
            if (text == message(good, language)) {
                return true;
            }
        }
    }
    return false;
}

} // namespace

bool StderrPrompter::showMessage(const std::string& text, const std::string&, PromptButtons) {
    std::fprintf(stderr, "%s\n", text.c_str());
    if (!isSuccessOrNotice(text)) {
        m_failureTold = true;
    }
    return true;
}

DeviceSession::DeviceSession(const CommandLine& args)
    : m_places(programSettingsPlaces(args)), m_settings(loadSettingsFor(m_places)),
      m_language(vtl::languageOf(m_settings.language)),
      m_port(QFileInfo(QString::fromStdString(m_places.homeFile())).absolutePath()),
      m_channel(m_port, m_clock, m_prompter, m_language),
      m_protocol(m_channel, m_clock, m_prompter, m_language, m_settings, m_priority) {
    if (const auto port = args.option("--port")) {
        m_protocol.setPortOverride(*port == "auto" ? automaticPort(args) : *port);
    }
    if (args.flag("--trace")) {
        m_protocol.setTrafficObserver(&m_trace);
    }
}

} // namespace vtl::cli
