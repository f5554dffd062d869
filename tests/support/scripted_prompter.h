// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/shell/prompter.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace vtl::testing {

// A prompter that records what the program shows and answers from a script.
class ScriptedPrompter : public Prompter {
public:
    struct Message {
        std::string text;
        std::string caption;
        PromptButtons buttons;
    };

    bool showMessage(const std::string& text, const std::string& caption,
                     PromptButtons buttons) override;
    // Records the document; the desktop opens it unless told it has no viewer.
    bool openDocument(const std::string& path) override {
        m_documents.push_back(path);
        return m_desktopOpensDocuments;
    }
    void answerDocumentsCannotBeOpened() { m_desktopOpensDocuments = false; }
    std::string chooseFile(FileDialog dialog, const std::string& initialName) override;
    // The printer set-up answers with the scripted choices (OK), or is cancelled without them.
    bool setUpPrinter(PrinterChoices& choices) override;
    void answerPrinterSetup(PrinterChoices choices) { m_printerChoices = std::move(choices); }
    int printerSetups() const { return static_cast<int>(m_printerSetupsShown.size()); }
    // The choices each set-up dialog opened with.
    const std::vector<PrinterChoices>& printerSetupsShown() const { return m_printerSetupsShown; }

    // Names the next file dialogs return, in order; without one, the dialog is cancelled.
    void answerNextFiles(std::vector<std::string> names);
    // The dialogs shown, with the name each opened at.
    const std::vector<std::pair<FileDialog, std::string>>& fileDialogs() const {
        return m_fileDialogs;
    }

    // Answers for the next confirmations, in order; without one, OK is answered.
    void answerNextMessages(std::vector<bool> answers);

    const std::vector<Message>& messages() const { return m_messages; }
    const std::vector<std::string>& openedDocuments() const { return m_documents; }
    void clear() { m_messages.clear(); }

private:
    std::vector<Message> m_messages;
    std::deque<bool> m_answers;
    std::vector<std::string> m_documents;
    std::deque<std::string> m_files;
    std::vector<std::pair<FileDialog, std::string>> m_fileDialogs;
    std::optional<PrinterChoices> m_printerChoices;
    std::vector<PrinterChoices> m_printerSetupsShown;
    bool m_desktopOpensDocuments = true;
};

} // namespace vtl::testing
