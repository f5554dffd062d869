// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/files/flight_notes.h"

#include "support/test_files.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace vtl {
namespace {

namespace fs = std::filesystem;

using testing::readBytes;
using testing::readText;
using testing::writeBytes;
using testing::writeText;

std::string pathText(const fs::path& path) {
    return path.string();
}

class FlightNotesFolder : public ::testing::Test {
protected:
    void SetUp() override {
        writeBytes(folder / "a.bin", {1, 2, 3, 4});
        writeBytes(folder / "b.bin", {9, 8, 7});
    }

    std::optional<FoundNote> noteOf(const std::string& name) {
        return readFlightNote(pathText(folder / name));
    }

    testing::TemporaryFolder folder;
};

TEST_F(FlightNotesFolder, NoteIsKeptPerFlightAndTheFlightsStayAsTheyWere) {
    EXPECT_FALSE(noteOf("a.bin"));
    writeFlightNote(pathText(folder / "a.bin"), "tow 40 m");
    writeFlightNote(pathText(folder / "b.bin"), "windy");
    ASSERT_TRUE(noteOf("a.bin"));
    EXPECT_EQ(noteOf("a.bin")->text, "tow 40 m");
    EXPECT_FALSE(noteOf("a.bin")->stale);
    EXPECT_EQ(noteOf("b.bin")->text, "windy");
    EXPECT_EQ(readBytes(folder / "a.bin"), (std::vector<uint8_t>{1, 2, 3, 4}));
    EXPECT_EQ(readBytes(folder / "b.bin"), (std::vector<uint8_t>{9, 8, 7}));
    // Written again, the note replaces the old one instead of adding a second record.
    writeFlightNote(pathText(folder / "a.bin"), "tow 45 m");
    EXPECT_EQ(noteOf("a.bin")->text, "tow 45 m");
    EXPECT_EQ(FlightNotes(pathText(folder.path())).records().size(), 2u);
}

TEST_F(FlightNotesFolder, RenamedFileFindsItsNoteByHashAndTakesItUnderItsNewName) {
    writeFlightNote(pathText(folder / "a.bin"), "best of the day");
    fs::rename(folder / "a.bin", folder / "renamed.bin");
    ASSERT_TRUE(noteOf("renamed.bin"));
    EXPECT_EQ(noteOf("renamed.bin")->text, "best of the day");
    EXPECT_FALSE(noteOf("renamed.bin")->stale);

    writeFlightNote(pathText(folder / "renamed.bin"), "best of the day, 52 m");
    const std::vector<NoteRecord> records = FlightNotes(pathText(folder.path())).records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].file, "renamed.bin");
    EXPECT_EQ(records[0].note, "best of the day, 52 m");
}

TEST_F(FlightNotesFolder, CopyThatStillExistsKeepsItsOwnNote) {
    writeFlightNote(pathText(folder / "a.bin"), "original");
    fs::copy_file(folder / "a.bin", folder / "copy.bin");
    EXPECT_EQ(noteOf("copy.bin")->text, "original"); // the same bytes: found by hash
    writeFlightNote(pathText(folder / "copy.bin"), "the copy");
    EXPECT_EQ(noteOf("a.bin")->text, "original");
    EXPECT_EQ(noteOf("copy.bin")->text, "the copy");
}

TEST_F(FlightNotesFolder, ChangedFileShowsTheOldNoteAsStaleUntilWrittenAnew) {
    writeFlightNote(pathText(folder / "a.bin"), "before the change");
    writeBytes(folder / "a.bin", {1, 2, 3, 5});
    ASSERT_TRUE(noteOf("a.bin"));
    EXPECT_TRUE(noteOf("a.bin")->stale);
    EXPECT_EQ(noteOf("a.bin")->text, "before the change");

    writeFlightNote(pathText(folder / "a.bin"), "after the change");
    EXPECT_FALSE(noteOf("a.bin")->stale);
    EXPECT_EQ(noteOf("a.bin")->text, "after the change");
    EXPECT_EQ(FlightNotes(pathText(folder.path())).records().size(), 1u);
}

