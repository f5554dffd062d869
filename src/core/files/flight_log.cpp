// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/files/flight_log.h"

#include "core/files/flight_archive.h"
#include "core/files/flight_notes.h"
#include "core/files/measurement_file.h"
#include "core/flight/flight_drawing.h"
#include "core/flight/flight_image.h"
#include "core/flight/flight_plausibility.h"
#include "core/flight/flight_record.h"
#include "core/shell/atomic_file.h"
#include "core/shell/csv_field.h"
#include "core/shell/local_time.h"
#include "core/shell/ordered_workers.h"
#include "core/shell/utf8_path.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <system_error>

namespace vtl {
namespace fs = std::filesystem;

namespace {

// Raise the number whenever a row gains a field or its figures are computed differently: a cache
// of another number is rebuilt.
constexpr const char* kCacheMagic = "vantorel-log-cache 2";
constexpr size_t kCacheFields = 15;
// A cache for thousands of flights takes well under a megabyte; anything far larger is not ours.
constexpr uintmax_t kCacheSizeLimit = 64u * 1024 * 1024;

std::string localTimeText(const std::tm& local) {
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

std::time_t toTimeT(fs::file_time_type stamp) {
    // The file clock's epoch is not the system clock's in C++17; both are read now to bridge them.
    const auto system = std::chrono::system_clock::now() +
                        std::chrono::duration_cast<std::chrono::system_clock::duration>(
                            stamp - fs::file_time_type::clock::now());
    return std::chrono::system_clock::to_time_t(system);
}

void appendNumber(std::string& out, double value) {
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    out.append(text, result.ptr);
}

void appendOptional(std::string& out, const std::optional<int>& value) {
    out += value ? std::to_string(*value) : "-";
}

void appendOptional(std::string& out, const std::optional<double>& value) {
    if (value) {
        appendNumber(out, *value);
    } else {
        out += '-';
    }
}

std::vector<std::string> splitTabs(const std::string& line) {
    std::vector<std::string> fields;
    size_t from = 0;
    for (;;) {
        const size_t tab = line.find('\t', from);
        fields.push_back(
            line.substr(from, tab == std::string::npos ? std::string::npos : tab - from));
        if (tab == std::string::npos) {
            return fields;
        }
        from = tab + 1;
    }
}

template <typename Number> bool parseWhole(const std::string& text, Number& value) {
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return result.ec == std::errc() && result.ptr == text.data() + text.size();
}

bool parseOptional(const std::string& text, int lowest, int highest, std::optional<int>& value) {
    if (text == "-") {
        value.reset();
        return true;
    }
    int number = 0;
    if (!parseWhole(text, number) || number < lowest || number > highest) {
        return false;
    }
    value = number;
    return true;
}

bool parseOptional(const std::string& text, std::optional<double>& value) {
    if (text == "-") {
        value.reset();
        return true;
    }
    double number = 0.0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), number);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size() ||
        !std::isfinite(number)) {
        return false;
    }
    value = number;
    return true;
}

// A name the cache can hold on one line of tab-separated fields.
bool cacheableName(const std::string& name) {
    return !name.empty() && name != "-" && name.find_first_of("\t\n\r/") == std::string::npos;
}

bool newerFirst(const FlightLogRow& a, const FlightLogRow& b) {
    if (a.downloaded != b.downloaded) {
        return a.downloaded > b.downloaded;
    }
    return a.fileName > b.fileName;
}

// What stands at the cache's place, taken as it is: a link there is not followed.
enum class CacheSpot { Empty, Cache, Other };

bool regularAndNoLink(const fs::path& path, bool& empty) {
    std::error_code error;
    const fs::file_status status = fs::symlink_status(path, error);
    empty = status.type() == fs::file_type::not_found;
    return !error && fs::is_regular_file(status);
}

std::optional<std::string> readSmallFile(const fs::path& path) {
    std::error_code error;
    bool empty = false;
    if (!regularAndNoLink(path, empty)) {
        return std::nullopt;
    }
    const uintmax_t size = fs::file_size(path, error);
    if (error || size > kCacheSizeLimit) {
        return std::nullopt;
    }
    std::FILE* file = openUtf8File(utf8String(path), "rb");
    if (file == nullptr) {
        return std::nullopt;
    }
    std::string text(static_cast<size_t>(size), '\0');
    const size_t read = std::fread(text.data(), 1, text.size(), file);
    std::fclose(file);
    text.resize(read);
    return text;
}

