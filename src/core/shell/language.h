// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace vtl {

// The language the program speaks. The settings file stores it as an int32 (ProgramSettings::
// language) that is kept as read, so a file from elsewhere survives a save unchanged; every other
// place works with this type and never with the stored number.
enum class Language { Polish, English };

// 0 is Polish; any other stored value, however odd, is English.
constexpr Language languageOf(int32_t stored) {
    return stored == 0 ? Language::Polish : Language::English;
}

// What the settings file stores when the user picks a language.
constexpr int32_t storedLanguage(Language language) {
    return language == Language::Polish ? 0 : 1;
}

} // namespace vtl
