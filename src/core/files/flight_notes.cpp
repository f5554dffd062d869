// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/files/flight_notes.h"

#include "core/shell/atomic_file.h"
#include "core/shell/sha256.h"
#include "core/shell/utf8_path.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>

namespace vtl {

using nlohmann::ordered_json;

namespace {

constexpr int kFormatVersion = 1;

bool isHexDigest(const std::string& text) {
    return text.size() == 64 && std::all_of(text.begin(), text.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
           });
}

// A name with a folder in it would tie a note to a file elsewhere.
bool isPlainFileName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
           name.find('\\') == std::string::npos;
}

// The whole file; nothing when it does not exist; throws when it exists but cannot be read.
std::optional<std::string> readNotesFile(const std::string& path) {
    std::FILE* file = openUtf8File(path, "rb");
    if (!file) {
        if (errno == ENOENT) {
            return std::nullopt;
        }
        throw FlightNotesError(Message::NotesDamaged, path, errno);
    }
    std::string bytes;
    char buffer[65536];
    size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        bytes.append(buffer, got);
    }
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) {
        throw FlightNotesError(Message::NotesDamaged, path);
    }
    return bytes;
}

std::string folderOf(const std::string& flightPath) {
    const std::filesystem::path parent = utf8Path(flightPath).parent_path();
    return parent.empty() ? std::string(".") : utf8String(parent);
}

std::string fileNameOf(const std::string& flightPath) {
    return utf8String(utf8Path(flightPath).filename());
}

} // namespace

FlightNotesError::FlightNotesError(Message which, std::string subject, int error)
    : std::runtime_error(compose(which, subject, error, Language::English)), m_which(which),
      m_subject(std::move(subject)), m_error(error) {}

std::string FlightNotesError::compose(Message which, const std::string& subject, int error,
                                      Language language) {
    std::string out = messageWith(which, subject, language);
    if (error != 0) {
        out += ": " + systemReasonText(error, language);
    }
    return out;
}

std::string FlightNotesError::text(Language language) const {
    return compose(m_which, m_subject, m_error, language);
}

FlightNotes::FlightNotes(std::string folder) : m_folder(std::move(folder)) {
    const std::string path = notesPath();
    if (const std::optional<std::string> text = readNotesFile(path)) {
        m_records = parse(*text, path);
    }
}

// In the system's own separators, whichever the folder came in, as the messages name it.
std::string FlightNotes::notesPath() const {
    return utf8String((utf8Path(m_folder) / kFlightNotesFileName).make_preferred());
}

std::optional<FoundNote> FlightNotes::find(const std::string& fileName,
                                           const std::string& sha256) const {
    const auto exact = std::find_if(m_records.begin(), m_records.end(), [&](const NoteRecord& r) {
        return r.file == fileName && r.sha256 == sha256;
    });
    if (exact != m_records.end()) {
        return FoundNote{exact->note, false};
    }
    const auto renamed = std::find_if(m_records.begin(), m_records.end(),
                                      [&](const NoteRecord& r) { return r.sha256 == sha256; });
    if (renamed != m_records.end()) {
        return FoundNote{renamed->note, false};
    }
    const auto changed = std::find_if(m_records.begin(), m_records.end(),
                                      [&](const NoteRecord& r) { return r.file == fileName; });
    if (changed != m_records.end()) {
        return FoundNote{changed->note, true};
    }
    return std::nullopt;
}

void FlightNotes::set(const std::string& fileName, const std::string& sha256,
                      const std::string& note) {
    std::vector<NoteRecord> records = m_records;
    // Another file of the same bytes that still exists keeps its own record: copies may differ
    // in their notes. One whose file is gone was this file before a rename.
    const auto replaced = [&](const NoteRecord& r) {
        if (r.file == fileName) {
            return true;
        }
        std::error_code error;
        return r.sha256 == sha256 &&
               !std::filesystem::exists(utf8Path(m_folder) / utf8Path(r.file), error) && !error;
    };
    records.erase(std::remove_if(records.begin(), records.end(), replaced), records.end());
    if (!note.empty()) {
        records.push_back(NoteRecord{fileName, sha256, note});
    }
    const std::string path = notesPath();
    std::error_code error;
    if (records.empty() && m_records.empty() && !std::filesystem::exists(utf8Path(path), error)) {
        return; // no note to remove: no notes file is made for it
    }
    const std::string text = jsonText(records);
    int writeError = 0;
    if (!writeFileAtomically(path, reinterpret_cast<const uint8_t*>(text.data()), text.size(),
                             &writeError)) {
        throw FlightNotesError(Message::NotesWriteFailed, path, writeError);
    }
    m_records = std::move(records);
}

std::string FlightNotes::jsonText(const std::vector<NoteRecord>& records) {
    ordered_json root;
    root["format"] = kFormatVersion;
    root["notes"] = ordered_json::array();
    for (const NoteRecord& record : records) {
        ordered_json item;
        item["file"] = record.file;
        item["sha256"] = record.sha256;
        item["note"] = record.note;
        root["notes"].push_back(item);
    }
    try {
        // Indented and with its letters as they are, so that a user can read it.
        return root.dump(2, ' ', false, ordered_json::error_handler_t::strict) + '\n';
    } catch (const nlohmann::json::type_error&) {
        throw FlightNotesError(Message::NotesNotUtf8, std::string());
    }
}

std::vector<NoteRecord> FlightNotes::parse(const std::string& text, const std::string& fileName) {
    const ordered_json root = ordered_json::parse(text, nullptr, false);
    // A newer program's format is refused too: writing it back would lose what it added.
    if (!root.is_object() || !root.contains("format") || root["format"] != kFormatVersion ||
        !root.contains("notes") || !root["notes"].is_array()) {
        throw FlightNotesError(Message::NotesDamaged, fileName);
    }
    std::vector<NoteRecord> records;
    for (const ordered_json& item : root["notes"]) {
        if (!item.is_object() || !item.contains("file") || !item["file"].is_string() ||
            !item.contains("sha256") || !item["sha256"].is_string() || !item.contains("note") ||
            !item["note"].is_string()) {
            throw FlightNotesError(Message::NotesDamaged, fileName);
        }
        NoteRecord record{item["file"].get<std::string>(), item["sha256"].get<std::string>(),
                          item["note"].get<std::string>()};
        if (!isPlainFileName(record.file) || !isHexDigest(record.sha256)) {
            throw FlightNotesError(Message::NotesDamaged, fileName);
        }
        records.push_back(std::move(record));
    }
    return records;
}

std::optional<std::string> fileSha256(const std::string& path) {
    std::FILE* file = openUtf8File(path, "rb");
    if (!file) {
        return std::nullopt;
    }
    Sha256 hasher;
    uint8_t buffer[65536];
    size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        hasher.add(buffer, got);
    }
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) {
        return std::nullopt;
    }
    return hasher.hexDigest();
}

std::optional<FoundNote> readFlightNote(const std::string& flightPath) {
    const std::optional<std::string> sha256 = fileSha256(flightPath);
    if (!sha256) {
        throw FlightNotesError(Message::NotesNoFlight, flightPath, errno);
    }
    return FlightNotes(folderOf(flightPath)).find(fileNameOf(flightPath), *sha256);
}

void writeFlightNote(const std::string& flightPath, const std::string& note) {
    const std::optional<std::string> sha256 = fileSha256(flightPath);
    if (!sha256) {
        throw FlightNotesError(Message::NotesNoFlight, flightPath, errno);
    }
    FlightNotes notes(folderOf(flightPath));
    notes.set(fileNameOf(flightPath), *sha256, note);
}

} // namespace vtl
