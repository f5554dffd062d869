// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/shell/settings_keeper.h"

#include "core/shell/framework_texts.h"
#include "core/shell/text_tables.h"
#include "core/shell/utf8_path.h"

#include <filesystem>
#include <system_error>
#include <utility>

namespace vtl {

SettingsKeeper::SettingsKeeper(SettingsPlaces places, Prompter& prompter)
    : m_places(std::move(places)), m_path(m_places.homeFile()), m_prompter(prompter),
      m_settings(defaultProgramSettings()) {}

SettingsKeeper::SettingsKeeper(std::string path, Prompter& prompter)
    : SettingsKeeper(SettingsPlaces::singleFile(path), prompter) {}

void SettingsKeeper::load() {
    SettingsLoad load = loadSettingsFrom(m_places);
    m_settings = load.settings;
    m_path = load.saveTo;
    m_pathUnreadable = load.saveTargetUnreadable();
    const std::string told = unreadableSettingsText(load, languageOf(m_settings.language));
    if (!told.empty()) {
        m_prompter.showMessage(told,
                               message(Message::ErrorCaption, languageOf(m_settings.language)),
                               PromptButtons::Ok);
    }
}

bool SettingsKeeper::save() {
    int error = 0;
    if (!m_pathUnreadable) {
        if (m_path == m_places.userFile && m_path != m_places.programFile) {
            // The configuration folder is made only when the program has something to put there.
            std::error_code ignored;
            std::filesystem::create_directories(utf8Path(m_path).parent_path(), ignored);
        }
        if (saveProgramSettings(m_path, m_settings, &error)) {
            return true;
        }
    }
    if (!m_failureReported) {
        m_failureReported = true;
        const std::string text =
            error != 0 ? cannotCreateFileText(m_path, error, languageOf(m_settings.language))
                       : cannotCreateFileText(m_path);
        m_prompter.showMessage(text, kExceptionCaption, PromptButtons::Ok);
    }
    return false;
}

} // namespace vtl
