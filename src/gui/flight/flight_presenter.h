// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/files/output_title.h"
#include "core/flight/flight_figures.h"
#include "core/flight/flight_record.h"
#include "core/shell/language.h"
#include "core/shell/prompter.h"

#include <QObject>

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

class ChartView;
class QString;
namespace vtl {
class SmoothingFilter;
struct FlightDrawing;
struct ComparisonDrawing;
struct ProgramSettings;
} // namespace vtl

// Shows the two flights: runs the drawing passes and puts their curves on the chart, and keeps
// what each flight's panel shows (header values and statistics) for the window's fields, the
// picture and the print. Nothing here knows the main window, so the command line draws through
// it too.
class FlightPresenter : public QObject {
    Q_OBJECT
public:
    FlightPresenter(ChartView& chart, vtl::FlightRecord& current, vtl::FlightRecord& comparison,
                    vtl::ProgramSettings& settings, const vtl::Language& language,
                    vtl::Prompter& prompter);
    ~FlightPresenter() override;

    // What the panel of the current or the comparison flight shows; `origin` is left to the
    // window, which owns the panel's caption.
    const vtl::FlightPanelTexts& panel(vtl::FlightRole role) const;

    // The curves' names in the legend and the figures lines, in the current language.
    void applyLanguage();

    // The figures of the curve last drawn for a flight; absent when none is drawn.
    const std::optional<vtl::FlightFigures>& figures(vtl::FlightRole role) const {
        return m_figures[role == vtl::FlightRole::Current ? 0 : 1];
    }

    // The header of a flight into its panel.
    void showCurrentHeader();
    void showComparisonHeader();
    // The statistics shown as blanks until a drawing writes them, so they never show the
    // previous flight's values; and an emptied panel.
    void blankStatistics(vtl::FlightRole role);
    void blankPanel(vtl::FlightRole role);

    // A flight just loaded from a file: the current one's curves emptied and the zoom undone,
    // its header shown and it drawn; the comparison only needs its header and its drawing.
    void showLoadedCurrent();
    void showLoadedComparison();

    // Series1 and Series2 cleared and the left axis set to a manual maximum over an automatic
    // minimum, optionally starting from zero; then the current flight drawn.
    void redrawCurrent(bool minimumFromZero);
    void drawCurrent();
    void drawComparison();

    // Samples per ten seconds of the flight whose curve was drawn last.
    uint32_t lastDrawnSamplesPer10s() const { return m_lastDrawnSamplesPer10s; }
    // Samples per ten seconds of the time axis every curve is drawn on: point j lies at
    // 10 * j / rate seconds, the comparison's points included.
    uint32_t drawnTimeBase() const { return comparisonTimeBase(); }

    // The smoothing filter over the drawn curve of the current or the comparison flight: the
    // filtered curve takes the curve's place, the unfiltered one is drawn dashed beside it.
    void filterCurrent();
    void filterComparison();

    // A temperature typed into a panel: the flight redrawn at it, or the user told it is wrong.
    void enterTemperature(vtl::FlightRole role, const std::string& typed);

    // Reports a flight that cannot be decoded, with the path it was kept under, if any.
    void reportCorruptFlight(const std::string& keptAs = std::string());

signals:
    void panelChanged(vtl::FlightRole role);

private:
    vtl::FlightPanelTexts& texts(vtl::FlightRole role);
    void setStatistics(vtl::FlightRole role, const std::string& maximum,
                       const std::string& minimum);
    // Only the statistics a drawing could compute; the others keep what they show.
    void showStatistics(vtl::FlightRole role, const std::optional<std::string>& maximum,
                        const std::optional<std::string>& minimum);
    void applyDrawing(const vtl::FlightDrawing& drawing);
    void applyComparison(const vtl::ComparisonDrawing& drawing);
    // The sampling rate the comparison is drawn at: a drawn current flight's, so that both curves
    // share the time axis, otherwise its own.
    uint32_t comparisonTimeBase() const;
    void keepComparisonOnCurrentTimes(int32_t currentMinorTicks);
    // The comparison carries the time labels of the rate it is drawn at, so the bottom axis goes
    // on counting seconds where the comparison runs longer than the current flight.
    QString comparisonLabel(size_t j) const;
    char decimalSeparator() const;
    // The figures of a drawn curve, at the flight's own sampling rate, into its panel's line;
    // `rounding` is the rule the panel shows that curve's maximum by.
    void setFigures(vtl::FlightRole role, const std::vector<int32_t>& altitudeCm,
                    uint32_t samplesPer10s, vtl::AltitudeRounding rounding);
    void clearFigures(vtl::FlightRole role);
    void showFiguresText(vtl::FlightRole role);

    ChartView& m_chart;
    vtl::FlightRecord& m_current;
    vtl::FlightRecord& m_comparison;
    vtl::ProgramSettings& m_settings;
    const vtl::Language& m_language;
    vtl::Prompter& m_prompter;
    std::array<vtl::FlightPanelTexts, 2> m_panels;
    std::array<std::optional<vtl::FlightFigures>, 2> m_figures;
    uint32_t m_lastDrawnSamplesPer10s = 200;
    uint32_t m_comparisonTimeBase = 0; // the rate the comparison on screen was placed at
    // The left axis' maximum that the comparison on screen asked for, kept for a current flight
    // drawn after it: the axis covers the higher of the two.
    std::optional<int32_t> m_comparisonAxisMaximum;

    std::unique_ptr<vtl::SmoothingFilter> m_filter;
};
