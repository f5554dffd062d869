#pragma once

#include <string>

namespace vtl {

enum class PromptButtons { Ok, OkCancel };

// Everything that asks or tells the user goes through here, so that windows and the protocol can
// be driven by a script in tests. Texts are UTF-8.
class Prompter {
public:
    virtual ~Prompter() = default;

    // Shows a message box without owner window; true when the user answered OK.
    virtual bool showMessage(const std::string &text, const std::string &caption,
                             PromptButtons buttons) = 0;
};

} // namespace vtl
