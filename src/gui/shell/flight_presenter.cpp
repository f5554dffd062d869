#include "gui/shell/flight_presenter.h"

#include "core/flight/comparison_resampling.h"
#include "core/flight/flight_drawing.h"
#include "core/flight/sampling_code.h"
#include "core/flight/smoothing_filter.h"
#include "core/flight/temperature_entry.h"
#include "core/shell/program_settings.h"
#include "core/shell/text_tables.h"
#include "gui/chart/chart_view.h"
#include "gui/shell/locale_separator.h"
#include "gui/shell/main_window_form.h"

#include <QKeyEvent>
#include <QLocale>

#include <cmath>

namespace {

const QColor kClimbColour(0, 0, 255);

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

// Panel fields show their text from its start, as narrow fields would otherwise hide the front.
void showInField(QLineEdit* field, const QString& text) {
    field->setText(text);
    field->setCursorPosition(0);
}

} // namespace

FlightPresenter::FlightPresenter(MainWindowForm& form, vtl::FlightRecord& current,
                                 vtl::FlightRecord& comparison, vtl::ProgramSettings& settings,
                                 const int32_t& language, vtl::Prompter& prompter)
    : m_form(form), m_current(current), m_comparison(comparison), m_settings(settings),
      m_language(language), m_prompter(prompter),
      m_filter(std::make_unique<vtl::SmoothingFilter>()) {
    m_form.E_TempGl->installEventFilter(this);
    m_form.E_TempPor->installEventFilter(this);
}

char FlightPresenter::decimalSeparator() const {
    return localeDecimalSeparator();
}

void FlightPresenter::showCurrentHeader() {
    showInField(m_form.E_NrZawodnika, QString::number(m_current.competitorNumber));
    showInField(m_form.E_NrSeryjny, QString::number(m_current.serialNumber));
    showInField(m_form.E_TempGl, QString::number(static_cast<int>(m_current.temperature)));
    m_form.E_TempGl->setReadOnly(false);
    showInField(m_form.E_probkGl, qs(vtl::samplingTextForCode(m_current.samplingCode)));
}

void FlightPresenter::showComparisonHeader() {
    showInField(m_form.E_Zaw_Por, QString::number(m_comparison.competitorNumber));
    showInField(m_form.E_NrS_Por, QString::number(m_comparison.serialNumber));
    showInField(m_form.E_TempPor, QString::number(static_cast<int>(m_comparison.temperature)));
    m_form.E_TempPor->setReadOnly(false);
    showInField(m_form.E_probkPor, qs(vtl::samplingTextForCode(m_comparison.samplingCode)));
}

void FlightPresenter::redrawCurrent(bool minimumFromZero) {
    ChartView& chart = *m_form.Chart1;
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
    }
}

// A comparison on screen that was placed on another flight's sample times is placed again on the
// new current flight's; at the same times nothing is redrawn. The current flight keeps the bottom
// axis' minor ticks.
void FlightPresenter::keepComparisonOnCurrentTimes(int32_t currentMinorTicks) {
    ChartView& chart = *m_form.Chart1;
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
    ChartView& chart = *m_form.Chart1;
    chart.leftSetMinimum(0.0);
    chart.leftSetMaximum(10.0);
    chart.bottomSetMinorTickCount(drawing.minorTickCount);
    for (size_t j = 0; j < drawing.altitudeMetres.size(); ++j) {
        chart.Add(ChartView::Series1, drawing.altitudeMetres[j], qs(drawing.label(j)));
    }
    for (const float climb : drawing.climbMetres) {
        chart.Add(ChartView::Series2, climb, QString(), kClimbColour);
    }
    if (drawing.maxText) {
        showInField(m_form.E_MaxGl, qs(*drawing.maxText));
    }
    if (drawing.minText) {
        showInField(m_form.EMinimum, qs(*drawing.minText));
    }
    chart.leftSetAutomatic(false);
    chart.leftSetAutomaticMaximum(false);
    chart.leftSetAutomaticMinimum(true);
    chart.leftSetMaximum(drawing.axisMaximum);
}

uint32_t FlightPresenter::comparisonTimeBase() const {
    return m_current.holdsFlight() ? m_current.samplesPer10s : m_comparison.samplesPer10s;
}

QString FlightPresenter::comparisonLabel(size_t j) const {
    const uint32_t timeBase = comparisonTimeBase();
    if (timeBase == m_comparison.samplesPer10s) {
        return QString();
    }
    const int32_t seconds = vtl::sampleSecondsLabel(static_cast<uint32_t>(j), timeBase);
    return seconds < 0 ? QString() : QString::number(seconds);
}

void FlightPresenter::drawComparison() {
    m_lastDrawnSamplesPer10s = m_comparison.samplesPer10s;
    m_comparisonTimeBase = comparisonTimeBase();
    const auto drawing = vtl::drawComparison(m_comparison, decimalSeparator());
    if (drawing) {
        applyComparison(
            vtl::resampleComparison(*drawing, m_comparison.samplesPer10s, comparisonTimeBase()));
    }
}

