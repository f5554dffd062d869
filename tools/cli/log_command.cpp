// SPDX-License-Identifier: GPL-3.0-or-later
#include "log_command.h"

#include "json_output.h"
#include "recovery_report.h"
#include "text_bytes.h"

#include "core/files/flight_log.h"
#include "core/shell/text_tables.h"
#include "platform/archive_location.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <utility>
#include <vector>

namespace vtl::cli {
namespace {

using nlohmann::ordered_json;

ordered_json optionalInt(const std::optional<int>& value) {
    return value ? ordered_json(*value) : ordered_json(nullptr);
}

// Centimetres and hundredths of a second are what the curve resolves; more digits are noise.
ordered_json optionalFigure(const std::optional<double>& value) {
    return value ? ordered_json(std::round(*value * 100.0) / 100.0 + 0.0) : ordered_json(nullptr);
}

} // namespace

std::string runLog(const CommandLine& args) {
    const std::string folder = args.positionalCount() > 0 ? args.positional(0, "FOLDER")
                                                          : defaultArchiveFolder().toStdString();
    // No download yet: the archive is empty, not broken.
    std::error_code error;
    if (args.positionalCount() == 0 && !std::filesystem::exists(folder, error) && !error) {
        return jsonText(ordered_json::array(), requestedLayout(args));
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
    ordered_json list = ordered_json::array();
    for (const FlightLogRow& row : rows) {
        const FlightFigures& f = row.figures;
        ordered_json item;
        item["file"] = row.fileName;
        if (!validUtf8(row.fileName)) {
            // The name as JSON lost the bytes that were not UTF-8; these give it back.
            item["fileBytes"] = hexBytes(row.fileName);
        }
        item["serial"] = optionalInt(row.serialNumber);
        item["competitor"] = optionalInt(row.competitorNumber);
        item["samplingCode"] = optionalInt(row.samplingCode);
        item["temperature"] = optionalInt(row.temperature);
        item["maximumM"] = optionalFigure(f.maximumM);
        item["maximumS"] = optionalFigure(f.maximumS);
        item["startS"] = optionalFigure(f.startS);
        item["landingS"] = optionalFigure(f.landingS);
        item["flightTimeS"] = optionalFigure(f.flightTimeS);
        item["bestClimbMps"] = optionalFigure(f.bestClimbMps);
        item["meanSinkMps"] = optionalFigure(f.meanSinkMps);
        item["status"] = logStatusName(row.status);
        list.push_back(std::move(item));
    }
    return jsonText(list, requestedLayout(args));
}

} // namespace vtl::cli
