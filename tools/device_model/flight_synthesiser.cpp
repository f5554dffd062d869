// SPDX-License-Identifier: GPL-3.0-or-later
#include "flight_synthesiser.h"

#include "core/flight/altitude_conversion.h"
#include "core/flight/flight_image.h"
#include "core/flight/flight_record.h"
#include "core/flight/header_decoder.h"
#include "core/flight/pressure_compensation.h"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <memory>
#include <stdexcept>

namespace vtl::testing {
namespace {

constexpr double kKelvinOffset = 273.16;
constexpr double kBarometricFactor = 29.271767;
constexpr uint16_t kHighestRawPressure = 0xFFFE; // 0xFFFF ends a recording

int32_t pressureOf(uint16_t rawPressure, uint16_t rawTemperature, const Calibration& c) {
    const auto pascals = samplePressure(rawPressure, rawTemperature, c);
    if (!pascals) {
        throw std::invalid_argument("calibration makes the sensor's divisor zero");
    }
    return *pascals;
}

void writeHeader(std::vector<uint8_t>& bytes, const FlightDescription& flight, uint16_t ut) {
    uint8_t* header = bytes.data();
    image::writeWord(header, image::kCompetitorNumber, flight.competitorNumber);
    image::writeWord(header, image::kSerialNumber, flight.serialNumber);
    image::writeWord(header, image::kStartTemperature, ut);
    header[image::kSamplingCode] = flight.samplingCode & 0x0F;
    image::writeWord(header, image::kReferenceWord, flight.referenceWord);
    const Calibration& c = flight.calibration;
    const uint16_t words[] = {static_cast<uint16_t>(c.AC1),
                              static_cast<uint16_t>(c.AC2),
                              static_cast<uint16_t>(c.AC3),
                              c.AC4,
                              c.AC5,
                              c.AC6,
                              static_cast<uint16_t>(c.B1),
                              static_cast<uint16_t>(c.B2),
                              static_cast<uint16_t>(c.MB),
                              static_cast<uint16_t>(c.MC),
                              static_cast<uint16_t>(c.MD)};
    for (size_t i = 0; i < 11; ++i) {
        image::writeWord(header, image::kCalibration + 2 * i, words[i]);
    }
}

void writeSlot(std::vector<uint8_t>& bytes, size_t index, uint16_t ut, uint16_t up) {
    uint8_t* slot = bytes.data() + image::kHeaderSize + image::kSlotSize * index;
    image::writeWord(slot, image::kSlotTemperature, ut);
    image::writeWord(slot, image::kSlotPressure, up);
}

} // namespace

uint16_t rawTemperatureFor(int celsius, const Calibration& calibration) {
    auto record = std::make_unique<FlightRecord>();
    record->calibration = calibration;
    int bestDistance = std::numeric_limits<int>::max();
    uint16_t best = 0;
    bool found = false;
    for (uint32_t ut = 0; ut <= 0xFFFF; ++ut) {
        record->startRawTemperature = static_cast<uint16_t>(ut);
        const auto header = headerTemperature(*record);
        const auto b5 = temperatureTermB5(static_cast<uint16_t>(ut), calibration);
        if (!header || !b5 || *header != celsius) {
            continue;
        }
        const int distance = std::abs((*b5 + 8) / 16 - 250);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = static_cast<uint16_t>(ut);
            found = true;
        }
    }
    if (!found) {
        throw std::invalid_argument("no raw temperature gives the requested header temperature");
    }
    return best;
}

uint16_t rawPressureFor(int32_t pascals, uint16_t rawTemperature, const Calibration& c) {
    uint32_t low = 0;
    uint32_t high = kHighestRawPressure;
    while (low < high) {
        const uint32_t middle = (low + high) / 2;
        if (pressureOf(static_cast<uint16_t>(middle), rawTemperature, c) < pascals) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    if (low > 0) {
        const int32_t above = pressureOf(static_cast<uint16_t>(low), rawTemperature, c);
        const int32_t below = pressureOf(static_cast<uint16_t>(low - 1), rawTemperature, c);
        if (std::abs(static_cast<int64_t>(below) - pascals) <
            std::abs(static_cast<int64_t>(above) - pascals)) {
            return static_cast<uint16_t>(low - 1);
        }
    }
    return static_cast<uint16_t>(low);
}

std::vector<uint8_t> synthesiseFlightImage(const FlightDescription& flight) {
    const Calibration& c = flight.calibration;
    const uint16_t ut = rawTemperatureFor(flight.startTemperature, c);
    const size_t samples = flight.altitudeCm.size();
    std::vector<uint8_t> bytes(image::kHeaderSize + image::kSlotSize * (samples + 1), 0);
    writeHeader(bytes, flight, ut);

    const uint16_t groundWord = rawPressureFor(flight.groundPressurePa, ut, c);
    const double referenceHpa = pressureOf(groundWord, ut, c) * 0.01;
    const double metresPerLog = (flight.startTemperature + kKelvinOffset) * kBarometricFactor;
    for (size_t i = 0; i < samples; ++i) {
        const double metres = flight.altitudeCm[i] / 100.0;
        const double hpa = referenceHpa * std::exp(-metres / metresPerLog);
        writeSlot(bytes, i, ut,
                  rawPressureFor(static_cast<int32_t>(std::lround(hpa * 100.0)), ut, c));
    }
    writeSlot(bytes, samples, 0xFFFF, image::kTerminatorPressure);
    return bytes;
}

} // namespace vtl::testing
