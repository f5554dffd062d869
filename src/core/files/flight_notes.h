// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/shell/language.h"
#include "core/shell/text_tables.h"

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace vtl {

// The file beside the flights that holds their notes; a hidden name keeps it out of the log.
inline constexpr char kFlightNotesFileName[] = ".vantorel-notes";

// Why the notes could not be read or written, in either language.
class FlightNotesError : public std::runtime_error {
public:
    // `error` is the system's reason (an errno value) where there is one.
    FlightNotesError(Message which, std::string subject, int error = 0);

    std::string text(Language language) const;
    Message which() const { return m_which; }

private:
    static std::string compose(Message which, const std::string& subject, int error,
                               Language language);

    Message m_which;
    std::string m_subject;
    int m_error = 0;
};

// A note as found for a flight file. A stale note was written for other bytes under the file's
// name: the file changed since, and the note is shown as the old file's, not as this one's.
struct FoundNote {
    std::string text;
    bool stale = false;
};

// One record of the notes file: the flight's file name and the SHA-256 of its bytes, so that a
// renamed file keeps its note and a changed one is noticed.
struct NoteRecord {
    std::string file;
    std::string sha256;
    std::string note;
};

// The notes of one folder's flights, kept in its `.vantorel-notes` as UTF-8 JSON that a user
// can read and mend:
//   {
//     "format": 1,
//     "notes": [
//       { "file": "lot_0001.bin", "sha256": "<64 lower-case hex digits>", "note": "tow 40 m" }
//     ]
//   }
// The flight files themselves are never written.
class FlightNotes {
public:
    // Reads the folder's notes (none when there is no notes file). A file that cannot be read as
    // notes throws FlightNotesError (NotesDamaged), so that it is never written over.
    explicit FlightNotes(std::string folder);

    // The same name and bytes find their note; the same bytes under another name (a renamed
    // file) find it too; the same name with other bytes finds the old note, marked stale.
    std::optional<FoundNote> find(const std::string& fileName, const std::string& sha256) const;

    // Keeps the note for the file and writes the notes file through the safe writer; an empty
    // note removes the file's record. A record of the same bytes whose file is gone (the file
    // was renamed) is keyed to the new name. Throws FlightNotesError.
    void set(const std::string& fileName, const std::string& sha256, const std::string& note);

    const std::vector<NoteRecord>& records() const { return m_records; }

    static std::string jsonText(const std::vector<NoteRecord>& records);
    // Throws FlightNotesError (NotesDamaged) naming `fileName`.
    static std::vector<NoteRecord> parse(const std::string& text, const std::string& fileName);

private:
    std::string notesPath() const;

    std::string m_folder;
    std::vector<NoteRecord> m_records;
};

// The SHA-256 of a file's bytes as 64 lower-case hex digits; nothing when it cannot be read.
std::optional<std::string> fileSha256(const std::string& path);

// The note of a flight file, looked up in its folder's notes by the file's name and bytes.
// Throws FlightNotesError when the flight or the notes cannot be read.
std::optional<FoundNote> readFlightNote(const std::string& flightPath);
// Keeps the note of a flight file in its folder's notes (an empty note removes it).
void writeFlightNote(const std::string& flightPath, const std::string& note);

} // namespace vtl
