// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/flight/flight_presenter.h"

#include "core/flight/comparison_resampling.h"
#include "core/flight/flight_drawing.h"
#include "core/flight/flight_figures_text.h"
#include "core/flight/sampling_code.h"
#include "core/flight/smoothing_filter.h"
#include "core/flight/temperature_entry.h"
#include "core/shell/program_settings.h"
#include "core/shell/text_tables.h"
#include "gui/chart/chart_view.h"
#include "gui/look/locale_separator.h"

#include <QDir>

#include <algorithm>
#include <cmath>

namespace {

const QColor kClimbColour(0, 0, 255);

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

constexpr const char* kBlankStatistic = "   ";

size_t indexOf(vtl::FlightRole role) {
    return role == vtl::FlightRole::Current ? 0 : 1;
}

} // namespace

FlightPresenter::FlightPresenter(ChartView& chart, vtl::FlightRecord& current,
                                 vtl::FlightRecord& comparison, vtl::ProgramSettings& settings,
                                 const vtl::Language& language, vtl::Prompter& prompter)
    : m_chart(chart), m_current(current), m_comparison(comparison), m_settings(settings),
      m_language(language), m_prompter(prompter),
      m_filter(std::make_unique<vtl::SmoothingFilter>()) {}

const vtl::FlightPanelTexts& FlightPresenter::panel(vtl::FlightRole role) const {
    return m_panels[indexOf(role)];
}

vtl::FlightPanelTexts& FlightPresenter::texts(vtl::FlightRole role) {
    return m_panels[indexOf(role)];
}

char FlightPresenter::decimalSeparator() const {
    return localeDecimalSeparator();
}

void FlightPresenter::applyLanguage() {
    auto caption = [this](vtl::MainCaption pair) { return qs(vtl::caption(pair, m_language)); };
    m_chart.SetTitle(ChartView::Series1, caption(vtl::MainCaption::AltitudeSeries));
    m_chart.SetTitle(ChartView::Series2, caption(vtl::MainCaption::Acceleration));
    m_chart.SetTitle(ChartView::Series3, caption(vtl::MainCaption::Comparison));
    for (const vtl::FlightRole role : {vtl::FlightRole::Current, vtl::FlightRole::Comparison}) {
        showFiguresText(role);
        emit panelChanged(role);
    }
}

void FlightPresenter::setFigures(vtl::FlightRole role, const std::vector<int32_t>& altitudeCm,
                                 uint32_t samplesPer10s, vtl::AltitudeRounding rounding) {
    m_figures[indexOf(role)] = vtl::flightFigures(altitudeCm, samplesPer10s, rounding);
    showFiguresText(role);
}

void FlightPresenter::clearFigures(vtl::FlightRole role) {
    m_figures[indexOf(role)].reset();
    showFiguresText(role);
}

void FlightPresenter::showFiguresText(vtl::FlightRole role) {
    const auto& figures = m_figures[indexOf(role)];
    texts(role).figures =
        figures ? vtl::flightFiguresText(*figures, m_language, decimalSeparator()) : std::string();
}

namespace {

void showHeader(const vtl::FlightRecord& flight, vtl::FlightPanelTexts& panel) {
    panel.competitorNumber = std::to_string(flight.competitorNumber);
    panel.serialNumber = std::to_string(flight.serialNumber);
    panel.temperature = std::to_string(static_cast<int>(flight.temperature));
    panel.sampling = vtl::samplingTextForCode(flight.samplingCode);
}

} // namespace

void FlightPresenter::showCurrentHeader() {
    showHeader(m_current, texts(vtl::FlightRole::Current));
    emit panelChanged(vtl::FlightRole::Current);
}

void FlightPresenter::showComparisonHeader() {
    showHeader(m_comparison, texts(vtl::FlightRole::Comparison));
    emit panelChanged(vtl::FlightRole::Comparison);
}

