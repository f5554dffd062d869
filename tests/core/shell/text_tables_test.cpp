// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/shell/text_tables.h"

#include "core/shell/framework_texts.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace vtl {
namespace {

TEST(TextTables, AnyNonzeroLanguageIsEnglish) {
    for (const int32_t stored : {1, 2, 7, -1}) {
        EXPECT_EQ(caption(MainCaption::ZeroButton, languageOf(stored)), "Clear");
        EXPECT_EQ(message(Message::NoData, languageOf(stored)), "No data");
    }
    EXPECT_EQ(caption(MainCaption::ZeroButton, Language::Polish), "Zerowanie");
}

TEST(TextTables, BlanksAndPolishLettersAreKept) {
    EXPECT_EQ(caption(MainCaption::Comparison, Language::English), "Compare   ");
    EXPECT_EQ(caption(MainCaption::Acceleration, Language::English), "Acceleration  ");
    EXPECT_EQ(caption(MainCaption::WaitIndicator, Language::Polish), "     Czekaj");
    EXPECT_EQ(caption(MainCaption::WaitIndicator, Language::English), "      Wait");
    EXPECT_EQ(caption(MainCaption::WindowCaption, Language::Polish),
              "Vantorel BMP    Ver. 12.2013");
    EXPECT_EQ(caption(MainCaption::ReadFrom, Language::Polish), "Odczyt z: ");
    EXPECT_EQ(caption(MainCaption::Comparison, Language::Polish), "Porównanie");
    EXPECT_EQ(caption(SettingsCaption::ManualZeroing, Language::Polish), "Zerowanie ręczne");
    EXPECT_EQ(caption(FilterCaption::FinalFilter, Language::Polish), "Filtr dokladny [6-30]");
    EXPECT_EQ(message(Message::PortError, Language::Polish), "Błąd komunikacji z portem: ");
    EXPECT_EQ(message(Message::WrongTemperature, Language::Polish), "Zła wartośc temperatury");
    EXPECT_EQ(message(Message::CorruptFlight, Language::English), "Corrupt flight data");
}

TEST(TextTables, IncompleteDownloadSaysHowManyBytesOfHowMany) {
    EXPECT_EQ(incompleteDownloadText(1200, 3008, Language::Polish),
              "Niepełny odczyt: odebrano 1200 z 3008 bajtów");
    EXPECT_EQ(incompleteDownloadText(1200, 3008, Language::English),
              "Incomplete download: received 1200 of 3008 bytes");
    // Without an announced size the second number is left out.
    EXPECT_EQ(incompleteDownloadText(90000, 0, Language::Polish),
              "Niepełny odczyt: odebrano 90000 bajtów");
    EXPECT_EQ(incompleteDownloadText(90000, 0, Language::English),
              "Incomplete download: received 90000 bytes");
}

TEST(TextTables, AFailedCreateSaysWhyInTheCurrentLanguage) {
    struct Case {
        int error;
        const char* polish;
        const char* english;
    };
    for (const Case& c : {Case{EROFS, "system plików tylko do odczytu", "read-only file system"},
                          Case{ENOSPC, "brak miejsca na dysku", "no space left on the disk"},
#ifdef EDQUOT
                          Case{EDQUOT, "brak miejsca na dysku", "no space left on the disk"},
#endif
                          Case{ENOENT, "nie ma takiego folderu", "no such folder"},
                          Case{ENOTDIR, "nie ma takiego folderu", "no such folder"},
                          Case{EACCES, "brak uprawnień", "permission denied"},
                          Case{EISDIR, "to jest folder", "it is a folder"},
                          Case{ENXIO, "brak urządzenia", "no such device"},
                          Case{ENAMETOOLONG, "nazwa za długa", "name too long"},
#ifdef ELOOP
                          Case{ELOOP, "pętla dowiązań symbolicznych", "a loop of symbolic links"},
#endif
                          Case{EIO, "błąd systemu nr 5", "system error 5"}}) {
        EXPECT_EQ(cannotCreateFileText("/a/lot.bin", c.error, Language::Polish),
                  std::string("Cannot create file /a/lot.bin (") + c.polish + ")");
        EXPECT_EQ(cannotCreateFileText("/a/lot.bin", c.error, Language::English),
                  std::string("Cannot create file /a/lot.bin (") + c.english + ")");
    }
    // Where no reason is known the framework's text stands alone.
    EXPECT_EQ(cannotCreateFileText("/a/lot.bin", 0, Language::Polish),
              "Cannot create file /a/lot.bin");
    EXPECT_EQ(folderUnreadableText("/media/card", EACCES, Language::Polish),
              "Nie można odczytać folderu /media/card: brak uprawnień");
    EXPECT_EQ(folderUnreadableText("/media/card", ENOENT, Language::English),
              "Cannot read the folder /media/card: no such folder");
    EXPECT_EQ(isAFolderText("/home/ala/loty", Language::Polish), "/home/ala/loty jest folderem");
    EXPECT_EQ(isAFolderText("/home/ala/loty", Language::English), "/home/ala/loty is a folder");
}

} // namespace
} // namespace vtl