void FlightPresenter::applyComparison(const vtl::ComparisonDrawing& drawing) {
    ChartView& chart = *m_form.Chart1;
    chart.Clear(ChartView::Series3);
    chart.leftSetAutomatic(false);
    chart.leftSetAutomaticMaximum(false);
    chart.leftSetAutomaticMinimum(true);
    chart.bottomSetMinorTickCount(drawing.minorTickCount);
    for (size_t j = 0; j < drawing.altitudeMetres.size(); ++j) {
        chart.Add(ChartView::Series3, drawing.altitudeMetres[j], comparisonLabel(j));
    }
    if (drawing.maxText) {
        showInField(m_form.E_Max_Por, qs(*drawing.maxText));
    }
    if (drawing.minText) {
        showInField(m_form.E_Min_Por, qs(*drawing.minText));
    }
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
    ChartView& chart = *m_form.Chart1;
    chart.Clear(ChartView::Series1);
    chart.Clear(ChartView::Series5);
    const vtl::FilterResult result =
        vtl::filterCurve(*m_filter, m_current.altitudeCm.data(), m_current.altitudeCm.size(),
                         vtl::filterParametersFrom(m_settings), decimalSeparator());
    for (size_t k = 0; k < result.filteredCm.size(); ++k) {
        const int32_t seconds =
            vtl::filterLabelSeconds(static_cast<uint32_t>(k), m_current.samplesPer10s);
        chart.Add(ChartView::Series1, metres(result.filteredCm[k]),
                  seconds < 0 ? QString() : QString::number(seconds));
        chart.Add(ChartView::Series5, metres(result.unfilteredCm[k]), QString());
    }
    showInField(m_form.E_MaxGl, qs(result.maxText));
    showInField(m_form.EMinimum, qs(result.minText));
}

void FlightPresenter::filterComparison() {
    if (!vtl::canFilter(m_comparison)) {
        return;
    }
    m_comparisonTimeBase = comparisonTimeBase();
    ChartView& chart = *m_form.Chart1;
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
    for (size_t j = 0; j < filtered.size(); ++j) {
        chart.Add(ChartView::Series3, metres(filtered[j]), comparisonLabel(j));
    }
    showInField(m_form.E_Max_Por, qs(result.maxText));
    showInField(m_form.E_Min_Por, qs(result.minText));
}

void FlightPresenter::reportCorruptFlight(const std::string& keptAs) {
    std::string text = vtl::message(vtl::Message::CorruptFlight, m_language);
    if (!keptAs.empty()) {
        text += "\n" + vtl::message(vtl::Message::KeptAs, m_language) + keptAs;
    }
    m_prompter.showMessage(text, vtl::message(vtl::Message::ErrorCaption, m_language),
                           vtl::PromptButtons::Ok);
}

// The temperature fields take digits (three at most), '-', Backspace and Enter; Enter redraws
// the flight at the typed temperature.
bool FlightPresenter::eventFilter(QObject* watched, QEvent* event) {
    const bool current = watched == m_form.E_TempGl;
    if ((!current && watched != m_form.E_TempPor) || event->type() != QEvent::KeyPress) {
        return QObject::eventFilter(watched, event);
    }
    auto* field = static_cast<QLineEdit*>(watched);
    const auto* key = static_cast<QKeyEvent*>(event);
    const QString text = key->text();
    if (text.size() != 1 || field->isReadOnly()) {
        return QObject::eventFilter(watched, event); // navigation keys and read-only fields
    }
    const char character = text[0].unicode() < 0x80 ? static_cast<char>(text[0].unicode()) : 0;
    const char typed = key->key() == Qt::Key_Enter ? '\r' : character;
    if (!vtl::temperatureKeyPasses(typed, static_cast<size_t>(field->text().size()))) {
        return true;
    }
    if (typed == '\r') {
        temperatureEntered(current ? vtl::FlightRole::Current : vtl::FlightRole::Comparison);
        return true;
    }
    return false;
}

void FlightPresenter::temperatureEntered(vtl::FlightRole role) {
    const bool current = role == vtl::FlightRole::Current;
    QLineEdit* field = current ? m_form.E_TempGl : m_form.E_TempPor;
    const int32_t temperature = vtl::temperatureFromText(field->text().toStdString());
    if (temperature == vtl::kNotATemperature) {
        m_prompter.showMessage(vtl::message(vtl::Message::WrongTemperature, m_language),
                               vtl::message(vtl::Message::ErrorCaption, m_language),
                               vtl::PromptButtons::Ok);
        return;
    }
    if (current) {
        m_current.temperature = static_cast<float>(temperature);
        redrawCurrent(true);
    } else {
        m_comparison.temperature = static_cast<float>(temperature);
        drawComparison();
    }
}
