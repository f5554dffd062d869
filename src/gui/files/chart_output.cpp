// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/files/chart_output.h"

#include "core/files/output_title.h"
#include "core/shell/atomic_file.h"
#include "gui/chart/chart_view.h"
#include "gui/files/printer_setup.h"

#include <QBuffer>
#include <QPrinter>

namespace {

constexpr double kLandscapeBottomMargin = 25.0;
constexpr double kPortraitBottomMargin = 55.0;

} // namespace

ChartOutput::ChartOutput(ChartView& chart, const vtl::Language& language)
    : m_chart(chart), m_language(language) {}

void ChartOutput::prepareChartForOutput(const vtl::FlightPanelTexts& panel) {
    ChartView& chart = m_chart;
    m_savedPanel = chart.panelColor();
    chart.setPanelColor(Qt::white);
    chart.clearTitle();
    for (const std::string& line : vtl::outputTitleLines(panel, m_language)) {
        chart.addTitleLine(QString::fromStdString(line));
    }
}

void ChartOutput::restore() {
    ChartView& chart = m_chart;
    chart.clearTitle();
    chart.addTitleLine(QString::fromLatin1(vtl::kRestoredChartTitle));
    chart.setPanelColor(m_savedPanel);
}

bool ChartOutput::saveBitmap(const QString& path, int* error) {
    const QImage picture = m_chart.renderImage().convertToFormat(QImage::Format_RGB888);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!picture.save(&buffer, "BMP")) {
        return false;
    }
    return vtl::writeFileAtomically(path.toStdString(),
                                    reinterpret_cast<const uint8_t*>(bytes.data()),
                                    static_cast<size_t>(bytes.size()), error);
}

bool ChartOutput::print(const vtl::PrinterChoices& choices) {
    QPrinter printer(QPrinter::HighResolution);
    vtl::applyPrinterChoices(choices, printer);
    return print(printer);
}

bool ChartOutput::print(QPrinter& printer) {
    const bool landscape = printer.pageLayout().orientation() == QPageLayout::Landscape;
    QMarginsF margins = ChartView::kPrintMargins;
    margins.setBottom(landscape ? kLandscapeBottomMargin : kPortraitBottomMargin);
    return m_chart.printTo(printer, margins);
}
