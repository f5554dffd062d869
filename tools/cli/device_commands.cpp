#include "device_commands.h"

#include "device_session.h"
#include "json_writer.h"

#include "files/flight_archive.h"
#include "files/measurement_file.h"
#include "flight/image_handover.h"
#include "shell/text_tables.h"

#include <QStandardPaths>

#include <cstdio>
#include <ctime>
#include <memory>

namespace vtl::cli {
namespace {

// The transfer shows nothing on a terminal; the protocol reports failures itself.
class QuietDownloadView : public DownloadView {
public:
    void showReading() override {}
    void resetForNewFlight() override {}
    void blankStatistics() override {}
    void showProgress(const std::string&) override {}
    void hideIndicators() override {}
};

// The setup as read from the device.
class SetupReading : public DeviceSetupView {
public:
    int temperature = 0, competitor = 0, serial = 0, trigger = 0, sampling = 0, manual = 0,
        delay = 0;
    void showTemperature(int v) override { temperature = v; }
    void showCompetitorNumber(int v) override { competitor = v; }
    void showSerialNumber(int v) override { serial = v; }
    void showTriggerMetres(int v) override { trigger = v; }
    void selectSamplingCode(int v) override { sampling = v; }
    void selectManualZeroing(int v) override { manual = v; }
    void showDelaySeconds(int v) override { delay = v; }
};

void require(DeviceProtocol::Outcome outcome, const char* what) {
    if (outcome != DeviceProtocol::Outcome::Done) {
        throw CommandError(what);
    }
}

int integerOption(const CommandLine& args, const std::string& name, int lowest, int highest) {
    const auto text = args.option(name);
    if (!text) {
        throw CommandError(name + " is required");
    }
    size_t end = 0;
    int value = 0;
    try {
        value = std::stoi(*text, &end);
    } catch (const std::exception&) {
        end = 0;
    }
    if (end == 0 || end != text->size() || value < lowest || value > highest) {
        throw CommandError(name + " takes a whole number from " + std::to_string(lowest) + " to " +
                           std::to_string(highest) + ", not '" + *text + "'");
    }
    return value;
}

// The same copy the window keeps of every download; a failure is told and the download stands.
void keepInArchive(const CommandLine& args, const FlightRecord& record, int32_t language) {
    const std::string folder =
        args.option("--archive-folder")
            .value_or((QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                       QStringLiteral("/vantorel/flights"))
                          .toStdString());
    const std::vector<uint8_t> image(record.rawImage.begin(),
                                     record.rawImage.begin() + record.rawLength);
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    if (!archiveFlight(folder, image, local, record.serialNumber, record.competitorNumber)) {
        std::fprintf(stderr, "%s%s\n", message(Message::ArchiveFailed, language).c_str(),
                     folder.c_str());
    }
}

} // namespace

std::string runDownload(const CommandLine& args) {
    const std::string out = args.positional(0, "OUT");
    DeviceSession session(args);
    QuietDownloadView view;
    const auto image = session.protocol().downloadFlight(view);
    if (!image) {
        throw CommandError("download failed");
    }
    auto record = std::make_unique<FlightRecord>();
    if (acceptDownloadedImage(*record, image->bytes.data(), image->bytes.size(),
                              image->referenceWord,
                              FlightRole::Current) != HandoverResult::Accepted) {
        throw CommandError("corrupt flight data");
    }
    if (!writeMeasurementFile(out, *record)) {
        throw CommandError("cannot write " + out);
    }
    if (!args.flag("--no-archive")) {
        keepInArchive(args, *record, session.language());
    }
    return {};
}

std::string runZero(const CommandLine& args) {
    DeviceSession session(args);
    require(session.protocol().zeroDevice(false), "zeroing failed");
    return {};
}

std::string runSetupDefault(const CommandLine& args) {
    DeviceSession session(args);
    require(session.protocol().writeDefaultSetup([](bool) {}), "default setup failed");
    return {};
}

std::string runSetupRead(const CommandLine& args) {
    DeviceSession session(args);
    session.channel().openPort(session.protocol().portName());
    if (!session.channel().isOpen()) {
        throw CommandError("cannot open the port");
    }
    SetupReading setup;
    const int complete = session.protocol().readDeviceSetup(setup);
    session.channel().closePort();
    if (complete != 1) {
        throw CommandError("the device did not answer");
    }
    JsonWriter json;
    json.beginObject()
        .key("competitorNumber")
        .value(int64_t{setup.competitor})
        .key("serialNumber")
        .value(int64_t{setup.serial})
        .key("temperature")
        .value(int64_t{setup.temperature})
        .key("triggerMetres")
        .value(int64_t{setup.trigger})
        .key("samplingCode")
        .value(int64_t{setup.sampling})
        .key("manualZeroing")
        .value(int64_t{setup.manual})
        .key("delaySeconds")
        .value(int64_t{setup.delay})
        .endObject();
    return json.text();
}

std::string runSetupWrite(const CommandLine& args) {
    DeviceSetupEntries entries;
    entries.triggerMetres = std::to_string(integerOption(args, "--trigger", 0, 200));
    entries.competitorNumber = std::to_string(integerOption(args, "--competitor", 0, 10000));
    entries.samplingIndex = integerOption(args, "--sampling", 0, 5);
    entries.manualZeroingIndex = integerOption(args, "--manual-zero", 0, 1);
    entries.delaySeconds = std::to_string(integerOption(args, "--delay", 0, 300));
    DeviceSession session(args);
    session.channel().openPort(session.protocol().portName());
    if (!session.channel().isOpen()) {
        throw CommandError("cannot open the port");
    }
    require(session.protocol().writeDeviceSetup(entries), "setup write failed");
    return {};
}

} // namespace vtl::cli
