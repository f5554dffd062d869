// SPDX-License-Identifier: GPL-3.0-or-later
#include "output_commands.h"

#include "flight_files.h"

#include "core/chart/top_row_layout.h"
#include "core/files/flight_notes.h"
#include "core/files/flight_overlay.h"
#include "core/files/measurement_file.h"
#include "core/files/spreadsheet_export.h"
#include "core/flight/comparison_resampling.h"
#include "core/flight/flight_drawing.h"
#include "core/flight/image_handover.h"
#include "core/shell/atomic_file.h"
#include "core/shell/framework_texts.h"
#include "core/shell/program_settings.h"
#include "core/shell/text_tables.h"
#include "gui/chart/chart_view.h"
#include "gui/files/chart_output.h"
#include "gui/files/overlay_chart.h"
#include "gui/flight/flight_presenter.h"
#include "gui/look/window_look.h"

#include <QBuffer>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace vtl::cli {
namespace {

// Drawing asks nothing; a message it gives is the command's error.
class CollectingPrompter : public Prompter {
public:
    bool showMessage(const std::string& text, const std::string&, PromptButtons) override {
        m_messages.push_back(text);
        return false;
    }
    std::string chooseFile(FileDialog, const std::string&) override { return {}; }
    bool setUpPrinter(PrinterChoices&) override { return false; }
    bool openDocument(const std::string&) override { return false; }

    const std::vector<std::string>& messages() const { return m_messages; }

private:
    std::vector<std::string> m_messages;
};

int sizeOption(const CommandLine& args, const std::string& name, int fallback) {
    const auto value = args.floatOption(name);
    if (!value) {
        return fallback;
    }
    if (*value < 1 || *value > 20000 || *value != static_cast<int>(*value)) {
        throw CommandError(name + " takes a whole number of pixels");
    }
    return static_cast<int>(*value);
}

QString pictureTarget(const CommandLine& args, size_t index) {
    const QString out = QString::fromStdString(args.positional(index, "OUT"));
    if (!out.endsWith(QLatin1String(".bmp"), Qt::CaseInsensitive) &&
        !out.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive) &&
        !out.endsWith(QLatin1String(".png"), Qt::CaseInsensitive)) {
        throw CommandError("OUT must end in .bmp, .png or .pdf");
    }
    return out;
}

} // namespace

std::string runExport(const CommandLine& args) {
    const std::string path = args.positional(0, "FILE");
    const std::string out = args.positional(1, "OUT");
    auto record = loadFlight(path, FlightRole::Current);
    if (const auto temperature = args.floatOption("--temperature")) {
        record->temperature = *temperature;
    }
    if (!drawFlight(*record, false)) {
        throw CommandError("corrupt flight data in " + path);
    }
    // Nothing drawn (a header without samples): the window refuses to export it too.
    if (record->seriesCount == 0) {
        throw CommandError(message(Message::NoData, Language::English));
    }
    // The window's save dialog adds ".csv" to a name that has it nowhere.
    const std::string target = args.flag("--exact-name") ? out : withRequiredSuffix(out, ".csv");
    const std::vector<uint8_t> lines = spreadsheetBytes(*record, '.');
    int error = 0;
    if (!writeFileAtomically(target, lines.data(), lines.size(), &error)) {
        throw CommandError(cannotCreateFileText(target, error, settingsLanguage(args)));
    }
    return {};
}

namespace {

// The chart as OUT asks: a PDF printed as "Drukuj" prints into a file, a BMP, or else a PNG,
// each written whole or not at all.
void writeChartPicture(ChartView& chart, ChartOutput& output, const QString& out, bool landscape,
                       const CommandLine& args) {
    if (out.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive)) {
        PrinterChoices printer;
        printer.outputFile = QFileInfo(out).absoluteFilePath().toStdString();
        printer.landscape = landscape;
        if (!output.print(printer)) {
            throw CommandError(cannotCreateFileText(printer.outputFile));
        }
        return;
    }
    int error = 0;
    bool saved = false;
    if (out.endsWith(QLatin1String(".bmp"), Qt::CaseInsensitive)) {
        saved = output.saveBitmap(out, &error);
    } else {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        saved =
            chart.renderImage().save(&buffer, "PNG") &&
            writeFileAtomically(out.toStdString(), reinterpret_cast<const uint8_t*>(bytes.data()),
                                static_cast<size_t>(bytes.size()), &error);
    }
    if (!saved) {
        throw CommandError(cannotCreateFileText(out.toStdString(), error, settingsLanguage(args)));
    }
}

} // namespace

