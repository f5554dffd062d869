// SPDX-License-Identifier: GPL-3.0-or-later
#include "flight_commands.h"

#include "flight_files.h"
#include "json_output.h"

#include "core/files/measurement_file.h"
#include "core/flight/altitude_conversion.h"
#include "core/flight/comparison_resampling.h"
#include "core/flight/cursor_readings.h"
#include "core/flight/flight_drawing.h"
#include "core/flight/flight_figures.h"
#include "core/flight/flight_plausibility.h"
#include "core/flight/flight_record.h"
#include "core/flight/image_handover.h"
#include "core/flight/sampling_code.h"

#include <charconv>
#include <cmath>
#include <memory>
#include <vector>

namespace vtl::cli {
namespace {

using nlohmann::ordered_json;

void applyTemperature(const CommandLine& args, FlightRecord& record) {
    if (const auto temperature = args.floatOption("--temperature")) {
        record.temperature = *temperature;
    }
}

ordered_json optionalText(const std::optional<std::string>& text) {
    return text ? ordered_json(*text) : ordered_json(nullptr);
}

// The comparison curve as the window draws it beside the current flight: on the current flight's
// sample times, in centimetres.
std::vector<int32_t> comparisonOnCurrentTimes(const std::string& path,
                                              const FlightRecord& current) {
    auto comparison = loadFlight(path, FlightRole::Comparison);
    const auto drawing = drawComparison(*comparison);
    if (!drawing) {
        throw CommandError("corrupt comparison flight data");
    }
    return resampleCurve(drawing->altitudeCm, comparison->samplesPer10s, current.samplesPer10s);
}

// A cursor's time in seconds, written in the C locale's decimals whatever the user's locale.
double secondsArgument(const std::string& text, const char* what) {
    double seconds = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
        !std::isfinite(seconds)) {
        throw UsageError(std::string(what) + " needs a number of seconds, not '" + text + "'");
    }
    return seconds;
}

ordered_json optionalNumber(const std::optional<double>& number) {
    return number ? ordered_json(*number) : ordered_json(nullptr);
}

ordered_json readingsJson(const CursorReadings& readings) {
    ordered_json json;
    json["t1"] = readings.a.seconds;
    json["h1"] = optionalNumber(readings.a.metres());
    json["t2"] = readings.b.seconds;
    json["h2"] = optionalNumber(readings.b.metres());
    json["dt"] = readings.dtS;
    json["dh"] = optionalNumber(readings.dhM);
    json["climb"] = optionalNumber(readings.climbMps);
    return json;
}

} // namespace

std::string runInfo(const CommandLine& args) {
    const auto record = loadFlight(args.positional(0, "FILE"), FlightRole::Current);
    const Calibration& c = record->calibration;
    ordered_json calibration;
    calibration["AC1"] = int64_t{c.AC1};
    calibration["AC2"] = int64_t{c.AC2};
    calibration["AC3"] = int64_t{c.AC3};
    calibration["AC4"] = int64_t{c.AC4};
    calibration["AC5"] = int64_t{c.AC5};
    calibration["AC6"] = int64_t{c.AC6};
    calibration["B1"] = int64_t{c.B1};
    calibration["B2"] = int64_t{c.B2};
    calibration["MB"] = int64_t{c.MB};
    calibration["MC"] = int64_t{c.MC};
    calibration["MD"] = int64_t{c.MD};
    ordered_json json;
    json["competitorNumber"] = int64_t{record->competitorNumber};
    json["serialNumber"] = int64_t{record->serialNumber};
    json["startRawTemperature"] = int64_t{record->startRawTemperature};
    json["samplingCode"] = int64_t{record->samplingCode};
    json["samplesPer10s"] = int64_t{record->samplesPer10s};
    json["samplingText"] = samplingTextForCode(record->samplingCode);
    json["referenceWord"] = int64_t{record->referenceWord};
    json["temperature"] = floatJson(record->temperature);
    json["calibration"] = calibration;
    json["rawLength"] = int64_t{record->rawLength};
    json["slotCount"] = int64_t{record->slotCount()};
    json["plausible"] =
        plausibleFlightHeader(record->rawImage.data(), static_cast<size_t>(record->rawLength));
    return jsonText(json, requestedLayout(args));
}

std::string runConvert(const CommandLine& args) {
    const FlightRole role =
        args.flag("--comparison") ? FlightRole::Comparison : FlightRole::Current;
    auto record = loadFlight(args.positional(0, "FILE"), role);
    applyTemperature(args, *record);
    const auto converted = convertFlight(*record, role);
    if (!converted) {
        throw CommandError("corrupt flight data");
    }
    const std::vector<int32_t> altitudes(record->altitudeCm.begin(),
                                         record->altitudeCm.begin() + *converted);
    ordered_json json;
    json["temperature"] = floatJson(record->temperature);
    json["referencePressure"] = floatJson(record->referencePressure);
    json["altitudeCm"] = altitudes;
    return jsonText(json, requestedLayout(args));
}

