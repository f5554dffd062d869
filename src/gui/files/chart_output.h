#pragma once

#include "core/shell/prompter.h"

#include <QColor>
#include <QString>

#include <cstdint>

struct MainWindowForm;

// The chart as a picture or on paper: while it is output its panel is white and its title
// describes the current flight; afterwards the screen look returns.
class ChartOutput {
public:
    ChartOutput(MainWindowForm& form, const int32_t& language);

    void prepareChartForOutput();
    void restore();

    // A Windows bitmap of the chart in its on-screen size, written through a temporary file.
    bool saveBitmap(const QString& path);
    // Prints on the chosen printer (or into the chosen PDF file) with the chosen paper and page
    // margins, the chart's bottom margin 25 % of a landscape page and 55 % of a portrait one.
    // False when the print could not start.
    bool print(const vtl::PrinterChoices& choices);

private:
    MainWindowForm& m_form;
    const int32_t& m_language;
    QColor m_savedPanel;
};