// The chart is drawn as the window draws it, by the same presenter on a chart of the asked size,
// in Polish, from the default settings; a PDF is printed as "Drukuj" prints into a file.
std::string runRender(const CommandLine& args) {
    const std::string path = args.positional(0, "FILE");
    const QString out = QString::fromStdString(args.positional(1, "OUT"));
    const bool bitmap = out.endsWith(QLatin1String(".bmp"), Qt::CaseInsensitive);
    const bool pdf = out.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive);
    if (!bitmap && !pdf && !out.endsWith(QLatin1String(".png"), Qt::CaseInsensitive)) {
        throw CommandError("OUT must end in .bmp, .png or .pdf");
    }
    if (args.flag("--landscape") && !pdf) {
        throw CommandError("--landscape is for a PDF print");
    }
    const int width = sizeOption(args, "--width", 1265);
    const int height = sizeOption(args, "--height", 745);

    auto current = loadFlight(path, FlightRole::Current);
    const auto comparisonPath = args.option("--comparison");
    std::unique_ptr<FlightRecord> comparison =
        comparisonPath ? loadFlight(*comparisonPath, FlightRole::Comparison)
                       : std::make_unique<FlightRecord>();

    ProgramSettings settings = defaultProgramSettings();
    const vtl::Language language = vtl::Language::Polish;
    CollectingPrompter prompter;
    ChartView chart;
    applyDesignFont(chart);
    vtl::TopRowLayout layout;
    layout.chartWidth = width;
    layout.chartHeight = height;
    layout.unitLabelsTop = height - 20;
    layout.rightLabelsLeft = width - 85;
    chart.applyLayout(layout);
    FlightPresenter presenter(chart, *current, *comparison, settings, language, prompter);
    presenter.applyLanguage();
    presenter.showLoadedCurrent();
    if (comparisonPath) {
        presenter.showLoadedComparison();
    }
    if (!prompter.messages().empty()) {
        throw CommandError(prompter.messages().front());
    }

    vtl::FlightPanelTexts panel = presenter.panel(FlightRole::Current);
    panel.origin = fileTitle(path);
    // As the window's picture: the flight's note under the title. Notes that cannot be read
    // stop no picture.
    try {
        if (const std::optional<vtl::FoundNote> note = vtl::readFlightNote(path)) {
            panel.note = note->text;
            panel.noteStale = note->stale;
        }
    } catch (const vtl::FlightNotesError&) {
    }
    ChartOutput output(chart, language);
    output.prepareChartForOutput(panel);
    writeChartPicture(chart, output, out, args.flag("--landscape"), args);
    return {};
}

// The flights drawn over each other on the chart the render command draws, titled in the language
// of the program's settings; a file that cannot be drawn is named on stderr and the rest are drawn.
std::string runOverlay(const CommandLine& args) {
    if (args.positionalCount() < 2) {
        throw UsageError("overlay needs at least one FILE and OUT");
    }
    const size_t outIndex = args.positionalCount() - 1;
    const QString out = pictureTarget(args, outIndex);
    const std::string align = args.option("--align").value_or("start");
    if (align != "start" && align != "record") {
        throw UsageError("--align takes start or record");
    }
    std::vector<std::string> paths;
    for (size_t i = 0; i < outIndex; ++i) {
        paths.push_back(args.positional(i, "FILE"));
    }
    const FlightOverlay overlay = buildFlightOverlay(
        paths, align == "start" ? OverlayAlignment::Start : OverlayAlignment::Recorded);
    std::string problems;
    for (const OverlayProblem& problem : overlay.problems) {
        problems +=
            (problems.empty() ? "" : "\n") + overlayProblemText(problem, vtl::Language::English);
    }
    if (overlay.flights.empty()) {
        throw CommandError(problems.empty() ? std::string("no flight to draw") : problems);
    }
    if (!problems.empty()) {
        std::fprintf(stderr, "%s\n", problems.c_str());
    }

    const vtl::Language language = settingsLanguage(args);
    ChartView chart;
    applyDesignFont(chart);
    vtl::TopRowLayout layout;
    layout.chartWidth = 1265;
    layout.chartHeight = 745;
    layout.unitLabelsTop = layout.chartHeight - 20;
    layout.rightLabelsLeft = layout.chartWidth - 85;
    chart.applyLayout(layout);
    showOverlay(chart, overlay, language);
    // White under the curves, as the window's picture and print have it.
    chart.setPanelColor(Qt::white);
    chart.flush();

    ChartOutput output(chart, language);
    writeChartPicture(chart, output, out, false, args);
    return {};
}

} // namespace vtl::cli
