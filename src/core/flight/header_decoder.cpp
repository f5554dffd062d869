// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/flight/header_decoder.h"

#include "core/flight/flight_image.h"
#include "core/flight/pressure_compensation.h"
#include "core/flight/sampling_code.h"

#include <algorithm>

namespace vtl {
namespace {

constexpr double kTemperatureScale = 0.81;
constexpr int kHighestTemperature = 80;
constexpr int kLowestTemperature = -30;
constexpr int kFallbackTemperature = 20;

// The header as far as the image supplies it; missing bytes are zero.
std::array<uint8_t, image::kHeaderSize> headerBytes(const FlightRecord& record) {
    std::array<uint8_t, image::kHeaderSize> header{};
    const size_t available = static_cast<size_t>(
        std::clamp<int32_t>(record.rawLength, 0, static_cast<int32_t>(image::kHeaderSize)));
    std::copy_n(record.rawImage.begin(), available, header.begin());
    return header;
}

} // namespace

std::optional<int8_t> headerTemperature(const FlightRecord& record) {
    const std::optional<int32_t> b5 =
        temperatureTermB5(record.startRawTemperature, record.calibration);
    if (!b5) {
        return std::nullopt;
    }
    const int32_t tenths = (*b5 + 8) / 16;
    int celsius = static_cast<int8_t>(static_cast<uint8_t>(tenths / 10));
    if (celsius > 0) {
        celsius = static_cast<int>(celsius * kTemperatureScale);
    }
    if (celsius > kHighestTemperature || celsius < kLowestTemperature) {
        celsius = kFallbackTemperature;
    }
    return static_cast<int8_t>(celsius);
}

bool decodeHeader(FlightRecord& record) {
    const auto header = headerBytes(record);
    const uint8_t* bytes = header.data();

    record.competitorNumber = image::readWord(bytes, image::kCompetitorNumber);
    record.serialNumber = image::readWord(bytes, image::kSerialNumber);
    record.startRawTemperature = image::readWord(bytes, image::kStartTemperature);
    record.samplingCode = bytes[image::kSamplingCode] & 0x0F;
    record.samplesPer10s = samplesPer10sForCode(record.samplingCode);

    auto coefficient = [bytes](int index) {
        return image::readWord(bytes, image::kCalibration + 2 * static_cast<size_t>(index));
    };
    Calibration& c = record.calibration;
    c.AC1 = static_cast<int16_t>(coefficient(0));
    c.AC2 = static_cast<int16_t>(coefficient(1));
    c.AC3 = static_cast<int16_t>(coefficient(2));
    c.AC4 = coefficient(3);
    c.AC5 = coefficient(4);
    c.AC6 = coefficient(5);
    c.B1 = static_cast<int16_t>(coefficient(6));
    c.B2 = static_cast<int16_t>(coefficient(7));
    c.MB = static_cast<int16_t>(coefficient(8));
    c.MC = static_cast<int16_t>(coefficient(9));
    c.MD = static_cast<int16_t>(coefficient(10));

    const std::optional<int8_t> celsius = headerTemperature(record);
    if (!celsius) {
        return false;
    }
    record.temperature = static_cast<float>(*celsius);
    return true;
}

} // namespace vtl
