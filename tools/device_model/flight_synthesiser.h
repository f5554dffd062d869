// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/flight/calibration.h"

#include <cstdint>
#include <vector>

namespace vtl::testing {

// What a synthesised flight should decode to.
struct FlightDescription {
    Calibration calibration;
    uint8_t samplingCode = 2;
    int startTemperature = 20; // degrees Celsius as the header decodes it
    uint16_t competitorNumber = 42;
    uint16_t serialNumber = 1234;
    uint16_t referenceWord = 10000;
    int32_t groundPressurePa = 101325;
    std::vector<int32_t> altitudeCm; // one value a sample; the first ones should be on the ground
};

// A raw temperature word whose header temperature is the given one; the closest to 25 degrees
// of the sensor's own reading is taken so that the pressure compensation stays realistic.
uint16_t rawTemperatureFor(int celsius, const Calibration& calibration);

// The raw pressure word whose compensated pressure is closest to the given pascals.
uint16_t rawPressureFor(int32_t pascals, uint16_t rawTemperature, const Calibration& calibration);

// A flight image (header, one slot a sample, one terminator slot) whose conversion gives the
// described altitudes as closely as the sensor's resolution allows.
std::vector<uint8_t> synthesiseFlightImage(const FlightDescription& flight);

} // namespace vtl::testing
