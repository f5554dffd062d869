#include "flight_files.h"

#include "core/files/measurement_file.h"
#include "core/flight/image_handover.h"
#include "core/shell/program_settings.h"
#include "platform/settings_location.h"

#include <QCoreApplication>

#include <vector>

namespace vtl::cli {

std::unique_ptr<FlightRecord> loadFlight(const std::string& path, FlightRole role) {
    std::vector<uint8_t> bytes;
    if (!readMeasurementFile(path, bytes)) {
        throw CommandError("cannot read " + path);
    }
    auto record = std::make_unique<FlightRecord>();
    if (acceptLoadedImage(*record, bytes.data(), bytes.size(), role) != HandoverResult::Accepted) {
        throw CommandError("corrupt flight data in " + path);
    }
    return record;
}

std::string programSettingsPath(const CommandLine& args) {
    if (const auto path = args.option("--settings")) {
        return *path;
    }
    const QString program = QCoreApplication::applicationDirPath() + QStringLiteral("/vantorel");
    return resolveSettingsFilePath(program).toStdString();
}

int32_t settingsLanguage(const CommandLine& args) {
    return loadProgramSettings(programSettingsPath(args)).language;
}

} // namespace vtl::cli