// Only a regular file whose text begins as a cache of this program (of any version), or an
// empty one, is ours to replace; a link, a folder or anything else of that name belongs to
// someone else.
CacheSpot cacheSpot(const fs::path& path, const std::optional<std::string>& text) {
    bool empty = false;
    if (!regularAndNoLink(path, empty)) {
        return empty ? CacheSpot::Empty : CacheSpot::Other;
    }
    const std::string magic = kCacheMagic;
    const std::string family = magic.substr(0, magic.rfind(' ') + 1);
    return text && (text->empty() || text->compare(0, family.size(), family) == 0)
               ? CacheSpot::Cache
               : CacheSpot::Other;
}

// The new cache is renamed onto the cache's place: a rename replaces the name itself, so that
// a link put there after the check is replaced, never followed.
void writeCache(const fs::path& folder, const fs::path& cachePath, const std::string& text) {
    const auto temporary = writeTemporaryFile(
        utf8String(folder), reinterpret_cast<const uint8_t*>(text.data()), text.size());
    if (!temporary) {
        return;
    }
    std::error_code error;
    fs::rename(utf8Path(*temporary), cachePath, error);
    if (error) {
        fs::remove(utf8Path(*temporary), error);
    }
}

// The folder's notes, when it has any: without them no file needs its bytes hashed. A notes file
// that cannot be read shows no notes; writing a note tells the user why.
std::optional<FlightNotes> folderNotes(const fs::path& folder) {
    try {
        FlightNotes notes(utf8String(folder));
        if (!notes.records().empty()) {
            return notes;
        }
    } catch (const FlightNotesError&) {
    }
    return std::nullopt;
}

void findNote(const FlightNotes& notes, const fs::path& folder, FlightLogRow& row) {
    const std::optional<std::string> sha256 =
        fileSha256(utf8String(folder / utf8Path(row.fileName)));
    if (!sha256) {
        return;
    }
    if (const std::optional<FoundNote> found = notes.find(row.fileName, *sha256)) {
        row.note = found->text;
        row.noteStale = found->stale;
    }
}

} // namespace

const char* logStatusName(LogStatus status) {
    switch (status) {
    case LogStatus::Ok:
        return "ok";
    case LogStatus::Partial:
        return "partial";
    case LogStatus::Corrupt:
        return "corrupt";
    case LogStatus::Unreadable:
        return "unreadable";
    case LogStatus::NotAFlight:
        return "not a flight";
    }
    return "unreadable";
}

std::string downloadTimeFromName(const std::string& fileName) {
    const std::optional<ArchiveName> name = parseArchiveFileName(fileName);
    return name ? localTimeText(name->localTime) : std::string();
}

FlightFileScratch::FlightFileScratch() : record(std::make_unique<FlightRecord>()) {}

FlightFileScratch::~FlightFileScratch() = default;

void readFlightLogFile(const std::string& path, FlightLogRow& row) {
    FlightFileScratch scratch;
    readFlightLogFile(path, row, scratch);
}

