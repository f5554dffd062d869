#pragma once

#include "core/shell/program_settings.h"
#include "core/shell/prompter.h"

#include <string>

namespace vtl {

// Owns the program's one settings record together with the file it lives in. A file that cannot
// be written is reported to the user once per run; the record in memory stays as it is.
class SettingsKeeper {
public:
    SettingsKeeper(std::string path, Prompter& prompter);

    void load();
    bool save();

    ProgramSettings& settings() { return m_settings; }
    const ProgramSettings& settings() const { return m_settings; }
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
    Prompter& m_prompter;
    ProgramSettings m_settings;
    bool m_failureReported = false;
};

} // namespace vtl
