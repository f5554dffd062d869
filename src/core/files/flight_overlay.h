// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/flight/flight_figures.h"
#include "core/shell/language.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vtl {

// Where the flights of an overlay meet: each at its start (its first drawn point above the launch
// threshold, as the figures define it) or each at its first recorded sample.
enum class OverlayAlignment { Start, Recorded };

// More curves than this cannot be told apart by colour on one chart.
constexpr size_t kOverlayMaximumFlights = 8;

// Why a file of an overlay is not drawn, or drawn only as recorded.
enum class OverlayProblemKind { Missing, NotAFlight, Corrupt, NoStart, TooMany };

struct OverlayProblem {
    OverlayProblemKind kind = OverlayProblemKind::Missing;
    std::string path; // the file as given; empty for TooMany
    size_t given = 0; // TooMany: how many files were given
};

// One line naming the problem and its file.
std::string overlayProblemText(const OverlayProblem& problem, Language language);

// One flight of the overlay, read and drawn as the program reads a flight file.
struct OverlayFlight {
    std::string path;
    std::string fileName;
    int competitorNumber = 0;
    std::string date;             // "YYYY-MM-DD": the archive name's download day, else the file's
    uint32_t samplesPer10s = 0;   // the flight's own rate
    FlightFigures figures;        // from its own samples, as the flight figures compute them
    double firstPointS = 0;       // the flight's own time of the curve's first point
    std::vector<int32_t> curveCm; // on the overlay's common time base, aligned

    // "file · 42 · 2026-06-14": what the legend shows for the flight.
    std::string legendText() const;
};

struct FlightOverlay {
    OverlayAlignment alignment = OverlayAlignment::Start;
    // The common time base: point j of every curve lies at 10 * j / samplesPer10s seconds. The
    // fastest rate of the flights, so that no flight loses a sample's detail.
    uint32_t samplesPer10s = 0;
    std::vector<OverlayFlight> flights;
    std::vector<OverlayProblem> problems;
};

// Reads the files in order; a file that is missing or no flight is named in the problems and the
// rest go on. More than kOverlayMaximumFlights files are refused whole: no flights, one problem.
FlightOverlay buildFlightOverlay(const std::vector<std::string>& paths, OverlayAlignment alignment);

// The small text file that keeps an overlay: its flights and the alignment.
struct OverlayDescription {
    OverlayAlignment alignment = OverlayAlignment::Start;
    std::vector<std::string> paths; // as read: resolved against the description's folder
};

// The description's text; paths inside the description's folder are written relative to it, so
// that a folder moved with its flights still opens.
std::string overlayDescriptionText(const OverlayDescription& description,
                                   const std::string& descriptionPath);

// The description back from its text; nothing when the text is not one this program wrote.
std::optional<OverlayDescription> parseOverlayDescription(const std::string& text,
                                                          const std::string& descriptionPath);

// Writes the description through the safe writer; false with errno's value in `error` otherwise.
bool writeOverlayDescription(const OverlayDescription& description, const std::string& path,
                             int* error = nullptr);

// Reads a description file; nothing when it cannot be read or is not a description.
std::optional<OverlayDescription> readOverlayDescription(const std::string& path);

} // namespace vtl
