// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace vtl::cli {

// An input or device error: printed as one line, exit status 1.
struct CommandError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A command line the program cannot make sense of (an unknown option, a missing argument, a value
// that is no number): the line and the usage, exit status 2.
struct UsageError : CommandError {
    using CommandError::CommandError;
};

// A failure that has already been told on stderr in the program's own words: exit status 1 and
// nothing more is printed.
struct ToldFailure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A command that did its work on incomplete input: the line is printed as it is, exit status 3.
struct IncompleteResult : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The words after the command name: positional arguments and --options.
class CommandLine {
public:
    CommandLine(std::vector<std::string> words, std::vector<std::string> flags,
                std::vector<std::string> valuedOptions);

    const std::string& positional(size_t index, const char* what) const;
    size_t positionalCount() const { return m_positional.size(); }
    bool flag(const std::string& name) const;
    std::optional<std::string> option(const std::string& name) const;
    std::optional<float> floatOption(const std::string& name) const;

private:
    std::vector<std::string> m_positional;
    std::vector<std::string> m_flags;
    std::vector<std::pair<std::string, std::string>> m_options;
};

} // namespace vtl::cli
