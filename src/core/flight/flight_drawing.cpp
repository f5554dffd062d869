// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/flight/flight_drawing.h"

#include "core/flight/altitude_conversion.h"
#include "core/flight/decimal_text.h"
#include "core/flight/wrapping_arithmetic.h"

#include <algorithm>

namespace vtl {
namespace {

constexpr float kInitialMinimum = 65535.0f;
constexpr float kClimbBeforeMinimum = 10.0f;
constexpr int32_t kPlotMargin = 5;

float metresOf(int32_t centimetres) {
    return plottedMetres(centimetres);
}

int32_t minorTicksFor(const FlightRecord& record) {
    return static_cast<int32_t>(record.samplesPer10s / 10) - 1;
}

// Slots the passes may use: the image's slots, but never past the first terminator, where the
// conversion stopped and the series holds its end marker.
uint32_t usableSlots(const FlightRecord& record, int32_t converted) {
    return std::min(record.wordCount / 2, static_cast<uint32_t>(std::max(converted, 0)));
}

// Recursive three-point smoothing: each step uses the already smoothed predecessor. Optionally
// records each sample's change against its smoothed predecessor.
void smoothAltitudes(FlightRecord& record, uint32_t slots, bool keepClimb) {
    auto& a = record.altitudeCm;
    if (keepClimb) {
        record.climbCm[0] = 0;
    }
    for (uint32_t i = 1; i + 1 < slots; ++i) {
        const int32_t previous = a[i - 1];
        a[i] = divide32(wrap32(int64_t{previous} + a[i] + a[i + 1]), 3);
        if (keepClimb) {
            record.climbCm[i] = wrap32(int64_t{a[i]} - previous);
        }
    }
}

// The usable slots smoothed; the points plotted of them leave a margin at the end.
uint32_t plottedPoints(uint32_t slots) {
    return slots >= 6 ? slots - kPlotMargin : 0;
}

int32_t secondsLabel(uint32_t tick, uint32_t samplesPer10s) {
    return tick % samplesPer10s == 0 ? static_cast<int32_t>(tick / samplesPer10s)
                                     : FlightDrawing::kNoLabel;
}

int32_t truncatedMetres(double metres) {
    return truncateToInt32(metres);
}

} // namespace

std::optional<FlightDrawing> drawFlight(FlightRecord& record, bool showAcceleration,
                                        char decimalSeparator) {
    const std::optional<int32_t> converted = convertFlight(record, FlightRole::Current);
    if (!converted) {
        return std::nullopt;
    }
    return drawConvertedFlight(record, *converted, showAcceleration, decimalSeparator);
}

FlightDrawing drawConvertedFlight(FlightRecord& record, int32_t converted, bool showAcceleration,
                                  char decimalSeparator) {
    FlightDrawing drawing;
    record.maxAltitude = 0.0f;
    record.minAltitude = kInitialMinimum;
    drawing.minorTickCount = minorTicksFor(record);
    const uint32_t slots = usableSlots(record, converted);
    smoothAltitudes(record, slots, true);
    record.seriesCount = slots >= 3 ? static_cast<int32_t>(slots - 3) : 0;
    drawing.seriesCount = record.seriesCount;

    const uint32_t points = plottedPoints(slots);
    auto& a = record.altitudeCm;
    auto& c = record.climbCm;
    drawing.altitudeCm.reserve(points);
    drawing.altitudeMetres.reserve(points);
    drawing.labelSeconds.reserve(points);
    if (showAcceleration) {
        drawing.climbCm.reserve(points);
        drawing.climbMetres.reserve(points);
    }
    float previousClimb = 0.0f;
    uint32_t tick = 0;
    for (uint32_t j = 0; j < points; ++j) {
        const float altitude = metresOf(a[j]);
        drawing.altitudeCm.push_back(a[j]);
        drawing.altitudeMetres.push_back(altitude);
        drawing.labelSeconds.push_back(secondsLabel(tick, record.samplesPer10s));

        if (showAcceleration && j + 2 < points) {
            drawing.climbMetres.push_back(previousClimb);
            drawing.climbCm.push_back(c[j]);
        }
        // The climb smoothing advances for every point, shown or not.
        previousClimb = metresOf(c[j + 1]);
        const int32_t sum = wrap32(int64_t{c[j]} + c[j + 1] + c[j + 2] + c[j + 3]);
        c[j + 2] = truncateToInt32(static_cast<double>(static_cast<float>(sum)) * 0.25);
        tick += 10;

        if (altitude > record.maxAltitude) {
            record.maxAltitude = altitude;
            drawing.maxText = oneDecimalText(altitude, decimalSeparator);
        }
        if (altitude < record.minAltitude && a[j] < -1 &&
            record.maxAltitude > kClimbBeforeMinimum) {
            record.minAltitude = altitude;
            drawing.minText = oneDecimalText(altitude, decimalSeparator);
        }
    }
    drawing.axisMaximum = truncatedMetres(static_cast<double>(record.maxAltitude) +
                                          static_cast<double>(record.maxAltitude) / 30.0);
    a[points] = kEndMarker;
    return drawing;
}

std::optional<ComparisonDrawing> drawComparison(FlightRecord& record, char decimalSeparator) {
    const std::optional<int32_t> converted = convertFlight(record, FlightRole::Comparison);
    if (!converted) {
        return std::nullopt;
    }
    return drawConvertedComparison(record, *converted, decimalSeparator);
}

ComparisonDrawing drawConvertedComparison(FlightRecord& record, int32_t converted,
                                          char decimalSeparator) {
    ComparisonDrawing drawing;
    drawing.minorTickCount = minorTicksFor(record);
    record.maxAltitude = 0.0f;
    record.minAltitude = kInitialMinimum;
    const uint32_t slots = usableSlots(record, converted);
    smoothAltitudes(record, slots, false);

    const uint32_t points = plottedPoints(slots);
    auto& a = record.altitudeCm;
    drawing.altitudeCm.reserve(points);
    drawing.altitudeMetres.reserve(points);
    for (uint32_t j = 0; j < points; ++j) {
        const float altitude = metresOf(a[j]);
        drawing.altitudeCm.push_back(a[j]);
        drawing.altitudeMetres.push_back(altitude);
        if (altitude > record.maxAltitude) {
            record.maxAltitude = altitude;
            drawing.maxText = oneDecimalText(altitude, decimalSeparator);
            drawing.axisRaise = truncatedMetres(static_cast<double>(altitude) +
                                                static_cast<double>(altitude) * 0.1);
        }
        if (altitude < record.minAltitude && record.maxAltitude > kClimbBeforeMinimum) {
            record.minAltitude = altitude;
            drawing.minText = oneDecimalText(altitude, decimalSeparator);
        }
    }
    a[points] = kEndMarker;
    return drawing;
}

void plottedAltitudeCm(FlightRecord& record, int32_t converted, std::vector<int32_t>& altitudeCm) {
    const uint32_t slots = usableSlots(record, converted);
    smoothAltitudes(record, slots, false);
    const auto first = record.altitudeCm.begin();
    altitudeCm.assign(first, first + plottedPoints(slots));
}

} // namespace vtl