void FlightPresenter::setStatistics(vtl::FlightRole role, const std::string& maximum,
                                    const std::string& minimum) {
    texts(role).maximum = maximum;
    texts(role).minimum = minimum;
    emit panelChanged(role);
}

void FlightPresenter::showStatistics(vtl::FlightRole role,
                                     const std::optional<std::string>& maximum,
                                     const std::optional<std::string>& minimum) {
    if (maximum) {
        texts(role).maximum = *maximum;
    }
    if (minimum) {
        texts(role).minimum = *minimum;
    }
    emit panelChanged(role);
}

void FlightPresenter::blankStatistics(vtl::FlightRole role) {
    clearFigures(role);
    setStatistics(role, kBlankStatistic, kBlankStatistic);
}

void FlightPresenter::blankPanel(vtl::FlightRole role) {
    const std::string origin = texts(role).origin;
    texts(role) = vtl::FlightPanelTexts();
    texts(role).origin = origin;
    m_figures[indexOf(role)].reset();
    emit panelChanged(role);
}

void FlightPresenter::showLoadedCurrent() {
    m_chart.UndoZoom();
    for (ChartView::Series s :
         {ChartView::Series1, ChartView::Series2, ChartView::Series4, ChartView::Series5}) {
        m_chart.Clear(s);
    }
    m_chart.leftSetAutomatic(false);
    m_chart.leftSetAutomaticMaximum(false);
    m_chart.leftSetAutomaticMinimum(true);
    m_chart.leftSetDesiredIncrement(0.0);
    showCurrentHeader();
    blankStatistics(vtl::FlightRole::Current);
    drawCurrent();
}

void FlightPresenter::showLoadedComparison() {
    showComparisonHeader();
    blankStatistics(vtl::FlightRole::Comparison);
    drawComparison();
}

void FlightPresenter::redrawCurrent(bool minimumFromZero) {
    ChartView& chart = m_chart;
    chart.Clear(ChartView::Series1);
    chart.Clear(ChartView::Series2);
    if (minimumFromZero) {
        chart.leftSetMinimum(0.0);
    }
    chart.leftSetAutomatic(false);
    chart.leftSetAutomaticMaximum(false);
    chart.leftSetAutomaticMinimum(true);
    drawCurrent();
}

void FlightPresenter::drawCurrent() {
    m_lastDrawnSamplesPer10s = m_current.samplesPer10s;
    const auto drawing =
        vtl::drawFlight(m_current, m_settings.showAcceleration != 0, decimalSeparator());
    if (drawing) {
        applyDrawing(*drawing);
        keepComparisonOnCurrentTimes(drawing->minorTickCount);
    } else {
        clearFigures(vtl::FlightRole::Current);
        emit panelChanged(vtl::FlightRole::Current);
    }
}

// A comparison on screen that was placed on another flight's sample times is placed again on the
// new current flight's; at the same times nothing is redrawn. The current flight keeps the bottom
// axis' minor ticks.
void FlightPresenter::keepComparisonOnCurrentTimes(int32_t currentMinorTicks) {
    ChartView& chart = m_chart;
    if (m_comparisonTimeBase == 0 || m_comparisonTimeBase == comparisonTimeBase() ||
        chart.pointCount(ChartView::Series3) == 0) {
        return;
    }
    const bool filtered = chart.pointCount(ChartView::Series6) > 0;
    drawComparison();
    if (filtered) {
        filterComparison();
    }
    m_lastDrawnSamplesPer10s = m_current.samplesPer10s;
    chart.bottomSetMinorTickCount(currentMinorTicks);
}

