#include "output_commands.h"

#include "flight_files.h"

#include "core/files/measurement_file.h"
#include "core/files/spreadsheet_export.h"
#include "core/flight/flight_drawing.h"
#include "core/flight/image_handover.h"
#include "core/shell/atomic_file.h"
#include "gui/chart/chart_view.h"
#include "gui/files/chart_output.h"
#include "gui/shell/main_window.h"

#include <QApplication>
#include <QBuffer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <deque>
#include <memory>
#include <optional>

namespace vtl::cli {
namespace {

// Answers the window's file dialogs from a list and its printer set-up with the given choices,
// and collects its messages.
class AnsweringPrompter : public Prompter {
public:
    AnsweringPrompter(std::deque<std::string> files, std::optional<PrinterChoices> printer)
        : m_files(std::move(files)), m_printer(std::move(printer)) {}

    bool showMessage(const std::string& text, const std::string&, PromptButtons) override {
        m_messages.push_back(text);
        return true;
    }
    std::string chooseFile(FileDialog, const std::string&) override {
        if (m_files.empty()) {
            return {};
        }
        std::string name = m_files.front();
        m_files.pop_front();
        return name;
    }
    bool setUpPrinter(PrinterChoices& choices) override {
        if (!m_printer) {
            return false;
        }
        choices = *m_printer;
        return true;
    }
    bool openDocument(const std::string&) override { return false; }

    const std::vector<std::string>& messages() const { return m_messages; }

private:
    std::deque<std::string> m_files;
    std::optional<PrinterChoices> m_printer;
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
    const std::vector<uint8_t> lines = spreadsheetBytes(*record, '.');
    if (!writeFileAtomically(out, lines.data(), lines.size())) {
        throw CommandError("cannot write " + out);
    }
    return {};
}

// A PDF goes through the window's own printer set-up and print, as "Drukuj" does; a picture is
// the chart in the asked size with the output title.
std::string runRender(const CommandLine& args) {
    const std::string flight = args.positional(0, "FILE");
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

    std::deque<std::string> files = {flight};
    const auto comparison = args.option("--comparison");
    if (comparison) {
        files.push_back(*comparison);
    }
    std::optional<PrinterChoices> printer;
    if (pdf) {
        printer.emplace();
        printer->outputFile = QFileInfo(out).absoluteFilePath().toStdString();
        printer->landscape = args.flag("--landscape");
    }
    AnsweringPrompter prompter(files, printer);
    QTemporaryDir settings;
    TVantorel_BMP window(settings.filePath(QStringLiteral("vantorel.par")), prompter);
    // The chart keeps 8 pixels on the left and 7 on the right, and the top row above it; the menu
    // bar's height is known once the window is shown.
    window.resize(width + 15, height + 120);
    window.show();
    QApplication::processEvents();
    ChartView& chart = *window.form().Chart1;
    window.resize(window.width() + width - chart.width(),
                  window.height() + height - chart.height());
    QApplication::processEvents();
    window.form().BOdczyt->click();
    if (comparison) {
        window.form().B_Porownanie->click();
    }
    if (pdf) {
        window.form().UstawDrukarke1->trigger();
        window.form().Drukuj1->trigger();
    }
    if (!prompter.messages().empty()) {
        throw CommandError(prompter.messages().front());
    }
    if (pdf) {
        return {};
    }

    ChartOutput output(window.form(), window.languageSelector());
    output.prepareChartForOutput();
    bool saved = false;
    if (bitmap) {
        saved = output.saveBitmap(out);
    } else {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        saved =
            window.form().Chart1->renderImage().save(&buffer, "PNG") &&
            writeFileAtomically(out.toStdString(), reinterpret_cast<const uint8_t*>(bytes.data()),
                                static_cast<size_t>(bytes.size()));
    }
    output.restore();
    if (!saved) {
        throw CommandError("cannot write " + out.toStdString());
    }
    return {};
}

} // namespace vtl::cli
