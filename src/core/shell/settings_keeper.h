// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/shell/program_settings.h"
#include "core/shell/prompter.h"
#include "core/shell/settings_places.h"

#include <string>

namespace vtl {

// Owns the program's one settings record together with the files it is read from and saved to.
// An existing file that cannot be read is reported once, when the settings are loaded, and is
// never written over. A file that cannot be written is reported to the user once per run; the
// record in memory stays as it is.
class SettingsKeeper {
public:
    SettingsKeeper(SettingsPlaces places, Prompter& prompter);
    // One file, read and written.
    SettingsKeeper(std::string path, Prompter& prompter);

    void load();
    bool save();

    ProgramSettings& settings() { return m_settings; }
    const ProgramSettings& settings() const { return m_settings; }
    // Where the choices are saved: the program's file, or the configuration folder's instead.
    const std::string& path() const { return m_path; }
    const SettingsPlaces& places() const { return m_places; }

private:
    SettingsPlaces m_places;
    std::string m_path;
    bool m_pathUnreadable = false;
    Prompter& m_prompter;
    ProgramSettings m_settings;
    bool m_failureReported = false;
};

} // namespace vtl
