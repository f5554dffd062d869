// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/flight/flight_figures.h"

#include <atomic>
#include <cstdint>
#include <ctime>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vtl {

struct FlightRecord;

// What reading a file of the log gave. A file that is not a whole flight still has its row, so
// the user sees what lies in the folder.
enum class LogStatus { Ok, Partial, Corrupt, Unreadable, NotAFlight };

// "ok", "partial", "corrupt", "unreadable", "not a flight": the words of the CSV and the JSON.
const char* logStatusName(LogStatus status);

// One file of the folder, with what its header and its drawn curve tell.
struct FlightLogRow {
    std::string fileName;
    uint64_t size = 0;
    int64_t modifiedTicks = 0; // the file system's own time stamp: the cache key, never shown
    std::time_t modified = 0;
    // "YYYY-MM-DD HH:MM:SS", local time: from the archive name where the file has one, else the
    // modification time. Newest first sorts by this text.
    std::string downloaded;
    bool downloadedFromName = false;
    LogStatus status = LogStatus::Unreadable;
    std::optional<int> serialNumber;
    std::optional<int> competitorNumber;
    std::optional<int> samplingCode;
    std::optional<int> temperature; // the header's start temperature, whole degrees Celsius
    FlightFigures figures;
    // The flight's note from the folder's notes file, read at every listing and never cached;
    // stale when it was written for other bytes under this name.
    std::string note;
    bool noteStale = false;
};

// The download time written in an archive name ("2026-06-14_103512_S1234_C42..."), as
// "2026-06-14 10:35:12"; empty when the name is not an archive name.
std::string downloadTimeFromName(const std::string& fileName);

// What reading a file needs beside its row: the file's bytes, a record and the drawn curve. One
// kept by each reading thread is reused from file to file.
struct FlightFileScratch {
    FlightFileScratch();
    ~FlightFileScratch();
    std::vector<uint8_t> bytes;
    std::vector<int32_t> plotted;
    std::unique_ptr<FlightRecord> record;
};

// Reads one measurement file into its row (the file's name, size and time are the caller's).
// Converts the flight once, as a load does, and smooths its curve as the window's drawing pass
// does, so that the figures agree with what the window shows. Threads may read at once, each
// with its own scratch.
void readFlightLogFile(const std::string& path, FlightLogRow& row, FlightFileScratch& scratch);
void readFlightLogFile(const std::string& path, FlightLogRow& row);

// The name of the cache kept in a listed folder. Files whose names start with '.' are not listed.
constexpr const char* kFlightLogCacheName = ".vantorel-log-cache";

// Called with each row as it is ready (newest first), its index and how many rows there will be,
// always on the thread that lists the folder.
using FlightLogProgress = std::function<void(const FlightLogRow& row, size_t index, size_t total)>;

// Lists the files of the folder, newest first. Rows whose file has the size and time stamp the
// cache noted are taken from the cache; the others are read, on one thread a core, and the cache
// is written anew when anything changed (where the folder may be written). Each row gets its note
// from the folder's notes file (a damaged one gives no notes). A bad file or cache stops nothing.
// Setting `cancel` ends the scan early with the rows so far. The cache is only ever a regular file
// this program wrote: whatever else has its name (a link, a folder, a pipe, another file) is
// neither read nor written, and `foreignCache` is set then. A folder that cannot be listed
// (missing, not a folder, not readable) gives no rows and its errno value in `folderError`, which
// is 0 otherwise.
std::vector<FlightLogRow> scanFlightLog(const std::string& folder,
                                        const FlightLogProgress& progress = {},
                                        const std::atomic<bool>* cancel = nullptr,
                                        bool* foreignCache = nullptr, int* folderError = nullptr);

// The cache's text for these rows, and the rows read back from it; nothing when the text is not
// a whole cache this program wrote or a value fails its bounds.
std::string flightLogCacheText(const std::vector<FlightLogRow>& rows);
std::optional<std::vector<FlightLogRow>> parseFlightLogCache(const std::string& text);

// A figure as text with the given decimals ('.' unless told), or empty when absent.
std::string figureText(const std::optional<double>& value, int decimals,
                       char decimalSeparator = '.');

// The rows as CSV: a header line, then one line a row; UTF-8, '.' decimals, RFC 4180 quoting.
// The note is the last column.
std::string flightLogCsv(const std::vector<FlightLogRow>& rows);

} // namespace vtl
