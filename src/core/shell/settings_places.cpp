// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/shell/settings_places.h"

#include "core/shell/text_tables.h"

#include <algorithm>

namespace vtl {
namespace {

std::string withPath(std::string text, const std::string& path) {
    const size_t at = text.find("%s");
    return at == std::string::npos ? text + path : text.replace(at, 2, path);
}

// A backslash is a letter of a name on Linux and a separator on Windows.
#ifdef _WIN32
constexpr const char* kSeparators = "/\\";
#else
constexpr const char* kSeparators = "/";
#endif

std::string folderOf(const std::string& path) {
    const size_t end = path.find_last_of(kSeparators);
    return end == std::string::npos ? std::string(".") : path.substr(0, std::max<size_t>(end, 1));
}

} // namespace

SettingsPlaces SettingsPlaces::singleFile(const std::string& path) {
    return SettingsPlaces{path, path, true};
}

bool SettingsLoad::saveTargetUnreadable() const {
    return std::find(unreadable.begin(), unreadable.end(), saveTo) != unreadable.end();
}

SettingsLoad loadSettingsFrom(const SettingsPlaces& places) {
    SettingsLoad load;
    load.settings = defaultProgramSettings();
    const auto tryRead = [&load](const std::string& path) {
        const SettingsFileState state = readProgramSettings(path, load.settings);
        if (state == SettingsFileState::Unreadable) {
            load.unreadable.push_back(path);
        }
        return state == SettingsFileState::Read;
    };

    bool programFileTried = false;
    if (places.programFileWritable) {
        programFileTried = true;
        if (tryRead(places.programFile) || load.unreadable.empty() ||
            places.userFile == places.programFile) {
            load.saveTo = places.programFile;
            return load;
        }
    }
    load.saveTo = places.userFile;
    if (!tryRead(places.userFile) && !programFileTried) {
        tryRead(places.programFile);
    }
    return load;
}

std::string unreadableSettingsText(const SettingsLoad& load, Language language) {
    std::string text;
    for (const std::string& path : load.unreadable) {
        text += (text.empty() ? "" : "\n") +
                withPath(message(Message::SettingsUnreadable, language), path);
    }
    if (!text.empty() && !load.saveTargetUnreadable()) {
        text += "\n" + withPath(message(Message::SettingsSavedIn, language), folderOf(load.saveTo));
    }
    return text;
}

} // namespace vtl
