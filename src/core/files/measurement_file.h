// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/flight/flight_record.h"
#include "core/shell/language.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vtl {

// A measurement file holds a flight image byte for byte; at most this many bytes are read.
constexpr size_t kMeasurementReadLimit = 33000;

// Why a measurement file was not read.
enum class MeasurementReadFailure { None, CannotRead, NotARegularFile };

// Reads up to kMeasurementReadLimit bytes of the file. Returns false when it cannot be opened or
// read, and at once for anything but a regular file (a pipe would wait for a writer, a device
// would never end); `failure` says which.
bool readMeasurementFile(const std::string& path, std::vector<uint8_t>& bytes,
                         MeasurementReadFailure* failure = nullptr);

// "Cannot open file PATH", with the reason where one is known.
std::string cannotReadMeasurementText(const std::string& path, MeasurementReadFailure failure,
                                      Language language);

// Writes the record's image (its first rawLength bytes) through a temporary file and a rename;
// `error` says why it failed.
bool writeMeasurementFile(const std::string& path, const FlightRecord& record,
                          int* error = nullptr);

// Windows takes '/' as well as '\\', and Qt hands every path over with '/'.
constexpr bool kSlashSeparatesFolders = true;

// The part of a path after its last backslash (and, where '/' separates folders, after its last
// '/'); a separator in the last place does not count. The whole path when it has none.
std::string fileTitle(const std::string& path, bool slashSeparates = kSlashSeparatesFolders);

} // namespace vtl