void readFlightLogFile(const std::string& path, FlightLogRow& row, FlightFileScratch& scratch) {
    row.serialNumber.reset();
    row.competitorNumber.reset();
    row.samplingCode.reset();
    row.temperature.reset();
    row.figures = FlightFigures{};
    std::vector<uint8_t>& bytes = scratch.bytes;
    FlightRecord& record = *scratch.record;
    if (!readMeasurementFile(path, bytes)) {
        row.status = LogStatus::Unreadable;
        return;
    }
    // Too short for a header and one sample: nothing the recorder wrote, and the zero words of a
    // missing header would only read as a corrupt flight.
    if (bytes.size() < image::kHeaderSize + image::kSlotSize) {
        row.status = LogStatus::NotAFlight;
        return;
    }
    // Whatever does not look like the recorder's image is no flight, however it would decode. A
    // download this program archived as corrupt came from the recorder all the same. The one
    // conversion here is the one a load of the file makes, and the figures come from the curve its
    // drawing smooths.
    const std::optional<ArchiveName> name =
        parseArchiveFileName(utf8String(utf8Path(path).filename()));
    const ArchiveKind kind = name ? name->kind : ArchiveKind::Whole;
    const std::optional<int32_t> converted =
        decodePlausibleFlight(record, bytes.data(), bytes.size());
    if (!converted) {
        row.status = kind == ArchiveKind::Corrupt ? LogStatus::Corrupt : LogStatus::NotAFlight;
        return;
    }
    row.serialNumber = record.serialNumber;
    row.competitorNumber = record.competitorNumber;
    row.samplingCode = record.samplingCode;
    row.temperature = static_cast<int>(std::lround(record.temperature));
    plottedAltitudeCm(record, *converted, scratch.plotted);
    row.figures = flightFigures(scratch.plotted, record.samplesPer10s);
    // The archive name says what the download was; a flight that decodes may still have come
    // only in part, and a file of any name may have been cut off before the flight's end.
    const bool cut = kind == ArchiveKind::Partial || !imageHasEnd(bytes.data(), bytes.size());
    row.status = kind == ArchiveKind::Corrupt ? LogStatus::Corrupt
                 : cut                        ? LogStatus::Partial
                                              : LogStatus::Ok;
}

std::string flightLogCacheText(const std::vector<FlightLogRow>& rows) {
    std::string text = std::string(kCacheMagic) + '\n';
    size_t count = 0;
    for (const FlightLogRow& row : rows) {
        // An unreadable file may become readable without a new time stamp: always read again.
        if (!cacheableName(row.fileName) || row.status == LogStatus::Unreadable) {
            continue;
        }
        text += row.fileName;
        text += '\t' + std::to_string(row.size) + '\t' + std::to_string(row.modifiedTicks) + '\t' +
                std::to_string(static_cast<int>(row.status)) + '\t';
        appendOptional(text, row.serialNumber);
        text += '\t';
        appendOptional(text, row.competitorNumber);
        text += '\t';
        appendOptional(text, row.samplingCode);
        text += '\t';
        appendOptional(text, row.temperature);
        const FlightFigures& f = row.figures;
        for (const auto* figure : {&f.maximumM, &f.maximumS, &f.startS, &f.landingS, &f.flightTimeS,
                                   &f.bestClimbMps, &f.meanSinkMps}) {
            text += '\t';
            appendOptional(text, *figure);
        }
        text += '\n';
        ++count;
    }
    // The count at the end tells a whole cache from one cut short.
    text += "end " + std::to_string(count) + '\n';
    return text;
}

