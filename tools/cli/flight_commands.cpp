#include "flight_commands.h"

#include "json_writer.h"

#include "files/measurement_file.h"
#include "flight/altitude_conversion.h"
#include "flight/flight_record.h"
#include "flight/image_handover.h"
#include "flight/sampling_code.h"

#include <memory>
#include <vector>

namespace vtl::cli {
namespace {

std::unique_ptr<FlightRecord> loadFlight(const std::string& path, FlightRole role) {
    std::vector<uint8_t> bytes;
    if (!readMeasurementFile(path, bytes)) {
        throw CommandError("cannot read " + path);
    }
    auto record = std::make_unique<FlightRecord>();
    if (acceptLoadedImage(*record, bytes.data(), bytes.size(), role) != HandoverResult::Accepted) {
        throw CommandError("corrupt flight data in " + path);
    }
    return record;
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
        .endObject();
    return json.text();
}

std::string runConvert(const CommandLine& args) {
    const FlightRole role =
        args.flag("--comparison") ? FlightRole::Comparison : FlightRole::Current;
    auto record = loadFlight(args.positional(0, "FILE"), role);
    if (const auto temperature = args.floatOption("--temperature")) {
        record->temperature = *temperature;
    }
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

} // namespace vtl::cli
