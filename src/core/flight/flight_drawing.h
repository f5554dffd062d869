// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/flight/flight_record.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vtl {

// What a drawing pass puts on the chart and into the statistics fields. Windows apply it; the
// command-line companion prints it.
struct FlightDrawing {
    static constexpr int32_t kNoLabel = -1;

    // The time label of point j: its whole seconds, or empty between whole seconds.
    std::string label(size_t j) const {
        return labelSeconds[j] == kNoLabel ? std::string() : std::to_string(labelSeconds[j]);
    }

    std::vector<int32_t> altitudeCm;   // smoothed centimetres of the plotted points
    std::vector<float> altitudeMetres; // the same, as plotted
    std::vector<int32_t> labelSeconds; // whole seconds of a labelled point, kNoLabel between them
    std::vector<int32_t> climbCm;      // smoothed climb of the plotted climb points
    std::vector<float> climbMetres;
    std::optional<std::string> maxText; // present when a point qualified
    std::optional<std::string> minText;
    int32_t axisMaximum = 0;    // whole metres
    int32_t minorTickCount = 0; // samples per second minus one; below 1 draws none
    int32_t seriesCount = 0;
};

// What the comparison pass draws: no labels and no climb; the left axis is only ever raised, to
// the largest candidate when that exceeds the axis' current maximum.
struct ComparisonDrawing {
    std::vector<int32_t> altitudeCm;
    std::vector<float> altitudeMetres;
    std::optional<std::string> maxText;
    std::optional<std::string> minText;
    std::optional<int32_t> axisRaise;
    int32_t minorTickCount = 0;
};

// Derives the current flight: conversion, the recursive three-point smoothing, the climb series
// and its four-point smoothing, labels, maximum and minimum. Updates the record (altitudeCm,
// climbCm, seriesCount, maxAltitude, minAltitude, referencePressure). Empty when the samples
// cannot be converted.
std::optional<FlightDrawing> drawFlight(FlightRecord& record, bool showAcceleration,
                                        char decimalSeparator = '.');

// Derives the comparison flight the same way, with its own minimum rule.
std::optional<ComparisonDrawing> drawComparison(FlightRecord& record, char decimalSeparator = '.');

// The passes after the conversion, over the record's first `converted` altitudes as they stand.
FlightDrawing drawConvertedFlight(FlightRecord& record, int32_t converted, bool showAcceleration,
                                  char decimalSeparator = '.');
ComparisonDrawing drawConvertedComparison(FlightRecord& record, int32_t converted,
                                          char decimalSeparator = '.');

// Only the smoothing of the current flight's pass, over the record's first `converted` altitudes
// as they stand: the plotted points' smoothed centimetres (FlightDrawing::altitudeCm) into
// `altitudeCm`, for the flight's figures without its labels, climb and texts.
void plottedAltitudeCm(FlightRecord& record, int32_t converted, std::vector<int32_t>& altitudeCm);

} // namespace vtl