void FlightPresenter::applyDrawing(const vtl::FlightDrawing& drawing) {
    ChartView& chart = m_chart;
    chart.leftSetMinimum(0.0);
    chart.leftSetMaximum(10.0);
    chart.bottomSetMinorTickCount(drawing.minorTickCount);
    chart.setMarksRounding(ChartView::Series1, vtl::AltitudeRounding::PlottedMetres);
    for (size_t j = 0; j < drawing.altitudeMetres.size(); ++j) {
        chart.Add(ChartView::Series1, drawing.altitudeMetres[j], qs(drawing.label(j)));
    }
    for (const float climb : drawing.climbMetres) {
        chart.Add(ChartView::Series2, climb, QString(), kClimbColour);
    }
    setFigures(vtl::FlightRole::Current, drawing.altitudeCm, m_current.samplesPer10s,
               vtl::AltitudeRounding::PlottedMetres);
    showStatistics(vtl::FlightRole::Current, drawing.maxText, drawing.minText);
    chart.leftSetAutomatic(false);
    chart.leftSetAutomaticMaximum(false);
    chart.leftSetAutomaticMinimum(true);
    int32_t axisMaximum = drawing.axisMaximum;
    if (m_comparisonAxisMaximum && chart.pointCount(ChartView::Series3) > 0) {
        axisMaximum = std::max(axisMaximum, *m_comparisonAxisMaximum);
    }
    chart.leftSetMaximum(axisMaximum);
}

uint32_t FlightPresenter::comparisonTimeBase() const {
    return m_current.holdsFlight() ? m_current.samplesPer10s : m_comparison.samplesPer10s;
}

QString FlightPresenter::comparisonLabel(size_t j) const {
    const int32_t seconds = vtl::sampleSecondsLabel(static_cast<uint32_t>(j), comparisonTimeBase());
    return seconds < 0 ? QString() : QString::number(seconds);
}

void FlightPresenter::drawComparison() {
    m_lastDrawnSamplesPer10s = m_comparison.samplesPer10s;
    m_comparisonTimeBase = comparisonTimeBase();
    const auto drawing = vtl::drawComparison(m_comparison, decimalSeparator());
    if (drawing) {
        // Measured on the comparison's own samples, so its times are its own.
        setFigures(vtl::FlightRole::Comparison, drawing->altitudeCm, m_comparison.samplesPer10s,
                   vtl::AltitudeRounding::PlottedMetres);
        applyComparison(
            vtl::resampleComparison(*drawing, m_comparison.samplesPer10s, comparisonTimeBase()));
    } else {
        clearFigures(vtl::FlightRole::Comparison);
        emit panelChanged(vtl::FlightRole::Comparison);
    }
}

void FlightPresenter::applyComparison(const vtl::ComparisonDrawing& drawing) {
    ChartView& chart = m_chart;
    chart.Clear(ChartView::Series3);
    chart.leftSetAutomatic(false);
    chart.leftSetAutomaticMaximum(false);
    chart.leftSetAutomaticMinimum(true);
    chart.bottomSetMinorTickCount(drawing.minorTickCount);
    chart.setMarksRounding(ChartView::Series3, vtl::AltitudeRounding::PlottedMetres);
    for (size_t j = 0; j < drawing.altitudeMetres.size(); ++j) {
        chart.Add(ChartView::Series3, drawing.altitudeMetres[j], comparisonLabel(j));
    }
    showStatistics(vtl::FlightRole::Comparison, drawing.maxText, drawing.minText);
    m_comparisonAxisMaximum = drawing.axisRaise;
    // The comparison only ever raises the axis, never lowers it.
    if (drawing.axisRaise && *drawing.axisRaise > chart.leftMaximum()) {
        chart.leftSetMaximum(*drawing.axisRaise);
    }
}

FlightPresenter::~FlightPresenter() = default;

namespace {

double metres(int32_t centimetres) {
    return static_cast<float>(centimetres * 0.01);
}

} // namespace

