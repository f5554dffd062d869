#pragma once

#include "shell/prompter.h"

namespace vtl {

// Asks the user with Qt's standard message boxes and dialogs.
class QtPrompter : public Prompter {
public:
    bool showMessage(const std::string& text, const std::string& caption,
                     PromptButtons buttons) override;
    std::string chooseFile(FileDialog dialog, const std::string& initialName) override;
    bool setUpPrinter(PrinterChoices& choices) override;
    bool openDocument(const std::string& path) override;
};

} // namespace vtl
