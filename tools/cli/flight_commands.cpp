// SPDX-License-Identifier: GPL-3.0-or-later
#include "flight_commands.h"

#include "flight_files.h"
#include "json_writer.h"

#include "core/files/measurement_file.h"
#include "core/flight/altitude_conversion.h"
#include "core/flight/comparison_resampling.h"
#include "core/flight/flight_drawing.h"
#include "core/flight/flight_figures.h"
#include "core/flight/flight_plausibility.h"
#include "core/flight/flight_record.h"
#include "core/flight/image_handover.h"
#include "core/flight/sampling_code.h"

#include <memory>
#include <vector>

namespace vtl::cli {
namespace {

void applyTemperature(const CommandLine& args, FlightRecord& record) {
    if (const auto temperature = args.floatOption("--temperature")) {
        record.temperature = *temperature;
    }
}

void optionalText(JsonWriter& json, const char* name, const std::optional<std::string>& text) {
    json.key(name);
    if (text) {
        json.value(*text);
    } else {
        json.null();
    }
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

} // namespace

std::string runInfo(const CommandLine& args) {
    const auto record = loadFlight(args.positional(0, "FILE"), FlightRole::Current);
    const Calibration& c = record->calibration;
    JsonWriter json;
    json.beginObject()
        .key("competitorNumber")
        .value(int64_t{record->competitorNumber})
        .key("serialNumber")
        .value(int64_t{record->serialNumber})
        .key("startRawTemperature")
        .value(int64_t{record->startRawTemperature})
        .key("samplingCode")
        .value(int64_t{record->samplingCode})
        .key("samplesPer10s")
        .value(int64_t{record->samplesPer10s})
        .key("samplingText")
        .value(samplingTextForCode(record->samplingCode))
        .key("referenceWord")
        .value(int64_t{record->referenceWord})
        .key("temperature")
        .value(record->temperature)
        .key("calibration")
        .beginObject()
        .key("AC1")
        .value(int64_t{c.AC1})
        .key("AC2")
        .value(int64_t{c.AC2})
        .key("AC3")
        .value(int64_t{c.AC3})
        .key("AC4")
        .value(int64_t{c.AC4})
        .key("AC5")
        .value(int64_t{c.AC5})
        .key("AC6")
        .value(int64_t{c.AC6})
        .key("B1")
        .value(int64_t{c.B1})
        .key("B2")
        .value(int64_t{c.B2})
        .key("MB")
        .value(int64_t{c.MB})
        .key("MC")
        .value(int64_t{c.MC})
        .key("MD")
        .value(int64_t{c.MD})
        .endObject()
        .key("rawLength")
        .value(int64_t{record->rawLength})
        .key("slotCount")
        .value(int64_t{record->slotCount()})
        .key("plausible")
        .boolean(
            plausibleFlightHeader(record->rawImage.data(), static_cast<size_t>(record->rawLength)))
        .endObject();
    return json.text();
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
    JsonWriter json;
    json.beginObject()
        .key("temperature")
        .value(record->temperature)
        .key("referencePressure")
        .value(record->referencePressure)
        .key("altitudeCm")
        .array(altitudes)
        .endObject();
    return json.text();
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
    JsonWriter json;
    json.beginObject()
        .key("altitudeCm")
        .array(drawing->altitudeCm)
        .key("labels")
        .array(labels)
        .key("climbCm")
        .array(drawing->climbCm);
    optionalText(json, "maxText", drawing->maxText);
    optionalText(json, "minText", drawing->minText);
    json.key("axisMaximum")
        .value(int64_t{drawing->axisMaximum})
        .key("minorTickCount")
        .value(int64_t{drawing->minorTickCount})
        .key("seriesCount")
        .value(int64_t{drawing->seriesCount});
    if (comparisonFile) {
        json.key("comparisonCm").array(comparisonCm);
    }
    json.endObject();
    return json.text();
}

std::string runCompare(const CommandLine& args) {
    auto record = loadFlight(args.positional(0, "FILE"), FlightRole::Comparison);
    applyTemperature(args, *record);
    const auto drawing = drawComparison(*record);
    if (!drawing) {
        throw CommandError("corrupt flight data");
    }
    JsonWriter json;
    json.beginObject().key("altitudeCm").array(drawing->altitudeCm);
    optionalText(json, "maxText", drawing->maxText);
    optionalText(json, "minText", drawing->minText);
    json.key("axisMaximum");
    if (drawing->axisRaise) {
        json.value(int64_t{*drawing->axisRaise});
    } else {
        json.null();
    }
    json.key("minorTickCount").value(int64_t{drawing->minorTickCount}).endObject();
    return json.text();
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
    JsonWriter json;
    json.beginObject()
        .key("serial")
        .value(int64_t{record->serialNumber})
        .key("competitor")
        .value(int64_t{record->competitorNumber})
        .key("samplingCode")
        .value(int64_t{record->samplingCode})
        .key("temperature")
        .value(record->temperature)
        .key("maximumM")
        .figure(figures.maximumM)
        .key("maximumS")
        .figure(figures.maximumS)
        .key("startS")
        .figure(figures.startS)
        .key("landingS")
        .figure(figures.landingS)
        .key("flightTimeS")
        .figure(figures.flightTimeS)
        .key("bestClimbMps")
        .figure(figures.bestClimbMps)
        .key("meanSinkMps")
        .figure(figures.meanSinkMps)
        .endObject();
    return json.text();
}

} // namespace vtl::cli
