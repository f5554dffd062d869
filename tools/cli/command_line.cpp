// SPDX-License-Identifier: GPL-3.0-or-later
#include "command_line.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace vtl::cli {

CommandLine::CommandLine(std::vector<std::string> words, std::vector<std::string> flags,
                         std::vector<std::string> valuedOptions) {
    auto contains = [](const std::vector<std::string>& list, const std::string& word) {
        return std::find(list.begin(), list.end(), word) != list.end();
    };
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word.rfind("--", 0) != 0) {
            m_positional.push_back(word);
        } else if (contains(flags, word)) {
            m_flags.push_back(word);
        } else if (contains(valuedOptions, word)) {
            if (i + 1 >= words.size()) {
                throw UsageError(word + " needs a value");
            }
            m_options.emplace_back(word, words[++i]);
        } else {
            throw UsageError("unknown option " + word);
        }
    }
}

const std::string& CommandLine::positional(size_t index, const char* what) const {
    if (index >= m_positional.size()) {
        throw UsageError(std::string("missing ") + what);
    }
    return m_positional[index];
}

bool CommandLine::flag(const std::string& name) const {
    return std::find(m_flags.begin(), m_flags.end(), name) != m_flags.end();
}

std::optional<std::string> CommandLine::option(const std::string& name) const {
    for (auto it = m_options.rbegin(); it != m_options.rend(); ++it) {
        if (it->first == name) {
            return it->second;
        }
    }
    return std::nullopt;
}

std::optional<float> CommandLine::floatOption(const std::string& name) const {
    const auto text = option(name);
    if (!text) {
        return std::nullopt;
    }
    char* end = nullptr;
    errno = 0;
    const float value = std::strtof(text->c_str(), &end);
    if (text->empty() || *end != '\0' || errno != 0 || !std::isfinite(value)) {
        throw UsageError(name + " needs a number, not '" + *text + "'");
    }
    return value;
}

} // namespace vtl::cli
