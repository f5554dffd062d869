// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/shell/language.h"

#include <gtest/gtest.h>

#include <limits>

namespace vtl {
namespace {

// The settings file may hold any int32 at the language's place: only 0 is Polish.
TEST(Language, OnlyAStoredZeroIsPolish) {
    EXPECT_EQ(languageOf(0), Language::Polish);
    for (const int32_t stored :
         {1, 2, -1, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()}) {
        EXPECT_EQ(languageOf(stored), Language::English) << stored;
    }
}

// A choice is stored as the program has always written it, and reads back as the same choice.
TEST(Language, AChoiceIsStoredAsZeroOrOne) {
    EXPECT_EQ(storedLanguage(Language::Polish), 0);
    EXPECT_EQ(storedLanguage(Language::English), 1);
    for (const Language language : {Language::Polish, Language::English}) {
        EXPECT_EQ(languageOf(storedLanguage(language)), language);
    }
}

} // namespace
} // namespace vtl
