// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/files/output_title.h"
#include "core/shell/language.h"
#include "core/shell/prompter.h"

#include <QColor>
#include <QString>

#include <cstdint>

class ChartView;
class QPrinter;

// The chart as a picture or on paper: while it is output its panel is white and its title
// describes the current flight; afterwards the screen look returns.
class ChartOutput {
public:
    ChartOutput(ChartView& chart, const vtl::Language& language);

    // The title describes the flight whose panel is given.
    void prepareChartForOutput(const vtl::FlightPanelTexts& panel);
    void restore();

    // A Windows bitmap of the chart in its on-screen size, written through a temporary file;
    // `error` says why the file could not be written (0 when the picture could not be made).
    bool saveBitmap(const QString& path, int* error = nullptr);
    // Prints on the chosen printer (or into the chosen PDF file) with the chosen paper and page
    // margins, the chart's bottom margin 25 % of a landscape page and 55 % of a portrait one.
    // False when the print could not start.
    bool print(const vtl::PrinterChoices& choices);
    // The same on a printer already set up; its page orientation chooses the bottom margin.
    bool print(QPrinter& printer);

private:
    ChartView& m_chart;
    const vtl::Language& m_language;
    QColor m_savedPanel;
};
