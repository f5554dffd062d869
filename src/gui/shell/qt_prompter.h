// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/shell/language.h"
#include "core/shell/prompter.h"

#include <cstdint>

namespace vtl {

// Asks the user with Qt's standard message boxes and dialogs. The file dialogs are Qt's own, not
// the desktop's, so that they speak the program's language rather than the desktop's.
class QtPrompter : public Prompter {
public:
    // The titles and filters of the file dialogs follow this language; Polish until it is set.
    void followLanguage(const vtl::Language& language) { m_language = &language; }

    bool showMessage(const std::string& text, const std::string& caption,
                     PromptButtons buttons) override;
    std::string chooseFile(FileDialog dialog, const std::string& initialName) override;
    bool setUpPrinter(PrinterChoices& choices) override;
    bool openDocument(const std::string& path) override;

private:
    vtl::Language language() const {
        return m_language != nullptr ? *m_language : vtl::Language::Polish;
    }

    const vtl::Language* m_language = nullptr;
};

} // namespace vtl
