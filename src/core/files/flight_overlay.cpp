// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/files/flight_overlay.h"

#include "core/files/flight_log.h"
#include "core/files/measurement_file.h"
#include "core/flight/comparison_resampling.h"
#include "core/flight/flight_drawing.h"
#include "core/flight/flight_image.h"
#include "core/flight/flight_plausibility.h"
#include "core/flight/flight_record.h"
#include "core/flight/image_handover.h"
#include "core/shell/atomic_file.h"
#include "core/shell/local_time.h"
#include "core/shell/utf8_path.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>
#include <filesystem>
#include <memory>
#include <system_error>

namespace vtl {
namespace fs = std::filesystem;

namespace {

constexpr const char* kDescriptionMagic = "vantorel-overlay 1";
constexpr const char* kAlignStartLine = "align start";
constexpr const char* kAlignRecordLine = "align record";
// A description lists at most eight paths; anything far larger is not one.
constexpr uintmax_t kDescriptionSizeLimit = 64 * 1024;

// The day of the file's modification time, for a file whose name does not say when it came.
std::string modificationDay(const std::string& path) {
    std::error_code failed;
    const fs::file_time_type stamp = fs::last_write_time(utf8Path(path), failed);
    if (failed) {
        return {};
    }
    // The file clock's epoch is not the system clock's in C++17; both are read now to bridge them.
    const auto system = std::chrono::system_clock::now() +
                        std::chrono::duration_cast<std::chrono::system_clock::duration>(
                            stamp - fs::file_time_type::clock::now());
    const std::tm local = localTime(std::chrono::system_clock::to_time_t(system));
    char text[16];
    std::strftime(text, sizeof text, "%Y-%m-%d", &local);
    return text;
}

// The flight as the log reads it, with its drawn curve; the problem otherwise.
std::optional<OverlayProblemKind> readFlight(const std::string& path, OverlayFlight& flight,
                                             std::vector<int32_t>& drawnCm) {
    std::vector<uint8_t> bytes;
    if (!readMeasurementFile(path, bytes)) {
        return OverlayProblemKind::Missing;
    }
    if (bytes.size() < image::kHeaderSize + image::kSlotSize ||
        !plausibleFlightHeader(bytes.data(), bytes.size())) {
        return OverlayProblemKind::NotAFlight;
    }
    const auto record = std::make_unique<FlightRecord>();
    const HandoverResult taken =
        acceptLoadedImage(*record, bytes.data(), bytes.size(), FlightRole::Current);
    if (taken != HandoverResult::Accepted) {
        return taken == HandoverResult::Corrupt ? OverlayProblemKind::Corrupt
                                                : OverlayProblemKind::NotAFlight;
    }
    const std::optional<FlightDrawing> drawing = drawFlight(*record, false);
    if (!drawing) {
        return OverlayProblemKind::Corrupt;
    }
    flight.path = path;
    flight.fileName = utf8String(utf8Path(path).filename());
    flight.competitorNumber = record->competitorNumber;
    const std::string downloaded = downloadTimeFromName(flight.fileName);
    flight.date = downloaded.empty() ? modificationDay(path) : downloaded.substr(0, 10);
    flight.samplesPer10s = record->samplesPer10s;
    flight.figures = flightFigures(drawing->altitudeCm, record->samplesPer10s);
    drawnCm = drawing->altitudeCm;
    return std::nullopt;
}

std::string relativeWherePossible(const std::string& path, const fs::path& folder) {
    const fs::path absolute = fs::absolute(utf8Path(path)).lexically_normal();
    const fs::path relative = absolute.lexically_relative(folder);
    const bool inside = !relative.empty() && *relative.begin() != "..";
    std::string text = utf8String(inside ? relative : absolute);
    // One form on every system, so that a description opens where it was not written.
    std::replace(text.begin(), text.end(), '\\', '/');
    return text;
}

fs::path descriptionFolder(const std::string& descriptionPath) {
    return fs::absolute(utf8Path(descriptionPath)).lexically_normal().parent_path();
}

} // namespace

std::string overlayProblemText(const OverlayProblem& problem, Language language) {
    const bool polish = language == Language::Polish;
    switch (problem.kind) {
    case OverlayProblemKind::Missing:
        return (polish ? "Nie można odczytać pliku " : "Cannot read the file ") + problem.path;
    case OverlayProblemKind::NotAFlight:
        return (polish ? "To nie jest plik lotu: " : "Not a flight file: ") + problem.path;
    case OverlayProblemKind::Corrupt:
        return (polish ? "Uszkodzone dane lotu w " : "Corrupt flight data in ") + problem.path;
    case OverlayProblemKind::NoStart:
        return (polish ? "Lot nie wznosi się ponad 1,0 m, rysowany od zapisu: "
                       : "The flight never rises above 1.0 m, drawn as recorded: ") +
               problem.path;
    case OverlayProblemKind::TooMany:
        return (polish ? "Nałożyć można najwyżej 8 lotów, podano "
                       : "An overlay holds at most 8 flights; given ") +
               std::to_string(problem.given);
    }
    return {};
}

std::string OverlayFlight::legendText() const {
    std::string text = fileName + " · " + std::to_string(competitorNumber);
    if (!date.empty()) {
        text += " · " + date;
    }
    return text;
}

FlightOverlay buildFlightOverlay(const std::vector<std::string>& paths,
                                 OverlayAlignment alignment) {
    FlightOverlay overlay;
    overlay.alignment = alignment;
    if (paths.size() > kOverlayMaximumFlights) {
        overlay.problems.push_back({OverlayProblemKind::TooMany, {}, paths.size()});
        return overlay;
    }
    std::vector<std::vector<int32_t>> drawn;
    for (const std::string& path : paths) {
        OverlayFlight flight;
        std::vector<int32_t> drawnCm;
        if (const auto problem = readFlight(path, flight, drawnCm)) {
            overlay.problems.push_back({*problem, path, 0});
            continue;
        }
        overlay.samplesPer10s = std::max(overlay.samplesPer10s, flight.samplesPer10s);
        overlay.flights.push_back(std::move(flight));
        drawn.push_back(std::move(drawnCm));
    }
    for (size_t i = 0; i < overlay.flights.size(); ++i) {
        OverlayFlight& flight = overlay.flights[i];
        std::vector<int32_t>& curve = drawn[i];
        if (alignment == OverlayAlignment::Start) {
            if (flight.figures.startS) {
                // startS is 10 * j / rate for the start's point j, so this gives j back exactly.
                const auto start = static_cast<size_t>(
                    std::lround(*flight.figures.startS * flight.samplesPer10s / 10.0));
                curve.erase(curve.begin(), curve.begin() + static_cast<std::ptrdiff_t>(start));
                flight.firstPointS = *flight.figures.startS;
            } else {
                overlay.problems.push_back({OverlayProblemKind::NoStart, flight.path, 0});
            }
        }
        flight.curveCm = resampleCurve(curve, flight.samplesPer10s, overlay.samplesPer10s);
    }
    return overlay;
}

std::string overlayDescriptionText(const OverlayDescription& description,
                                   const std::string& descriptionPath) {
    const fs::path folder = descriptionFolder(descriptionPath);
    std::string text = std::string(kDescriptionMagic) + '\n';
    text += std::string(description.alignment == OverlayAlignment::Start ? kAlignStartLine
                                                                         : kAlignRecordLine) +
            '\n';
    for (const std::string& path : description.paths) {
        text += relativeWherePossible(path, folder) + '\n';
    }
    return text;
}

std::optional<OverlayDescription> parseOverlayDescription(const std::string& text,
                                                          const std::string& descriptionPath) {
    std::vector<std::string> lines;
    size_t from = 0;
    while (from < text.size()) {
        size_t end = text.find('\n', from);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string line = text.substr(from, end - from);
        // A description edited on Windows keeps its CR LF line ends.
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
        from = end + 1;
    }
    if (lines.size() < 2 || lines[0] != kDescriptionMagic) {
        return std::nullopt;
    }
    OverlayDescription description;
    if (lines[1] == kAlignStartLine) {
        description.alignment = OverlayAlignment::Start;
    } else if (lines[1] == kAlignRecordLine) {
        description.alignment = OverlayAlignment::Recorded;
    } else {
        return std::nullopt;
    }
    const fs::path folder = descriptionFolder(descriptionPath);
    for (size_t i = 2; i < lines.size(); ++i) {
        if (lines[i].empty()) {
            continue;
        }
        // The file keeps '/' between names; the paths it gives back are the system's own.
        const fs::path path = utf8Path(lines[i]);
        description.paths.push_back(utf8String(
            (path.is_absolute() ? path : folder / path).lexically_normal().make_preferred()));
    }
    return description;
}

bool writeOverlayDescription(const OverlayDescription& description, const std::string& path,
                             int* error) {
    const std::string text = overlayDescriptionText(description, path);
    return writeFileAtomically(path, reinterpret_cast<const uint8_t*>(text.data()), text.size(),
                               error);
}

std::optional<OverlayDescription> readOverlayDescription(const std::string& path) {
    std::error_code failed;
    const uintmax_t size = fs::file_size(utf8Path(path), failed);
    if (failed || size > kDescriptionSizeLimit) {
        return std::nullopt;
    }
    std::FILE* file = openUtf8File(path, "rb");
    if (!file) {
        return std::nullopt;
    }
    std::string text(static_cast<size_t>(size), '\0');
    const size_t read = std::fread(text.data(), 1, text.size(), file);
    std::fclose(file);
    text.resize(read);
    return parseOverlayDescription(text, path);
}

} // namespace vtl
