// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

namespace vtl {

constexpr int kSamplingCodeCount = 16;

// Samples per ten seconds for a four-bit sampling code.
uint32_t samplesPer10sForCode(uint8_t samplingCode);

// The text shown beside a flight for its sampling code, in the style of the device settings list.
std::string samplingTextForCode(uint8_t samplingCode);

} // namespace vtl