std::optional<std::vector<FlightLogRow>> parseFlightLogCache(const std::string& text) {
    std::vector<std::string> lines;
    size_t from = 0;
    while (from < text.size()) {
        const size_t newline = text.find('\n', from);
        if (newline == std::string::npos) {
            return std::nullopt; // every line of a whole cache ends with its newline
        }
        lines.push_back(text.substr(from, newline - from));
        from = newline + 1;
    }
    if (lines.size() < 2 || lines.front() != kCacheMagic ||
        lines.back() != "end " + std::to_string(lines.size() - 2)) {
        return std::nullopt;
    }
    std::vector<FlightLogRow> rows;
    rows.reserve(lines.size() - 2);
    for (size_t i = 1; i + 1 < lines.size(); ++i) {
        const std::vector<std::string> fields = splitTabs(lines[i]);
        if (fields.size() != kCacheFields || !cacheableName(fields[0])) {
            return std::nullopt;
        }
        FlightLogRow row;
        row.fileName = fields[0];
        int status = 0;
        FlightFigures& f = row.figures;
        if (!parseWhole(fields[1], row.size) || !parseWhole(fields[2], row.modifiedTicks) ||
            !parseWhole(fields[3], status) || status < static_cast<int>(LogStatus::Ok) ||
            status > static_cast<int>(LogStatus::NotAFlight) ||
            status == static_cast<int>(LogStatus::Unreadable) ||
            !parseOptional(fields[4], 0, 0xFFFF, row.serialNumber) ||
            !parseOptional(fields[5], 0, 0xFFFF, row.competitorNumber) ||
            !parseOptional(fields[6], 0, 15, row.samplingCode) ||
            !parseOptional(fields[7], -128, 127, row.temperature) ||
            !parseOptional(fields[8], f.maximumM) || !parseOptional(fields[9], f.maximumS) ||
            !parseOptional(fields[10], f.startS) || !parseOptional(fields[11], f.landingS) ||
            !parseOptional(fields[12], f.flightTimeS) ||
            !parseOptional(fields[13], f.bestClimbMps) ||
            !parseOptional(fields[14], f.meanSinkMps)) {
            return std::nullopt;
        }
        row.status = static_cast<LogStatus>(status);
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<FlightLogRow> scanFlightLog(const std::string& folder,
                                        const FlightLogProgress& progress,
                                        const std::atomic<bool>* cancel, bool* foreignCache,
                                        int* folderError) {
    std::vector<FlightLogRow> rows;
    std::error_code error;
    const fs::path folderPath = utf8Path(folder);
    // A folder that cannot be listed is no empty archive: the caller is told why.
    fs::directory_iterator entries(folderPath, error);
    for (; !error && entries != fs::directory_iterator(); entries.increment(error)) {
        const fs::directory_entry& entry = *entries;
        const std::string name = utf8String(entry.path().filename());
        if (name.empty() || name[0] == '.') {
            continue;
        }
        // The folder's listing tells the type of what is not a link, without asking the disk;
        // only a link is followed to what it leads to.
        std::error_code linkError;
        std::error_code targetError;
        const bool link = entry.is_symlink(linkError);
        const fs::file_type target = link ? entry.status(targetError).type()
                                     : entry.is_regular_file(targetError) ? fs::file_type::regular
                                                                          : fs::file_type::unknown;
        // A link to nowhere or into a loop of links is listed (as unreadable); folders, pipes and
        // devices are not files of the log, and opening a pipe would wait for a writer.
        const bool dangling = link && (targetError || target == fs::file_type::not_found);
        if (!dangling && target != fs::file_type::regular) {
            continue;
        }
        FlightLogRow row;
        row.fileName = name;
        std::error_code fileError;
        const uintmax_t size = dangling ? 0 : fs::file_size(entry.path(), fileError);
        row.size = fileError ? 0 : size;
        if (!dangling) {
            const fs::file_time_type stamp = fs::last_write_time(entry.path(), fileError);
            if (!fileError) {
                row.modifiedTicks = static_cast<int64_t>(stamp.time_since_epoch().count());
                row.modified = toTimeT(stamp);
            }
        }
        row.downloaded = downloadTimeFromName(name);
        row.downloadedFromName = !row.downloaded.empty();
        if (!row.downloadedFromName) {
            row.downloaded = localTimeText(localTime(row.modified));
        }
        rows.push_back(std::move(row));
    }
    if (folderError != nullptr) {
        *folderError = error ? error.default_error_condition().value() : 0;
    }
    if (error) {
        return {};
    }
    std::sort(rows.begin(), rows.end(), newerFirst);

    const fs::path cachePath = folderPath / kFlightLogCacheName;
    std::map<std::string, FlightLogRow> cached;
    const std::optional<std::string> cacheText = readSmallFile(cachePath);
    const CacheSpot spot = cacheSpot(cachePath, cacheText);
    if (foreignCache != nullptr) {
        *foreignCache = spot == CacheSpot::Other;
    }
    if (const auto& text = cacheText; text && spot == CacheSpot::Cache) {
        if (auto parsed = parseFlightLogCache(*text)) {
            for (FlightLogRow& row : *parsed) {
                cached[row.fileName] = std::move(row);
            }
        }
    }

    // Rows of unchanged files come from the cache; the others are read on one thread a core, and
    // with them the hashes the notes are found by.
    std::vector<bool> toRead(rows.size(), false);
    for (size_t i = 0; i < rows.size(); ++i) {
        FlightLogRow& row = rows[i];
        const auto hit = cached.find(row.fileName);
        if (hit != cached.end() && hit->second.size == row.size &&
            hit->second.modifiedTicks == row.modifiedTicks) {
            const FlightLogRow& noted = hit->second;
            row.status = noted.status;
            row.serialNumber = noted.serialNumber;
            row.competitorNumber = noted.competitorNumber;
            row.samplingCode = noted.samplingCode;
            row.temperature = noted.temperature;
            row.figures = noted.figures;
            cached.erase(hit);
        } else {
            toRead[i] = true;
        }
    }
    const std::optional<FlightNotes> notes = folderNotes(folderPath);
    const unsigned workers = workerCount();
    std::vector<std::unique_ptr<FlightFileScratch>> scratches(workers);
    const auto work = [&](size_t i, unsigned worker) {
        FlightLogRow& row = rows[i];
        if (toRead[i]) {
            if (!scratches[worker]) {
                scratches[worker] = std::make_unique<FlightFileScratch>();
            }
            readFlightLogFile(utf8String(folderPath / utf8Path(row.fileName)), row,
                              *scratches[worker]);
        }
        if (notes) {
            findNote(*notes, folderPath, row);
        }
    };
    const auto deliver = [&](size_t i) {
        if (cancel != nullptr && cancel->load()) {
            return false;
        }
        if (progress) {
            progress(rows[i], i, rows.size());
        }
        return true;
    };
    size_t delivered = 0;
    if (notes || std::find(toRead.begin(), toRead.end(), true) != toRead.end()) {
        delivered = runOrdered(rows.size(), workers, work, deliver);
    } else {
        while (delivered < rows.size() && deliver(delivered)) {
            ++delivered;
        }
    }
    if (delivered < rows.size()) {
        rows.resize(delivered);
        return rows;
    }
    bool changed = false;
    for (size_t i = 0; i < rows.size(); ++i) {
        changed = changed || (toRead[i] && rows[i].status != LogStatus::Unreadable);
    }
    // Entries of files that are gone are dropped too.
    if ((changed || !cached.empty()) && spot != CacheSpot::Other) {
        // A folder the user may not write is listed all the same, only without a cache.
        writeCache(folderPath, cachePath, flightLogCacheText(rows));
    }
    return rows;
}

std::string figureText(const std::optional<double>& value, int decimals, char decimalSeparator) {
    if (!value) {
        return std::string();
    }
    char text[64];
    const auto result =
        std::to_chars(text, text + sizeof text, *value, std::chars_format::fixed, decimals);
    std::string out(text, result.ptr);
    if (decimalSeparator != '.') {
        std::replace(out.begin(), out.end(), '.', decimalSeparator);
    }
    // "-0.00" says nothing a reader needs.
    if (out.find_first_not_of("-0.,") == std::string::npos && !out.empty() && out[0] == '-') {
        out.erase(0, 1);
    }
    return out;
}

namespace {

std::string optionalInt(const std::optional<int>& value) {
    return value ? std::to_string(*value) : std::string();
}

} // namespace

std::string flightLogCsv(const std::vector<FlightLogRow>& rows) {
    std::string csv = "downloaded,serial,competitor,sampling_code,temperature_c,maximum_m,"
                      "time_to_maximum_s,flight_time_s,best_climb_mps,mean_sink_mps,status,"
                      "file,size_bytes,note,note_stale\r\n";
    for (const FlightLogRow& row : rows) {
        const FlightFigures& f = row.figures;
        const std::string fields[] = {row.downloaded,
                                      optionalInt(row.serialNumber),
                                      optionalInt(row.competitorNumber),
                                      optionalInt(row.samplingCode),
                                      optionalInt(row.temperature),
                                      figureText(f.maximumM, 1),
                                      figureText(f.maximumS, 2),
                                      figureText(f.flightTimeS, 2),
                                      figureText(f.bestClimbMps, 2),
                                      figureText(f.meanSinkMps, 2),
                                      logStatusName(row.status),
                                      row.fileName,
                                      std::to_string(row.size),
                                      row.note,
                                      row.noteStale ? "yes" : ""};
        for (size_t i = 0; i < std::size(fields); ++i) {
            csv += (i == 0 ? "" : ",") + csvField(fields[i]);
        }
        csv += "\r\n";
    }
    return csv;
}

} // namespace vtl
