// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/flight_log_reference.h"

#include "core/files/flight_archive.h"
#include "core/files/measurement_file.h"
#include "core/flight/altitude_conversion.h"
#include "core/flight/flight_drawing.h"
#include "core/flight/flight_image.h"
#include "core/flight/flight_plausibility.h"
#include "core/flight/flight_record.h"
#include "core/flight/header_decoder.h"
#include "core/flight/image_handover.h"
#include "core/shell/utf8_path.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace vtl::testing {
namespace {

struct Range {
    int32_t lowest;
    int32_t highest;
    bool holds(int32_t value) const { return value >= lowest && value <= highest; }
};

// The recorder's coefficient ranges and the ground pressures found on Earth, as the program
// judges them.
bool coefficientsPlausible(const Calibration& c) {
    return Range{1, 16383}.holds(c.AC1) && Range{-8192, 8191}.holds(c.AC2) &&
           Range{-32768, -4096}.holds(c.AC3) && Range{16384, 49151}.holds(c.AC4) &&
           Range{8192, 49151}.holds(c.AC5) && Range{8192, 49151}.holds(c.AC6) &&
           Range{1024, 16383}.holds(c.B1) && Range{-1024, 1023}.holds(c.B2) &&
           Range{-32768, -1024}.holds(c.MC) && Range{256, 8191}.holds(c.MD);
}

bool plausibleOnAFreshRecord(const uint8_t* bytes, size_t length) {
    if (length < image::kHeaderSize + image::kSlotSize) {
        return false;
    }
    auto record = std::make_unique<FlightRecord>();
    const size_t kept = std::min(length, static_cast<size_t>(FlightRecord::kImageCapacity));
    std::copy_n(bytes, kept, record->rawImage.begin());
    record->rawLength = static_cast<int32_t>(kept);
    record->payloadLength = static_cast<uint32_t>(kept - image::kHeaderSize);
    record->wordCount = record->payloadLength / 2;
    if (!decodeHeader(*record) || !coefficientsPlausible(record->calibration)) {
        return false;
    }
    if (!convertFlight(*record, FlightRole::Comparison)) {
        return false;
    }
    return record->referencePressure >= 300.0f && record->referencePressure <= 1100.0f;
}

} // namespace

void readFlightLogFileInThreePasses(const std::string& path, FlightLogRow& row) {
    row.serialNumber.reset();
    row.competitorNumber.reset();
    row.samplingCode.reset();
    row.temperature.reset();
    row.figures = FlightFigures{};
    std::vector<uint8_t> bytes;
    if (!readMeasurementFile(path, bytes)) {
        row.status = LogStatus::Unreadable;
        return;
    }
    if (bytes.size() < image::kHeaderSize + image::kSlotSize) {
        row.status = LogStatus::NotAFlight;
        return;
    }
    // A record that held another flight before, as a reading thread's does.
    static const std::unique_ptr<FlightRecord> record = std::make_unique<FlightRecord>();
    const std::optional<ArchiveName> name =
        parseArchiveFileName(utf8String(utf8Path(path).filename()));
    const ArchiveKind kind = name ? name->kind : ArchiveKind::Whole;
    if (!plausibleOnAFreshRecord(bytes.data(), bytes.size())) {
        row.status = kind == ArchiveKind::Corrupt ? LogStatus::Corrupt : LogStatus::NotAFlight;
        return;
    }
    const HandoverResult taken =
        acceptLoadedImage(*record, bytes.data(), bytes.size(), FlightRole::Current);
    if (taken == HandoverResult::Corrupt) {
        row.status = LogStatus::Corrupt;
        return;
    }
    if (taken != HandoverResult::Accepted) {
        row.status = LogStatus::NotAFlight;
        return;
    }
    row.serialNumber = record->serialNumber;
    row.competitorNumber = record->competitorNumber;
    row.samplingCode = record->samplingCode;
    row.temperature = static_cast<int>(std::lround(record->temperature));
    const std::optional<FlightDrawing> drawing = drawFlight(*record, false);
    if (!drawing) {
        row.status = LogStatus::Corrupt;
        return;
    }
    row.figures = flightFigures(drawing->altitudeCm, record->samplesPer10s);
    const bool cut = kind == ArchiveKind::Partial || !imageHasEnd(bytes.data(), bytes.size());
    row.status = kind == ArchiveKind::Corrupt ? LogStatus::Corrupt
                 : cut                        ? LogStatus::Partial
                                              : LogStatus::Ok;
}

} // namespace vtl::testing
