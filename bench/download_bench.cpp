// SPDX-License-Identifier: GPL-3.0-or-later
// A download of a 33,000-byte flight from the device simulator at the real line rate, through the
// Qt serial backend and the program's protocol code. Its floor is the line time of the image
// (33,000 x 11 / 115,200 = 3.15 s) plus the two reply waits before the transfer (two 250 ms steps
// each, as a reply that came in the first step is confirmed by the second): 4.15 s.

#include "core/device/device_protocol.h"
#include "core/shell/program_settings.h"
#include "flight_synthesiser.h"
#include "platform/event_loop_clock.h"
#include "platform/qt_serial_port.h"
#include "platform/system_process_priority.h"
#include "support/child_process.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <fstream>

namespace {

struct SilentPrompter : vtl::Prompter {
    bool showMessage(const std::string&, const std::string&, vtl::PromptButtons) override {
        return true;
    }
    std::string chooseFile(vtl::FileDialog, const std::string&) override { return {}; }
    bool setUpPrinter(vtl::PrinterChoices&) override { return false; }
    bool openDocument(const std::string&) override { return false; }
};

struct NoView : vtl::DownloadView {
    void showReading() override {}
    void resetForNewFlight() override {}
    void blankStatistics() override {}
    void showProgress(const std::string&) override {}
    void hideIndicators() override {}
};

// 8,241 samples and the terminator slot: exactly 33,000 bytes.
std::vector<uint8_t> largestFileFlight() {
    vtl::testing::FlightDescription flight;
    flight.samplingCode = 0;
    for (int i = 0; i < 8241; ++i) {
        flight.altitudeCm.push_back(i < 60 ? 0
                                           : std::min(i * 10, 12000) - (i > 1260 ? i - 1260 : 0));
    }
    return vtl::testing::synthesiseFlightImage(flight);
}

void downloadFromSimulator(benchmark::State& state) {
    vtl::testing::TemporaryFolder folder;
    const auto image = largestFileFlight();
    std::ofstream((folder / "flight.bin"), std::ios::binary)
        .write(reinterpret_cast<const char*>(image.data()), static_cast<long>(image.size()));
    vtl::testing::ChildProcess simulator(VTL_DEVSIM_PATH,
                                         {"--link", (folder / "COM5").string(), "--flight",
                                          (folder / "flight.bin").string(), "--quiet"});
    simulator.nextLine();

    SilentPrompter prompter;
    vtl::Language language = vtl::Language::Polish;
    vtl::ProgramSettings settings = vtl::defaultProgramSettings();
    vtl::QtSerialPort port(QString::fromStdString(folder.path().string()));
    vtl::EventLoopClock clock;
    vtl::SystemProcessPriority priority;
    vtl::SerialChannel channel(port, clock, prompter, language);
    vtl::DeviceProtocol protocol(channel, clock, prompter, language, settings, priority);
    protocol.setPortOverride((folder / "COM5").string());
    NoView view;
    size_t bytes = 0;
    for (auto _ : state) {
        const auto downloaded = protocol.downloadFlight(view);
        bytes = downloaded ? downloaded->bytes.size() : 0;
    }
    state.counters["bytes"] = static_cast<double>(bytes);
    state.counters["floor_s"] = static_cast<double>(image.size()) * 11 / 115200 + 1.0;
}
BENCHMARK(downloadFromSimulator)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
