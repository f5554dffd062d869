#include "core/shell/settings_keeper.h"

#include "core/shell/framework_texts.h"

#include <utility>

namespace vtl {

SettingsKeeper::SettingsKeeper(std::string path, Prompter& prompter)
    : m_path(std::move(path)), m_prompter(prompter), m_settings(defaultProgramSettings()) {}

void SettingsKeeper::load() {
    m_settings = loadProgramSettings(m_path);
}

bool SettingsKeeper::save() {
    if (saveProgramSettings(m_path, m_settings)) {
        return true;
    }
    if (!m_failureReported) {
        m_failureReported = true;
        m_prompter.showMessage(cannotCreateFileText(m_path), kExceptionCaption, PromptButtons::Ok);
    }
    return false;
}

} // namespace vtl
