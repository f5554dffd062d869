// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/scripted_prompter.h"

namespace vtl::testing {

bool ScriptedPrompter::showMessage(const std::string& text, const std::string& caption,
                                   PromptButtons buttons) {
    m_messages.push_back({text, caption, buttons});
    if (m_answers.empty()) {
        return true;
    }
    const bool answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

void ScriptedPrompter::answerNextMessages(std::vector<bool> answers) {
    m_answers.insert(m_answers.end(), answers.begin(), answers.end());
}

std::string ScriptedPrompter::chooseFile(FileDialog dialog, const std::string& initialName) {
    m_fileDialogs.emplace_back(dialog, initialName);
    if (m_files.empty()) {
        return {};
    }
    std::string name = m_files.front();
    m_files.pop_front();
    return name;
}

bool ScriptedPrompter::setUpPrinter(PrinterChoices& choices) {
    m_printerSetupsShown.push_back(choices);
    if (!m_printerChoices) {
        return false;
    }
    choices = *m_printerChoices;
    return true;
}

void ScriptedPrompter::answerNextFiles(std::vector<std::string> names) {
    m_files.insert(m_files.end(), names.begin(), names.end());
}

} // namespace vtl::testing
