// SPDX-License-Identifier: GPL-3.0-or-later
#include "filter_command.h"

#include "flight_files.h"
#include "json_output.h"

#include "core/device/setup_limits.h"
#include "core/files/measurement_file.h"
#include "core/flight/flight_drawing.h"
#include "core/flight/flight_record.h"
#include "core/flight/image_handover.h"
#include "core/flight/smoothing_filter.h"
#include "core/shell/program_settings.h"

#include <memory>
#include <sstream>
#include <vector>

namespace vtl::cli {
namespace {

FilterParameters parametersFrom(const std::string& text) {
    std::vector<int32_t> values;
    std::istringstream parts(text);
    for (std::string part; std::getline(parts, part, ',');) {
        const std::optional<int32_t> value = wholeNumberFromText(part);
        if (!value) {
            values.clear();
            break;
        }
        values.push_back(*value);
    }
    if (values.size() != 4 || text.back() == ',') {
        throw UsageError("--params needs four whole numbers PRE,FINAL,LEN1,LEN2, not '" + text +
                         "'");
    }
    return {values[0], values[1], values[2], values[3]};
}

} // namespace

std::string runFilter(const CommandLine& args) {
    const ProgramSettings settings = loadSettingsFor(programSettingsPlaces(args));
    const std::optional<std::string> given = args.option("--params");
    const FilterParameters parameters =
        given ? parametersFrom(*given) : filterParametersFrom(settings);

    const bool comparison = args.flag("--comparison");
    auto record = loadFlight(args.positional(0, "FILE"),
                             comparison ? FlightRole::Comparison : FlightRole::Current);
    if (const auto temperature = args.floatOption("--temperature")) {
        record->temperature = *temperature;
    }
    const bool drawn = comparison ? drawComparison(*record).has_value()
                                  : drawFlight(*record, settings.showAcceleration != 0).has_value();
    if (!drawn) {
        throw CommandError("corrupt flight data");
    }
    if (!canFilter(*record)) {
        throw CommandError("too few samples to filter");
    }
    const FilterResult result =
        filterCurve(record->altitudeCm.data(), record->altitudeCm.size(), parameters);
    nlohmann::ordered_json json;
    json["filteredCm"] = result.filteredCm;
    json["unfilteredCm"] = result.unfilteredCm;
    json["maxText"] = result.maxText;
    json["minText"] = result.minText;
    return jsonText(json, requestedLayout(args));
}

} // namespace vtl::cli
