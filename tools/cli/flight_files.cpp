// SPDX-License-Identifier: GPL-3.0-or-later
#include "flight_files.h"

#include "core/files/measurement_file.h"
#include "core/flight/image_handover.h"
#include "core/shell/program_settings.h"
#include "core/shell/text_tables.h"
#include "platform/settings_location.h"

#include <QCoreApplication>

#include <cstdio>
#include <vector>

namespace vtl::cli {

std::unique_ptr<FlightRecord> loadFlight(const std::string& path, FlightRole role) {
    std::vector<uint8_t> bytes;
    MeasurementReadFailure failure = MeasurementReadFailure::None;
    if (!readMeasurementFile(path, bytes, &failure)) {
        throw CommandError("cannot read " + path +
                           (failure == MeasurementReadFailure::NotARegularFile
                                ? ": " + message(Message::ReasonNotARegularFile, Language::English)
                                : std::string()));
    }
    auto record = std::make_unique<FlightRecord>();
    if (acceptLoadedImage(*record, bytes.data(), bytes.size(), role) != HandoverResult::Accepted) {
        throw CommandError("corrupt flight data in " + path);
    }
    return record;
}

SettingsPlaces programSettingsPlaces(const CommandLine& args) {
    if (const auto path = args.option("--settings")) {
        return SettingsPlaces::singleFile(*path);
    }
    return settingsPlacesFor(QCoreApplication::applicationDirPath() + QStringLiteral("/vantorel"));
}

ProgramSettings loadSettingsFor(const SettingsPlaces& places) {
    const SettingsLoad load = loadSettingsFrom(places);
    // Only the first lines: this tool never saves the settings.
    for (const std::string& path : load.unreadable) {
        SettingsLoad one;
        one.unreadable = {path};
        one.saveTo = path;
        std::fprintf(stderr, "%s\n",
                     unreadableSettingsText(one, languageOf(load.settings.language)).c_str());
    }
    return load.settings;
}

Language settingsLanguage(const CommandLine& args) {
    return languageOf(loadSettingsFrom(programSettingsPlaces(args)).settings.language);
}

} // namespace vtl::cli