TEST_F(FlightNotesFolder, EmptyNoteRemovesTheRecord) {
    // No note to remove: no notes file is made.
    writeFlightNote(pathText(folder / "a.bin"), "");
    EXPECT_FALSE(fs::exists(folder / kFlightNotesFileName));

    writeFlightNote(pathText(folder / "a.bin"), "first");
    writeFlightNote(pathText(folder / "b.bin"), "second");
    writeFlightNote(pathText(folder / "a.bin"), "");
    EXPECT_FALSE(noteOf("a.bin"));
    EXPECT_EQ(noteOf("b.bin")->text, "second");
    EXPECT_EQ(FlightNotes(pathText(folder.path())).records().size(), 1u);
}

TEST_F(FlightNotesFolder, NonAsciiTextIsKeptAndWrittenAsReadableUtf8) {
    const std::string note = "Wiatr 3 m/s, żółw \"ąę\"\nnowa linia — 風";
    writeFlightNote(pathText(folder / "a.bin"), note);
    EXPECT_EQ(noteOf("a.bin")->text, note);
    const std::string file = readText(folder / kFlightNotesFileName);
    EXPECT_NE(file.find("żółw"), std::string::npos) << file;
    EXPECT_NE(file.find("\"file\": \"a.bin\""), std::string::npos) << file;
}

TEST_F(FlightNotesFolder, NoteThatIsNotUtf8IsRefusedAndNothingIsWritten) {
    writeFlightNote(pathText(folder / "b.bin"), "kept");
    const std::string before = readText(folder / kFlightNotesFileName);
    try {
        writeFlightNote(pathText(folder / "a.bin"), "bad \xff byte");
        FAIL() << "a note that is not UTF-8 was taken";
    } catch (const FlightNotesError& error) {
        EXPECT_EQ(error.which(), Message::NotesNotUtf8);
    }
    EXPECT_EQ(readText(folder / kFlightNotesFileName), before);
}

TEST_F(FlightNotesFolder, DamagedNotesFileIsRefusedAndNeverWrittenOver) {
    const std::string sha = std::string(64, 'a');
    const std::vector<std::string> damaged = {
        "{ not json",
        "[]",
        R"({"notes": []})",
        R"({"format": 2, "notes": []})",
        R"({"format": 1, "notes": {}})",
        R"({"format": 1, "notes": [{"file": "a.bin", "sha256": "12", "note": "x"}]})",
        R"({"format": 1, "notes": [{"file": "a.bin", "sha256": ")" + sha + R"(", "note": 5}]})",
        R"({"format": 1, "notes": [{"file": "../a.bin", "sha256": ")" + sha +
            R"(", "note": "x"}]})",
        R"({"format": 1, "notes": [{"sha256": ")" + sha + R"(", "note": "x"}]})",
    };
    for (const std::string& text : damaged) {
        SCOPED_TRACE(text);
        writeText(folder / kFlightNotesFileName, text);
        try {
            writeFlightNote(pathText(folder / "a.bin"), "new");
            FAIL() << "a damaged notes file was written over";
        } catch (const FlightNotesError& error) {
            EXPECT_EQ(error.which(), Message::NotesDamaged);
            EXPECT_NE(std::string(error.what()).find(kFlightNotesFileName), std::string::npos);
            EXPECT_NE(error.text(Language::Polish).find("Nie można odczytać pliku uwag"),
                      std::string::npos);
        }
        EXPECT_EQ(readText(folder / kFlightNotesFileName), text);
        EXPECT_THROW(noteOf("a.bin"), FlightNotesError);
    }
}

TEST_F(FlightNotesFolder, DamagedNotesFileIsNamedInTheSystemsSeparators) {
    // The windows name a flight with '/' on every system.
    writeText(folder / kFlightNotesFileName, "{ not json");
    try {
        readFlightNote(folder.path().generic_string() + "/a.bin");
        FAIL() << "a damaged notes file was read";
    } catch (const FlightNotesError& error) {
        const fs::path notes = fs::path(folder / kFlightNotesFileName).make_preferred();
        EXPECT_NE(std::string(error.what()).find(notes.string()), std::string::npos)
            << error.what();
    }
}

TEST_F(FlightNotesFolder, MissingFlightIsNamedInTheError) {
    try {
        noteOf("gone.bin");
        FAIL() << "a missing flight had a note looked up";
    } catch (const FlightNotesError& error) {
        EXPECT_EQ(error.which(), Message::NotesNoFlight);
        EXPECT_NE(std::string(error.what()).find("gone.bin"), std::string::npos);
    }
}

} // namespace
} // namespace vtl
