#pragma once

#include "shell/prompter.h"

#include <deque>
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

    bool showMessage(const std::string &text, const std::string &caption,
                     PromptButtons buttons) override;

    // Answers for the next confirmations, in order; without one, OK is answered.
    void answerNextMessages(std::vector<bool> answers);

    const std::vector<Message> &messages() const { return m_messages; }
    void clear() { m_messages.clear(); }

private:
    std::vector<Message> m_messages;
    std::deque<bool> m_answers;
};

} // namespace vtl::testing
