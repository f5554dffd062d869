#include "gui/files/chart_output.h"

#include "core/files/output_title.h"
#include "core/shell/atomic_file.h"
#include "gui/chart/chart_view.h"
#include "gui/files/printer_setup.h"
#include "gui/shell/main_window_form.h"

#include <QBuffer>
#include <QPrinter>

namespace {

constexpr double kLandscapeBottomMargin = 25.0;
constexpr double kPortraitBottomMargin = 55.0;

std::string shown(const QLineEdit* field) {
    return field->text().toStdString();
}

} // namespace

ChartOutput::ChartOutput(MainWindowForm& form, const int32_t& language)
    : m_form(form), m_language(language) {}

void ChartOutput::prepareChartForOutput() {
    ChartView& chart = *m_form.Chart1;
    m_savedPanel = chart.panelColor();
    chart.setPanelColor(Qt::white);
    vtl::FlightPanelTexts panel;
    panel.origin = m_form.GroupB_Vtl->title().toStdString();
    panel.competitorNumber = shown(m_form.E_NrZawodnika);
    panel.serialNumber = shown(m_form.E_NrSeryjny);
    panel.maximum = shown(m_form.E_MaxGl);
    panel.minimum = shown(m_form.EMinimum);
    panel.temperature = shown(m_form.E_TempGl);
    panel.sampling = shown(m_form.E_probkGl);
    chart.clearTitle();
    for (const std::string& line : vtl::outputTitleLines(panel, m_language)) {
        chart.addTitleLine(QString::fromStdString(line));
    }
}

void ChartOutput::restore() {
    ChartView& chart = *m_form.Chart1;
    chart.clearTitle();
    chart.addTitleLine(QString::fromLatin1(vtl::kRestoredChartTitle));
    chart.setPanelColor(m_savedPanel);
}

bool ChartOutput::saveBitmap(const QString& path) {
    const QImage picture = m_form.Chart1->renderImage().convertToFormat(QImage::Format_RGB888);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!picture.save(&buffer, "BMP")) {
        return false;
    }
    return vtl::writeFileAtomically(path.toStdString(),
                                    reinterpret_cast<const uint8_t*>(bytes.data()),
                                    static_cast<size_t>(bytes.size()));
}

bool ChartOutput::print(const vtl::PrinterChoices& choices) {
    QPrinter printer(QPrinter::HighResolution);
    vtl::applyPrinterChoices(choices, printer);
    QMarginsF margins = ChartView::kPrintMargins;
    margins.setBottom(choices.landscape ? kLandscapeBottomMargin : kPortraitBottomMargin);
    return m_form.Chart1->printTo(printer, margins);
}
