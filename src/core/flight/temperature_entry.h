// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vtl {

// The value that stands for a temperature text that is not a whole number.
constexpr int32_t kNotATemperature = 65535;

// Keys the temperature fields take: a digit while the text has at most two characters; Enter,
// Backspace and '-' always; nothing else.
bool temperatureKeyPasses(char key, size_t currentLength);

// The typed text as a decimal integer, or kNotATemperature when it is not one.
int32_t temperatureFromText(const std::string& text);

// What the device's sensor can measure; a flight at another temperature is a typing slip.
constexpr int32_t kLowestSensorTemperature = -40;
constexpr int32_t kHighestSensorTemperature = 85;

// The typed text as a temperature the sensor can have measured, or kNotATemperature.
int32_t sensorTemperatureFromText(const std::string& text);

} // namespace vtl
