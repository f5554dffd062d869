#include "device_session.h"

#include "flight_files.h"

#include <QFileInfo>

#include <cstdio>

namespace vtl::cli {
namespace {} // namespace

bool StderrPrompter::showMessage(const std::string& text, const std::string&, PromptButtons) {
    std::fprintf(stderr, "%s\n", text.c_str());
    return true;
}

DeviceSession::DeviceSession(const CommandLine& args)
    : m_places(programSettingsPlaces(args)), m_settings(loadSettingsFor(m_places)),
      m_language(m_settings.language),
      m_port(QFileInfo(QString::fromStdString(m_places.homeFile())).absolutePath()),
      m_channel(m_port, m_clock, m_prompter, m_language),
      m_protocol(m_channel, m_clock, m_prompter, m_language, m_settings, m_priority) {
    if (const auto port = args.option("--port")) {
        m_protocol.setPortOverride(*port);
    }
    if (args.flag("--trace")) {
        m_protocol.setTrafficObserver(&m_trace);
    }
}

} // namespace vtl::cli
