// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/shell/text_tables.h"

#include "core/shell/framework_texts.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace vtl {
namespace {

TEST(TextTables, AnyNonzeroLanguageIsEnglish) {
    for (const int32_t language : {1, 2, 7, -1}) {
        EXPECT_EQ(caption(MainCaption::ZeroButton, language), "Clear");
        EXPECT_EQ(message(Message::NoData, language), "No data");
    }
    EXPECT_EQ(caption(MainCaption::ZeroButton, 0), "Zerowanie");
}

TEST(TextTables, BlanksAndPolishLettersAreKept) {
    EXPECT_EQ(caption(MainCaption::Comparison, 1), "Compare   ");
    EXPECT_EQ(caption(MainCaption::Acceleration, 1), "Acceleration  ");
    EXPECT_EQ(caption(MainCaption::WaitIndicator, 0), "     Czekaj");
    EXPECT_EQ(caption(MainCaption::WaitIndicator, 1), "      Wait");
    EXPECT_EQ(caption(MainCaption::WindowCaption, 0), "Vantorel BMP    Ver. 12.2013");
    EXPECT_EQ(caption(MainCaption::ReadFrom, 0), "Odczyt z: ");
    EXPECT_EQ(caption(MainCaption::Comparison, 0), "Porównanie");
    EXPECT_EQ(caption(SettingsCaption::ManualZeroing, 0), "Zerowanie ręczne");
    EXPECT_EQ(caption(FilterCaption::FinalFilter, 0), "Filtr dokladny [6-30]");
    EXPECT_EQ(message(Message::PortError, 0), "Błąd komunikacji z portem: ");
    EXPECT_EQ(message(Message::WrongTemperature, 0), "Zła wartośc temperatury");
    EXPECT_EQ(message(Message::CorruptFlight, 1), "Corrupt flight data");
}

TEST(TextTables, IncompleteDownloadSaysHowManyBytesOfHowMany) {
    EXPECT_EQ(incompleteDownloadText(1200, 3008, 0),
              "Niepełny odczyt: odebrano 1200 z 3008 bajtów");
    EXPECT_EQ(incompleteDownloadText(1200, 3008, 1),
              "Incomplete download: received 1200 of 3008 bytes");
    // Without an announced size the second number is left out.
    EXPECT_EQ(incompleteDownloadText(90000, 0, 0), "Niepełny odczyt: odebrano 90000 bajtów");
    EXPECT_EQ(incompleteDownloadText(90000, 0, 1), "Incomplete download: received 90000 bytes");
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
                          Case{EIO, "błąd systemu nr 5", "system error 5"}}) {
        EXPECT_EQ(cannotCreateFileText("/a/lot.bin", c.error, 0),
                  std::string("Cannot create file /a/lot.bin (") + c.polish + ")");
        EXPECT_EQ(cannotCreateFileText("/a/lot.bin", c.error, 1),
                  std::string("Cannot create file /a/lot.bin (") + c.english + ")");
    }
    // Where no reason is known the framework's text stands alone.
    EXPECT_EQ(cannotCreateFileText("/a/lot.bin", 0, 0), "Cannot create file /a/lot.bin");
    EXPECT_EQ(isAFolderText("/home/ala/loty", 0), "/home/ala/loty jest folderem");
    EXPECT_EQ(isAFolderText("/home/ala/loty", 1), "/home/ala/loty is a folder");
}

} // namespace
} // namespace vtl
