// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as the flight log's cache: refused, or read into rows whose status names one of the
// log's states (the window looks up its text by it) and that write back as a cache which reads
// back to the same text; the rows also make a CSV.
#include "core/files/flight_log.h"

#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vtl;
    const std::string text(reinterpret_cast<const char*>(data), size);
    const auto rows = parseFlightLogCache(text);
    if (!rows) {
        return 0;
    }
    for (const FlightLogRow& row : *rows) {
        const int status = static_cast<int>(row.status);
        if (status < static_cast<int>(LogStatus::Ok) ||
            status > static_cast<int>(LogStatus::NotAFlight)) {
            std::abort();
        }
    }
    const std::string written = flightLogCacheText(*rows);
    const auto reread = parseFlightLogCache(written);
    if (!reread || reread->size() != rows->size() || flightLogCacheText(*reread) != written) {
        std::abort();
    }
    flightLogCsv(*rows);
    return 0;
}
