// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/shell/language.h"
#include "core/shell/program_settings.h"

#include <string>
#include <vector>

namespace vtl {

// The two files the settings may live in: the one beside the program, and the same name in the
// user's configuration folder for when the program's own may not be written or read.
//
// Which is read: where the program's file may be written (a personal copy, a build), that file,
// as always; the configuration folder's file is then not looked at. Otherwise the configuration
// folder's file, once the program has written it, since it holds the user's latest choices; until
// then the program's file (an administrator's defaults, or a copy that was made read-only).
// An existing file that cannot be read is never written over: the choices go to the
// configuration folder's file.
struct SettingsPlaces {
    std::string programFile;
    std::string userFile;
    // The program's folder and file may be written, and the program is not installed.
    bool programFileWritable = true;

    // One file, read and written whatever happens (a file named on a command line, tests).
    static SettingsPlaces singleFile(const std::string& path);

    // Where the settings belong when all is well; the port aliases lie in its folder.
    const std::string& homeFile() const { return programFileWritable ? programFile : userFile; }
};

struct SettingsLoad {
    ProgramSettings settings;
    std::string saveTo;
    // Files that exist but could not be read, in the order they were tried.
    std::vector<std::string> unreadable;

    // The save target is a file that could not be read, so it must not be written.
    bool saveTargetUnreadable() const;
};

// Defaults, overlaid with the file the rule above picks; nothing is written.
SettingsLoad loadSettingsFrom(const SettingsPlaces& places);

// "Cannot read the settings file …", one line for each unreadable file, then where the choices of
// this run will be saved (when that place is not itself one of them); empty when all could be read.
std::string unreadableSettingsText(const SettingsLoad& load, Language language);

} // namespace vtl
