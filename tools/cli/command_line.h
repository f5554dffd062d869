#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace vtl::cli {

// A usage or input error: printed as one line, exit status 1.
struct CommandError : std::runtime_error {
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
