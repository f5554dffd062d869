// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/flight/temperature_entry.h"

#include <cerrno>
#include <cstdlib>
#include <limits>

namespace vtl {

bool temperatureKeyPasses(char key, size_t currentLength) {
    if (key >= '0' && key <= '9') {
        return currentLength <= 2;
    }
    return key == '\r' || key == '\b' || key == '-';
}

int32_t temperatureFromText(const std::string& text) {
    size_t start = text.find_first_not_of(' ');
    if (start == std::string::npos) {
        return kNotATemperature;
    }
    const std::string number = text.substr(start);
    const size_t digits = (number[0] == '-' || number[0] == '+') ? 1 : 0;
    if (number.size() == digits ||
        number.find_first_not_of("0123456789", digits) != std::string::npos) {
        return kNotATemperature;
    }
    errno = 0;
    const long long value = std::strtoll(number.c_str(), nullptr, 10);
    if (errno != 0 || value < std::numeric_limits<int32_t>::min() ||
        value > std::numeric_limits<int32_t>::max()) {
        return kNotATemperature;
    }
    return static_cast<int32_t>(value);
}

int32_t sensorTemperatureFromText(const std::string& text) {
    const int32_t temperature = temperatureFromText(text);
    if (temperature < kLowestSensorTemperature || temperature > kHighestSensorTemperature) {
        return kNotATemperature;
    }
    return temperature;
}

} // namespace vtl