void FlightPresenter::filterCurrent() {
    if (!vtl::canFilter(m_current)) {
        return;
    }
    ChartView& chart = m_chart;
    chart.Clear(ChartView::Series1);
    chart.Clear(ChartView::Series5);
    const vtl::FilterResult result =
        vtl::filterCurve(*m_filter, m_current.altitudeCm.data(), m_current.altitudeCm.size(),
                         vtl::filterParametersFrom(m_settings), decimalSeparator());
    chart.setMarksRounding(ChartView::Series1, vtl::AltitudeRounding::ExactCentimetres);
    for (size_t k = 0; k < result.filteredCm.size(); ++k) {
        const int32_t seconds =
            vtl::filterLabelSeconds(static_cast<uint32_t>(k), m_current.samplesPer10s);
        chart.Add(ChartView::Series1, metres(result.filteredCm[k]),
                  seconds < 0 ? QString() : QString::number(seconds));
        chart.Add(ChartView::Series5, metres(result.unfilteredCm[k]), QString());
    }
    setFigures(vtl::FlightRole::Current, result.filteredCm, m_current.samplesPer10s,
               vtl::AltitudeRounding::ExactCentimetres);
    setStatistics(vtl::FlightRole::Current, result.maxText, result.minText);
}

void FlightPresenter::filterComparison() {
    if (!vtl::canFilter(m_comparison)) {
        return;
    }
    m_comparisonTimeBase = comparisonTimeBase();
    ChartView& chart = m_chart;
    chart.Clear(ChartView::Series3);
    chart.Clear(ChartView::Series6);
    const vtl::FilterResult result =
        vtl::filterCurve(*m_filter, m_comparison.altitudeCm.data(), m_comparison.altitudeCm.size(),
                         vtl::filterParametersFrom(m_settings), decimalSeparator());
    // Both curves on the same sample times as the drawn comparison; the texts stay those of the
    // comparison's own samples.
    const uint32_t timeBase = comparisonTimeBase();
    for (const int32_t centimetres :
         vtl::resampleCurve(result.unfilteredCm, m_comparison.samplesPer10s, timeBase)) {
        chart.Add(ChartView::Series6, metres(centimetres), QString());
    }
    const std::vector<int32_t> filtered =
        vtl::resampleCurve(result.filteredCm, m_comparison.samplesPer10s, timeBase);
    chart.setMarksRounding(ChartView::Series3, vtl::AltitudeRounding::ExactCentimetres);
    for (size_t j = 0; j < filtered.size(); ++j) {
        chart.Add(ChartView::Series3, metres(filtered[j]), comparisonLabel(j));
    }
    setFigures(vtl::FlightRole::Comparison, result.filteredCm, m_comparison.samplesPer10s,
               vtl::AltitudeRounding::ExactCentimetres);
    setStatistics(vtl::FlightRole::Comparison, result.maxText, result.minText);
}

void FlightPresenter::reportCorruptFlight(const std::string& keptAs) {
    std::string text = vtl::message(vtl::Message::CorruptFlight, m_language);
    if (!keptAs.empty()) {
        // Windows users read paths with backslashes only.
        text += "\n" + vtl::message(vtl::Message::KeptAs, m_language) +
                QDir::toNativeSeparators(QString::fromStdString(keptAs)).toStdString();
    }
    m_prompter.showMessage(text, vtl::message(vtl::Message::ErrorCaption, m_language),
                           vtl::PromptButtons::Ok);
}

void FlightPresenter::enterTemperature(vtl::FlightRole role, const std::string& typed) {
    const int32_t temperature = vtl::sensorTemperatureFromText(typed);
    if (temperature == vtl::kNotATemperature) {
        m_prompter.showMessage(vtl::message(vtl::Message::WrongTemperature, m_language),
                               vtl::message(vtl::Message::ErrorCaption, m_language),
                               vtl::PromptButtons::Ok);
        return;
    }
    texts(role).temperature = typed;
    if (role == vtl::FlightRole::Current) {
        m_current.temperature = static_cast<float>(temperature);
        redrawCurrent(true);
    } else {
        m_comparison.temperature = static_cast<float>(temperature);
        drawComparison();
    }
}
