// SPDX-License-Identifier: GPL-3.0-or-later
#include "log_command.h"

#include "json_writer.h"
#include "recovery_report.h"

#include "core/files/flight_log.h"
#include "core/shell/text_tables.h"
#include "platform/archive_location.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <vector>

namespace vtl::cli {
namespace {

void optionalInt(JsonWriter& json, const char* name, const std::optional<int>& value) {
    json.key(name);
    if (value) {
        json.value(int64_t{*value});
    } else {
        json.null();
    }
}

// Centimetres and hundredths of a second are what the curve resolves; more digits are noise.
void optionalFigure(JsonWriter& json, const char* name, const std::optional<double>& value) {
    json.key(name);
    if (value) {
        json.number(std::round(*value * 100.0) / 100.0 + 0.0);
    } else {
        json.null();
    }
}

} // namespace

std::string runLog(const CommandLine& args) {
    const std::string folder = args.positionalCount() > 0 ? args.positional(0, "FOLDER")
                                                          : defaultArchiveFolder().toStdString();
    // No download yet: the archive is empty, not broken.
    std::error_code error;
    if (args.positionalCount() == 0 && !std::filesystem::exists(folder, error) && !error) {
        return "[]";
    }
    if (args.positionalCount() == 0) {
        recoverArchiveFolder(folder, Language::English);
    }
    int folderError = 0;
    bool foreignCache = false;
    const std::vector<FlightLogRow> rows =
        scanFlightLog(folder, {}, nullptr, &foreignCache, &folderError);
    if (folderError != 0) {
        throw CommandError(folderUnreadableText(folder, folderError, Language::English));
    }
    if (foreignCache) {
        const std::string cache = (std::filesystem::path(folder) / kFlightLogCacheName).string();
        std::fprintf(stderr, "vantorel-cli: %s\n",
                     messageWith(Message::ForeignLogCache, cache, Language::English).c_str());
    }
    JsonWriter json;
    json.beginArray();
    for (const FlightLogRow& row : rows) {
        const FlightFigures& f = row.figures;
        json.beginObject().key("file").value(row.fileName);
        if (!validUtf8(row.fileName)) {
            // The name as JSON lost the bytes that were not UTF-8; these give it back.
            json.key("fileBytes").value(hexBytes(row.fileName));
        }
        optionalInt(json, "serial", row.serialNumber);
        optionalInt(json, "competitor", row.competitorNumber);
        optionalInt(json, "samplingCode", row.samplingCode);
        optionalInt(json, "temperature", row.temperature);
        optionalFigure(json, "maximumM", f.maximumM);
        optionalFigure(json, "maximumS", f.maximumS);
        optionalFigure(json, "startS", f.startS);
        optionalFigure(json, "landingS", f.landingS);
        optionalFigure(json, "flightTimeS", f.flightTimeS);
        optionalFigure(json, "bestClimbMps", f.bestClimbMps);
        optionalFigure(json, "meanSinkMps", f.meanSinkMps);
        json.key("status").value(std::string(logStatusName(row.status))).endObject();
    }
    json.endArray();
    return json.text();
}

} // namespace vtl::cli