std::string runCurve(const CommandLine& args) {
    auto record = loadFlight(args.positional(0, "FILE"), FlightRole::Current);
    applyTemperature(args, *record);
    const auto drawing = drawFlight(*record, !args.flag("--no-acceleration"));
    if (!drawing) {
        throw CommandError("corrupt flight data");
    }
    std::vector<int32_t> comparisonCm;
    const auto comparisonFile = args.option("--comparison");
    if (comparisonFile) {
        comparisonCm = comparisonOnCurrentTimes(*comparisonFile, *record);
    }
    // The bottom axis' labels over the whole drawn width: where the comparison runs longer, the
    // seconds go on at the current flight's rate.
    std::vector<std::string> labels;
    for (size_t j = 0; j < drawing->labelSeconds.size(); ++j) {
        labels.push_back(drawing->label(j));
    }
    for (size_t j = labels.size(); j < comparisonCm.size(); ++j) {
        const int32_t seconds = sampleSecondsLabel(static_cast<uint32_t>(j), record->samplesPer10s);
        labels.push_back(seconds < 0 ? std::string() : std::to_string(seconds));
    }
    ordered_json json;
    json["altitudeCm"] = drawing->altitudeCm;
    json["labels"] = labels;
    json["climbCm"] = drawing->climbCm;
    json["maxText"] = optionalText(drawing->maxText);
    json["minText"] = optionalText(drawing->minText);
    json["axisMaximum"] = int64_t{drawing->axisMaximum};
    json["minorTickCount"] = int64_t{drawing->minorTickCount};
    json["seriesCount"] = int64_t{drawing->seriesCount};
    if (comparisonFile) {
        json["comparisonCm"] = comparisonCm;
    }
    return jsonText(json, requestedLayout(args));
}

std::string runCompare(const CommandLine& args) {
    auto record = loadFlight(args.positional(0, "FILE"), FlightRole::Comparison);
    applyTemperature(args, *record);
    const auto drawing = drawComparison(*record);
    if (!drawing) {
        throw CommandError("corrupt flight data");
    }
    ordered_json json;
    json["altitudeCm"] = drawing->altitudeCm;
    json["maxText"] = optionalText(drawing->maxText);
    json["minText"] = optionalText(drawing->minText);
    json["axisMaximum"] =
        drawing->axisRaise ? ordered_json(int64_t{*drawing->axisRaise}) : ordered_json(nullptr);
    json["minorTickCount"] = int64_t{drawing->minorTickCount};
    return jsonText(json, requestedLayout(args));
}

// The header and the flight figures of the curve as the window draws it.
std::string runSummary(const CommandLine& args) {
    auto record = loadFlight(args.positional(0, "FILE"), FlightRole::Current);
    applyTemperature(args, *record);
    const auto drawing = drawFlight(*record, false);
    if (!drawing) {
        throw CommandError("corrupt flight data");
    }
    const FlightFigures figures = flightFigures(drawing->altitudeCm, record->samplesPer10s);
    ordered_json json;
    json["serial"] = int64_t{record->serialNumber};
    json["competitor"] = int64_t{record->competitorNumber};
    json["samplingCode"] = int64_t{record->samplingCode};
    json["temperature"] = floatJson(record->temperature);
    json["maximumM"] = figureJson(figures.maximumM);
    json["maximumS"] = figureJson(figures.maximumS);
    json["startS"] = figureJson(figures.startS);
    json["landingS"] = figureJson(figures.landingS);
    json["flightTimeS"] = figureJson(figures.flightTimeS);
    json["bestClimbMps"] = figureJson(figures.bestClimbMps);
    json["meanSinkMps"] = figureJson(figures.meanSinkMps);
    return jsonText(json, requestedLayout(args));
}

// The two cursors on the drawn curve's samples nearest T1 and T2, and what they read there on the
// current flight and on the comparison as it is drawn beside it.
std::string runBetween(const CommandLine& args) {
    const double timeA = secondsArgument(args.positional(1, "T1"), "T1");
    const double timeB = secondsArgument(args.positional(2, "T2"), "T2");
    auto record = loadFlight(args.positional(0, "FILE"), FlightRole::Current);
    applyTemperature(args, *record);
    const auto drawing = drawFlight(*record, false);
    if (!drawing) {
        throw CommandError("corrupt flight data");
    }
    const auto cursors =
        cursorSamples(timeA, timeB, drawing->altitudeCm.size(), record->samplesPer10s);
    if (!cursors) {
        throw CommandError("no drawn curve to place cursors on");
    }
    ordered_json json =
        readingsJson(cursorReadings(drawing->altitudeCm, *cursors, record->samplesPer10s));
    if (const auto comparisonFile = args.option("--comparison")) {
        const std::vector<int32_t> comparisonCm =
            comparisonOnCurrentTimes(*comparisonFile, *record);
        json["comparison"] =
            readingsJson(cursorReadings(comparisonCm, *cursors, record->samplesPer10s));
    }
    return jsonText(json, requestedLayout(args));
}

} // namespace vtl::cli
