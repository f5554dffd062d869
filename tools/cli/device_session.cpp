#include "device_session.h"

#include "shell/settings_location.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>

namespace vtl::cli {
namespace {

// The settings file of the program beside this tool.
std::string programSettingsPath() {
    const QString program = QCoreApplication::applicationDirPath() + QStringLiteral("/vantorel");
    return resolveSettingsFilePath(program).toStdString();
}

} // namespace

bool StderrPrompter::showMessage(const std::string& text, const std::string&, PromptButtons) {
    std::fprintf(stderr, "%s\n", text.c_str());
    return true;
}

DeviceSession::DeviceSession(const CommandLine& args)
    : m_settingsPath(args.option("--settings").value_or(programSettingsPath())),
      m_settings(loadProgramSettings(m_settingsPath)), m_language(m_settings.language),
      m_port(QFileInfo(QString::fromStdString(m_settingsPath)).absolutePath()),
      m_channel(m_port, m_clock, m_prompter, m_language),
      m_protocol(m_channel, m_clock, m_prompter, m_language, m_settings, m_priority) {
    if (const auto port = args.option("--port")) {
        m_protocol.setPortOverride(*port);
    }
}

} // namespace vtl::cli
