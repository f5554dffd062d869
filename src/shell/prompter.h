#pragma once

#include <string>

namespace vtl {

enum class PromptButtons { Ok, OkCancel };

// The program's file dialogs: the open dialog shared by both loads, the save dialog shared by the
// measurement save and the export, and the picture dialog.
enum class FileDialog { Open, Save, Picture };

// Everything that asks or tells the user goes through here, so that windows and the protocol can
// be driven by a script in tests. Texts are UTF-8.
class Prompter {
public:
    virtual ~Prompter() = default;

    // Shows a message box without owner window; true when the user answered OK.
    virtual bool showMessage(const std::string& text, const std::string& caption,
                             PromptButtons buttons) = 0;

    // Shows a file dialog opened at the given name; empty when the user cancels.
    virtual std::string chooseFile(FileDialog dialog, const std::string& initialName) = 0;

    // Opens a document with the desktop's default viewer, without waiting for it.
    virtual void openDocument(const std::string& path) = 0;
};

} // namespace vtl
