#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vtl {

// A measurement file holds a flight image byte for byte; at most this many bytes are read.
constexpr size_t kMeasurementReadLimit = 33000;

// Reads up to kMeasurementReadLimit bytes of the file. Returns false when it cannot be opened.
bool readMeasurementFile(const std::string &path, std::vector<uint8_t> &bytes);

} // namespace vtl
