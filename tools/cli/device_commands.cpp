// SPDX-License-Identifier: GPL-3.0-or-later
#include "device_commands.h"

#include "device_session.h"
#include "interrupt_hook.h"
#include "json_output.h"
#include "recovery_report.h"

#include "core/files/keep_download.h"
#include "core/files/measurement_file.h"
#include "core/flight/image_handover.h"
#include "core/shell/framework_texts.h"
#include "core/shell/local_time.h"
#include "core/shell/text_tables.h"
#include "platform/archive_location.h"

#include <cstdio>
#include <memory>
#include <optional>

namespace vtl::cli {
namespace {

// The transfer shows nothing on a terminal; the protocol reports failures itself. Ctrl-C stops
// the transfer as the window's Cancel button does.
class QuietDownloadView : public DownloadView {
public:
    void showReading() override {}
    void resetForNewFlight() override {}
    void blankStatistics() override {}
    void showProgress(const std::string&) override {}
    void hideIndicators() override {}
    bool cancelRequested() override { return m_interrupt.interrupted(); }

private:
    InterruptHook m_interrupt;
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

// A step the window would have answered with a failure message fails the command too, even
// where the window goes on; a failure already told on stderr is not told twice.
void require(DeviceSession& session, DeviceProtocol::Outcome outcome, const char* what) {
    if (session.prompter().failureTold()) {
        throw ToldFailure(what);
    }
    if (outcome != DeviceProtocol::Outcome::Done) {
        throw CommandError(what);
    }
}

int integerOption(const CommandLine& args, const std::string& name, int lowest, int highest) {
    const auto text = args.option(name);
    if (!text) {
        throw UsageError(name + " is required");
    }
    size_t end = 0;
    int value = 0;
    try {
        value = std::stoi(*text, &end);
    } catch (const std::exception&) {
        end = 0;
    }
    if (end == 0 || end != text->size()) {
        throw UsageError(name + " takes a whole number, not '" + *text + "'");
    }
    if (value < lowest || value > highest) {
        throw CommandError(name + " takes a whole number from " + std::to_string(lowest) + " to " +
                           std::to_string(highest) + ", not '" + *text + "'");
    }
    return value;
}

// The same copy the window keeps of every download, unless told not to.
std::optional<std::string> archiveFolder(const CommandLine& args) {
    if (args.flag("--no-archive")) {
        return std::nullopt;
    }
    return args.option("--archive-folder").value_or(vtl::defaultArchiveFolder().toStdString());
}

// Every device command first takes back what an interrupted save left in the archive, as the
// window does when it starts.
void recoverArchive(const CommandLine& args, const DeviceSession& session) {
    if (const auto folder = archiveFolder(args)) {
        recoverArchiveFolder(*folder, session.language());
    }
}

} // namespace

ArchivedDownload downloadToArchive(DeviceSession& session, const CommandLine& args) {
    recoverArchive(args, session);
    QuietDownloadView view;
    const auto result = session.protocol().downloadFlight(view);
    if (result.outcome == DeviceProtocol::Outcome::Cancelled) {
        throw CommandError("download cancelled");
    }
    if (!result) {
        require(session, result.outcome, "download failed");
        throw CommandError("download failed");
    }
    ArchivedDownload download;
    download.record = std::make_unique<FlightRecord>();
    download.archiveFolder = archiveFolder(args);
    download.time = localTimeNow();
    download.kept = keepDownload(*result, *download.record, download.archiveFolder, download.time);
    if (download.kept.archiveFailed) {
        // Told, and the download stands.
        std::fprintf(stderr, "%s%s\n", message(Message::ArchiveFailed, session.language()).c_str(),
                     download.archiveFolder->c_str());
    }
    if (!download.kept.accepted()) {
        throw CommandError(
            "corrupt flight data" +
            (download.kept.keptPath ? " (kept as " + *download.kept.keptPath + ")" : ""));
    }
    download.image =
        downloadedImageBytes(result->bytes.data(), result->bytes.size(), result->referenceWord);
    return download;
}

void zeroDevice(DeviceSession& session) {
    require(session, session.protocol().zeroDevice(false), "zeroing failed");
}

std::string runDownload(const CommandLine& args) {
    const std::string out = args.positional(0, "OUT");
    DeviceSession session(args);
    const ArchivedDownload download = downloadToArchive(session, args);
    const FlightRecord* record = download.record.get();
    const KeptDownload& kept = download.kept;
    int error = 0;
    if (!writeMeasurementFile(out, *record, &error)) {
        // The device has already cleared its new-flight flag: where the flight was kept is
        // the only way back to it.
        std::string text = cannotCreateFileText(out, error, session.language());
        if (kept.keptPath) {
            text += "\n" + message(Message::KeptAs, session.language()) + *kept.keptPath;
        }
        throw CommandError(text);
    }
    if (!kept.complete) {
        throw IncompleteResult(
            incompleteDownloadText(kept.receivedBytes, kept.announcedBytes, session.language()));
    }
    return {};
}

std::string runZero(const CommandLine& args) {
    DeviceSession session(args);
    recoverArchive(args, session);
    zeroDevice(session);
    return {};
}

std::string runSetupDefault(const CommandLine& args) {
    DeviceSession session(args);
    recoverArchive(args, session);
    require(session, session.protocol().writeDefaultSetup([](bool) {}, false),
            "default setup failed");
    return {};
}

std::string runSetupRead(const CommandLine& args) {
    DeviceSession session(args);
    recoverArchive(args, session);
    session.channel().openPort(session.protocol().portName());
    if (!session.channel().isOpen()) {
        require(session, DeviceProtocol::Outcome::PortFailed, "cannot open the port");
    }
    SetupReading setup;
    const int complete = session.protocol().readDeviceSetup(setup);
    session.channel().closePort();
    require(session,
            complete == 1 ? DeviceProtocol::Outcome::Done : DeviceProtocol::Outcome::Failed,
            "the device did not answer");
    nlohmann::ordered_json json;
    json["competitorNumber"] = int64_t{setup.competitor};
    json["serialNumber"] = int64_t{setup.serial};
    json["temperature"] = int64_t{setup.temperature};
    json["triggerMetres"] = int64_t{setup.trigger};
    json["samplingCode"] = int64_t{setup.sampling};
    json["manualZeroing"] = int64_t{setup.manual};
    json["delaySeconds"] = int64_t{setup.delay};
    return jsonText(json, requestedLayout(args));
}

std::string runSetupWrite(const CommandLine& args) {
    DeviceSetupEntries entries;
    entries.triggerMetres = std::to_string(integerOption(args, "--trigger", 0, 200));
    entries.competitorNumber = std::to_string(integerOption(args, "--competitor", 0, 10000));
    entries.samplingIndex = integerOption(args, "--sampling", 0, 5);
    entries.manualZeroingIndex = integerOption(args, "--manual-zero", 0, 1);
    entries.delaySeconds = std::to_string(integerOption(args, "--delay", 0, 300));
    DeviceSession session(args);
    recoverArchive(args, session);
    session.channel().openPort(session.protocol().portName());
    if (!session.channel().isOpen()) {
        require(session, DeviceProtocol::Outcome::PortFailed, "cannot open the port");
    }
    require(session, session.protocol().writeDeviceSetup(entries), "setup write failed");
    return {};
}

} // namespace vtl::cli
